// Printing the appointment book view in one run of the real program: opened by its menu keys on
// the demo practice, preselected from the view and the sheet's date, "&Batch" by its key leaves
// one "ApptBook" job in the practice's print queue and starts nothing.

#include "sheet_model.h"
#include "suite/qdb/qdb.h"
#include "suite/qdb/qdb_handles.h"
#include "suite/records/print_job.h"

namespace {

std::vector<PrintJobRecord> QueuedJobs() {
    std::vector<PrintJobRecord> jobs;
    QdbPrivateSession session;
    QdbOpenedFile queue(session.Handle(), kPrintQueueFile);
    PrintJobRecord job{};
    for (int more = QDB_FirstRec(queue.Handle(), kPrintQueueFile, &job); more;
         more = QDB_NextRec(queue.Handle(), kPrintQueueFile, &job))
        jobs.push_back(job);
    return jobs;
}

}  // namespace

TEST(PrintViewUi, OpensFromTheMenuAndBatchQueuesTheJob) {
    AppRun app("", Practice::kDemo, "FRONT", {"NETWORK/STATION=1"});
    SheetModel m;
    HWND main = nullptr, sheet = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenSheet(app, m, &main, &sheet));
    ASSERT_TRUE(QueuedJobs().empty());

    ASSERT_TRUE(BringToFront(main));
    PressKey('F', VK_MENU);
    PressKey('V');
    HWND dialog = app.WaitForDialog("Print Appointment Book View");
    ASSERT_NE(nullptr, dialog);
    const LRESULT providers = SendDlgItemMessageA(dialog, IDC_SELPRINT_PROVIDERS, LB_GETSELCOUNT, 0, 0);
    EXPECT_GT(providers, 0) << "the view's providers are selected";
    EXPECT_GT(SendDlgItemMessageA(dialog, IDC_SELPRINT_OPERATORIES, LB_GETSELCOUNT, 0, 0), 0);
    const int32_t shown = QVN_ParseDate(ControlText(dialog, IDC_SELPRINT_DATE));
    EXPECT_NE(0, shown) << ControlText(dialog, IDC_SELPRINT_DATE);

    // The end at five in the afternoon, then "&Batch" by its key.
    SetDlgItemTextA(dialog, IDC_SELPRINT_END, "5");
    CheckRadioButton(dialog, IDC_SELPRINT_END_AM, IDC_SELPRINT_END_PM, IDC_SELPRINT_END_PM);
    SetForegroundWindow(dialog);
    PressKey('B', VK_MENU);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    const std::vector<PrintJobRecord> jobs = QueuedJobs();
    ASSERT_EQ(1u, jobs.size());
    const PrintJobRecord& job = jobs[0];
    EXPECT_EQ("ApptBook", std::string(job.reportName, 8));
    EXPECT_EQ("Appointment Book View(" + QVN_fmtDateString2000(shown) + ")", std::string(job.title));
    EXPECT_EQ(0, +job.printNow) << "a batch job";
    EXPECT_EQ(shown, +job.view.firstDay);
    EXPECT_EQ(providers, +job.view.providerCount);
    EXPECT_EQ(17 * 60, +job.view.endMinutes);
    EXPECT_EQ(nullptr, FindWindowA("Rpt", nullptr)) << "a batch job starts no print program";
    ExitProgram(app, main);
}
