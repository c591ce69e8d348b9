// The one-date block override write, under the override record's lock.
#include "data/block_override.h"

#include <cstring>

#include "data/record_locks.h"
#include "data/practice_schedule.h"
#include "data/rscuse_record.h"

namespace {

uint16_t ToSlot(int t) { return t == kBlockClearDay ? kBlockCleared : t < 0 ? kBlockKeepsDefault : static_cast<uint16_t>(t); }

bool AnyOverrideLeft(const RscUseBlockOverride& r) {
    for (int w = 0; w < 7; ++w)
        for (int s = 0; s < kOverrideSlots; ++s)
            if (r.start[w][s] < kBlockKeepsDefault) return true;
    return false;
}

}  // namespace

uint16_t WriteBlockOverride(const char provider[4], int block_number, int32_t date, int start, int end,
                            bool* written) {
    bool wrote_nothing = false;
    if (!written) written = &wrote_nothing;
    *written = false;
    if (block_number < 0 || block_number >= kTimeBlocks) return kQdbBadKey;
    const int w = WeekdayIndex(date);
    // The block's own times on that weekday, from the loaded provider table.
    int default_start = -1, default_end = -1;
    const int index = FindProviderIndex(provider);
    if (index >= 0) {
        const ProviderInfo& p = practice_tables.providers[static_cast<size_t>(index)];
        if (p.blockStart[w][block_number] != kNoTime) {
            default_start = p.blockStart[w][block_number];
            default_end = p.blockEnd[w][block_number];
        }
    }

    RscUseKey key{kRscBlockOverride, {}, static_cast<uint32_t>(WeekStartOf(date))};
    std::memcpy(key.id, provider, 4);
    return EditLocked<RscUseBlockOverride>(kRscUseFile, kRscUseKey, key, [&](RscUseBlockOverride& record, bool exists) {
        if (!exists) {
            if (start == kBlockToDefault) return LockedEdit::kNothing;  // no override to take back
            record = RscUseBlockOverride{};
            record.head.week = key.week;
            record.head.kind = kRscBlockOverride;
            std::memcpy(record.head.id, provider, 4);
            for (int d = 0; d < 7; ++d)
                for (int s = 0; s < kOverrideSlots; ++s) record.start[d][s] = record.end[d][s] = kBlockKeepsDefault;
            record.start[w][block_number] = ToSlot(start);
            record.end[w][block_number] = ToSlot(end);
            *written = true;
            return LockedEdit::kWrite;
        }
        const bool back_to_default = start == kBlockToDefault || (start == default_start && end == default_end) ||
                                     (start == kBlockClearDay && default_start < 0);
        if (back_to_default) {
            record.start[w][block_number] = record.end[w][block_number] = kBlockKeepsDefault;
        } else {
            record.start[w][block_number] = ToSlot(start);
            record.end[w][block_number] = ToSlot(end);
        }
        *written = true;
        return AnyOverrideLeft(record) ? LockedEdit::kWrite : LockedEdit::kDelete;
    });
}
