// The checks of the "Block Settings" dialog, apart from the dialog so that their order, texts
// and focus can be tried without a screen.
#include "setup/block_settings.h"

#include <cctype>
#include <cstring>

#include "data/practice_schedule.h"

namespace {

const char kNameMissing[] = "Block name must be entered.";
const char kNameTaken[] = "A Unique block name must be entered.";
const char kSpanMissing[] = "A full time span must be entered!";
const char kSpanEmpty[] = "Invalid time span!";
const char kRangeInvalid[] = "Invalid Time Range!";
const char kNoTimes[] = "At least one time must be specified!";
const char kOverlaps[] = "Block overlaps another block!";
const char kOperatoryMissing[] = "An operatory must be selected";
const char kOperatoryTaken[] = "Operatory is in use by another provider's block!";

BlockRefusal Refuse(const char* text, BlockFocus focus, int weekday = 0) { return {text, focus, weekday}; }

bool SameNameIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) return false;
    return *a == *b;
}

bool NoOperatory(const char operatory[4]) {
    static const char none[4] = {};
    return std::memcmp(operatory, none, 4) == 0;
}

}  // namespace

BlockRefusal CheckBlockSettings(const BlockSettings& s, const TimeBlockEdit (&blocks)[kTimeBlocks],
                                const char provider[4]) {
    const TimeBlockEdit& b = s.block;
    if (b.name[0] == 0) return Refuse(kNameMissing, BlockFocus::kName);
    for (int i = 0; i < kTimeBlocks; ++i)
        if (i != s.position && blocks[i].name[0] && SameNameIgnoringCase(blocks[i].name, b.name))
            return Refuse(kNameTaken, BlockFocus::kName);

    bool any_time = false;
    for (int d = 0; d < 7; ++d) {
        const bool has_start = b.start[d] >= 0, has_end = b.end[d] >= 0;
        if (has_start && !has_end) return Refuse(kSpanMissing, BlockFocus::kEndButton, d);
        if (!has_start && has_end) return Refuse(kSpanMissing, BlockFocus::kStartButton, d);
        if (!has_start) {
            if (s.ticked[d]) return Refuse(kSpanMissing, BlockFocus::kStartButton, d);
            continue;
        }
        if (b.start[d] == b.end[d]) return Refuse(kSpanEmpty, BlockFocus::kEndButton, d);
        if (b.end[d] < b.start[d]) return Refuse(kRangeInvalid, BlockFocus::kStartButton, d);
        any_time = true;
    }
    if (!any_time) return Refuse(kNoTimes, BlockFocus::kSundayBox);

    // The provider's own other blocks in the same operatory (no operatory counts as one).
    for (int i = 0; i < kTimeBlocks; ++i) {
        const TimeBlockEdit& other = blocks[i];
        if (i == s.position || other.name[0] == 0 || std::memcmp(other.operatory, b.operatory, 4) != 0) continue;
        for (int d = 0; d < 7; ++d)
            if (b.start[d] >= 0 && other.start[d] >= 0 &&
                BlockTimesOverlap(b.start[d], b.end[d], other.start[d], other.end[d]))
                return Refuse(kOverlaps, BlockFocus::kStartButton, d);
    }

    if (NoOperatory(b.operatory)) {
        if (b.type[0] != 0) return Refuse(kOperatoryMissing, BlockFocus::kOperatory);
        return {};
    }
    // Another provider's block in that operatory at the same time, as the loaded table has it.
    for (const ProviderInfo& p : practice_tables.providers) {
        if (std::memcmp(p.id, provider, 4) == 0) continue;
        for (int i = 0; i < kTimeBlocks; ++i) {
            if (std::memcmp(p.blockOperatory[i], b.operatory, 4) != 0) continue;
            for (int d = 0; d < 7; ++d) {
                if (b.start[d] < 0 || p.blockStart[d][i] == kNoTime) continue;
                if (BlockTimesOverlap(b.start[d], b.end[d], p.blockStart[d][i], p.blockEnd[d][i]))
                    return Refuse(kOperatoryTaken, BlockFocus::kOperatory);
            }
        }
    }
    return {};
}
