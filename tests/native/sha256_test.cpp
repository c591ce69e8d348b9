// The password hashing primitives against their published test vectors (FIPS 180 examples,
// RFC 4231 for HMAC-SHA256, the widely published PBKDF2-HMAC-SHA256 vectors).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "suite/sha256.h"

namespace {

std::string Hex(const uint8_t* bytes, size_t length) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < length; ++i) {
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 15];
    }
    return out;
}

std::string Hex(const Sha256Digest& digest) { return Hex(digest.data(), digest.size()); }

std::string HmacHex(const std::string& key, const std::string& message) {
    return Hex(HmacSha256(key.data(), key.size(), message.data(), message.size()));
}

std::string Pbkdf2Hex(const std::string& password, const std::string& salt, uint32_t iterations, size_t length) {
    std::vector<uint8_t> out(length);
    Pbkdf2HmacSha256(password.data(), password.size(), salt.data(), salt.size(), iterations, out.data(), length);
    return Hex(out.data(), out.size());
}

}  // namespace

TEST(Sha256, PublishedDigestsWholeAndInPieces) {
    EXPECT_EQ("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad", Hex(Sha256Of("abc")));
    EXPECT_EQ("cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0", Hex(Sha256Of(std::string(1000000, 'a'))));
    // 56 bytes: the message whose padding needs a second block, whole and cut before its last byte.
    const std::string message = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
    for (size_t cut : {size_t{0}, size_t{55}}) {
        Sha256 hash;
        hash.Update(message.data(), cut);
        hash.Update(message.data() + cut, message.size() - cut);
        EXPECT_EQ("248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1", Hex(hash.Final())) << "cut at " << cut;
    }
}

TEST(HmacSha256, Rfc4231VectorsAndPbkdf2) {
    EXPECT_EQ("5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843", HmacHex("Jefe", "what do ya want for nothing?"));
    // Keys longer than a block are hashed first.
    EXPECT_EQ("60e431591ee0b67f0d8a26aacbf5b77f8e0bc6213728c5140546040f0ee37f54",
              HmacHex(std::string(131, '\xaa'), "Test Using Larger Than Block-Size Key - Hash Key First"));
    EXPECT_EQ("c5e478d59288c841aa530db6845c4c8d962893a001ce4e11a4963873aa98134a", Pbkdf2Hex("password", "salt", 4096, 32));
    // Output longer than one block, and zero bytes inside password and salt.
    EXPECT_EQ("348c89dbcbd32b2f32d814b8116e84cf2b17347ebc1800181c4e2a1fb8dd53e1c635518c7dac47e9",
              Pbkdf2Hex("passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096, 40));
    EXPECT_EQ("89b69d0516f829893c696226650a8687", Pbkdf2Hex(std::string("pass\0word", 9), std::string("sa\0lt", 5), 4096, 16));
    // The stored hash is compared to its last byte.
    const uint8_t a[4] = {1, 2, 3, 4}, same[4] = {1, 2, 3, 4}, last_differs[4] = {1, 2, 3, 5};
    EXPECT_TRUE(EqualInConstantTime(a, same, 4));
    EXPECT_FALSE(EqualInConstantTime(a, last_differs, 4));
}
