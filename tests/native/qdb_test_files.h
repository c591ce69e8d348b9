// What the engine's tests share: appointment-sized records built from raw bytes (the engine is
// tested apart from the program's record structs, by the key segments of its own table) and the
// fixture of a fresh practice database per test, on each storage.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <utility>

#include "suite/qdb/qdb.h"
#include "test_storage.h"

constexpr int kAppointments = 9;
constexpr int kByDateOperatory = 10;
constexpr int kByDateProvider = 11;
constexpr int kByName = 12;
constexpr int kById = 13;
constexpr int kByPatient = 14;
constexpr int kUnscheduled = 15;

struct Appointment {
    uint8_t bytes[286] = {};
    // Provider "DR1 ", no name.
    Appointment(uint32_t id, int32_t date, const char* operatory, int hour, uint32_t patient = 0) {
        Fill(id, date, operatory, "DR1 ", hour, patient);
    }
    // With the unscheduled flag set for date 0 and the patient name.
    Appointment(uint32_t id, int32_t date, const char* operatory, const char* provider, int hour, uint32_t patient,
                const char* name) {
        Fill(id, date, operatory, provider, hour, patient);
        bytes[21] = date == 0 ? 1 : 0;
        std::strncpy(reinterpret_cast<char*>(bytes + 22), name, 31);
    }

private:
    void Fill(uint32_t id, int32_t date, const char* operatory, const char* provider, int hour, uint32_t patient) {
        std::memcpy(bytes + 2, &id, 4);
        std::memcpy(bytes + 6, &date, 4);
        bytes[10] = 3;
        std::memcpy(bytes + 11, operatory, 4);
        bytes[15] = 1;
        std::memcpy(bytes + 16, provider, 4);
        std::memcpy(bytes + 54, &patient, 4);
        bytes[153] = static_cast<uint8_t>(hour);
    }
};

// A call's return (0 when refused) and the session's result number after it, for one comparison
// with Refused(result).
inline std::pair<int64_t, int> Outcome(int64_t returned, QdbSession s) { return {returned, QDB_GetLastResultNum(s)}; }
inline std::pair<int64_t, int> Refused(int result) { return {0, result}; }
// The same with the session's last error number, which a later successful call leaves alone.
inline std::pair<int64_t, int> ErrorOutcome(int64_t returned, QdbSession s) { return {returned, QDB_GetLastErrorNum(s)}; }

inline uint32_t IdOf(const uint8_t* record) {
    uint32_t id;
    std::memcpy(&id, record + 2, 4);
    return id;
}
// The id of the record a read found, 0 when it found none.
inline uint32_t Found(int found, const uint8_t* record) { return found ? IdOf(record) : 0; }

// Each test on a fresh practice database whose appointment group exists, with session s.
class QdbFixture : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        ASSERT_EQ("", db.Failure());
        EXPECT_EQ(2, QDB_InitDataBase(db.Dir().c_str())) << "no practice database yet";
        ASSERT_EQ(1, QDB_CreateDataBase(db.Dir().c_str())) << QDB_GetLastReason(0);
        ASSERT_EQ(1, QDB_InitDataBase(db.Dir().c_str())) << QDB_GetLastReason(0);
        s = QDB_StartSession(1);
        ASSERT_NE(0, s) << QDB_GetLastReason(0);
        ASSERT_EQ(1, QDB_CREIFIL(s, kAppointments)) << QDB_GetLastReason(s);
    }
    void TearDown() override {
        if (s) QDB_EndSession(s);
        QDB_InitDataBase("");  // forgets the kept sessions before the database goes
    }
    // A second session (another workstation) on the same database.
    QdbSession Other() {
        QdbSession other = QDB_StartSession(1);
        EXPECT_NE(0, other) << QDB_GetLastReason(0);
        return other;
    }

    TempDatabase db{GetParam()};
    QdbSession s = 0;
};

