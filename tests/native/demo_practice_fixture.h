// The demo practice written into a fresh practice database, its tables loaded and the conflict
// options at their defaults: the ground of every test that books, moves or shows appointments.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>

#include "appointments/appointment_moves.h"
#include "appointments/conflict_checks.h"
#include "data/appointment_store.h"
#include "data/db_access.h"
#include "data/demo_seed.h"
#include "data/practice_schedule.h"
#include "data/record_text.h"
#include "data/time_pattern.h"
#include "practice_test_database.h"
#include "scripted_prompter.h"
#include "sqlite3.h"
#include "suite/dates.h"
#include "views/active_view.h"

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

// The index of a provider or operatory of the loaded practice tables by its id ("DR1"), -1 when
// it has none.
inline int ProviderIndex(const char* id) {
    char id4[4] = {' ', ' ', ' ', ' '};
    std::memcpy(id4, id, std::strlen(id));
    return FindProviderIndex(id4);
}
inline int OperatoryIndex(const char* id) {
    for (size_t i = 0; i < practice_tables.operatories.size(); ++i)
        if (std::strncmp(practice_tables.operatories[i].id, id, std::strlen(id)) == 0) return static_cast<int>(i);
    return -1;
}

// The stored week record (occupancy or block override) of a resource ("DR1" or "DR1 ") for the
// week of date, read as another workstation finds it; false when there is none.
template <typename WeekRecord>
bool ReadStoredWeek(uint8_t kind, const char* id, int32_t date, WeekRecord* week) {
    FileGroupDesc desc{};
    DbGroupOf(kRscUseFile, &desc);
    RscUseKey key{kind, {' ', ' ', ' ', ' '}, static_cast<uint32_t>(WeekStartOf(date))};
    for (size_t i = 0; i < 4 && id[i]; ++i) key.id[i] = id[i];
    return DbFindRecord(desc, kRscUseKey, &key, sizeof key, week) == kQdbOk;
}

// Makes the active view show just these providers and operatories, in this order.
inline void ShowOnly(std::initializer_list<const char*> providers, std::initializer_list<const char*> operatories) {
    ActiveView& v = view_state.active;
    v = ActiveView{};
    for (const char* p : providers) v.providers[v.providerCount++] = ProviderIndex(p);
    for (const char* o : operatories) v.operatories[v.operatoryCount++] = OperatoryIndex(o);
}

// Every row of the named tables (by default those of appointments, patients, notes, new patients,
// audit, week records, reasons and case links), read straight from the practice's database file:
// what "the database is as it was" means when compared before and after a change.
inline std::string StoredRows(const std::string& dir,
                              std::initializer_list<const char*> tables = {"g9", "g18", "g44", "g49", "g92", "g94", "g100", "g106"}) {
    sqlite3* db = nullptr;
    std::string rows;
    if (sqlite3_open_v2((dir + "/qvn.db").c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return "cannot open";
    }
    for (const char* table : tables) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, (std::string("SELECT recno, rec FROM ") + table + " ORDER BY recno").c_str(), -1, &st, nullptr);
        EXPECT_NE(nullptr, st) << table;
        while (st && sqlite3_step(st) == SQLITE_ROW) {
            rows += std::string(table) + ":" + std::to_string(sqlite3_column_int64(st, 0)) + "=";
            rows.append(static_cast<const char*>(sqlite3_column_blob(st, 1)), static_cast<size_t>(sqlite3_column_bytes(st, 1)));
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return rows;
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
    // The stored appointment, as the next reader finds it.
    AppointmentRecord Stored(uint32_t id) {
        AppointmentRecord a{};
        EXPECT_EQ(kQdbOk, ReadAppointment(id, &a)) << "appointment " << id;
        return a;
    }
    PracticeTestDatabase db_;
};
