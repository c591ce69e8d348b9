// Saving and restoring window places in the suite settings file.
#include <vector>

#include "suite/settings.h"
#include "suite/window_pos.h"
#include "suite/window_services_win.h"

namespace {

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) {
        const RECT& w = info.rcWork;
        reinterpret_cast<std::vector<ScreenArea>*>(data)->push_back({w.left, w.top, w.right, w.bottom});
    }
    return TRUE;
}

std::vector<ScreenArea> ScreenAreas() {
    std::vector<ScreenArea> areas;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

}  // namespace

int QVN_SaveWindowPosInfo(HWND window, const char* key) {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(window, &wp)) return 0;
    const RECT& r = wp.rcNormalPosition;
    WindowPlace place{static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
                      static_cast<int>(r.bottom), static_cast<int>(wp.showCmd)};
    if (place.showState != 3) place.showState = 1;
    return QVN_WriteProfileString(kWindowPosSection, key, FormatWindowPlace(place).c_str());
}

int QVN_RestoreSavedWindowPos(HWND window, const char* key) {
    WindowPlace place;
    if (!ParseWindowPlace(QVN_ReadProfileText(kWindowPosSection, key, ""), &place)) {
        ShowWindow(window, SW_SHOWNORMAL);
        return 1;
    }
    place = BringOnScreen(place, ScreenAreas());
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    wp.showCmd = place.showState == 3 ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    wp.rcNormalPosition = {place.left, place.top, place.right, place.bottom};
    return SetWindowPlacement(window, &wp) ? 1 : 0;
}
