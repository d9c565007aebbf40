#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "md5.h"
#include "testFiles.h"

namespace {
std::string hexDigest(const void* data, size_t size, size_t piece) {
  md5Context context;
  md5ContextInit(&context);
  const uint8_t* p = static_cast<const uint8_t*>(data);
  for (size_t at = 0; at < size; at += piece) md5ContextUpdate(&context, p + at, std::min(piece, size - at));
  uint8_t digest[16];
  md5ContextFinal(&context, digest);
  std::string text;
  char hex[3];
  for (uint8_t b : digest) std::snprintf(hex, sizeof hex, "%02x", b), text += hex;
  return text;
}

std::string hexDigest(const std::string& text) { return hexDigest(text.data(), text.size(), text.size() + 1); }
}  // namespace

TEST(rupMd5, rfc1321Vectors) {
  EXPECT_EQ(hexDigest(""), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(hexDigest("a"), "0cc175b9c0f1b6a831c399e269772661");
  EXPECT_EQ(hexDigest("abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(hexDigest("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
  EXPECT_EQ(hexDigest("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
  EXPECT_EQ(hexDigest("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
            "d174ab98d277d9f5a5611c2c9f419d9f");
  EXPECT_EQ(hexDigest("12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
            "57edf4a22be3c955ac49da2e2107b67a");
}

// Lengths around the 56-byte padding edge and pieces that split blocks must not change the digest.
TEST(rupMd5, piecesGiveTheDigestOfTheWhole) {
  bytes data = randomBytes(10000, 7);
  for (size_t length : {55u, 56u, 63u, 64u, 65u, 119u, 120u, 10000u}) {
    std::string whole = hexDigest(data.data(), length, length + 1);
    for (size_t piece : {1u, 3u, 63u, 64u, 100u, 4096u})
      EXPECT_EQ(hexDigest(data.data(), length, piece), whole) << length << " in pieces of " << piece;
  }
  EXPECT_EQ(hexDigest(std::string(56, 'a')), "3b0c8ac703f828b04c6c197006d17218");
}
