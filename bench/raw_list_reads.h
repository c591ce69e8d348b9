// The raw twin of the appointment lists' fills, for measuring them: raw SQLite on a connection of
// its own to the practice's qvn.db reads the appointment rows by the key the fill reads (a day's
// rows, or the unscheduled ones up to a limit), and with patients each row's patient record too,
// copying the blobs and formatting nothing. Used by the native benchmark and by the measurement
// under Wine, so that both compare against the same reads.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "data/appointment_record.h"
#include "sqlite3.h"
#include "suite/qdb/qdb.h"

class RawListReader {
public:
    explicit RawListReader(const std::string& dir) {
        if (sqlite3_open_v2((std::filesystem::path(dir) / "qvn.db").string().c_str(), &db_, SQLITE_OPEN_READONLY,
                            nullptr) != SQLITE_OK)
            return;
        // The same page cache as the program's connection, so that both meet warm pages alike.
        sqlite3_exec(db_, "PRAGMA cache_size = -32768", nullptr, nullptr, nullptr);
        ok_ = Prepare(&day_, "SELECT recno, rec FROM g9 WHERE k10 >= ? AND k10 < ? ORDER BY k10") &&
              Prepare(&unscheduled_, "SELECT recno, rec FROM g9 WHERE k15 >= x'01' AND k15 < x'02' ORDER BY k15 LIMIT ?") &&
              Prepare(&patient_, "SELECT rec FROM g18 WHERE k19 = ?");
    }
    ~RawListReader() {
        for (sqlite3_stmt* s : {day_, unscheduled_, patient_}) sqlite3_finalize(s);
        sqlite3_close(db_);
    }
    RawListReader(const RawListReader&) = delete;
    RawListReader& operator=(const RawListReader&) = delete;
    bool Ok() const { return ok_; }
    std::string Error() const { return db_ ? sqlite3_errmsg(db_) : "cannot open qvn.db"; }
    // A sum over the bytes copied, so that no read can be left out by the compiler.
    uint64_t Sink() const { return sink_; }

    // The day with the most appointments (a full scan, once).
    int32_t BusiestDay() {
        sqlite3_stmt* s = nullptr;
        int32_t date = 0;
        if (Prepare(&s, "SELECT substr(k10, 1, 4) AS d, count(*) AS n FROM g9 WHERE d != x'00000000' "
                        "GROUP BY d ORDER BY n DESC LIMIT 1") &&
            sqlite3_step(s) == SQLITE_ROW && sqlite3_column_bytes(s, 0) == 4)
            std::memcpy(&date, sqlite3_column_blob(s, 0), 4);
        sqlite3_finalize(s);
        return date;
    }

    // The rows read; with patients, each row's patient record too.
    int Day(int32_t date, bool patients) {
        uint8_t low[5], high[5];
        std::memcpy(low, &date, 4);
        low[4] = 0;
        std::memcpy(high, &date, 4);
        high[4] = 0xFF;
        sqlite3_bind_blob(day_, 1, low, 4, SQLITE_STATIC);
        sqlite3_bind_blob(day_, 2, high, 5, SQLITE_STATIC);
        return Rows(day_, patients);
    }
    int Unscheduled(int limit, bool patients) {
        sqlite3_bind_int(unscheduled_, 1, limit);
        return Rows(unscheduled_, patients);
    }

private:
    bool Prepare(sqlite3_stmt** s, const char* sql) { return sqlite3_prepare_v2(db_, sql, -1, s, nullptr) == SQLITE_OK; }

    int Rows(sqlite3_stmt* s, bool patients) {
        int rows = 0;
        std::vector<AppointmentRecord> read;
        while (sqlite3_step(s) == SQLITE_ROW) {
            AppointmentRecord a;
            std::memcpy(&a, sqlite3_column_blob(s, 1), sizeof a);
            sink_ += static_cast<uint64_t>(sqlite3_column_int64(s, 0));
            read.push_back(a);
            ++rows;
        }
        sqlite3_reset(s);
        if (patients)
            for (const AppointmentRecord& a : read) {
                if (a.patientId == 0) continue;
                sqlite3_bind_blob(patient_, 1, &a.patientId, 4, SQLITE_STATIC);
                if (sqlite3_step(patient_) == SQLITE_ROW) {
                    const int n = std::min(sqlite3_column_bytes(patient_, 0), static_cast<int>(buffer_.size()));
                    std::memcpy(buffer_.data(), sqlite3_column_blob(patient_, 0), static_cast<size_t>(n));
                    sink_ += buffer_[0];
                }
                sqlite3_reset(patient_);
            }
        return rows;
    }

    sqlite3* db_ = nullptr;
    sqlite3_stmt* day_ = nullptr;
    sqlite3_stmt* unscheduled_ = nullptr;
    sqlite3_stmt* patient_ = nullptr;
    std::vector<uint8_t> buffer_ = std::vector<uint8_t>(kQdbMaxVarRecord);
    uint64_t sink_ = 0;
    bool ok_ = false;
};
