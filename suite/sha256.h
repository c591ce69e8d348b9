// SHA-256, HMAC-SHA256 and PBKDF2-HMAC-SHA256: what the user file needs to keep passwords only
// as salted, slow-to-guess hashes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

using Sha256Digest = std::array<uint8_t, 32>;

// Incremental SHA-256: any number of Update calls, then Final once.
class Sha256 {
public:
    static constexpr size_t kBlockSize = 64;

    Sha256();
    void Update(const void* data, size_t length);
    Sha256Digest Final();

    // For a loop that hashes messages of one fixed length after a common prefix of whole
    // blocks (PBKDF2's): the chaining state after those blocks, and one compression of a block
    // into such a state.
    void ChainingState(uint32_t out[8]) const;
    static void CompressBlock(uint32_t state[8], const uint8_t* block);

private:
    void Compress(const uint8_t* block) { CompressBlock(state_, block); }

    uint32_t state_[8];
    uint8_t block_[kBlockSize];
    size_t block_used_ = 0;
    uint64_t total_bytes_ = 0;
};

Sha256Digest Sha256Of(const void* data, size_t length);
inline Sha256Digest Sha256Of(std::string_view text) { return Sha256Of(text.data(), text.size()); }

Sha256Digest HmacSha256(const void* key, size_t key_length, const void* message, size_t message_length);

// Fills out with output_length bytes derived from the password and salt with the given
// iteration count (at least 1).
void Pbkdf2HmacSha256(const void* password, size_t password_length, const void* salt, size_t salt_length,
                      uint32_t iterations, uint8_t* out, size_t output_length);

// True when the two byte runs are equal, in a time that does not depend on where they differ,
// so that comparing a stored hash tells a guesser nothing about how close the guess came.
bool EqualInConstantTime(const uint8_t* a, const uint8_t* b, size_t length);
