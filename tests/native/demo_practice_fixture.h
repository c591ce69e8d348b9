// The demo practice written into a fresh practice database, its tables loaded and the conflict
// options at their defaults: the ground of every test that books, moves or shows appointments.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "appointments/appointment_moves.h"
#include "appointments/conflict_checks.h"
#include "data/appointment_store.h"
#include "data/demo_seed.h"
#include "data/practice_schedule.h"
#include "data/record_text.h"
#include "data/time_pattern.h"
#include "practice_test_database.h"
#include "scripted_prompter.h"
#include "suite/dates.h"

// Monday 7 December 2026, the day the demo practice is built around in these tests.
inline int32_t DemoMonday() { return QVN_DateIn(12, 7, 2026); }

// A scheduled appointment for the demo practice: every unit provider time in 10-minute units,
// an amount of 100.00 and type 1, "Appointment <id>" for its reason and "Patient <id>" for its
// name (a new patient's: no patient id).
inline AppointmentRecord DemoAppt(uint32_t id, int32_t date, int hour, int minute, int length, const char* provider,
                                  const char* operatory) {
    AppointmentRecord a{};
    a.id = id;
    a.date = date;
    a.hour = static_cast<uint8_t>(hour);
    a.minute = static_cast<uint8_t>(minute);
    a.startUnit = static_cast<uint8_t>(StartInOwnUnits(2, hour, minute));
    a.length = static_cast<uint16_t>(length);
    a.providerMarker = kMarkerProvider;
    PutId(a.provider, provider);
    a.operatoryMarker = kMarkerOperatory;
    PutId(a.operatory, operatory);
    a.unitSize = 2;
    for (int u = 0; u < 24; ++u) SetPatternCode(a.timePattern, u, kPatternProvider);
    a.amount = 10000;
    a.type = 1;
    std::snprintf(a.description, sizeof a.description, "Appointment %u", id);
    std::snprintf(a.patientName, sizeof a.patientName, "Patient %u", id);
    return a;
}

class DemoPracticeTest : public ::testing::Test {
protected:
    explicit DemoPracticeTest(Backend backend = Backend::kSqlite) : db_(backend) {}
    void SetUp() override {
        ASSERT_TRUE(db_.Ok());
        std::string reason;
        ASSERT_TRUE(db_.UseDemoPractice(DemoMonday(), &reason)) << reason;
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
