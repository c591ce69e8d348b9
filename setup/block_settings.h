// One time block of a provider as the provider dialog edits it, and the "Block Settings" dialog's
// checks on OK: what is refused, with which text, and where the focus goes.
#pragma once

#include <cstdint>

#include "data/rscuse_record.h"

struct ProviderInfo;

constexpr int kBlockNameLength = 12;

// One of the provider's six blocks in the edit buffer: times in 5-minute units, -1 for none.
struct TimeBlockEdit {
    char name[kBlockNameLength + 1] = {};  // empty: a free slot
    uint32_t colour = 0;
    uint8_t type[5] = {};                  // byte 0: the appointment type (0 = "<all>"); 1-4 kept
    char operatory[4] = {};                // all zero: none
    int32_t start[7] = {-1, -1, -1, -1, -1, -1, -1};
    int32_t end[7] = {-1, -1, -1, -1, -1, -1, -1};
    bool deleted = false;
};

// What the block dialog shows and gives back: the block at position with the weekday boxes.
struct BlockSettings {
    TimeBlockEdit block;
    bool ticked[7] = {};
    int position = 0;
};

// The control a refusal puts the focus on: the name, the start or end " >>" of a weekday, the
// Sunday box, or the operatory list.
enum class BlockFocus { kName, kStartButton, kEndButton, kSundayBox, kOperatory };

struct BlockRefusal {
    const char* text = nullptr;  // nullptr: accepted
    BlockFocus focus = BlockFocus::kName;
    int weekday = 0;
};

// The checks of OK in their order. blocks are the provider's six blocks as the provider dialog
// holds them now (the one at settings.position is the one edited); other providers' blocks come
// from the loaded provider table, provider being the one whose blocks these are.
BlockRefusal CheckBlockSettings(const BlockSettings& settings, const TimeBlockEdit (&blocks)[kTimeBlocks],
                                const char provider[4]);

// Whether two blocks' times on one weekday overlap: each starts before the other ends (blocks
// that only touch do not).
inline bool BlockTimesOverlap(int32_t start, int32_t end, int32_t other_start, int32_t other_end) {
    return start < other_end && end > other_start;
}
