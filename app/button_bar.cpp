// The button bar's buttons, pictures and looks.
#include "app/button_bar.h"

const ButtonBarEntry kButtonBarEntries[kButtonBarEntryCount] = {
    {0, 0, 0, nullptr},
    {386, 386, 387, "Pa&tient Picture"},
    {0, 0, 0, nullptr},
    {121, 216, 0, "&Select Patient - New Appt..."},
    {127, 215, 0, "Find Ne&w Appointment Time..."},
    {122, 214, 0, "Locate &Existing Appointment..."},
    {123, 243, 0, "&Break Appointment..."},
    {129, 245, 0, "Post/Set &Complete..."},
    {0, 0, 0, nullptr},
    {610, 258, 0, "Print Appointment Book &View..."},
    {620, 246, 0, "Print Ro&ute Slip..."},
    {126, 244, 0, "&Dial..."},
    {124, 242, 0, "Delete Appoint&ment..."},
    {0, 0, 0, nullptr},
    {389, 251, 0, "Treatment &Manager"},
    {0, 0, 0, nullptr},
    {404, 259, 0, "La&b Case Manager"},
    {0, 0, 0, nullptr},
    {393, 393, 394, "Pat&ient Alerts"},
    {0, 0, 0, nullptr},
    {12146, 12146, 12145, "Patient &Referrals"},
    {0, 0, 0, nullptr},
    {kButtonBarIdealDayCommand, 248, 247, "&Ideal Day Scheduling"},
};

const int kButtonBarBitmaps[kButtonBarBitmapCount] = {
    386, 387, 216, 215, 214, 243, 245, 258, 246, 244, 242, 251, 259, 393, 394, 12146, 12145, 248, 247,
};

int ButtonBarImageIndex(int bitmap) {
    for (int i = 0; i < kButtonBarBitmapCount; ++i)
        if (kButtonBarBitmaps[i] == bitmap) return i;
    return -1;
}

const ButtonBarEntry* FindButtonBarEntry(int command) {
    if (command == 0) return nullptr;
    for (const ButtonBarEntry& e : kButtonBarEntries)
        if (e.command == command) return &e;
    return nullptr;
}

std::string ButtonToolTip(const char* menu_text) {
    std::string tip;
    if (!menu_text) return tip;
    for (const char* p = menu_text; *p && *p != '\t'; ++p) {
        if (*p == '&') {
            if (p[1] != '&') continue;  // "&&" stands for one ampersand
            ++p;
        }
        tip += *p;
    }
    return tip;
}

ButtonLook ButtonLookFor(const ButtonBarEntry& entry, const SelectionFacts& facts, bool ideal_day) {
    ButtonLook look;
    look.bitmap = entry.bitmap;
    if (entry.command == 0) return look;
    if (entry.command == kButtonBarIdealDayCommand) {
        // The toggle is always available; its picture follows the switch, not the selection.
        look.enabled = ButtonState(entry.command, facts, nullptr) == 0;
        if (ideal_day) look.bitmap = entry.onBitmap;
        return look;
    }
    // The picture shows the patient's fact even on a button whose command is not built yet.
    int on = 0;
    ButtonDisabled(entry.command, facts, &on);
    look.enabled = ButtonState(entry.command, facts, nullptr) == 0;
    if (on && entry.onBitmap) look.bitmap = entry.onBitmap;
    return look;
}
