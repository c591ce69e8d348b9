// Provider setup's records: the base provider record held under its lock while the dialog is
// open, the edit buffer filled from it, and OK's one-transaction save with the week overrides.
#include "setup/provider_setup.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "app/refresh.h"
#include "data/practice_schedule.h"
#include "data/record_locks.h"
#include "suite/dates.h"
#include "suite/messages.h"
#include "suite/prompter.h"
#include "suite/qdb/qdb_handles.h"

namespace {

// Said when the held record was given back during a lock question and then changed elsewhere.
const char kProviderChangedElsewhere[] =
    "The provider has been changed at another workstation during setup. Setup canceled!";

int32_t ToWorking(uint16_t t) { return t == kNoTime ? -1 : t; }
uint16_t ToRecord(int32_t t) { return t < 0 ? kNoTime : static_cast<uint16_t>(t); }

RscUseKey KeyOf(uint8_t kind, const char id[4], uint32_t week) {
    RscUseKey key{kind, {}, week};
    std::memcpy(key.id, id, 4);
    return key;
}

std::string KeyBytes(const RscUseKey& key) { return std::string(reinterpret_cast<const char*>(&key), sizeof key); }

// A base record for a provider that has none yet: the loaded table's hours, colour and blocks.
RscUseProviderBase RecordFromTable(const ProviderInfo& p) {
    RscUseProviderBase r{};
    r.head.kind = kRscProvider;
    std::memcpy(r.head.id, p.id, 4);
    r.colour = p.colour;
    std::memcpy(r.defaultStart, p.defaultStart, sizeof r.defaultStart);
    std::memcpy(r.defaultEnd, p.defaultEnd, sizeof r.defaultEnd);
    std::memcpy(r.blockNames, p.blockNames, sizeof r.blockNames);
    std::memcpy(r.blockStart, p.blockStart, sizeof r.blockStart);
    std::memcpy(r.blockEnd, p.blockEnd, sizeof r.blockEnd);
    std::memcpy(r.blockColour, p.blockColour, sizeof r.blockColour);
    std::memcpy(r.blockType, p.blockType, sizeof r.blockType);
    std::memcpy(r.blockOperatory, p.blockOperatory, sizeof r.blockOperatory);
    return r;
}

void FillBuffer(const RscUseProviderBase& r, ProviderSetupBuffer* b) {
    *b = ProviderSetupBuffer{};
    std::memcpy(b->id, r.head.id, 4);
    for (int d = 0; d < 7; ++d)
        for (int i = 0; i < 3; ++i) {
            b->hours[d][2 * i] = ToWorking(r.defaultStart[d][i]);
            b->hours[d][2 * i + 1] = ToWorking(r.defaultEnd[d][i]);
        }
    b->colour = r.colour;
    for (int k = 0; k < kTimeBlocks; ++k) {
        TimeBlockEdit& block = b->blocks[k];
        std::memcpy(block.name, r.blockNames[k], kBlockNameLength);
        block.name[kBlockNameLength] = 0;
        block.colour = r.blockColour[k];
        std::memcpy(block.type, r.blockType[k], sizeof block.type);
        std::memcpy(block.operatory, r.blockOperatory[k], 4);
        for (int d = 0; d < 7; ++d) {
            block.start[d] = ToWorking(r.blockStart[d][k]);
            block.end[d] = ToWorking(r.blockEnd[d][k]);
        }
    }
    while (b->aliasCount < kProviderAliases && r.aliases[b->aliasCount][0] != 0) {
        std::memcpy(b->aliases[b->aliasCount], r.aliases[b->aliasCount], 4);
        ++b->aliasCount;
    }
    std::memcpy(b->goals, r.goals, sizeof b->goals);
}

// The buffer written over the record as read: bytes the dialog does not edit stay as they were.
RscUseProviderBase RecordFromBuffer(const RscUseProviderBase& as_read, const ProviderSetupBuffer& b) {
    RscUseProviderBase r = as_read;
    for (int d = 0; d < 7; ++d)
        for (int i = 0; i < 3; ++i) {
            r.defaultStart[d][i] = ToRecord(b.hours[d][2 * i]);
            r.defaultEnd[d][i] = ToRecord(b.hours[d][2 * i + 1]);
        }
    r.colour = b.colour;
    for (int k = 0; k < kTimeBlocks; ++k) {
        const TimeBlockEdit& block = b.blocks[k];
        std::memset(r.blockNames[k], 0, sizeof r.blockNames[k]);
        std::memcpy(r.blockNames[k], block.name, std::strlen(block.name));
        r.blockColour[k] = block.colour;
        std::memcpy(r.blockType[k], block.type, sizeof block.type);
        std::memcpy(r.blockOperatory[k], block.operatory, 4);
        for (int d = 0; d < 7; ++d) {
            r.blockStart[d][k] = ToRecord(block.start[d]);
            r.blockEnd[d][k] = ToRecord(block.end[d]);
        }
    }
    std::memset(r.aliases, 0, sizeof r.aliases);
    for (int i = 0; i < b.aliasCount && i < kProviderAliases; ++i) std::memcpy(r.aliases[i], b.aliases[i], 4);
    std::memcpy(r.goals, b.goals, sizeof r.goals);
    return r;
}

// The loaded table takes what the record now holds.
void CopyIntoTable(const RscUseProviderBase& r, ProviderInfo& p) {
    p.colour = r.colour;
    std::memcpy(p.defaultStart, r.defaultStart, sizeof p.defaultStart);
    std::memcpy(p.defaultEnd, r.defaultEnd, sizeof p.defaultEnd);
    std::memcpy(p.blockNames, r.blockNames, sizeof p.blockNames);
    std::memcpy(p.blockStart, r.blockStart, sizeof p.blockStart);
    std::memcpy(p.blockEnd, r.blockEnd, sizeof p.blockEnd);
    std::memcpy(p.aliases, r.aliases, sizeof p.aliases);
    std::memcpy(p.goals, r.goals, sizeof p.goals);
    std::memcpy(p.blockColour, r.blockColour, sizeof p.blockColour);
    std::memcpy(p.blockType, r.blockType, sizeof p.blockType);
    std::memcpy(p.blockOperatory, r.blockOperatory, sizeof p.blockOperatory);
}

}  // namespace

bool WorksWeekday(const ProviderSetupBuffer& buffer, int weekday) { return buffer.hours[weekday][0] >= 0; }

void ClearWeekday(ProviderSetupBuffer& buffer, int weekday) {
    for (int i = 0; i < 6; ++i) buffer.hours[weekday][i] = -1;
}

std::vector<int> NamedBlocks(const ProviderSetupBuffer& buffer) {
    std::vector<int> named;
    for (int k = 0; k < kTimeBlocks; ++k)
        if (buffer.blocks[k].name[0]) named.push_back(k);
    return named;
}

bool CanAddBlock(const ProviderSetupBuffer& buffer) { return NamedBlocks(buffer).size() < kTimeBlocks; }

int FreeBlockSlot(const ProviderSetupBuffer& buffer) {
    for (int k = 0; k < kTimeBlocks; ++k)
        if (!buffer.blocks[k].name[0]) return k;
    return -1;
}

void DeleteBlock(ProviderSetupBuffer& buffer, int position) {
    if (position < 0 || position >= kTimeBlocks) return;
    buffer.blocks[position] = TimeBlockEdit{};
    buffer.blocks[position].deleted = true;
}

BlockSettings BlockSettingsOf(const ProviderSetupBuffer& buffer, int position) {
    BlockSettings s;
    s.position = position;
    s.block = buffer.blocks[position];
    s.block.deleted = false;
    for (int d = 0; d < 7; ++d) s.ticked[d] = s.block.start[d] >= 0;
    return s;
}

void StoreBlockSettings(ProviderSetupBuffer& buffer, const BlockSettings& settings) {
    TimeBlockEdit& block = buffer.blocks[settings.position];
    const bool deleted = block.deleted;  // a slot freed by "&Delete" still leaves the overrides on OK
    block = settings.block;
    block.deleted = deleted;
}

std::string ProviderSetupCaption(const char id[4]) {
    char caption[40];
    std::snprintf(caption, sizeof caption, "Provider Setup [%4.4s]", id);
    return caption;
}

struct ProviderRecordHold::Held {
    QdbPrivateSession session;
    std::unique_ptr<QdbOpenedFile> file;
    RscUseKey key{};
    QdbSession S() const { return session.Handle(); }
    QdbFile F() const { return file ? file->Handle() : 0; }
};

ProviderRecordHold::ProviderRecordHold() = default;
ProviderRecordHold::~ProviderRecordHold() = default;

void ProviderRecordHold::Release() { held_.reset(); }

ProviderRecordHold::Opened ProviderRecordHold::Open(const char id[4], ProviderSetupBuffer* buffer) {
    Release();
    if (!id || id[0] == 0 || id[0] == ' ') return Opened::kRefused;
    const int index = FindProviderIndex(id);
    if (index < 0) return Opened::kRefused;

    auto held = std::make_unique<Held>();
    if (!held->S()) {
        QVN_ReportDbError(kRscUseFile, kQdbNoSession, 0);
        return Opened::kFailed;
    }
    held->file = std::make_unique<QdbOpenedFile>(held->S(), kRscUseFile);
    if (!held->F()) {
        ReportChangeFailure(held->S(), kDbMsgOpen, kRscUseFile);
        return Opened::kFailed;
    }
    held->key = KeyOf(kRscProvider, id, 0);
    RecordLockSet lock(held->S());
    lock.Add(held->F(), kRscUseFile, kRscUseKey, &held->key, sizeof held->key);
    if (!lock.TakeAll()) return Opened::kFailed;

    RscUseProviderBase record{};
    exists_ = QDB_FindRec(held->F(), kRscUseKey, &held->key, &record) != 0;
    if (!exists_) {
        if (QDB_GetLastErrorNum(held->S()) != kQdbNotFound) {
            QVN_ReportDbError(kRscUseFile, QDB_GetLastErrorNum(held->S()), QDB_GetLastFileNum(held->S()));
            return Opened::kFailed;
        }
        record = RecordFromTable(practice_tables.providers[static_cast<size_t>(index)]);
    }
    asRead_ = record;
    FillBuffer(record, buffer);
    held_ = std::move(held);
    return Opened::kOpened;
}

bool ProviderRecordHold::Save(const ProviderSetupBuffer& buffer) {
    if (!held_) return false;
    std::unique_ptr<Held> held = std::move(held_);  // the locks go with it on every way out
    const QdbSession s = held->S();
    const QdbFile f = held->F();

    bool deleted[kTimeBlocks] = {};
    bool any_deleted = false;
    for (int k = 0; k < kTimeBlocks; ++k) any_deleted |= deleted[k] = buffer.blocks[k].deleted;

    // The week overrides that may hold a deleted block, locked after the provider record (kind 1
    // before kind 4 in the one order). A week made elsewhere between the walk and the locks is
    // found by the next walk, until a walk finds nothing new.
    std::map<std::string, RscUseKey> overrides;
    RecordLockSet locks(s);
    locks.Add(f, kRscUseFile, kRscUseKey, &held->key, sizeof held->key);
    for (bool found_new = true; found_new;) {
        found_new = false;
        if (any_deleted) {
            RscUseKey prefix = KeyOf(kRscBlockOverride, buffer.id, 0);
            RscUseBlockOverride o{};
            const QdbSet set = QDB_StartSet(f, kRscUseKey, 0, &prefix, &o, kRscUseResourcePrefix);
            for (bool more = set != 0; more; more = QDB_NextRecInSet(set, &o) != 0) {
                const RscUseKey key = KeyOf(o.head.kind, o.head.id, o.head.week);
                if (overrides.emplace(KeyBytes(key), key).second) {
                    locks.Add(f, kRscUseFile, kRscUseKey, &overrides[KeyBytes(key)], sizeof key);
                    found_new = true;
                }
            }
            if (set) QDB_EndSet(set);
        }
        if (!locks.TakeAll()) return false;
    }

    // The provider record again, under its lock: as it was read at the opening, or nothing.
    RscUseProviderBase now{};
    const bool exists_now = QDB_FindRec(f, kRscUseKey, &held->key, &now) != 0;
    if (!exists_now && QDB_GetLastErrorNum(s) != kQdbNotFound) {
        QVN_ReportDbError(kRscUseFile, QDB_GetLastErrorNum(s), QDB_GetLastFileNum(s));
        return false;
    }
    if (exists_now != exists_ || (exists_ && std::memcmp(&now, &asRead_, sizeof now) != 0)) {
        ShowStop(kProviderChangedElsewhere);
        return false;
    }

    // Every change computed before the transaction begins.
    struct OverrideChange {
        RscUseKey key;
        RscUseBlockOverride record;
        bool remove;
    };
    std::vector<OverrideChange> changes;
    for (const auto& [bytes, key] : overrides) {
        RscUseBlockOverride o{};
        if (!QDB_FindRec(f, kRscUseKey, &key, &o)) {
            if (QDB_GetLastErrorNum(s) == kQdbNotFound) continue;
            QVN_ReportDbError(kRscUseFile, QDB_GetLastErrorNum(s), QDB_GetLastFileNum(s));
            return false;
        }
        bool empty = false;
        if (ClearBlocksInOverride(o, deleted, -1, &empty)) changes.push_back({key, o, empty});
    }
    const RscUseProviderBase record = RecordFromBuffer(asRead_, buffer);

    bool written = QDB_BeginTransaction(s) != 0;
    DbMessageKind failed_kind = kDbMsgWrite;
    for (size_t i = 0; written && i < changes.size(); ++i) {
        const OverrideChange& c = changes[i];
        written = QDB_FindRec(f, kRscUseKey, &c.key, nullptr) != 0;
        if (written && c.remove) {
            failed_kind = kDbMsgDelete;
            written = QDB_DeleteCurRec(f) != 0;
        } else if (written) {
            written = QDB_WriteRec(f, &c.record) != 0;
        }
    }
    if (written) {
        failed_kind = kDbMsgWrite;
        written = exists_ ? QDB_FindRec(f, kRscUseKey, &held->key, nullptr) && QDB_WriteRec(f, &record)
                          : QDB_AddRec(f, &record) != 0;
    }
    written = written ? QDB_CommitTransaction(s) != 0 : (QDB_AbortTransaction(s), false);
    if (!written) {
        ReportChangeFailure(s, failed_kind, kRscUseFile);
        return false;
    }
    const int index = FindProviderIndex(buffer.id);
    if (index >= 0) CopyIntoTable(record, practice_tables.providers[static_cast<size_t>(index)]);
    asRead_ = record;
    exists_ = true;
    return true;
}

void AnnounceBlockChange() { AnnounceChange(StationCode(), QVN_SysDate(), "XXXX", "XXXX", 0, kChangeTimeBlock); }
