// The suite's referral sources (data file 207, keys 208 and 209): the doctors, companies and
// campaigns that send patients to the practice. The referral module owns it.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kReferralFile = 207;
constexpr int kReferralByIdKey = 208;    // referral id, unique
constexpr int kReferralByNameKey = 209;  // ours: last name then first name
constexpr int kReferralRecordLength = 128;

#pragma pack(push, 1)
struct ReferralRecord {
    uint8_t ours0[2];
    uint32_t id;
    char lastName[21];       // or the name of a company or campaign
    char firstName[16];
    char title[8];           // "Dr.", ...
    char phone[17];
    uint8_t ours68[60];
};
#pragma pack(pop)

static_assert(sizeof(ReferralRecord) == kReferralRecordLength);
