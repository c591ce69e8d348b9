// The suite's record-id counters (data file 16, key 17): one small record per kind of record
// whose ids are handed out by counting, so that every workstation gets a different id. Where
// these live is our choice: the file group 16-17 of "other suite records".
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kCounterFile = 16;
constexpr int kCounterKey = 17;   // the counter's name, 8 bytes, unique
constexpr int kCounterRecordLength = 32;

#pragma pack(push, 1)
struct CounterRecord {
    char name[8];        // zero-padded
    uint32_t next;       // the id the next request gets
    uint8_t ours12[20];
};
#pragma pack(pop)

static_assert(sizeof(CounterRecord) == kCounterRecordLength);
