// The toolbar's buttons, its saved arrangement and the customise dialog's rules.
#include "lists/toolbar.h"

#include <algorithm>
#include <cstdlib>

#include "resources/resource.h"
#include "suite/settings.h"

const char kSeparatorText[] = "-----Separator-----";

const ButtonBarEntry kModuleButtons[kModuleButtonCount] = {
    {CMD_MODULE_CHART, CMD_MODULE_CHART, 0, "&Chart"},
    {CMD_MODULE_FAMILY_FILE, CMD_MODULE_FAMILY_FILE, 0, "&Family File"},
    {CMD_MODULE_LEDGER, CMD_MODULE_LEDGER, 0, "&Ledger"},
    // This module's own button: the other modules show it, this program never does.
    {CMD_MODULE_APPOINTMENTS, CMD_MODULE_APPOINTMENTS, 0, "&Appointments"},
    {CMD_MODULE_OFFICE_MANAGER, CMD_MODULE_OFFICE_MANAGER, 0, "&Office Manager"},
    {CMD_MODULE_QUICK_LETTERS, CMD_MODULE_QUICK_LETTERS, 0, "Quic&k Letters"},
    {CMD_MODULE_QUICK_LABELS, CMD_MODULE_QUICK_LABELS, 0, "Quick La&bels"},
    {CMD_MODULE_CONTINUING_CARE, CMD_MODULE_CONTINUING_CARE, 0, "Co&ntinuing Care"},
    {CMD_MODULE_SEND_MESSAGE, CMD_MODULE_SEND_MESSAGE, 0, "S&end Message"},
    {CMD_MODULE_QUESTIONNAIRE, CMD_MODULE_QUESTIONNAIRE, 0, "Patient &Questionnaire"},
    {CMD_MODULE_PRESCRIPTIONS, CMD_MODULE_PRESCRIPTIONS, 0, "&Prescriptions"},
    {CMD_MODULE_OFFICE_JOURNAL, CMD_MODULE_OFFICE_JOURNAL, 0, "Office &Journal"},
    {CMD_MODULE_DOCUMENT_CENTER, CMD_MODULE_DOCUMENT_CENTER, 0, "Do&cument Center"},
};

namespace {

constexpr char kToolbarKey[] = "Toolbar";
constexpr size_t kMaxSettingLength = 1500;
constexpr size_t kMaxEntryCharacters = 8;
constexpr int kFirstModuleGroup = 1;

// The module buttons' groups; the main window's own groups follow, one per run of buttons
// between its separators.
int ModuleGroup(int command) {
    switch (command) {
    case CMD_MODULE_QUICK_LETTERS: case CMD_MODULE_QUICK_LABELS: case CMD_MODULE_CONTINUING_CARE:
        return 2;
    case CMD_MODULE_SEND_MESSAGE:
        return 3;
    case CMD_MODULE_QUESTIONNAIRE: case CMD_MODULE_PRESCRIPTIONS: case CMD_MODULE_OFFICE_JOURNAL:
    case CMD_MODULE_DOCUMENT_CENTER:
        return 4;
    default:
        return 1;  // Chart, Family File, Ledger, Office Manager, Appointments
    }
}

bool Known(const std::vector<ToolbarButton>& known, int command) {
    return std::any_of(known.begin(), known.end(), [&](const ToolbarButton& b) { return b.entry.command == command; });
}

}  // namespace

bool IsOptionalModuleButton(int command) { return ModuleGroup(command) == 4; }

int ToolbarImageIndex(int bitmap) {
    const int own = ButtonBarImageIndex(bitmap);
    if (own >= 0) return own;
    for (int i = 0; i < kModuleButtonCount; ++i)
        if (kModuleButtons[i].bitmap == bitmap) return kButtonBarBitmapCount + i;
    return -1;
}

int ToolbarBitmapAt(int index) {
    if (index < 0 || index >= kToolbarBitmapCount) return 0;
    return index < kButtonBarBitmapCount ? kButtonBarBitmaps[index] : kModuleButtons[index - kButtonBarBitmapCount].bitmap;
}

std::vector<ToolbarButton> KnownToolbarButtons(int current_module, const std::function<bool(int)>& program_present,
                                               bool with_modules) {
    std::vector<ToolbarButton> known;
    for (const ButtonBarEntry& e : kModuleButtons) {
        if (!with_modules) break;
        if (e.command == current_module) continue;
        if (IsOptionalModuleButton(e.command) && !(program_present && program_present(e.command))) continue;
        known.push_back({e, ModuleGroup(e.command)});
    }
    int group = 10;
    for (const ButtonBarEntry& e : kButtonBarEntries) {
        if (e.command == 0) {
            ++group;
            continue;
        }
        known.push_back({e, group});
    }
    return known;
}

ToolbarArrangement DefaultToolbarArrangement(const std::vector<ToolbarButton>& known) {
    // The window's own buttons begin with a separator, as its button bar always did, also on a
    // bar without module buttons.
    ToolbarArrangement arrangement;
    int group = kFirstModuleGroup;
    for (const ToolbarButton& b : known) {
        if (b.group != group) arrangement.push_back(0);
        group = b.group;
        arrangement.push_back(b.entry.command);
    }
    return arrangement;
}

ToolbarArrangement ParseToolbarSetting(const std::string& value, bool present, const std::vector<ToolbarButton>& known) {
    if (!present || value.empty()) return DefaultToolbarArrangement(known);
    if (value[0] == 'E') return {};
    ToolbarArrangement arrangement;
    const std::string text = value.substr(0, kMaxSettingLength);
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        const std::string entry = text.substr(start, std::min(comma - start, kMaxEntryCharacters));
        const int command = std::atoi(entry.c_str());
        if (command == 0) arrangement.push_back(0);
        else if (Known(known, command)) arrangement.push_back(command);
        start = comma + 1;
    }
    return arrangement;
}

std::string ToolbarSettingText(const ToolbarArrangement& arrangement) {
    if (std::all_of(arrangement.begin(), arrangement.end(), [](int c) { return c == 0; })) return "EMPTY";
    std::string text;
    for (int command : arrangement) {
        if (!text.empty()) text += ',';
        text += std::to_string(command);
    }
    return text;
}

ToolbarArrangement LoadToolbarArrangement(const char* section, const std::vector<ToolbarButton>& known) {
    const bool present = QVN_ProfileKeyExists(section, kToolbarKey);
    return ParseToolbarSetting(QVN_ReadProfileText(section, kToolbarKey, ""), present, known);
}

bool SaveToolbarArrangement(const char* section, const ToolbarArrangement& arrangement) {
    return QVN_WriteProfileString(section, kToolbarKey, ToolbarSettingText(arrangement).c_str()) == 1;
}

// --- The customise dialog -------------------------------------------------------------------

ToolbarCustomiser::ToolbarCustomiser(std::vector<ToolbarButton> known, ToolbarArrangement current)
    : known_(std::move(known)), toolbar_(std::move(current)) {}

ToolbarArrangement ToolbarCustomiser::Available() const {
    ToolbarArrangement available = {0};
    for (const ToolbarButton& b : known_)
        if (std::find(toolbar_.begin(), toolbar_.end(), b.entry.command) == toolbar_.end())
            available.push_back(b.entry.command);
    return available;
}

std::string ToolbarCustomiser::Text(int command) const {
    if (command == 0) return kSeparatorText;
    for (const ToolbarButton& b : known_)
        if (b.entry.command == command) return ButtonToolTip(b.entry.menuText);
    return std::to_string(command);
}

bool ToolbarCustomiser::CanAdd(const std::vector<int>& available, int selected) const {
    const int lines = static_cast<int>(Available().size());
    const bool valid = !available.empty() &&
                       std::all_of(available.begin(), available.end(), [&](int i) { return i >= 0 && i < lines; });
    const bool in_toolbar = selected >= -1 && selected < static_cast<int>(toolbar_.size());
    return valid && in_toolbar && toolbar_.size() + available.size() <= static_cast<size_t>(kMaxToolbarEntries);
}

bool ToolbarCustomiser::CanRemove(int selected) const {
    return selected >= 0 && selected < static_cast<int>(toolbar_.size());
}

bool ToolbarCustomiser::CanMoveUp(int selected) const { return CanRemove(selected) && selected > 0; }

bool ToolbarCustomiser::CanMoveDown(int selected) const {
    return CanRemove(selected) && selected + 1 < static_cast<int>(toolbar_.size());
}

bool ToolbarCustomiser::CanRestoreDefault() const { return toolbar_ != DefaultToolbarArrangement(known_); }

int ToolbarCustomiser::Add(const std::vector<int>& available, int selected) {
    if (!CanAdd(available, selected)) return -1;
    const ToolbarArrangement lines = Available();
    std::vector<int> sorted = available;
    std::sort(sorted.begin(), sorted.end());
    ToolbarArrangement moving;
    for (int i : sorted) moving.push_back(lines[static_cast<size_t>(i)]);
    const int at = selected < 0 ? static_cast<int>(toolbar_.size()) : selected;
    toolbar_.insert(toolbar_.begin() + at, moving.begin(), moving.end());
    return at;
}

int ToolbarCustomiser::Remove(int selected) {
    if (!CanRemove(selected)) return -1;
    toolbar_.erase(toolbar_.begin() + selected);
    if (toolbar_.empty()) return -1;
    return std::min(selected, static_cast<int>(toolbar_.size()) - 1);
}

int ToolbarCustomiser::MoveUp(int selected) {
    if (!CanMoveUp(selected)) return selected;
    std::swap(toolbar_[static_cast<size_t>(selected)], toolbar_[static_cast<size_t>(selected - 1)]);
    return selected - 1;
}

int ToolbarCustomiser::MoveDown(int selected) {
    if (!CanMoveDown(selected)) return selected;
    std::swap(toolbar_[static_cast<size_t>(selected)], toolbar_[static_cast<size_t>(selected + 1)]);
    return selected + 1;
}

void ToolbarCustomiser::RestoreDefault() { toolbar_ = DefaultToolbarArrangement(known_); }
