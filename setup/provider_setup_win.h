// "P&rovider Setup...": the provider chooser, the provider dialog and the block dialog.
#pragma once

#include <windows.h>

#include "setup/provider_setup.h"

// The chooser "DLG_PROV_SELECT": "&Setup" opens ProviderSetup, "S&chedule" (or a double click)
// the provider's schedule calendar on today's month; "Close" tells the other workstations that
// time blocks changed and has owner show its days again (command 128).
void ProviderChooser(HWND owner, HINSTANCE resources);

// "DLG_PROV_SETUP" for the provider, saved on OK; 1 when saved, 0 otherwise (refused without a
// word for an unknown provider).
int ProviderSetup(HWND owner, HINSTANCE resources, const char id[4]);

// "DLG_SET_BLOCK" over settings, checked against the provider's blocks in buffer; true on OK,
// with settings then holding what was entered.
bool EditTimeBlock(HWND owner, HINSTANCE resources, const ProviderSetupBuffer& buffer, BlockSettings* settings);
