// Building and tracking the sheet's context menus.
#include "views/sheet_menus_win.h"

#include <vector>

#include "views/sheet_menus.h"

namespace {

// Command numbers of the time block menu's entries: the first block, then one more each.
constexpr UINT kFirstBlockCommand = 1;

HMENU BuildMenu(const std::vector<MenuEntry>& entries) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return nullptr;
    for (const MenuEntry& e : entries) {
        if (e.text) AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(e.command), e.text);
        else AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    }
    return menu;
}

// Owns a popup menu for the length of one tracking.
class PopupMenu {
public:
    PopupMenu() : menu_(CreatePopupMenu()) {}
    ~PopupMenu() {
        if (menu_) DestroyMenu(menu_);
    }
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;
    HMENU Get() const { return menu_; }

private:
    HMENU menu_;
};

UINT TrackReturning(HMENU menu, HWND owner, POINT screen) {
    // The owner must be the foreground window, or the menu would not close on a click
    // elsewhere.
    SetForegroundWindow(owner);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                                         screen.x, screen.y, 0, owner, nullptr));
    PostMessageA(owner, WM_NULL, 0, 0);
    return chosen;
}

}  // namespace

SheetMenus::SheetMenus(HWND command_window)
    : command_window_(command_window), patient_(BuildMenu(PatientMenuEntries())),
      new_patient_(BuildMenu(NewPatientMenuEntries())) {}

SheetMenus::~SheetMenus() {
    if (patient_) DestroyMenu(patient_);
    if (new_patient_) DestroyMenu(new_patient_);
}

int SheetMenus::Track(HMENU menu, HWND owner, POINT screen) {
    if (!menu) return 0;
    const int command = static_cast<int>(TrackReturning(menu, owner, screen));
    if (command != 0 && command_window_) PostMessageA(command_window_, WM_COMMAND, static_cast<WPARAM>(command), 0);
    return command;
}

int SheetMenus::TrackPatientMenu(HWND owner, POINT screen) { return Track(patient_, owner, screen); }

int SheetMenus::TrackNewPatientMenu(HWND owner, POINT screen) { return Track(new_patient_, owner, screen); }

int SheetMenus::TrackTimeBlockMenu(HWND owner, POINT screen, const DayColumn& column) {
    const TimeBlockMenu texts = TimeBlockMenuOf(column);
    PopupMenu menu;
    if (!menu.Get()) return -1;
    AppendMenuA(menu.Get(), MF_STRING | MF_GRAYED, 0xFFFF, texts.title.c_str());
    AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
    for (size_t i = 0; i < texts.blocks.size(); ++i)
        AppendMenuA(menu.Get(), MF_STRING, kFirstBlockCommand + i, texts.blocks[i].c_str());
    const UINT chosen = TrackReturning(menu.Get(), owner, screen);
    if (chosen < kFirstBlockCommand || chosen >= kFirstBlockCommand + texts.blocks.size()) return -1;
    return static_cast<int>(chosen - kFirstBlockCommand);
}
