// One provider time block changed on one date: the write of that date's slot in the provider's
// kind-4 week override {4, provider, Sunday of the week}, under the override record's lock. The
// sheet's block edit dialog and block drags both end here.
#pragma once

#include <cstdint>

// What is to become of the block on that date besides new times.
constexpr int kBlockToDefault = -1;   // back to the block's own times ("Set to Default")
constexpr int kBlockClearDay = -2;    // no block that date ("Clear for today")

// Stores start and end (5-minute units) for block block_number (0-5) of the provider on the
// date, or the request kBlockToDefault / kBlockClearDay given as start and end. When the week
// has an override record: times equal to the block's default times for that weekday, a clear
// on a weekday without default times, and a return to the default all set the slot back to
// "keeps its default"; a record with no override left is deleted, any other is rewritten. When
// the week has none: a record with every slot "keeps its default" is made with the slot set,
// except for a return to the default, which has nothing to undo. The result of the database
// call that failed, else 0; *written (when given) tells whether a record was added, rewritten
// or deleted.
uint16_t WriteBlockOverride(const char provider[4], int block_number, int32_t date, int start, int end,
                            bool* written = nullptr);
