#include "runtime/rc4.h"

#include <gtest/gtest.h>

namespace {
Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }
}  // namespace

TEST(Rc4, KnownKeyStreamVectors) {
  // Published RC4 test vectors.
  EXPECT_EQ(rc4Transform(bytesOf("Plaintext"), bytesOf("Key")),
            (Bytes{0xBB, 0xF3, 0x16, 0xE8, 0xD9, 0x40, 0xAF, 0x0A, 0xD3}));
  EXPECT_EQ(rc4Transform(bytesOf("Attack at dawn"), bytesOf("Secret")),
            (Bytes{0x45, 0xA0, 0x1F, 0x64, 0x5F, 0xC3, 0x5B, 0x38, 0x35, 0x52, 0x54, 0x4B,
                   0x9B, 0xF5}));
}

TEST(Rc4, DecipheredTextEndsAtTheFirstZeroByte) {
  const Text key = "LanJing#Vrk26";
  const Bytes cipher = rc4Transform(bytesOf(std::string("example.org\0junk", 16)), bytesOf(key));
  EXPECT_EQ(rc4DecipherText(cipher, key), "example.org");
  EXPECT_EQ(rc4DecipherText(rc4Transform(bytesOf("host"), bytesOf(key)), key), "host");
  EXPECT_EQ(rc4DecipherText(Bytes(), key), "");
}
