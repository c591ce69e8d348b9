// The main window's toolbar as data: every button it knows (the module buttons, then the
// window's own command buttons), the user's arrangement of them kept under the "Toolbar" key,
// and the rules of the "Customize Toolbar" dialog.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/button_bar.h"  // ButtonBarEntry

// A button the toolbar can show, with the group it was created in: the default arrangement puts
// a separator wherever the group changes.
struct ToolbarButton {
    ButtonBarEntry entry;
    int group = 0;
};

// The module buttons in their order (Chart, Family File, Ledger, Appointments, Office Manager; Quick Letters,
// Quick Labels, Continuing Care; Send Message; Patient Questionnaire, Prescriptions, Office
// Journal, Document Center), pictures of the same numbers.
constexpr int kModuleButtonCount = 13;
extern const ButtonBarEntry kModuleButtons[kModuleButtonCount];
// The four that show only when their program is there.
bool IsOptionalModuleButton(int command);
// Every picture of the module buttons, loaded after the button bar's own.
int ToolbarImageIndex(int bitmap);  // -1 when the toolbar has no such picture
constexpr int kToolbarBitmapCount = kButtonBarBitmapCount + kModuleButtonCount;
int ToolbarBitmapAt(int index);

// Every button the toolbar knows, in the order they are created: the module buttons (never the
// current module's own, the optional ones only when program_present says so), then the main
// window's own buttons. Without modules only the window's own buttons, as a bar of a window that
// starts no module has them.
std::vector<ToolbarButton> KnownToolbarButtons(int current_module, const std::function<bool(int)>& program_present,
                                               bool with_modules = true);

// An arrangement: command numbers in order, 0 for a separator.
using ToolbarArrangement = std::vector<int>;

// The buttons in creation order with a separator wherever the group changes.
ToolbarArrangement DefaultToolbarArrangement(const std::vector<ToolbarButton>& known);

// The "Toolbar" value: missing or empty gives the default, a value that begins with "E" an empty
// toolbar; otherwise the entries between commas (each read to at most 8 characters): 0 a
// separator, a known command its button; commands the toolbar does not know are left out.
ToolbarArrangement ParseToolbarSetting(const std::string& value, bool present,
                                       const std::vector<ToolbarButton>& known);
// The value to store: the numbers joined by commas, "EMPTY" when no button is left.
std::string ToolbarSettingText(const ToolbarArrangement& arrangement);

// Load and save under [section] "Toolbar" of the suite settings file.
ToolbarArrangement LoadToolbarArrangement(const char* section, const std::vector<ToolbarButton>& known);
bool SaveToolbarArrangement(const char* section, const ToolbarArrangement& arrangement);

// The customise dialog's two lists and what its buttons do. The available list always holds a
// separator first, then the known buttons that are not on the toolbar, in creation order.
constexpr int kMaxToolbarEntries = 150;
extern const char kSeparatorText[];  // "-----Separator-----"

class ToolbarCustomiser {
public:
    ToolbarCustomiser(std::vector<ToolbarButton> known, ToolbarArrangement current);

    const ToolbarArrangement& Toolbar() const { return toolbar_; }
    ToolbarArrangement Available() const;
    std::string Text(int command) const;  // the list line of an entry

    // The buttons' enabling rules; available: the selected lines of the available list,
    // selected: the selected line of the toolbar list (-1 none).
    bool CanAdd(const std::vector<int>& available, int selected) const;
    bool CanRemove(int selected) const;
    bool CanMoveUp(int selected) const;
    bool CanMoveDown(int selected) const;
    bool CanRestoreDefault() const;

    // ">": the selected available entries go in front of the selected toolbar entry (at the end
    // when none is selected). Returns the line of the first one moved, -1 when nothing moved.
    int Add(const std::vector<int>& available, int selected);
    // "<": the selected toolbar entry goes back to the available list. Returns the line to select.
    int Remove(int selected);
    int MoveUp(int selected);
    int MoveDown(int selected);
    void RestoreDefault();

private:
    std::vector<ToolbarButton> known_;
    ToolbarArrangement toolbar_;
};
