// The Select resource dialog ("LB_DLG_SELECT_RSC"): the resource list of one type in a modal
// dialog from which the user picks one provider, staff member or operatory.
#pragma once

#include <windows.h>

#include <string>

// choice: 10 primary providers, 11 secondary providers, any other value that resource type
// (1 providers, 2 staff, 3 operatories). The row whose ID is in buffer (its first 4 characters),
// or else [GENERAL] def_prov, starts selected. Returns the chosen ID, or "" on Cancel. When
// buffer_length is over 4 the buffer receives the ID, a blank and the name, cut to fit;
// otherwise it is left as it was. With automatic, a list without rows ends at once with no
// result and a list of one row ends at once with that row, without showing the dialog.
std::string SelectResource(HWND owner, HINSTANCE resources, int choice, char* buffer, int buffer_length,
                           bool automatic);
