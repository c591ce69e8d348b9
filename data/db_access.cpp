// The database access layer: first-tier wrappers with the retry protocol, group opening by
// descriptor, one open set per group, and the second-tier operations with their messages.
#include "data/db_access.h"

#include <chrono>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "suite/messages.h"
#include "suite/prompter.h"
#include "suite/qdb/file_groups.h"
#include "suite/settings.h"

DbState db_state;

namespace {

constexpr uint16_t kOpenCountsDone46 = 46;

void Record() {
    db_state.lastResult = QDB_GetLastResultNum(db_state.session);
    db_state.lastError = QDB_GetLastErrorNum(db_state.session);
    db_state.lastFile = QDB_GetLastFileNum(db_state.session);
}

uint16_t Set(uint16_t result, int file) {
    db_state.lastResult = db_state.lastError = result;
    db_state.lastFile = static_cast<uint16_t>(file);
    return result;
}

// Steps 1 and 2 of every wrapper: the session and the open handle of the number's group.
bool HandleOf(int number, uint32_t* handle, FileGroupDesc* desc = nullptr) {
    if (db_state.session == 0) {
        Set(kQdbNoSession, 0);
        return false;
    }
    FileGroupDesc d;
    if (!DbGroupOf(number, &d) || db_state.openHandles[d.groupIndex] == 0) {
        Set(kQdbGroupNotOpen, number);
        return false;
    }
    *handle = db_state.openHandles[d.groupIndex];
    if (desc) *desc = d;
    return true;
}

// A busy wait, as the user-interface thread may not yield to anything between retries.
void Pause(int ms) {
    if (ms < 1) return;
    auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(ms)) {
    }
}

// Runs call until it ends with something other than 42, at most the retry count times.
template <typename Call>
uint16_t WithRetry(Call call) {
    for (int tries = 0;; ++tries) {
        call();
        Record();
        if (db_state.lastResult != kQdbLocked || tries + 1 >= db_state.retryCount) return db_state.lastResult;
        Pause(db_state.pauseMs);
    }
}

uint16_t Once() {
    Record();
    return db_state.lastResult;
}

uint32_t& SetSlot(const FileGroupDesc& d) {
    return db_state.setHandles[d.groupIndex];
}

struct MessageRow {
    int dataFile;
    int numbers[5];
};
const MessageRow kMessageRows[] = {
    {1, {3062, 3086, 3109, 3132, 3155}},   {6, {3063, 3087, 3110, 3133, 3156}},
    {9, {3064, 3088, 3111, 3134, 3157}},   {16, {3065, 3089, 3112, 3135, 3158}},
    {18, {3066, 3090, 3113, 3136, 3159}},  {268, {3067, 3091, 3114, 3137, 3160}},
    {36, {3068, 3092, 3115, 3138, 3161}},  {38, {3069, 3093, 3116, 3139, 3162}},
    {207, {3070, 3094, 3117, 3140, 3163}}, {49, {3071, 3095, 3118, 3141, 3164}},
    {44, {3072, 3096, 3119, 3142, 3165}},  {47, {3073, 3097, 3120, 3143, 3166}},
    {52, {3075, 3099, 3122, 3145, 3168}},  {55, {3076, 3100, 3123, 3146, 3169}},
    {92, {3077, 3101, 3124, 3147, 3170}},  {83, {3079, 3103, 3126, 3149, 3172}},
    {69, {3080, 3104, 3127, 3150, 3173}},  {75, {3081, 3105, 3128, 3151, 3174}},
    {77, {3082, 3106, 3129, 3152, 3175}},  {282, {3083, 3107, 3130, 3153, 3176}},
    {0, {0, 3205, 3206, 3207, 3208}},
};
const int kOtherFileNumbers[5] = {3084, 3108, 3131, 3154, 3177};

// A session lost with its server, or none since the user cancelled the question about it.
bool SessionLost(uint16_t result);

void ShowFileMessage(DbMessageKind kind, int data_file) {
    if (SessionLost(db_state.lastResult)) return void(DbReconnect());
    QVN_Message(kMsgGroupGeneral, DbMessageNumber(kind, data_file, db_state.lastResult), db_state.lastResult,
                db_state.lastFile);
}

// The find loop of the second tier; the group is open. relock: release and retake the
// session's locks before each retry the user asks for.
uint16_t FindWithPrompt(const FileGroupDesc& d, int key, const void* key_buffer, int key_length, void* record,
                        bool relock) {
    std::vector<uint8_t> key_copy(static_cast<size_t>(key_length) + 20, 0);
    std::memcpy(key_copy.data(), key_buffer, static_cast<size_t>(key_length));
    for (;;) {
        uint16_t result = DbFind(key, key_copy.data(), record);
        if (result == kQdbOk || result == kQdbNotFound) return result;
        if (SessionLost(result)) {
            DbReconnect();
            return result;
        }
        if (result != kQdbLocked) {
            QVN_ReportDbError(d.dataFile, db_state.lastError, db_state.lastFile);
            return result;
        }
        if (QVN_LockedRecordPrompt(d.dataFile) != kAnswerRetry) return kQdbLocked;
        if (relock) {
            DbLock(0);
            DbLock(2);
        }
    }
}

uint16_t UpdateOrSave(const FileGroupDesc& d, int key, const void* key_buffer, int key_length, void* old_record,
                      const void* new_record, bool add, bool with_locks) {
    uint16_t result;
    {
        DbGroupScope group(d);
        if (group.Result() != kQdbOk) {
            result = group.Result();
        } else if (add) {
            if (with_locks) DbLock(2);
            result = DbAdd(d.dataFile, new_record);
            if (result != kQdbOk) ShowFileMessage(kDbMsgWrite, d.dataFile);
            if (with_locks) DbLock(0);
        } else {
            int copied = key_length < 50 ? key_length : 50;
            result = FindWithPrompt(d, key, key_buffer, copied, old_record, false);
            if (result == kQdbOk) {
                result = DbWrite(d.dataFile, new_record);
                if (result != kQdbOk) ShowFileMessage(kDbMsgWrite, d.dataFile);
            } else if (result == kQdbNotFound) {
                QVN_ReportDbError(d.dataFile, db_state.lastError, db_state.lastFile);
            }
        }
    }
    if (with_locks) DbLock(0);
    return result;
}

}  // namespace

bool DbGroupOf(int number, FileGroupDesc* desc) {
    const FileGroupDef* g = FindFileGroup(number);
    if (!g) return false;
    *desc = {static_cast<uint16_t>(g->groupIndex), static_cast<uint16_t>(g->firstNumber), static_cast<uint16_t>(g->mode)};
    return true;
}

void DbLimitRetry(int retry, int pause, int* limited_retry, int* limited_pause) {
    if (pause > 200) pause = 200;
    if (pause >= 1 && retry * pause > 2000) retry = 2000 / pause;
    *limited_retry = retry;
    *limited_pause = pause;
}

void DbReadRetrySettings() {
    DbLimitRetry(QVN_ReadProfileInt("QVCTREEM", "RETRY", 10), QVN_ReadProfileInt("QVCTREEM", "PAUSE", 0),
                 &db_state.retryCount, &db_state.pauseMs);
}

uint16_t DbStartSession() {
    // A new session has no group open yet: handles of an earlier one name nothing in it.
    std::memset(db_state.openHandles, 0, sizeof db_state.openHandles);
    std::memset(db_state.openCounts, 0, sizeof db_state.openCounts);
    db_state.session = QDB_StartSession(1);
    if (db_state.session == 0) return Set(kQdbNoSession, 0);
    Record();
    DbReadRetrySettings();
    return kQdbOk;
}

void DbEndSession() {
    if (db_state.session) QDB_EndSession(db_state.session);
    db_state.session = 0;
    db_state.lastResult = db_state.lastError = db_state.lastFile = 0;
    std::memset(db_state.openHandles, 0, sizeof db_state.openHandles);
    std::memset(db_state.openCounts, 0, sizeof db_state.openCounts);
    std::memset(db_state.setHandles, 0, sizeof db_state.setHandles);
}

bool DbInitDatabase() {
    if (QDB_InitDataBase(QVN_GetDataPath().c_str()) != 1) return false;
    return DbStartSession() == kQdbOk;
}

bool DbRestartSession() {
    DbEndSession();
    return DbStartSession() == kQdbOk;
}

const char kDatabaseUnreachable[] = "The practice database cannot be reached.";

namespace {
int restarts = 0, restarts_seen = 0;
bool asking = false;
// After the user cancelled the question: the operation that asked ends quietly (its other
// calls fail without asking again), the timer leaves the lost session alone, and the next
// operation that needs the database asks again.
enum class Cancelled { kNo, kThisOperation, kAskNext } cancelled = Cancelled::kNo;
std::function<void()> asked_hook;

bool SessionLost(uint16_t result) {
    return result == kQdbConnectionLost || (result == kQdbNoSession && cancelled != Cancelled::kNo);
}
}  // namespace

bool DbReconnect() {
    // The timer goes on while the question is on screen: one question at a time.
    if (asking || cancelled == Cancelled::kThisOperation) return false;
    asking = true;
    const PromptRequest question{kDatabaseUnreachable, kTitleAppointmentBook, kButtonsRetryCancel, kIconExclamation};
    bool restarted = false;
    while (!restarted && CurrentPrompter().Show(question) == kAnswerRetry) restarted = DbRestartSession();
    asking = false;
    cancelled = restarted ? Cancelled::kNo : Cancelled::kThisOperation;
    if (restarted) ++restarts;
    // The window looks again once the operation that asked has ended.
    if (asked_hook) asked_hook();
    return restarted;
}

void DbWhenAsked(std::function<void()> hook) { asked_hook = std::move(hook); }

QdbSession DbStartOwnSession(int data_file) {
    for (;;) {
        // The rest of an operation whose question was cancelled asks no more.
        if (cancelled == Cancelled::kThisOperation) return 0;
        if (const QdbSession s = QDB_StartSession(1)) return s;
        // No connection of its own: the shared one tells whether the database is gone.
        const bool gone = db_state.session == 0 ? SessionLost(kQdbNoSession) : !QDB_CheckConnection(db_state.session);
        if (!gone) {
            QVN_ReportDbError(data_file, kQdbNoSession, 0);
            return 0;
        }
        if (!DbReconnect()) return 0;
    }
}

bool DbAskWhenUnreachable(uint16_t result) {
    if (!SessionLost(result)) return false;
    // A question earlier in the same operation (its file's open) may have started a new session
    // already: the failure was the old connection's, and the user has answered for it.
    const bool answered = result == kQdbConnectionLost && db_state.session != 0 && QDB_CheckConnection(db_state.session);
    if (!answered) DbReconnect();
    return true;
}

void DbReportError(int data_file, uint16_t error, int last_file) {
    if (!DbAskWhenUnreachable(error)) QVN_ReportDbError(data_file, error, last_file);
}

DbConnection DbKeepConnection() {
    if (asking) return DbConnection::kLost;
    if (cancelled == Cancelled::kThisOperation) cancelled = Cancelled::kAskNext;
    if (cancelled == Cancelled::kAskNext) return DbConnection::kLost;
    if (db_state.session == 0 || !QDB_CheckConnection(db_state.session)) DbReconnect();
    if (db_state.session == 0 || QDB_GetLastResultNum(db_state.session) == kQdbConnectionLost) return DbConnection::kLost;
    // A session started again by any operation's question since the last look.
    if (restarts_seen == restarts) return DbConnection::kKept;
    restarts_seen = restarts;
    return DbConnection::kRestored;
}

void DbInstallSession(QdbSession session) {
    db_state.session = session;
    DbReadRetrySettings();
}

// A group opened again while it is open (a load inside an operation that holds it, start-up
// holding the practice group while the practice loads) shares the one engine handle; only the
// last close closes it, so no handle is ever orphaned and no inner close pulls the group away
// from the outer user.
uint16_t DbOpenGroup(const FileGroupDesc& d) {
    // No session since the user cancelled the question about a lost server: asked again here,
    // and on Retry the operation goes on in the new session.
    if (db_state.session == 0 && !(cancelled == Cancelled::kAskNext && DbReconnect())) return Set(kQdbNoSession, 0);
    if (db_state.openHandles[d.groupIndex] != 0) {
        ++db_state.openCounts[d.groupIndex];
        return Set(kQdbOk, d.dataFile);
    }
    uint32_t handle = (d.mode & 1) ? QDB_OpenFile(db_state.session, d.dataFile)
                                   : QDB_OpenFileExclusive(db_state.session, d.dataFile);
    Record();
    if (handle) {
        db_state.openHandles[d.groupIndex] = handle;
        db_state.openCounts[d.groupIndex] = 1;
        return kQdbOk;
    }
    uint16_t result = db_state.lastResult;
    if (result == kOpenCountsDone46) {
        QVN_Message(kMsgGroupGeneral, 9048, d.dataFile);
        return kQdbOk;
    }
    ShowFileMessage(kDbMsgOpen, d.dataFile);
    if (result == 14 || result == 15) {
        QVN_Message(kMsgGroupGeneral, 9049, d.dataFile);
        return kQdbOk;
    }
    return result;
}

uint16_t DbCloseGroup(const FileGroupDesc& d) {
    uint32_t& slot = db_state.openHandles[d.groupIndex];
    if (slot == 0) return kQdbOk;
    uint16_t& opens = db_state.openCounts[d.groupIndex];
    if (opens > 1) {
        --opens;
        return Set(kQdbOk, d.dataFile);
    }
    opens = 0;
    int ok = QDB_CloseFile(slot);
    slot = 0;
    if (ok) return Set(kQdbOk, d.dataFile);
    Record();
    ShowFileMessage(kDbMsgClose, d.dataFile);
    return db_state.lastResult;
}

const void* DbPrepareKey(const void* key_buffer) {
    if (db_state.session == 0) {
        Set(kQdbNoSession, 0);
        return nullptr;
    }
    db_state.lastResult = db_state.lastError = 0;
    return key_buffer;
}

// A wrapper of a retried call: steps 1 and 2, then the call on the group's handle under the
// retry protocol.
template <typename Call>
static uint16_t Retried(int number, Call call) {
    uint32_t h;
    if (!HandleOf(number, &h)) return db_state.lastResult;
    return WithRetry([&] { call(h); });
}

// A wrapper of a call that is not retried.
template <typename Call>
static uint16_t Unretried(int number, Call call) {
    uint32_t h;
    if (!HandleOf(number, &h)) return db_state.lastResult;
    call(h);
    return Once();
}

uint16_t DbFind(int key, const void* key_buffer, void* record) {
    return Retried(key, [&](uint32_t h) { QDB_FindRec(h, key, key_buffer, record); });
}
uint16_t DbFindMany(int key, int count, const void* key_buffers, void* records, uint8_t* found) {
    return Retried(key, [&](uint32_t h) { QDB_FindRecs(h, key, count, key_buffers, records, found); });
}
uint16_t DbFindByPrefixes(int key, int count, const void* prefixes, int significant, const DbPrefixSink& found) {
    const QdbRecordSink sink = [](void* context, int place, const void* record, int length) {
        (*static_cast<const DbPrefixSink*>(context))(place, record, length);
    };
    return Unretried(key, [&](uint32_t h) {
        QDB_FindRecsByPrefixes(h, key, count, prefixes, significant, sink, const_cast<DbPrefixSink*>(&found));
    });
}
uint16_t DbFirst(int key_or_file, void* record) {
    return Retried(key_or_file, [&](uint32_t h) { QDB_FirstRec(h, key_or_file, record); });
}
uint16_t DbLast(int key_or_file, void* record) {
    return Retried(key_or_file, [&](uint32_t h) { QDB_LastRec(h, key_or_file, record); });
}
uint16_t DbNext(int key_or_file, void* record) {
    return Retried(key_or_file, [&](uint32_t h) { QDB_NextRec(h, key_or_file, record); });
}
uint16_t DbGreaterEqual(int key, const void* key_buffer, void* record) {
    return Retried(key, [&](uint32_t h) { QDB_GreaterThanOrEqualRec(h, key, key_buffer, record); });
}

uint16_t DbStartSetForward(int key, const void* key_buffer, void* record, int significant) {
    FileGroupDesc d;
    DbGroupOf(key, &d);
    return Retried(key, [&](uint32_t h) {
        uint32_t& slot = SetSlot(d);
        if (slot) QDB_EndSet(slot);
        slot = QDB_StartSet(h, key, 0, key_buffer, record, significant);
    });
}

// Next in the set open on the group.
uint16_t DbNextInSet(int key, void* record) {
    uint32_t h;
    FileGroupDesc d;
    if (!HandleOf(key, &h, &d)) return db_state.lastResult;
    uint32_t set = SetSlot(d);
    if (set == 0) return Set(kQdbNotFound, key);
    return WithRetry([&] { QDB_NextRecInSet(set, record); });
}

uint16_t DbAdd(int file, const void* record) {
    return Unretried(file, [&](uint32_t h) { QDB_AddRec(h, record); });
}
uint16_t DbWrite(int file, const void* record) {
    return Unretried(file, [&](uint32_t h) { QDB_WriteRec(h, record); });
}
uint16_t DbDelete(int file) {
    return Unretried(file, [&](uint32_t h) { QDB_DeleteCurRec(h); });
}
uint16_t DbAddVariable(int file, const void* record, int length) {
    return Unretried(file, [&](uint32_t h) { QDB_AddVRec(h, record, length); });
}
uint16_t DbReadEntireVariable(int file, void* buffer, int buffer_size) {
    return Unretried(file, [&](uint32_t h) { QDB_ReadEntireVarRec(h, buffer, buffer_size); });
}

// The two wrappers that hand back the library's value rather than a result number.
int DbVariableLength(int file) {
    int length = 0;
    Unretried(file, [&](uint32_t h) { length = QDB_GetVarRecLength(h); });
    return length;
}
uint32_t DbFilePosition(int file) {
    uint32_t position = 0;
    Unretried(file, [&](uint32_t h) { position = QDB_GetFilePos(h); });
    return position;
}

uint16_t DbLock(int mode) {
    if (db_state.session == 0) return Set(kQdbNoSession, 0);
    QDB_LKISAM(db_state.session, mode);
    return Once();
}

uint16_t DbCreateGroupFiles(int file) {
    if (db_state.session == 0) return Set(kQdbNoSession, 0);
    QDB_CREIFIL(db_state.session, file);
    return Once();
}

int DbMessageNumber(DbMessageKind kind, int data_file, uint16_t result) {
    if (kind == kDbMsgWrite && data_file == 44 && result == 2) return 3283;
    for (const MessageRow& row : kMessageRows)
        if (row.dataFile == data_file) return row.numbers[kind];
    return kOtherFileNumbers[kind];
}

uint16_t DbFindRecord(const FileGroupDesc& d, int key, const void* key_buffer, int key_length, void* record) {
    DbGroupScope group(d);
    if (group.Result() != kQdbOk) return group.Result();
    return FindWithPrompt(d, key, key_buffer, key_length, record, false);
}

uint16_t DbReadForUpdate(const FileGroupDesc& d, int key, const void* key_buffer, int key_length, void* record,
                         bool lock) {
    DbGroupScope group(d);
    if (group.Result() != kQdbOk) return group.Result();
    if (lock && DbLock(2) != kQdbOk) {
        ShowFileMessage(kDbMsgLock, d.dataFile);
        return db_state.lastResult;
    }
    uint16_t result = FindWithPrompt(d, key, key_buffer, key_length, record, lock);
    if (result != kQdbOk && lock) DbLock(0);
    return result;
}

uint16_t DbUpdateRecord(const FileGroupDesc& d, int key, const void* key_buffer, int key_length, void* old_record,
                        const void* new_record, bool add) {
    return UpdateOrSave(d, key, key_buffer, key_length, old_record, new_record, add, true);
}

uint16_t DbSaveRecord(const FileGroupDesc& d, int key, const void* key_buffer, int key_length, void* old_record,
                      const void* new_record, bool add) {
    return UpdateOrSave(d, key, key_buffer, key_length, old_record, new_record, add, false);
}

uint16_t DbWriteCurrent(const FileGroupDesc& d, const void* record) {
    uint16_t result = DbWrite(d.dataFile, record);
    if (result != kQdbOk) ShowFileMessage(kDbMsgWrite, d.dataFile);
    return result;
}

uint16_t DbAddRecord(const FileGroupDesc& d, const void* record) {
    uint16_t result = DbAdd(d.dataFile, record);
    if (result != kQdbOk) ShowFileMessage(kDbMsgWrite, d.dataFile);
    return result;
}

uint16_t DbDeleteCurrent(const FileGroupDesc& d) {
    uint16_t result = DbDelete(d.dataFile);
    if (result != kQdbOk) ShowFileMessage(kDbMsgDelete, d.dataFile);
    return result;
}
