// The copy of a practice database from one storage to another, over the engine's calls only.
#include "data/practice_copy.h"

#include <limits>
#include <vector>

#include "data/practice_database.h"
#include "suite/qdb/file_groups.h"
#include "suite/qdb/qdb.h"
#include "suite/qdb/qdb_handles.h"

namespace {

constexpr int kHighestFileNumber = 287;

// The data file numbers of the groups that can hold records.
std::vector<const FileGroupDef*> GroupsWithRecords() {
    std::vector<const FileGroupDef*> groups;
    for (int number = 1; number <= kHighestFileNumber; ++number) {
        const FileGroupDef* g = FindFileGroup(number);
        if (g && g->firstNumber == number && g->recordLength > 0) groups.push_back(g);
    }
    return groups;
}

// Reads one record in physical order (first or next) with its whole length: 1, 0 at the end
// (result 101), -1 on a failure.
int ReadWhole(QdbFile file, const FileGroupDef& g, bool first, std::vector<uint8_t>* bytes) {
    bytes->resize(static_cast<size_t>(g.mode & 4 ? kQdbMaxVarRecord : g.recordLength));
    const int ok = first ? QDB_FirstRec(file, g.firstNumber, bytes->data()) : QDB_NextRec(file, g.firstNumber, bytes->data());
    if (!ok) return -1;
    if (g.mode & 4) {
        const int length = QDB_GetVarRecLength(file);
        if (length <= 0 || !QDB_ReadEntireVarRec(file, bytes->data(), static_cast<int>(bytes->size()))) return -1;
        bytes->resize(static_cast<size_t>(length));
    }
    return 1;
}

int Step(QdbSession session, QdbFile file, const FileGroupDef& g, bool first, std::vector<uint8_t>* bytes) {
    const int got = ReadWhole(file, g, first, bytes);
    if (got < 0 && QDB_GetLastResultNum(session) == kQdbNotFound) return 0;
    return got;
}

std::string Why(QdbSession session, const FileGroupDef& g, const char* what) {
    return std::string(what) + " of data file " + std::to_string(g.firstNumber) + " failed: " + QDB_GetLastReason(session);
}

// Records handed to the target at once: many rows a statement, since on a server every statement
// is a round trip (one record at a time moved some fifty records a second).
constexpr size_t kRecordsPerWrite = 512;

// Writes the records gathered for the target: false on a failure.
bool Flush(QdbFile target, std::vector<std::vector<uint8_t>>* pending) {
    if (pending->empty()) return true;
    std::vector<const void*> records;
    std::vector<int> lengths;
    for (const std::vector<uint8_t>& r : *pending) {
        records.push_back(r.data());
        lengths.push_back(static_cast<int>(r.size()));
    }
    const int ok = QDB_AddRecs(target, static_cast<int>(records.size()), records.data(), lengths.data());
    pending->clear();
    return ok != 0;
}

}  // namespace

bool CopyPracticeDatabase(const std::string& source_directory, const std::string& target_directory,
                          PracticeCopyCounts* counts, std::string* reason,
                          const std::function<void(int64_t records, bool compared)>& progress) {
    *counts = PracticeCopyCounts{};
    if (QDB_InitDataBase(source_directory.c_str()) != 1) {
        *reason = "the source: " + std::string(QDB_GetLastReason(0));
        return false;
    }
    QdbPrivateSession from;
    if (!from.Handle()) {
        *reason = "the source: " + std::string(QDB_GetLastReason(0));
        return false;
    }
    if (!CreatePracticeDatabase(target_directory, reason)) {
        *reason = "the target: " + *reason;
        return false;
    }
    QdbPrivateSession to;
    if (!to.Handle()) {
        *reason = "the target: " + std::string(QDB_GetLastReason(0));
        return false;
    }
    const std::vector<const FileGroupDef*> groups = GroupsWithRecords();
    std::vector<uint8_t> bytes, other;
    for (const FileGroupDef* g : groups) {
        QdbOpenedFile target(to.Handle(), g->firstNumber);
        if (!target.Handle()) return *reason = "the target: " + Why(to.Handle(), *g, "the open"), false;
        const int there = Step(to.Handle(), target.Handle(), *g, true, &bytes);
        if (there != 0) {
            *reason = there > 0 ? "the target already holds records (data file " + std::to_string(g->firstNumber) + "); copy only into an empty database"
                                : "the target: " + Why(to.Handle(), *g, "the first read");
            return false;
        }
    }

    // One transaction: a copy that fails half way leaves the target as empty as it was.
    if (!QDB_BeginBulkWrite(to.Handle(), std::numeric_limits<int>::max())) return *reason = "the target: " + std::string(QDB_GetLastReason(to.Handle())), false;
    for (const FileGroupDef* g : groups) {
        const QdbFile source = QDB_OpenFileExclusive(from.Handle(), g->firstNumber);
        if (!source) {
            QDB_EndBulkWrite(to.Handle(), 0);
            *reason = "the source: " + Why(from.Handle(), *g, "the exclusive open") + " (is a workstation working?)";
            return false;
        }
        QdbOpenedFile target(to.Handle(), g->firstNumber);
        int64_t copied = 0;
        std::vector<std::vector<uint8_t>> pending;
        int got = Step(from.Handle(), source, *g, true, &bytes);
        for (; got > 0; got = Step(from.Handle(), source, *g, false, &bytes)) {
            pending.push_back(bytes);
            ++copied;
            if (pending.size() < kRecordsPerWrite) continue;
            if (!Flush(target.Handle(), &pending)) {
                got = -2;
                break;
            }
            if (progress) progress(counts->records + copied, false);
        }
        if (got == 0 && !Flush(target.Handle(), &pending)) got = -2;
        if (got < 0) {
            *reason = got == -2 ? "the target: " + Why(to.Handle(), *g, "a write") : "the source: " + Why(from.Handle(), *g, "a read");
            QDB_EndBulkWrite(to.Handle(), 0);
            QDB_CloseFile(source);
            return false;
        }
        QDB_CloseFile(source);
        counts->records += copied;
        if (copied) ++counts->groups;
    }
    if (!QDB_EndBulkWrite(to.Handle(), 1)) return *reason = "the target: " + std::string(QDB_GetLastReason(to.Handle())), false;

    // Both read again, record by record in physical order.
    int64_t compared = 0;
    for (const FileGroupDef* g : groups) {
        QdbOpenedFile source(from.Handle(), g->firstNumber), target(to.Handle(), g->firstNumber);
        int a = Step(from.Handle(), source.Handle(), *g, true, &bytes);
        int b = Step(to.Handle(), target.Handle(), *g, true, &other);
        int64_t n = 0;
        while (a > 0 && b > 0 && bytes == other) {
            if (++n % kRecordsPerWrite == 0 && progress) progress(compared + n, true);
            a = Step(from.Handle(), source.Handle(), *g, false, &bytes);
            b = Step(to.Handle(), target.Handle(), *g, false, &other);
        }
        if (a != 0 || b != 0) {
            *reason = "the copy differs from the source in data file " + std::to_string(g->firstNumber) + " after " +
                      std::to_string(n) + " equal records";
            return false;
        }
        compared += n;
    }
    return true;
}
