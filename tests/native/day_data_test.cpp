// The day data of the demo practice as the sheet sees it: unit codes of appointments over time
// blocks, blocks of providers outside the view, a provider without an occupancy record, the
// patient facts and markers of a box, the 64-appointment limit; and the sheet's geometry and
// texts: row offsets, column widths, text areas of a box continued from above, time labels and
// the clock row.

#include <vector>

#include "appointments/locate.h"
#include "demo_practice_fixture.h"
#include "suite/records/notes.h"
#include "suite/records/patient.h"
#include "views/day_data.h"
#include "views/sheet_hit.h"
#include "views/sheet_layout.h"
#include "views/sheet_state.h"
#include "views/sheet_text.h"

namespace {

const int32_t kMonday = QVN_DateIn(12, 7, 2026);
constexpr int Unit(int hour, int minute = 0) { return hour * 12 + minute / 5; }

AppointmentRecord Appt(uint32_t id, int hour, int minute, int length, const char* provider, const char* operatory,
                       uint32_t patient_id = 0, const char* name = "Walk, In") {
    AppointmentRecord a = DemoAppt(id, kMonday, hour, minute, length, provider, operatory);
    a.patientId = patient_id;
    std::snprintf(a.patientName, sizeof a.patientName, "%s", name);
    a.amount = 12345;
    return a;
}

const DayColumn& Column(const DayRecord& day, const char* id) {
    for (const DayColumn& c : day.columns)
        if (std::strncmp(c.id, id, std::strlen(id)) == 0) return c;
    ADD_FAILURE() << "no column " << id;
    return day.columns.front();
}

std::string Codes(const DayColumn& c, int from, int to) {
    std::string s;
    for (int u = from; u < to; ++u) s += std::to_string(c.codes[u]) + (u + 1 < to ? "," : "");
    return s;
}

class DemoDay : public DemoPracticeTest {
protected:
    void TearDown() override { FreeDays(); }
    void AddNote(uint8_t kind, uint32_t owner, const char* text) {
        uint8_t buffer[64] = {};
        NoteHead head{kind, owner, kMonday, {}};
        std::memcpy(buffer, &head, sizeof head);
        std::strcpy(reinterpret_cast<char*>(buffer + sizeof head), text);
        FileGroupDesc desc{};
        DbGroupOf(kNoteFile, &desc);
        DbGroupScope group(desc);
        ASSERT_EQ(kQdbOk, DbAddVariable(kNoteFile, buffer, static_cast<int>(sizeof head + std::strlen(text) + 1)));
    }
};

}  // namespace

TEST_F(DemoDay, AppointmentsHideTheirBlockUnitsAndBlocksOfProvidersOutsideTheViewShow) {
    // DR1's "New Pt Exam" block lies on Mondays 8:00-9:00 in OP1; HYG1's "Perio Maint" 13:00-14:00
    // in OP5. Only DR1 and DR3 are in the view; DR3 has nothing booked that week.
    Book(Appt(5001, 8, 20, 20, "DR1", "OP1"));
    ShowOnly({"DR1", "DR3"}, {"OP1", "OP5"});
    LoadShownDays({kMonday}, kDayView);
    ASSERT_EQ(1u, day_data.days.size());
    const DayRecord& day = day_data.days[0];
    EXPECT_EQ(2, day.weekday) << "Monday";
    EXPECT_EQ("Mo Dec 7", day.shortCaption);
    ASSERT_EQ(4u, day.columns.size()) << "two provider columns, then two operatory columns";
    EXPECT_EQ(kProviderColumn, day.columns[0].kind);
    EXPECT_EQ(kOperatoryColumn, day.columns[2].kind);

    const DayColumn& op1 = Column(day, "OP1");
    EXPECT_EQ("OP1", op1.longCaption);
    EXPECT_EQ("10,10,10,10,100,100,100,100,10,10,10,10", Codes(op1, Unit(8), Unit(9)))
        << "the appointment's units hide the block; the block's other units still show";
    ASSERT_EQ(1u, op1.blocks.size());
    EXPECT_EQ(std::string("New Pt Exam"), op1.blocks[0].name);
    ASSERT_EQ(1u, op1.appointments.size());
    EXPECT_EQ((std::vector<uint32_t>{5001, Unit(8, 20), practice_tables.providers[static_cast<size_t>(ProviderIndex("DR1"))].colour}),
              (std::vector<uint32_t>{uint32_t(op1.appointments[0].id), uint32_t(op1.appointments[0].startUnit), op1.appointments[0].colour}));

    const DayColumn& op5 = Column(day, "OP5");
    ASSERT_EQ(1u, op5.blocks.size()) << "HYG1 is not in the view, yet its block shows in its operatory";
    EXPECT_EQ(0, std::memcmp(op5.blocks[0].provider, "HYG1", 4));
    EXPECT_EQ(kBlockCodeBase, op5.codes[Unit(13, 55)]);
    EXPECT_EQ(0, op5.codes[Unit(14)]);
    EXPECT_EQ("^ Perio Maint - HYG1 ^", BlockCaption(op5.blocks[0], true));

    const DayColumn& dr1 = Column(day, "DR1");
    EXPECT_EQ("0,0,0,0,1,1,1,1,0,0", Codes(dr1, Unit(8), Unit(8, 50))) << "the provider's occupancy counters";
    EXPECT_EQ(12345, dr1.dayAmount);
}

TEST_F(DemoDay, AProviderWithoutAWeekRecordShowsTheDefaultHoursAndTheMonthViewOnlyProviders) {
    ShowOnly({"DR3"}, {"OP4"});
    LoadShownDays({kMonday}, kDayView);
    const DayColumn& dr3 = Column(day_data.days[0], "DR3");
    for (int u = 0; u < kUnitsPerDay; ++u) ASSERT_EQ(0, dr3.codes[u]) << "unit " << u;
    const ProviderInfo& p = practice_tables.providers[static_cast<size_t>(ProviderIndex("DR3"))];
    for (int i = 0; i < 3; ++i) {
        const int start = p.defaultStart[1][i] == kNoTime ? -1 : p.defaultStart[1][i];
        EXPECT_EQ(start, dr3.hours.start[i]) << "range " << i;
    }

    LoadShownDays({kMonday, kMonday + 1}, kMonthView);
    for (const DayRecord& d : day_data.days) {
        ASSERT_EQ(1u, d.columns.size());
        EXPECT_EQ(kProviderColumn, d.columns[0].kind);
    }
    EXPECT_EQ(2u, day_data.practiceHours.size());
}

TEST_F(DemoDay, PatientFactsMarkersPrivatePhonesAndLineTexts) {
    PatientRecord p{};
    p.id = 900001;
    std::strcpy(p.lastName, "Smith");
    std::strcpy(p.firstName, "Robert");
    std::strcpy(p.preferredName, "Bob");
    std::strcpy(p.nameTitle, "Dr.");
    std::strcpy(p.homePhone, "5551234567");
    std::strcpy(p.workPhone, "5559876543");
    std::strcpy(p.chartNumber, "SM01");
    std::strcpy(p.ssn, "123456789");
    p.medicalAlerts[0] = 0x04;
    p.privacy = kPrivatePhone;
    ASSERT_EQ(kQdbOk, db_.Add(kPatientFile, p));
    AppointmentRecord a = Appt(6001, 10, 0, 30, "DR2", "OP2", p.id, "Smith, Robert");
    std::strcpy(a.phone, "5551234567");
    Book(a);
    Book(Appt(6002, 11, 0, 10, "DR2", "OP2", 0, "Newman, Nora"));
    AddNote(kNoteAppointment, 6001, "bring x-rays");
    AddNote(kNotePatientAlert, p.id, "premedicate");
    AddNote(kNoteDay, static_cast<uint32_t>(kMonday), "staff meeting at noon");

    ShowOnly({"DR2"}, {"OP2"});
    LoadShownDays({kMonday}, kDayView);
    const DayRecord& day = day_data.days[0];
    EXPECT_TRUE(day.hasNote);
    const DayColumn& op2 = Column(day, "OP2");
    ASSERT_EQ(2u, op2.appointments.size());
    const ApptDisplay& smith = op2.appointments[0];
    EXPECT_EQ((std::vector<int>{2, 2, 2}), (std::vector<int>{smith.noteFlag, smith.medicalAlert, smith.patientAlert}));
    EXPECT_EQ("Dr. Smith, Robert", BoxLineText(1, smith));
    EXPECT_EQ("H:Private", BoxLineText(3, smith)) << "a private phone is not shown";
    EXPECT_EQ("0123", BoxLineText(5, smith)) << "whole currency units after a 0";
    EXPECT_EQ("123-45-6789", BoxLineText(9, smith));
    EXPECT_EQ("C#:SM01", BoxLineText(11, smith));
    EXPECT_EQ("Dr. Smith, Bob", BoxLineText(12, smith));
    EXPECT_EQ("", BoxLineText(7, smith)) << "no staff";

    const ApptDisplay& newman = op2.appointments[1];
    EXPECT_EQ("NP-Newman, Nora", BoxLineText(1, newman));
    EXPECT_EQ(kAppointmentCodeBase + 1, op2.codes[Unit(11)]) << "a 10-minute appointment fills two units";

    // The week view reads no patient facts, but keeps the private phone private too, as does the
    // display that the pin board's card and its information box show.
    LoadShownDays({kMonday}, kWeekView);
    const ApptDisplay& week_smith = Column(day_data.days[0], "OP2").appointments[0];
    EXPECT_EQ("", week_smith.preferredName);
    EXPECT_EQ("Private", week_smith.homePhone);
    EXPECT_EQ("Private", DisplayShownOf(a).homePhone);
    AppointmentRecord walk_in = Appt(6003, 12, 0, 10, "DR2", "OP2", 0, "Newman, Nora");
    std::strcpy(walk_in.phone, "5550001111");
    EXPECT_EQ("5550001111", DisplayShownOf(walk_in).homePhone) << "a new patient has no privacy to keep";
}

TEST_F(DemoDay, ADayThatCannotBeReadShowsNothingAndThePracticeHoursFollowTheWeekRecord) {
    Book(Appt(6101, 10, 0, 30, "DR2", "OP2"));
    ShowOnly({"DR2"}, {"OP2"});
    LoadShownDays({kMonday, kMonday + 1}, kDayView);
    ASSERT_EQ(1u, Column(day_data.days[0], "OP2").appointments.size());
    // The practice's week record of Tuesday: flag 2 with three zero starts says nothing for the day.
    const int32_t zeros[3] = {0, 0, 0};
    ASSERT_EQ(kQdbOk, WriteDay(kRscPractice, "-PR-", kMonday + 1, zeros, zeros, 2));
    const int32_t short_day[3] = {Unit(9), -1, -1}, short_end[3] = {Unit(12), -1, -1};
    ASSERT_EQ(kQdbOk, WriteDay(kRscPractice, "-PR-", kMonday, short_day, short_end, 2));
    LoadShownDays({kMonday, kMonday + 1}, kDayView);
    ASSERT_EQ(2u, day_data.practiceHours.size());
    EXPECT_EQ(Unit(9), day_data.practiceHours[0].start[0]) << "own starts: its hours";
    EXPECT_EQ(2, day_data.practiceHours[0].flag) << "and its flag";
    EXPECT_EQ(0, day_data.practiceHours[1].flag) << "three zero starts: day flag 0";
    const int default_start = practice_tables.practice->defaultStart[2][0];
    EXPECT_EQ(default_start, day_data.practiceHours[1].start[0]) << "and the default hours";

    // The session is gone: the reload reads nothing and the day shows nothing of before.
    DbEndSession();
    ScriptedPrompter prompter;
    EXPECT_TRUE(ReloadShownDay(kMonday));
    EXPECT_TRUE(Column(day_data.days[0], "OP2").appointments.empty()) << "the old appointments are gone";
    for (int u = 0; u < kUnitsPerDay; ++u) ASSERT_EQ(0, Column(day_data.days[0], "OP2").codes[u]) << "unit " << u;
    DbInitDatabase();
}

TEST_F(DemoDay, TheSixtyFifthAppointmentOfAColumnEndsTheDay) {
    // Written straight into the file: the limit is the sheet's, not the booking's.
    for (uint32_t i = 0; i < 65; ++i)
        ASSERT_EQ(kQdbOk, db_.Add(kAppointmentFile, Appt(7000 + i, 8 + static_cast<int>(i) / 12, static_cast<int>(i % 12) * 5, 5, "DR1", "OP2")));
    ASSERT_EQ(kQdbOk, db_.Add(kAppointmentFile, Appt(7100, 9, 0, 30, "DR1", "OP3")));
    ShowOnly({"DR1"}, {"OP2", "OP3"});
    LoadShownDays({kMonday}, kDayView);
    EXPECT_EQ(64u, Column(day_data.days[0], "OP2").appointments.size());
    EXPECT_EQ(0u, Column(day_data.days[0], "OP3").appointments.size()) << "the rest of the day is not loaded";

    ShowOnly({"DR1"}, {"OP3", "OP2"});
    LoadShownDays({kMonday}, kDayView);
    EXPECT_EQ(1u, Column(day_data.days[0], "OP3").appointments.size());
    EXPECT_TRUE(ReloadShownDay(kMonday));
    EXPECT_FALSE(ReloadShownDay(kMonday + 1)) << "a day that is not shown is not reloaded";
    EXPECT_EQ(1u, Column(day_data.days[0], "OP3").appointments.size()) << "a reload replaces, it does not add";
}

// What a point of the sheet hits, as a press, a drag or a context menu finds it: the box, its
// cut-off forms, a time block only with Ideal Day on, an empty slot with its time, nothing
// outside the operatory columns; and the distance that makes a press a drag.
TEST_F(DemoDay, APointOfTheSheetHitsTheBoxBlockOrSlotDrawnThere) {
    Book(Appt(6201, 9, 0, 30, "DR1", "OP1"));
    ShowOnly({"DR1"}, {"OP1"});
    LoadShownDays({kMonday}, kDayView);
    ASSERT_EQ(2, practice_tables.blockUnits) << "10-minute rows";
    sheet_state.measures.rowHeight = 12;
    sheet_state.measures.providerColumnWidth = 8;
    sheet_state.measures.timeColumnWidth = 50;
    sheet_state.topUnit = Unit(8);
    LayOutShownDays(400, false, sheet_state.measures);
    const DayColumn& op1 = Column(day_data.days[0], "OP1");
    const DayColumn& dr1 = Column(day_data.days[0], "DR1");
    const int x = (op1.left + op1.right) / 2;
    const struct {
        const char* what;
        int x, y, height, top;
        bool idealDay;
        HitResult result;
        int id;            // of the appointment hit
        int hour, minute;  // of an empty slot
    } table[] = {
        // DR1's "New Pt Exam" block lies on Mondays 8:00-9:00 in OP1; the appointment 9:00-9:30.
        {"the block, Ideal Day off", x, 5, 400, Unit(8), false, kHitEmptySlot, 0, 8, 0},
        {"the block, Ideal Day on", x, 5, 400, Unit(8), true, kHitTimeBlock, 0, 0, 0},
        {"the box's first row", x, 6 * 12 + 2, 400, Unit(8), false, kHitAppointment, 6201, 0, 0},
        {"after the box", x, 9 * 12 + 5, 400, Unit(8), false, kHitEmptySlot, 0, 9, 30},
        {"the box running below the window", x, 6 * 12 + 2, 100, Unit(8), false, kHitCutOff, 6201, 0, 0},
        {"the box continued from above", x, 2, 400, Unit(9, 10), false, kHitCutOff, 6201, 0, 0},
        {"the provider column", (dr1.left + dr1.right) / 2, 6 * 12 + 2, 400, Unit(8), false, kHitNothing, 0, 0, 0},
    };
    for (const auto& t : table) {
        sheet_state.topUnit = t.top;
        sheet_state.idealDay = t.idealDay;
        const HitRecord hit = HitTest(t.x, t.y, t.height);
        EXPECT_EQ(t.result, hit.result) << t.what;
        EXPECT_EQ(t.id, hit.appointment.id) << t.what;
        EXPECT_EQ(t.hour, hit.hour) << t.what;
        EXPECT_EQ(t.minute, hit.minute) << t.what;
        EXPECT_EQ(t.result == kHitNothing ? 0 : kMonday, hit.date) << t.what;
    }
    sheet_state = SheetState{};

    EXPECT_FALSE(BeyondDragDistance(1, 1, 4, 4)) << "a click that wobbles a pixel stays a click";
    EXPECT_TRUE(BeyondDragDistance(3, 0, 4, 4));
}

TEST(SheetGeometry, RowsColumnsBoxesLabelsAndScrolling) {
    // Ten-minute rows of 12 pixels from 8:00: a unit within a row sits half a row down.
    EXPECT_EQ(6, UnitOffset(Unit(8, 5), Unit(8), 2, 12));
    EXPECT_EQ(4 * 16, UnitOffset(Unit(9), Unit(8), 3, 16)) << "15-minute rows: four to the hour";

    SheetMeasures m;
    m.providerColumnWidth = 8;
    m.timeColumnWidth = 50;
    LayoutRequest in{401, 1, kDayView, false, 1, 3};
    std::vector<DaySpan> days = LayOutSheet(in, m);
    ASSERT_EQ(4u, days.at(0).columns.size());
    // 401 - 9 = 392 left for three columns and their separators: 389 / 3 = 129 rest 2, the
    // first columns taking the rest, one separator pixel apart; the provider column PW wide.
    const auto widths = [](const DaySpan& d) {
        std::vector<int> w;
        for (const auto& c : d.columns) w.push_back(c.right - c.left);
        return w;
    };
    EXPECT_EQ((std::vector<int>{8, 130, 130, 129}), widths(days[0]));
    EXPECT_EQ(days[0].columns[1].right + 1, days[0].columns[2].left);
    in.timeAtRight = true;
    EXPECT_EQ(130 - 16, widths(LayOutSheet(in, m)[0])[1]) << "each gives up TW / 3 for the time strip";
    in.mode = kWeekView;
    in.days = 7;
    in.sheetWidth = 750;
    days = LayOutSheet(in, m);
    ASSERT_EQ(7u, days.size());
    EXPECT_EQ(4, widths(days[0])[0]) << "PW / 2 in the week view";
    EXPECT_EQ(100, days[1].left) << "(750 - 50) / 7 = 100 a day";
    EXPECT_EQ(days[6].right + 2, WeekTotalPlaceOf(days[6].left, days[6].right, 750, true).left) << "the week total after the last day";
    EXPECT_TRUE(WeekTotalPlaceOf(650, 749, 750, false).alignRight) << "without the time strip: in the last day's caption";

    EXPECT_EQ((std::vector<std::pair<int, int>>{{0, 96}, {287, 288}}), ClosedStretches(DayHours{{96, -1, -1}, {-1, -1, -1}, 0}))
        << "a range without end counts as ending at 287";

    // A box begun two rows above the view: its text continues with the line codes of its
    // hidden rows, and the two reason lines form one area.
    DayColumn c;
    for (int u = Unit(7, 40); u < Unit(8, 30); ++u) c.codes[u] = kAppointmentCodeBase;
    const BoxRun run = RunAt(c, Unit(8), Unit(8), 2);
    EXPECT_EQ((std::vector<int>{Unit(7, 40), Unit(8, 25), 1, 2}),
              (std::vector<int>{run.firstUnit, run.lastUnit, run.continuedFromAbove, run.hiddenRows}));
    const uint8_t lines[9] = {1, 2, 2, 3, 4, 0, 0, 0, 0};
    const std::vector<TextArea> areas = BoxTextAreas(lines, 5, run.hiddenRows);
    ASSERT_EQ(3u, areas.size());
    EXPECT_EQ((std::vector<int>{2, 1, 2}), (std::vector<int>{areas[0].code, areas[0].firstRow, areas[0].rows}))
        << "the reason area began in a hidden row";
    const uint8_t ten_rows[9] = {1, 1, 1, 1, 1, 1, 1, 1, 1};
    EXPECT_EQ(9, BoxTextAreas(ten_rows, 12, 0).at(0).rows) << "rows past the ninth draw nothing";

    EXPECT_EQ(" 8:00am", TimeRowLabel(Unit(8)));
    EXPECT_EQ("  :10  ", TimeRowLabel(Unit(8, 10)));
    EXPECT_EQ("12:00pm", TimeRowLabel(Unit(12)));
    // At 12:07 with 10-minute rows the clock row is the one labelled 12:00pm.
    EXPECT_EQ(Unit(12), CurrentTimeUnit(12, 7, 2));
    EXPECT_EQ(Unit(8), ScrollLineDown(Unit(8), Unit(17), Unit(17))) << "the end of the day is shown";
    EXPECT_EQ(Unit(10), ScrollPageDown(Unit(8), Unit(15, 30), Unit(17))) << "to the end, rounded up to the hour";
    EXPECT_EQ(Unit(4), ScrollPageUp(Unit(8), Unit(12)));
    EXPECT_EQ(Unit(9), ScrollThumb(Unit(9, 40)));
}

// "&View Appt" and the found times' " &View" show an appointment only when its operatory is a
// column of the view; the week view shows the view's weekdays of the date's week.
TEST_F(DemoDay, OnlyAnOperatoryOfTheViewIsShownAndTheWeekShowsTheViewsDays) {
    ShowOnly({"DR1"}, {"OP2", "OP4"});
    const char* const shown[] = {"OP2 ", "OP4 "}, *const hidden[] = {"OP1 ", "OP5 ", "OP9 "};
    for (const char* op : shown) EXPECT_TRUE(AppointmentOperatoryShown(DemoAppt(1, kMonday, 9, 0, 30, "DR1 ", op))) << op;
    for (const char* op : hidden) EXPECT_FALSE(AppointmentOperatoryShown(DemoAppt(1, kMonday, 9, 0, 30, "DR1 ", op))) << op;
    EXPECT_EQ(std::vector<int32_t>{kMonday + 2}, ShownDatesOf(kMonday + 2, kDayView));
    view_state.active.days[0] = 2;  // Monday, Wednesday and Saturday of the week
    view_state.active.days[1] = 4;
    view_state.active.days[2] = 7;
    for (int d = 3; d < kViewDays; ++d) view_state.active.days[d] = 0;
    EXPECT_EQ((std::vector<int32_t>{kMonday, kMonday + 2, kMonday + 5}), ShownDatesOf(kMonday + 3, kWeekView));
}
