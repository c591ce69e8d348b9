// SHA-256 (FIPS 180-4), HMAC (RFC 2104) over it, and PBKDF2 (RFC 8018) over that.
#include "suite/sha256.h"

#include <cstring>

namespace {

constexpr uint32_t kRoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

constexpr uint32_t kInitialState[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                       0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

inline uint32_t RotateRight(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

inline uint32_t LoadBigEndian(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// The keyed inner and outer hashes of HMAC, with the padded key already absorbed, so that each
// of PBKDF2's many MACs under one password costs only the message's blocks.
class HmacKey {
public:
    HmacKey(const void* key, size_t key_length) {
        uint8_t block[Sha256::kBlockSize] = {};
        if (key_length > Sha256::kBlockSize) {
            Sha256Digest short_key = Sha256Of(key, key_length);
            std::memcpy(block, short_key.data(), short_key.size());
        } else if (key_length > 0) {
            std::memcpy(block, key, key_length);
        }
        uint8_t pad[Sha256::kBlockSize];
        for (size_t i = 0; i < sizeof pad; ++i) pad[i] = block[i] ^ 0x36;
        inner_.Update(pad, sizeof pad);
        for (size_t i = 0; i < sizeof pad; ++i) pad[i] = block[i] ^ 0x5c;
        outer_.Update(pad, sizeof pad);
    }

    Sha256Digest Mac(const void* first, size_t first_length, const void* second = nullptr,
                     size_t second_length = 0) const {
        Sha256 inner = inner_;
        inner.Update(first, first_length);
        if (second_length) inner.Update(second, second_length);
        Sha256Digest inner_digest = inner.Final();
        Sha256 outer = outer_;
        outer.Update(inner_digest.data(), inner_digest.size());
        return outer.Final();
    }

    // The chaining states after the padded key: the starting points of every inner and outer hash.
    void KeyedStates(uint32_t inner[8], uint32_t outer[8]) const {
        inner_.ChainingState(inner);
        outer_.ChainingState(outer);
    }

private:
    Sha256 inner_, outer_;
};

// A chaining state as digest bytes, big-endian.
void StoreState(const uint32_t state[8], uint8_t* out) {
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 4; ++j) out[4 * i + j] = static_cast<uint8_t>(state[i] >> (24 - 8 * j));
}

}  // namespace

Sha256::Sha256() { std::memcpy(state_, kInitialState, sizeof state_); }

void Sha256::ChainingState(uint32_t out[8]) const { std::memcpy(out, state_, sizeof state_); }

void Sha256::CompressBlock(uint32_t state[8], const uint8_t* block) {
    uint32_t w[64];
    for (int i = 0; i < 16; ++i) w[i] = LoadBigEndian(block + 4 * i);
    for (int i = 16; i < 64; ++i) {
        uint32_t s0 = RotateRight(w[i - 15], 7) ^ RotateRight(w[i - 15], 18) ^ (w[i - 15] >> 3);
        uint32_t s1 = RotateRight(w[i - 2], 17) ^ RotateRight(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
    for (int i = 0; i < 64; ++i) {
        uint32_t s1 = RotateRight(e, 6) ^ RotateRight(e, 11) ^ RotateRight(e, 25);
        uint32_t choose = (e & f) ^ (~e & g);
        uint32_t t1 = h + s1 + choose + kRoundConstants[i] + w[i];
        uint32_t s0 = RotateRight(a, 2) ^ RotateRight(a, 13) ^ RotateRight(a, 22);
        uint32_t majority = (a & b) ^ (a & c) ^ (b & c);
        uint32_t t2 = s0 + majority;
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
    state[5] += f;
    state[6] += g;
    state[7] += h;
}

void Sha256::Update(const void* data, size_t length) {
    if (length == 0) return;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    total_bytes_ += length;
    if (block_used_ > 0) {
        size_t take = kBlockSize - block_used_ < length ? kBlockSize - block_used_ : length;
        std::memcpy(block_ + block_used_, bytes, take);
        block_used_ += take;
        bytes += take;
        length -= take;
        if (block_used_ < kBlockSize) return;
        Compress(block_);
        block_used_ = 0;
    }
    for (; length >= kBlockSize; bytes += kBlockSize, length -= kBlockSize) Compress(bytes);
    if (length > 0) std::memcpy(block_, bytes, length);
    block_used_ = length;
}

Sha256Digest Sha256::Final() {
    const uint64_t total_bits = total_bytes_ * 8;
    block_[block_used_++] = 0x80;
    if (block_used_ > kBlockSize - 8) {
        std::memset(block_ + block_used_, 0, kBlockSize - block_used_);
        Compress(block_);
        block_used_ = 0;
    }
    std::memset(block_ + block_used_, 0, kBlockSize - 8 - block_used_);
    for (int i = 0; i < 8; ++i) block_[kBlockSize - 8 + i] = static_cast<uint8_t>(total_bits >> (56 - 8 * i));
    Compress(block_);
    block_used_ = 0;

    Sha256Digest digest;
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 4; ++j) digest[static_cast<size_t>(4 * i + j)] = static_cast<uint8_t>(state_[i] >> (24 - 8 * j));
    return digest;
}

Sha256Digest Sha256Of(const void* data, size_t length) {
    Sha256 hash;
    hash.Update(data, length);
    return hash.Final();
}

Sha256Digest HmacSha256(const void* key, size_t key_length, const void* message, size_t message_length) {
    return HmacKey(key, key_length).Mac(message, message_length);
}

void Pbkdf2HmacSha256(const void* password, size_t password_length, const void* salt, size_t salt_length,
                      uint32_t iterations, uint8_t* out, size_t output_length) {
    const HmacKey key(password, password_length);
    if (iterations < 1) iterations = 1;
    for (uint32_t block_index = 1; output_length > 0; ++block_index) {
        const uint8_t index_bytes[4] = {static_cast<uint8_t>(block_index >> 24), static_cast<uint8_t>(block_index >> 16),
                                        static_cast<uint8_t>(block_index >> 8), static_cast<uint8_t>(block_index)};
        Sha256Digest u = key.Mac(salt, salt_length, index_bytes, sizeof index_bytes);
        Sha256Digest block = u;
        // Every further MAC is of a 32-byte message: two compressions of one prepared block
        // from the keyed states, without the general buffering and padding.
        uint32_t inner[8], outer[8], state[8];
        key.KeyedStates(inner, outer);
        // The block that ends a hash of one key pad block and a 32-byte message: the message,
        // the one bit, zeros, and the length of the 96 bytes in bits.
        uint8_t message[Sha256::kBlockSize] = {};
        message[32] = 0x80;
        message[62] = (Sha256::kBlockSize + 32) * 8 >> 8;
        message[63] = ((Sha256::kBlockSize + 32) * 8) & 0xFF;
        std::memcpy(message, u.data(), u.size());
        for (uint32_t i = 1; i < iterations; ++i) {
            std::memcpy(state, inner, sizeof state);
            Sha256::CompressBlock(state, message);
            StoreState(state, message);
            std::memcpy(state, outer, sizeof state);
            Sha256::CompressBlock(state, message);
            StoreState(state, message);
            for (size_t j = 0; j < block.size(); ++j) block[j] ^= message[j];
        }
        size_t take = output_length < block.size() ? output_length : block.size();
        std::memcpy(out, block.data(), take);
        out += take;
        output_length -= take;
    }
}

bool EqualInConstantTime(const uint8_t* a, const uint8_t* b, size_t length) {
    uint8_t difference = 0;
    for (size_t i = 0; i < length; ++i) difference |= static_cast<uint8_t>(a[i] ^ b[i]);
    return difference == 0;
}
