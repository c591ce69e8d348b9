// The "Flip Tabs Setup" dialog ("DLG_USERTAB_SETUP"): a page per display mode with four rows of
// tab settings. Its rows and OK checks are flip_tabs_setup's.
#pragma once

#include <windows.h>

// Runs the dialog on the stored tabs. On OK, when every page passes its checks, the twelve tabs
// are saved and true is returned; the caller then refreshes its strip (ReloadFlipTabs). Cancel
// saves nothing and returns false.
bool RunFlipTabsSetup(HWND owner, HINSTANCE resources);
