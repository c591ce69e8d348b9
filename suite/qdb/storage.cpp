// Which storage a practice's data directory names, and the calls that dispatch on it.
#include "suite/qdb/storage.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <filesystem>

#include "suite/settings.h"

bool SqliteStorageExists(const std::string& directory);

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

namespace {
std::atomic<uint64_t> statements_run{0};
}  // namespace

uint64_t StorageStatementsRun() { return statements_run.load(std::memory_order_relaxed); }
void CountStorageStatement() { statements_run.fetch_add(1, std::memory_order_relaxed); }

StorageLocation LocateStorage(const std::string& data_directory) {
    StorageLocation where;
    where.directory = data_directory;
    const std::string inf = (std::filesystem::path(data_directory) / "qvndata.inf").string();
    where.backendName = QVN_ReadProfileText("DATABASE", "Backend", "", inf.c_str());
    where.connection = QVN_ReadProfileText("DATABASE", "Connection", "", inf.c_str());
    const std::string backend = Lower(where.backendName);
    if (backend.empty() || backend == "sqlite") where.kind = StorageLocation::kSqlite;
    else if (backend == "postgresql") where.kind = StorageLocation::kPostgres;
    else where.kind = StorageLocation::kUnknown;
    return where;
}

// A failure on the server, said with the setting that names it.
static bool ServerFailure(std::string* reason) {
    *reason = "the practice database named by [DATABASE] Connection in qvndata.inf: " + *reason;
    return false;
}

static bool Unknown(const StorageLocation& where, std::string* reason) {
    *reason = "[DATABASE] Backend=" + where.backendName + " in qvndata.inf names no database this program knows (SQLite or PostgreSQL)";
    return false;
}

bool StorageExists(const StorageLocation& where, std::string* reason) {
    switch (where.kind) {
        case StorageLocation::kSqlite:
            if (SqliteStorageExists(where.directory)) return true;
            *reason = "no practice database there";
            return false;
        case StorageLocation::kPostgres: return OpenPostgresStorage(where.connection, reason) != nullptr || ServerFailure(reason);
        default: return Unknown(where, reason);
    }
}

bool CreateStorage(const StorageLocation& where, std::string* reason) {
    switch (where.kind) {
        case StorageLocation::kSqlite: return CreateSqliteStorage(where.directory, reason);
        case StorageLocation::kPostgres: return CreatePostgresStorage(where.connection, reason) || ServerFailure(reason);
        default: return Unknown(where, reason);
    }
}

std::unique_ptr<Storage> OpenStorage(const StorageLocation& where, std::string* reason) {
    switch (where.kind) {
        case StorageLocation::kSqlite: return OpenSqliteStorage(where.directory, reason);
        case StorageLocation::kPostgres: {
            std::unique_ptr<Storage> storage = OpenPostgresStorage(where.connection, reason);
            if (!storage) ServerFailure(reason);
            return storage;
        }
        default: return Unknown(where, reason), nullptr;
    }
}
