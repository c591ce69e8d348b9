// What the tests of the appointment actions and saves share beside the demo practice: the sheet
// window as the actions see it, a data file read as another workstation finds it, and the loop
// that fails every engine operation of a change in turn.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "appointments/appt_actions.h"
#include "scripted_prompter.h"
#include "suite/qdb/qdb.h"
#include "suite/qdb/qdb_handles.h"

// A pin board and a selection the test sets, and the appointments announced as changed, in order.
class FakeApptWindows final : public ApptActionWindows {
public:
    uint32_t PinnedAppointment() override { return pinned; }
    void EmptyPinBoard() override { pinned = 0; }
    uint32_t SelectedAppointment() override { return selected; }
    void ClearSelection() override { selected = 0; }
    void AppointmentChanged(uint32_t id) override { changed.push_back(id); }
    uint32_t pinned = 0, selected = 0;
    std::vector<uint32_t> changed;
};

// Every record of a data file in physical order, read on a session of its own.
template <typename Record>
std::vector<Record> StoredRecords(int file) {
    std::vector<Record> records;
    QdbPrivateSession session;
    QdbOpenedFile opened(session.Handle(), file);
    Record r{};
    for (int more = QDB_FirstRec(opened.Handle(), file, &r); more; more = QDB_NextRec(opened.Handle(), file, &r))
        records.push_back(r);
    return records;
}

// A change run again and again with the engine's n-th operation failing, n = 1, 2, ..., until it
// goes through: every refused run reports its failure once and leaves rows() as they were, and
// the run that goes through met the fault armed for it. Returns how many runs were refused.
template <typename Rows, typename Change>
int FailEachOperationInTurn(const std::string& what, Rows rows, Change change) {
    for (int n = 1; n < 400; ++n) {
        const std::string before = rows();
        ScriptedPrompter report;
        report.Answer(kAnswerOk);
        QDB_FailNthOperation(n);
        const bool done = change();
        const int64_t pending = QDB_PendingFault();
        QDB_FailNthOperation(0);
        if (done) {
            EXPECT_GT(pending, 0) << what << ": done although operation " << n << " failed";
            return n - 1;
        }
        EXPECT_EQ(0, pending) << what << ": refused without the fault at operation " << n;
        EXPECT_EQ(1u, report.Asked().size()) << what << ": the failure at operation " << n << " is reported once";
        EXPECT_TRUE(before == rows()) << what << ": operation " << n << " failed and the database changed";
    }
    ADD_FAILURE() << what << " never went through";
    return -1;
}
