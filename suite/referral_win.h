// The referral library's search window: the practice's referral sources listed by name, narrowed
// as the user types.
#pragma once

#include <windows.h>

#include <cstdint>

// "DLG_REF_FIND" ("Select Referral Source"): the sources whose last name begins with the text
// typed (every source while it is empty). OK or a double click chooses the selected source.
// Returns its id; 0 on Cancel (or when the window could not be made: message 3040).
uint32_t REFERRAL_RefFind(HWND owner, HINSTANCE resources);
