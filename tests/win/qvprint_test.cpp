// The print program under Wine: jobs made by the job writer for a demo day and a route slip,
// printed by the built qvprint.exe into enhanced metafiles whose text records are read back; and
// a running qvprint woken by command 5 for a job queued after it started.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "../native/demo_practice_fixture.h"
#include "../native/print_test_jobs.h"
#include "data/appointment_store.h"
#include "data/demo_appointments.h"
#include "data/record_text.h"
#include "suite/print_jobs.h"
#include "suite/print_program_win.h"
#include "suite/qdb/qdb_handles.h"
#include "tools/qvprint/print_queue.h"
#include "../ui/screen_capture.h"
#include "win_harness.h"

namespace {

class BatchOnly final : public PrintProgramLink {
public:
    int CallQvPrint(int) override { return 0; }
    int StartProgram() override { return 0; }
    bool WakeRunning() override { return false; }
};

// Queues the job as a batch job; its record number in the queue (the last one: a running print
// program may have taken it already).
uint32_t Queue(const PrintJobRecord& job, PrintProgramLink& link) {
    EXPECT_EQ(PrintJobOutcome::kQueued, SubmitPrintJob(job, true, link));
    QdbPrivateSession session;
    QdbOpenedFile queue(session.Handle(), kPrintQueueFile);
    PrintJobRecord last{};
    return QDB_LastRec(queue.Handle(), kPrintQueueFile, &last) ? QDB_GetFilePos(queue.Handle()) : 0;
}

// qvprint.exe's command line with the arguments.
std::string Qvprint(const std::string& arguments) { return std::string("\"") + QVN_QVPRINT_PATH + "\" " + arguments; }
long RunQvprint(const std::string& arguments) { return RunProgram(Qvprint(arguments)); }

int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM texts) {
    if (record->iType != EMR_EXTTEXTOUTW) return 1;
    const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
    const auto* chars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(record) + text->emrtext.offString);
    std::string narrow;
    for (DWORD i = 0; i < text->emrtext.nChars; ++i) narrow.push_back(static_cast<char>(chars[i] < 256 ? chars[i] : '?'));
    reinterpret_cast<std::vector<std::string>*>(texts)->push_back(narrow);
    return 1;
}

// Every text the metafile draws, in its order.
std::vector<std::string> MetafileTexts(const std::string& file) {
    std::vector<std::string> texts;
    HENHMETAFILE emf = GetEnhMetaFileA(file.c_str());
    if (!emf) return texts;
    EnumEnhMetaFile(nullptr, emf, CollectText, &texts, nullptr);
    DeleteEnhMetaFile(emf);
    return texts;
}

bool Has(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

bool Done(uint32_t position) {
    QueuedJob job;
    return ReadQueuedJob(position, &job) && IsJobDone(job.record);
}


// The demo book of the day: the day's appointments as the demo seed books them.
void BookDemoDay() {
    DemoBookCounts counts;
    std::string reason;
    ASSERT_TRUE(WriteDemoAppointments(BuildDemoPractice(1, DemoMonday()), 3, DemoMonday(), DemoBookSpan{0, 0}, &counts, &reason))
        << reason;
}

class QvprintTest : public DemoPracticeTest {
protected:
    std::string Out(const char* name) { return (std::filesystem::path(db_.Dir()) / name).string(); }
};

TEST_F(QvprintTest, DayAndRouteSlipIntoMetafiles) {
    const int32_t date = DemoMonday();
    BookDemoDay();
    Book(DemoAppt(9101, date, 10, 20, 30, "DR3", "OP4"));
    BatchOnly link;
    const uint32_t day_job = Queue(DayJob(date), link);
    PrintJobRecord slip = NewPrintJob("rteslip", "Single Route Slip", date);
    slip.slip.appointmentId = 9101;
    const uint32_t slip_job = Queue(slip, link);
    ASSERT_NE(0u, day_job);
    ASSERT_NE(day_job, slip_job);

    ASSERT_EQ(0, RunQvprint("--to \"" + Out("day.emf") + "\" " + std::to_string(day_job)));
    // Seven operatories lie across the page: 7:00 am to 6:00 pm takes two pages.
    std::vector<std::string> texts = MetafileTexts(Out("day.emf"));
    const std::vector<std::string> second = MetafileTexts(Out("day-2.emf"));
    EXPECT_FALSE(second.empty());
    EXPECT_FALSE(std::filesystem::exists(Out("day-3.emf")));
    texts.insert(texts.end(), second.begin(), second.end());
    EXPECT_TRUE(Has(texts, "Appointment Book View(12/07/2026)"));
    EXPECT_TRUE(Has(texts, "10:20am"));
    EXPECT_TRUE(Has(texts, "NP-Patient 9101"));
    int checked = 0;
    for (const AppointmentRecord& a : ReadDay(date)) {
        if (a.status == kStatusUnscheduled || a.hour < 7 || a.hour >= 18) continue;
        const std::string name = GetTrimmedText(a.patientName);
        bool named = false;
        for (const std::string& t : texts) named |= t.find(name) != std::string::npos;
        EXPECT_TRUE(named) << name;
        EXPECT_TRUE(Has(texts, ClockText(a.hour, a.minute))) << name;
        ++checked;
    }
    EXPECT_GE(checked, 5);
    EXPECT_TRUE(Done(day_job));
    EXPECT_FALSE(Done(slip_job));

    ASSERT_EQ(0, RunQvprint("--to \"" + Out("slip.emf") + "\" " + std::to_string(slip_job)));
    const std::vector<std::string> slip_texts = MetafileTexts(Out("slip.emf"));
    EXPECT_TRUE(Has(slip_texts, "Route Slip"));
    EXPECT_TRUE(Has(slip_texts, "NP-Patient 9101"));
    EXPECT_TRUE(Has(slip_texts, "10:20am - 10:50am (30 min)"));
    EXPECT_TRUE(Done(slip_job));

    // The pictures of the README: one page of each report as PNG.
    PrintJobRecord patient_slip = slip;
    for (const AppointmentRecord& a : ReadDay(date))
        if (a.patientId != 0 && patient_slip.slip.appointmentId == 9101) patient_slip.slip.appointmentId = a.id;
    PrintJobRecord recap = NewPrintJob("RefRecap.rtc", "Referral Recap", date);
    AppointmentRecord of_slip{};
    ASSERT_EQ(0, ReadAppointment(patient_slip.slip.appointmentId, &of_slip));
    recap.recap.patientId = of_slip.patientId;
    const std::pair<const char*, PrintJobRecord> pictures[] = {{"print_day.png", DayJob(date)}, {"print_route_slip.png", patient_slip},
                                                               {"print_referral_recap.png", recap}};
    for (const auto& [name, job] : pictures)
        EXPECT_EQ(0, RunQvprint("--to \"" + ScreenshotPath(name) + "\" " + std::to_string(Queue(job, link)))) << name;

    // A job that is not there: nothing written, a non-zero exit.
    EXPECT_EQ(2, RunQvprint("--to \"" + Out("none.emf") + "\" 999"));
    EXPECT_FALSE(std::filesystem::exists(Out("none.emf")));
}

TEST_F(QvprintTest, RunningProgramWokenByCommandFivePrintsALaterJob) {
    Book(DemoAppt(9102, DemoMonday(), 11, 0, 20, "DR3", "OP5"));
    HANDLE process = StartProgram(Qvprint("--to \"" + Out("woken.emf") + "\""));
    ASSERT_NE(nullptr, process);
    // A program that did not end when told is ended here, also after a failed assertion.
    struct Ender {
        HANDLE process;
        ~Ender() {
            if (WaitForSingleObject(process, 0) != WAIT_OBJECT_0) TerminateProcess(process, 99);
            CloseHandle(process);
        }
    } ender{process};
    HWND running = nullptr;
    ASSERT_TRUE(PumpUntil(30000, [&] { return (running = FindWindowA("Rpt", nullptr)) != nullptr; }));
    PrintJobRecord slip = NewPrintJob("rteslip", "Single Route Slip", DemoMonday());
    slip.slip.appointmentId = 9102;
    WindowsPrintProgram program;  // the appointment book's own way of waking it
    const uint32_t job = Queue(slip, program);
    const std::string file = Out(("woken-job" + std::to_string(job) + ".emf").c_str());
    EXPECT_TRUE(PumpUntil(30000, [&] { return Done(job); }));
    EXPECT_TRUE(Has(MetafileTexts(file), "NP-Patient 9102"));
    PostMessageA(running, WM_CLOSE, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, 30000));
}

}  // namespace
