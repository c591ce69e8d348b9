// The Appointment, ASAP and Unscheduled lists of the demo practice, line for line, their saved
// filters, the Unscheduled List's limit and a fill whose reads fail.

#include "demo_practice_fixture.h"
#include "lists/appt_lists.h"
#include "suite/qdb/qdb.h"
#include "suite/records/patient.h"
#include "suite/settings.h"

namespace {

class ApptListsTest : public DemoPracticeTest {
protected:
    // Gives a demo patient a title and the private-phone wish.
    void SetPatientFacts(uint32_t id, const char* title, uint8_t privacy) {
        FileGroupDesc desc{};
        DbGroupOf(kPatientFile, &desc);
        PatientRecord before{};
        ASSERT_EQ(kQdbOk, DbFindRecord(desc, kPatientByIdKey, &id, sizeof id, &before));
        PatientRecord after = before;
        PutText(after.nameTitle, title);
        after.privacy = privacy;
        ASSERT_EQ(kQdbOk, DbSaveRecord(desc, kPatientByIdKey, &id, sizeof id, &before, &after, false));
    }
    static std::vector<std::string> Texts(const HeaderListModel& list) {
        std::vector<std::string> texts;
        for (int i = 0; i < list.Count(); ++i) texts.push_back(list.Line(i).text);
        return texts;
    }
};

TEST_F(ApptListsTest, DayAndAsapListLines) {
    SetPatientFacts(1, "Dr.", 0);
    SetPatientFacts(2, "", kPrivatePhone);
    // Booked out of index order: the two at 9:00 must still show in the index's (operatory) order.
    AppointmentRecord late = DemoAppt(9003, DemoMonday(), 9, 0, 20, "DR2", "OP3");
    late.patientId = 2;
    PutText(late.phone, "3125550199");
    Book(late);
    Book(DemoAppt(9001, DemoMonday(), 9, 0, 30, "DR1", "OP1"));
    AppointmentRecord early = DemoAppt(9002, DemoMonday(), 8, 0, 60, "DR1", "OP2");
    early.patientId = 1;
    early.status = 2;
    early.schedule = kScheduleAsap;
    PutText(early.phone, "(312)555-0112");
    Book(early);
    Book(DemoAppt(9004, DemoMonday() + 1, 8, 0, 30, "DR1", "OP1"));  // another day

    ApptListFilter filter;
    filter.date = DemoMonday();
    HeaderListModel list({6, 7, 25, 12, 16, 3, 13}, 7169);
    EXPECT_EQ(3, FillApptList(kListAppointments, filter, &list).lines);
    const std::vector<std::string> expected = {
        " 8:00aSeated Dr. Patient 9002           DR1 /OP2  Appointment 9002 60(312)555-0112",
        " 9:00a      ?Patient 9001               DR1 /OP1  Appointment 9001 30             ",
        " 9:00a       Patient 9003               DR2 /OP3  Appointment 9003 20             ",
    };
    EXPECT_EQ(expected, Texts(list));
    EXPECT_EQ(1u, list.Line(0).data2);
    EXPECT_EQ(2, list.Line(0).colourIndex);  // "Seated" has the colour digit 2

    // A saved "2(ABCD)" narrows to provider ABCD; "2(DR1 )" to DR1's two.
    QVN_WriteProfileString("APPT", "APPTVIEW", "2(ABCD)");
    const ApptListFilter abcd = ReadSavedFilter(kListAppointments);
    EXPECT_EQ(std::to_string(kFilterProvider) + "ABCD", std::to_string(abcd.mode) + std::string(abcd.provider, 4));
    ApptListFilter dr1 = ParseSavedFilter(kListAppointments, "2(DR1 )");
    dr1.date = DemoMonday();
    FillApptList(kListAppointments, dr1, &list);
    EXPECT_EQ((std::vector<std::string>{expected[0], expected[1]}), Texts(list));

    // The ASAP List of the same practice: span 0 searches exactly the list date.
    for (int day = 0; day < 3; ++day) {
        AppointmentRecord a = DemoAppt(9100 + day, DemoMonday() + day, 10, 0, 30, "DR1", "OP1");
        a.schedule = kScheduleAsap;
        Book(a);
    }
    AppointmentRecord open = DemoAppt(9110, DemoMonday(), 11, 0, 30, "DR1", "OP1");
    open.schedule = kScheduleOpen;
    open.status = 100;
    Book(open);

    ApptListFilter asap = ParseSavedFilter(kListAsap, "0 1234 0   2");
    asap.date = DemoMonday();
    FillApptList(kListAsap, asap, &list);
    EXPECT_EQ((std::vector<std::string>{
                  "12/07/2026      ?Patient 9100             DR1 /OP1  Appointment 9100 30             ",
                  "12/07/2026Seated Dr. Patient 9002         DR1 /OP2  Appointment 9002 60(312)555-0112"}),
              Texts(list));
    asap.span = 2;
    FillApptList(kListAsap, asap, &list);
    ASSERT_EQ(4, list.Count());
    EXPECT_EQ(9102u, list.Line(3).data1);

    ApptListFilter opens = ParseSavedFilter(kListAsap, "0(    )000 1");
    opens.date = DemoMonday();
    FillApptList(kListAsap, opens, &list);
    EXPECT_EQ((std::vector<std::string>{
                  "12/07/2026Broken?Patient 9110             DR1 /OP1  Appointment 9110 30             "}),
              Texts(list));
    EXPECT_EQ("1(OP5 )002 1", SavedFilterText(kListAsap, ParseSavedFilter(kListAsap, "1(OP5 )002 1")));
}

TEST_F(ApptListsTest, UnscheduledListStopsAfterThreeThousandLinesWithOneMessage) {
    ASSERT_EQ(1, QDB_BeginBulkWrite(db_state.session));
    for (uint32_t i = 0; i < 3001; ++i) {
        AppointmentRecord a = DemoAppt(20000 + i, 0, 9, 0, 30, i % 2 ? "DR2" : "DR1", "OP1");
        a.unscheduled = 1;
        a.status = kStatusUnscheduled;
        a.listDate = DemoMonday() + static_cast<int32_t>(i);
        ASSERT_EQ(kQdbOk, db_.Add(kAppointmentFile, a));
    }
    ASSERT_EQ(1, QDB_EndBulkWrite(db_state.session, 1));

    ScriptedPrompter prompter;
    prompter.Answer(kAnswerOk);
    HeaderListModel list({10, 7, 23, 5, 16, 3, 13}, 7169);
    const ListFillResult all = FillApptList(kListUnscheduled, ApptListFilter{}, &list);
    EXPECT_TRUE(all.truncated);
    EXPECT_EQ(3000, list.Count());
    EXPECT_EQ(std::vector<std::string>{"Maximum number of entries for list has been reached.\nTruncating List."}, prompter.Texts());
    EXPECT_EQ("12/07/2026W/Call?Patient 20000          DR1  Appointment 2000 30             ", list.Line(0).text);

    // One provider's half fits: no message.
    const ApptListFilter dr2 = ParseSavedFilter(kListUnscheduled, "2(DR2 )");
    EXPECT_FALSE(FillApptList(kListUnscheduled, dr2, &list).truncated);
    EXPECT_EQ(1500, list.Count());
    EXPECT_EQ(1u, prompter.Asked().size());
}

// Another program shortens the appointment records under the open practice: each list's fill
// tells the failed read once with the result number and the file, and a quiet refill tells nothing.
TEST_F(ApptListsTest, FillThatCannotReadTellsOnce) {
    AppointmentRecord booked = DemoAppt(9200, DemoMonday(), 9, 0, 30, "DR1", "OP1");
    booked.schedule = kScheduleAsap;
    Book(booked);
    AppointmentRecord waiting = DemoAppt(9201, 0, 9, 0, 30, "DR1", "OP1");
    waiting.unscheduled = 1;
    waiting.status = kStatusUnscheduled;
    ASSERT_EQ(kQdbOk, db_.Add(kAppointmentFile, waiting));
    sqlite3* raw = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open((db_.Dir() + "/qvn.db").c_str(), &raw));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(raw, "UPDATE g9 SET rec = substr(rec, 1, 100)", nullptr, nullptr, nullptr))
        << sqlite3_errmsg(raw);
    sqlite3_close(raw);
    ApptListFilter filter;
    filter.date = DemoMonday();
    for (int kind : {kListAppointments, kListAsap, kListUnscheduled}) {
        ScriptedPrompter prompter;
        prompter.Answer(kAnswerOk);
        HeaderListModel list({10, 7, 23, 12, 16, 3, 13}, 7169);
        const ListFillResult told = FillApptList(kind, filter, &list);
        EXPECT_EQ(kQdbWrongLength, told.error) << kind;
        EXPECT_EQ(0, list.Count()) << kind;
        EXPECT_EQ((std::vector<std::string>{"The records could not be read.\nDatabase error 68 (file 9)."}), prompter.Texts())
            << kind;
        EXPECT_EQ(kQdbWrongLength, FillApptList(kind, filter, &list, false).error) << kind;
        EXPECT_EQ(1u, prompter.Asked().size()) << kind << ": the quiet refill tells nothing";
    }
}

// The refresh's beeps: the lines that arrive or change, and the code characters "b" and "B".
TEST(ApptListRefresh, ArrivedLinesAndTheirBeeps) {
    HeaderListModel before({6, 7, 25, 12, 16, 3, 13}, 7169), after({6, 7, 25, 12, 16, 3, 13}, 7169);
    before.Insert(" 9:00aSeated Kept", 1, 0, 9 * 256, 0, 2);
    before.Insert("10:00a       Changed", 2, 0, 10 * 256, 0, 0);
    before.Insert("11:00a       Recoloured", 3, 0, 11 * 256, 0, 0);
    after.Insert(" 9:00aSeated Kept", 1, 0, 9 * 256, 0, 2);
    after.Insert("10:00aHere   Changed", 2, 0, 10 * 256, 0, 0);
    after.Insert("11:00a       Recoloured", 3, 0, 11 * 256, 0, 4);
    after.Insert("12:00p       New", 4, 0, 12 * 256, 0, 0);
    EXPECT_EQ((std::vector<uint32_t>{2, 3, 4}), ArrivedAppointments(before, after));

    StatusTables statuses;
    statuses.colourCodes[1] = 'b';
    statuses.colourCodes[2] = 'B';
    statuses.colourCodes[3] = '2';
    const struct {
        int kind;
        uint8_t status;
        int beeps;
    } cases[] = {{kListAppointments, 1, 1}, {kListAppointments, 2, 3}, {kListAppointments, 3, 0}, {kListAsap, 1, 0}};
    for (const auto& c : cases) EXPECT_EQ(c.beeps, ArrivalBeeps(c.kind, c.status, statuses)) << c.kind << " " << +c.status;
}

TEST(ApptListTexts, CopyTitleAndMenuLetters) {
    EXPECT_EQ("Quorvin Appointment List - Mon, Dec 07, 2026", ListCopyTitle(kListAppointments, QVN_DateIn(12, 7, 2026)));
    const std::pair<char, int> letters[] = {{'c', 1}, {'E', 0}, {'l', 0}, {'R', 2}, {'x', -1}};
    for (const auto& [letter, item] : letters) EXPECT_EQ(item, ListMenuLetterItem(letter)) << letter;
}

// The fill reads each named patient once for all its lines: every line still gets its own
// patient's title and private-phone wish, whichever order the lines and patients come in, and a
// line whose patient is gone shows neither.
TEST_F(ApptListsTest, EachLineGetsItsOwnPatientsTitleAndPhoneWish) {
    SetPatientFacts(1, "Dr.", 0);
    SetPatientFacts(2, "Mrs.", kPrivatePhone);
    SetPatientFacts(3, "", 0);
    // Waiting appointments of provider QA1, in list-date order; the patients come out of id order,
    // twice each, and 999999 has no record.
    const struct {
        uint32_t appointment, patient;
        const char* phone;
        const char* line;
    } rows[] = {
        {9301, 3, "(312)555-0101", "12/07/2026W/Call Patient 9301           QA1  Appointment 9301 30(312)555-0101"},
        {9302, 1, "(312)555-0102", "12/08/2026W/Call Dr. Patient 9302       QA1  Appointment 9302 30(312)555-0102"},
        {9303, 3, "(312)555-0103", "12/09/2026W/Call Patient 9303           QA1  Appointment 9303 30(312)555-0103"},
        {9304, 999999, "(312)555-0104", "12/10/2026W/Call Patient 9304           QA1  Appointment 9304 30(312)555-0104"},
        {9305, 2, "(312)555-0105", "12/11/2026W/Call Mrs. Patient 9305      QA1  Appointment 9305 30             "},
        {9306, 1, "(312)555-0106", "12/12/2026W/Call Dr. Patient 9306       QA1  Appointment 9306 30(312)555-0106"},
    };
    std::vector<std::string> expected;
    for (size_t i = 0; i < std::size(rows); ++i) {
        AppointmentRecord a = DemoAppt(rows[i].appointment, 0, 9, 0, 30, "QA1", "OP1");
        a.patientId = rows[i].patient;
        a.unscheduled = 1;
        a.status = kStatusUnscheduled;
        a.listDate = DemoMonday() + static_cast<int32_t>(i);
        PutText(a.phone, rows[i].phone);
        ASSERT_EQ(kQdbOk, db_.Add(kAppointmentFile, a));
        expected.push_back(rows[i].line);
    }
    HeaderListModel list({10, 7, 23, 5, 16, 3, 13}, 7169);
    ASSERT_EQ(6, FillApptList(kListUnscheduled, ParseSavedFilter(kListUnscheduled, "2(QA1 )"), &list).lines);
    EXPECT_EQ(expected, Texts(list));
    for (int i = 0; i < list.Count(); ++i) EXPECT_EQ(rows[i].patient, list.Line(i).data2) << i;
}

}  // namespace
