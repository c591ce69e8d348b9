// The entries of the sheet's context menus.
#include "views/sheet_menus.h"

#include <algorithm>

#include "views/sheet_text.h"

namespace {

constexpr MenuEntry kSeparator{nullptr, 0};

}  // namespace

const std::vector<MenuEntry>& PatientMenuEntries() {
    static const std::vector<MenuEntry> entries = {
        {"Other Appointments...", 380},
        {"Medical Alerts/Notes...", 381},
        {"Info for Insurance...", 382},
        kSeparator,
        {"Print Appointment Book View...", 610},
        {"Print Route Slip...", 620},
        {"Post/Set Complete...", 129},
        {"Dial...", 126},
        {"Break Appointment...", 123},
        {"Delete Appointment...", 124},
        kSeparator,
        {"&Chart", 12112},
        {"&Family File", 12113},
        {"&Ledger", 12114},
        {"&Office Manager", 12117},
        {"Quic&k Letters", 12118},
        {"Quick Labels", 12141},
        {"S&end Message", 12134},
        {"Co&ntinuing Care", 12119},
        {"Patient &Questionnaire", 12124},
        {"&Prescriptions", 12126},
        {"Office &Journal", 12128},
        {"Patient Pict&ure", 386},
        {"Pat&ient Alerts", 393},
        {"Lab Case Manager", 404},
        {"Patient Referrals", 12146},
    };
    return entries;
}

const std::vector<MenuEntry>& NewPatientMenuEntries() {
    static const std::vector<MenuEntry> entries = {
        {"New Patient Info...", 384},
        kSeparator,
        {"Print Appointment Book View...", 610},
        {"Print Route Slip...", 620},
        {"Dial...", 126},
        {"Break Appointment...", 123},
        {"Delete Appointment...", 124},
    };
    return entries;
}

TimeBlockMenu TimeBlockMenuOf(const DayColumn& column) {
    TimeBlockMenu menu;
    menu.title = "TIME BLOCKS FOR " + std::string(column.id, 4);
    const size_t count = std::min(column.blocks.size(), static_cast<size_t>(kMaxColumnBlocks));
    for (size_t i = 0; i < count; ++i) menu.blocks.push_back(BlockCaption(column.blocks[i], false));
    return menu;
}
