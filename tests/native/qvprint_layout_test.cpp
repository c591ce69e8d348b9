// The print program natively: the printed day of the demo practice (every appointment's name and
// start time inside its operatory's column, at its row; a long day broken over pages, a box that
// runs over the break on both), the route slip's facts, and taking jobs from a real queue.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "change_test_support.h"
#include "appointments/appt_reasons.h"
#include "data/appointment_store.h"
#include "data/record_text.h"
#include "data/demo_appointments.h"
#include "demo_practice_fixture.h"
#include "print_test_jobs.h"
#include "suite/print_jobs.h"
#include "tools/qvprint/book_page.h"
#include "tools/qvprint/form_pages.h"
#include "tools/qvprint/print_queue.h"
#include "tools/qvprint/reports.h"

namespace {

// The queue as the job writer leaves it, without a print program to start.
class NoProgram final : public PrintProgramLink {
public:
    explicit NoProgram(int answer = 0) : answer_(answer) {}
    int CallQvPrint(int) override { return answer_; }
    int StartProgram() override { return 42; }
    bool WakeRunning() override { return false; }

private:
    int answer_;
};

// The text item on the page that reads exactly text, or contains it, at this top inside the
// column; null when none.
const DrawItem* TextAt(const Page& page, const std::string& text, bool whole, const PageRect& column, int top) {
    for (const DrawItem& item : page.items) {
        if (item.kind != DrawKind::kText || item.rect.top != top) continue;
        if (item.rect.left < column.left || item.rect.right > column.right) continue;
        if (whole ? item.text == text : item.text.find(text) != std::string::npos) return &item;
    }
    return nullptr;
}

// The demo book of the day: the day's appointments as the demo seed books them.
void BookDemoDay() {
    DemoBookCounts counts;
    std::string reason;
    ASSERT_TRUE(WriteDemoAppointments(BuildDemoPractice(1, DemoMonday()), 3, DemoMonday(), DemoBookSpan{0, 0}, &counts, &reason))
        << reason;
}

class QvprintLayoutTest : public DemoPracticeTest {};

TEST_F(QvprintLayoutTest, EveryAppointmentOfTheDayInItsColumnWithNameAndTime) {
    const int32_t day_date = DemoMonday();
    BookDemoDay();
    // One of our own across the page break of 10-minute rows from 7:00 am (58 rows a page).
    Book(DemoAppt(9001, day_date, 16, 20, 40, "DR3", "OP4"));
    const PrintJobRecord job = DayJob(day_date, 2, 7 * 60, 18 * 60);
    DayRecord day;
    ASSERT_TRUE(LoadBookDay(job, &day));
    const PageMetrics m;
    const BookGrid g = BookGridOf(job, day, m);
    ASSERT_EQ(58, g.rowsPerPage);
    const std::vector<Page> pages = LayOutBookView(job, day, "", m);
    ASSERT_EQ(2u, pages.size());

    const std::vector<AppointmentRecord> booked = ReadDay(day_date);
    ASSERT_GE(booked.size(), 5u);
    int checked = 0;
    for (const AppointmentRecord& a : booked) {
        if (a.status == kStatusUnscheduled) continue;
        const int start = a.hour * 12 + a.minute / 5;
        if (start < 7 * 12 || start >= 18 * 12) continue;  // outside the printed hours
        int column = -1;
        for (size_t i = 0; i < day.columns.size(); ++i)
            if (day.columns[i].kind == kOperatoryColumn && std::memcmp(day.columns[i].id, a.operatory, 4) == 0)
                column = static_cast<int>(i);
        ASSERT_GE(column, 0) << a.id;
        const int row = (start - 7 * 12) / 2;
        const Page& page = pages[static_cast<size_t>(row / 58)];
        const int top = g.gridTop + (row % 58) * m.lineHeight + (start % 2) * (m.lineHeight / 2);
        const PageRect& c = g.columns[static_cast<size_t>(column)];
        std::string name(a.patientName, strnlen(a.patientName, sizeof a.patientName));
        while (!name.empty() && name.back() == ' ') name.pop_back();
        EXPECT_NE(nullptr, TextAt(page, ClockText(a.hour, a.minute), true, c, top)) << a.id << " " << name;
        // Under the time in a box of two lines or more (20 minutes at 10-minute rows).
        const int name_top = a.length >= 20 ? top + m.lineHeight : top;
        EXPECT_NE(nullptr, TextAt(page, name, false, c, name_top)) << a.id << " " << name;
        ++checked;
    }
    EXPECT_GE(checked, 5);
    // Ours: 4:20 pm on page 1; after the break (4:40 pm) it goes on at the top of page 2.
    size_t op4_index = 0;
    while (op4_index < day.columns.size() && std::memcmp(day.columns[op4_index].id, "OP4 ", 4) != 0) ++op4_index;
    ASSERT_LT(op4_index, day.columns.size());
    const PageRect& op4 = g.columns[op4_index];
    EXPECT_NE(nullptr, TextAt(pages[0], "4:20pm", true, op4, g.gridTop + 56 * m.lineHeight));
    EXPECT_NE(nullptr, TextAt(pages[0], "NP-Patient 9001", true, op4, g.gridTop + 57 * m.lineHeight));
    EXPECT_NE(nullptr, TextAt(pages[1], "NP-Patient 9001", true, op4, g.gridTop + m.lineHeight));

    // 8:00 am to 5:00 pm in 10-minute rows is one page; in 5-minute rows, two.
    EXPECT_EQ(1u, LayOutBookView(DayJob(day_date, 2, 8 * 60, 17 * 60), day, "", m).size());
    EXPECT_EQ(2u, LayOutBookView(DayJob(day_date, 1, 8 * 60, 17 * 60), day, "", m).size());
}

TEST_F(QvprintLayoutTest, RouteSlipShowsTheAppointmentAndItsPatient) {
    AppointmentRecord a = DemoAppt(9002, DemoMonday(), 9, 30, 60, "DR3", "OP5");
    const std::vector<ProcedureCodeRecord> codes = ReadProcedureCodes();
    ASSERT_FALSE(codes.empty()) << "the demo practice's procedure codes";
    ASSERT_TRUE(AddReason(&a, codes[0].id, 0));
    ASSERT_TRUE(AddReason(&a, 0x7FFFFFF0, 0)) << "a code no longer on file";
    Book(a);
    PrintJobRecord job = NewPrintJob("rteslip", "Single Route Slip", DemoMonday());
    job.slip.appointmentId = 9002;
    std::vector<Page> pages;
    std::string reason;
    ASSERT_TRUE(MakeReportPages(job, PageMetrics{}, &pages, &reason)) << reason;
    ASSERT_EQ(1u, pages.size());
    std::string all;
    for (const DrawItem& item : pages[0].items) all += item.text + "|";
    for (const std::string& piece : {std::string("Route Slip"), std::string("9:30am - 10:30am (60 min)"), std::string("NP-Patient 9002"),
                                     std::string("Appointment 9002"), GetTrimmedText(codes[0].code) + "  " + GetTrimmedText(codes[0].description),
                                     std::string("<not on file>")})
        EXPECT_NE(std::string::npos, ("|" + all).find("|" + piece + "|")) << piece << " in " << all;
    job.slip.appointmentId = 999999;
    EXPECT_FALSE(MakeReportPages(job, PageMetrics{}, &pages, &reason));
    EXPECT_EQ("The appointment 999999 no longer exists.", reason);
}

TEST_F(QvprintLayoutTest, JobsAreTakenInOrderAndOnlyAPrintedOneIsMarkedDone) {
    QVN_WriteProfileString("NETWORK", "STATION", "3");
    NoProgram batch, now(1);
    SubmitPrintJob(NewPrintJob("rteslip", "first", 1), true, batch);
    SubmitPrintJob(NewPrintJob("rteslip", "second", 2), false, now);  // station 3, print now
    QVN_WriteProfileString("NETWORK", "STATION", "4");
    SubmitPrintJob(NewPrintJob("rteslip", "another station's", 3), false, now);
    std::vector<QueuedJob> waiting;
    ASSERT_TRUE(ReadWaitingJobs(3, &waiting));
    ASSERT_EQ(2u, waiting.size());
    EXPECT_EQ("first|second", std::string(waiting[0].record.title) + "|" + waiting[1].record.title);

    EXPECT_EQ(TakeOutcome::kPrintFailed, TakeJob(waiting[0], [](const PrintJobRecord&) { return false; }));
    EXPECT_EQ(TakeOutcome::kDone, TakeJob(waiting[1], [](const PrintJobRecord&) { return true; }));
    // Taken already: the record read before no longer matches.
    EXPECT_EQ(TakeOutcome::kGone, TakeJob(waiting[1], [](const PrintJobRecord&) { return true; }));
    const std::vector<PrintJobRecord> stored = StoredRecords<PrintJobRecord>(kPrintQueueFile);
    ASSERT_EQ(3u, stored.size());
    EXPECT_EQ((std::vector<int>{0, 1, 0}), (std::vector<int>{stored[0].ours0[0], stored[1].ours0[0], stored[2].ours0[0]}));
    ASSERT_TRUE(ReadWaitingJobs(3, &waiting));
    ASSERT_EQ(1u, waiting.size());
    EXPECT_STREQ("first", waiting[0].record.title);
}

TEST(QvprintFiles, PageFileNames) {
    EXPECT_EQ("day.emf", PageFileName("day.emf", 1));
    EXPECT_EQ("out/day-2.emf", PageFileName("out/day.emf", 2));
    EXPECT_EQ("C:\\a.b\\slip-3", PageFileName("C:\\a.b\\slip", 3));
    EXPECT_EQ("out/x-job7.png", JobFileName("out/x.png", 7));
    EXPECT_EQ("png", OutputKind("A.PNG"));
    EXPECT_EQ("", OutputKind("a.bmp"));
}

}  // namespace
