// The test's own picture of the program's sheet: the same view, day data and layout, computed
// on the same database with the program's measures, so that a UI test knows where each box,
// slot and row must be on the screen.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "app/fonts_win.h"
#include "app_run.h"
#include "../native/scripted_prompter.h"
#include "controls/date_picker_model.h"
#include "data/appointment_store.h"
#include "data/practice_schedule.h"
#include "suite/workstation_settings.h"
#include "views/active_view.h"
#include "views/day_data.h"
#include "views/sheet_layout.h"
#include "views/sheet_state.h"

// Lets the program take its messages and paint.
inline void Settle(DWORD ms = 600) { Sleep(ms); }

// Shows a date on the program's sheet, as the date picker does.
inline void ShowDate(HWND main, int32_t date) {
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(kCmdPickedDate, 0), date);
    Settle(1500);
}

class SheetModel {
public:
    // On the run's practice, or on another data directory the run's settings point at.
    bool Open(const AppRun& app, HWND sheet, const std::string& data = "") {
        std::string reason;
        if (!OpenPracticeDatabase(data.empty() ? app.DataDir() : data, &reason) || !LoadPracticeTables()) return false;
        ApplyView(1);
        fonts_.CreateAll();
        sheet_state.measures = fonts_.MeasureSheet(sheet);
        sheet_state.colours = ReadSheetColours();
        sheet_state.timeAtRight = ReadViewTimeAtRight();
        sheet_ = sheet;
        return true;
    }
    ~SheetModel() {
        FreeDays();
        DbEndSession();
    }
    void Load(int32_t date, ViewMode mode, int top_unit) {
        sheet_state.topUnit = top_unit;
        LoadShownDays(ShownDatesOf(date, mode), mode);
        RECT client;
        GetClientRect(sheet_, &client);
        LayOutShownDays(client.right, sheet_state.timeAtRight, sheet_state.measures);
        height_ = client.bottom;
    }
    int R() const { return sheet_state.measures.rowHeight; }
    int Height() const { return height_; }
    int W() const { return sheet_state.measures.stripeWidth; }
    int Y(int unit) const { return UnitOffset(unit, sheet_state.topUnit, practice_tables.blockUnits, R()); }
    bool Visible(int unit) const { return unit >= sheet_state.topUnit && Y(unit) + R() <= height_; }
    // A box from unit from to unit to (its end) lies whole in the window.
    bool Visible(int from, int to) const { return from >= sheet_state.topUnit && Y(to) + 1 <= height_; }
    // The middle of the row of a unit.
    int MidRow(int unit) const { return Y(unit) + R() / 2; }

private:
    AppFonts fonts_;
    HWND sheet_ = nullptr;
    int height_ = 0;
};

// The sheet's first hour, set at start-up from today's weekday.
inline int FirstShownTime() { return FirstShownTimeOf(*practice_tables.practice, WeekdayIndex(QVN_SysDate())); }

// The first open day from today on with at least that many appointments: the tests show it,
// whatever weekday they run on.
inline int32_t BookedDay(size_t at_least = 1) {
    const int32_t today = QVN_SysDate();
    for (int32_t d = today; d < today + 7; ++d)
        if (HolidayKind(d) == 0 && ReadDay(d).size() >= at_least) return d;
    return 0;
}

// The opening of a test on the sheet: the run started, its main window and sheet found, the main
// window in front and the model opened on the run's practice. Fatal failures on the way; call it
// inside ASSERT_NO_FATAL_FAILURE.
inline void OpenSheet(AppRun& app, SheetModel& m, HWND* main, HWND* sheet) {
    ASSERT_TRUE(app.Started()) << app.SeedReason();
    *main = app.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, *main);
    *sheet = FindWindowExA(*main, nullptr, "SchSheet", nullptr);
    ASSERT_NE(nullptr, *sheet);
    SetForegroundWindow(*main);
    ASSERT_TRUE(m.Open(app, *sheet));
}

// The first open day from today on with at least that many appointments, shown in the day view
// and loaded into the model.
inline void ShowBookedDay(HWND main, SheetModel& m, size_t at_least, int32_t* day) {
    *day = BookedDay(at_least);
    ASSERT_NE(0, *day) << "no open day this week with " << at_least << " appointments";
    ShowDate(main, *day);
    m.Load(*day, kDayView, FirstShownTime());
}

// Ends the run by its menu's Exit; the program must end cleanly.
inline void ExitProgram(AppRun& app, HWND main) {
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_EXIT, 0), 0);
    EXPECT_EQ(0, app.WaitForExit());
}

// An appointment's box on the loaded first day, with its column.
struct Box {
    const DayColumn* column = nullptr;
    ApptDisplay a;
    int Units() const { return std::max(a.length / 5, 1); }
};

// The first appointment of the loaded first day that lies whole in the window and that wanted
// accepts.
template <typename Wanted>
Box FindBox(const SheetModel& m, Wanted wanted) {
    for (const DayColumn& c : day_data.days[0].columns)
        for (const ApptDisplay& a : c.appointments)
            if (m.Visible(a.startUnit, a.startUnit + std::max(a.length / 5, 1)) && wanted(c, a)) return {&c, a};
    return {};
}

// An operatory column of the loaded first day with nothing in units [from, to), other than skip.
inline const DayColumn* FreeColumn(int from, int to, const DayColumn* skip = nullptr) {
    for (const DayColumn& c : day_data.days[0].columns) {
        if (c.kind != kOperatoryColumn || &c == skip) continue;
        bool free = true;
        for (int u = from; u < to; ++u) free &= c.codes[u] < kBlockCodeBase;
        if (free) return &c;
    }
    return nullptr;
}

// The appointment as stored now; a failed read fails the test.
inline AppointmentRecord Stored(uint32_t id) {
    AppointmentRecord a{};
    EXPECT_EQ(0, ReadAppointment(id, &a)) << "appointment " << id;
    return a;
}

// Changes the stored appointment and saves it as another workstation does, Yes to each of its
// questions; false when it could not be read or saved.
inline bool ChangeElsewhere(uint32_t id, const std::function<void(AppointmentRecord&)>& change) {
    AppointmentRecord before{};
    if (ReadAppointment(id, &before) != kQdbOk) return false;
    AppointmentRecord after = before;
    change(after);
    ScriptedPrompter yes;
    for (int i = 0; i < 4; ++i) yes.Answer(kAnswerYes);
    return SaveAppointment(false, &before, after);
}

// The unit an appointment record starts at.
inline int StartUnit(const AppointmentRecord& a) { return a.hour * 12 + a.minute / 5; }
