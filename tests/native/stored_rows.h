// Every row of some tables of the practice database, read straight from the database file: what
// a change that fails must leave byte for byte as it was.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "sqlite3.h"

// The tables are named "g" and the data file number of their group.
inline std::string StoredRows(const std::string& dir, std::initializer_list<const char*> tables = {"g9", "g18", "g44", "g49",
                                                                                                    "g92", "g94", "g100", "g106"}) {
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
