// The demo practice written into a fresh practice database, its tables loaded and the conflict
// options at their defaults: the ground of every test that books, moves or shows appointments.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "appointments/conflict_checks.h"
#include "data/appointment_store.h"
#include "data/demo_seed.h"
#include "data/practice_schedule.h"
#include "practice_test_database.h"
#include "scripted_prompter.h"
#include "suite/dates.h"

// Monday 7 December 2026, the day the demo practice is built around in these tests.
inline int32_t DemoMonday() { return QVN_DateIn(12, 7, 2026); }

class DemoPracticeTest : public ::testing::Test {
protected:
    explicit DemoPracticeTest(Backend backend = Backend::kSqlite) : db_(backend) {}
    void SetUp() override {
        ASSERT_TRUE(db_.Ok());
        std::string reason;
        ASSERT_TRUE(WriteDemoPractice(BuildDemoPractice(1, DemoMonday()), 1000, &reason)) << reason;
        ASSERT_TRUE(LoadPracticeTables());
        conflict_options = ConflictOptions{};
    }
    // Books through the appointment store, answering Yes to every question.
    void Book(const AppointmentRecord& a) {
        ScriptedPrompter yes;
        for (int i = 0; i < 4; ++i) yes.Answer(kAnswerYes);
        ASSERT_TRUE(SaveAppointment(true, nullptr, a)) << "appointment " << a.id;
    }
    PracticeTestDatabase db_;
};
