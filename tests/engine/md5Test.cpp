#include "md5.h"

#include <gtest/gtest.h>

#include <string>

#include "testFiles.h"

namespace {

std::string hexOf(const std::string& text) {
  md5 digest;
  digest.update(reinterpret_cast<const uint8_t*>(text.data()), int32_t(text.size()));
  digest.finalize();
  return digest.hexDigest();
}

}  // namespace

TEST(md5, rfc1321TestSuite) {
  EXPECT_EQ(hexOf(""), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(hexOf("a"), "0cc175b9c0f1b6a831c399e269772661");
  EXPECT_EQ(hexOf("abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(hexOf("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
  EXPECT_EQ(hexOf("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
  EXPECT_EQ(hexOf("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
            "d174ab98d277d9f5a5611c2c9f419d9f");
  EXPECT_EQ(hexOf("1234567890123456789012345678901234567890123456789012345678901234567890123456"
                  "7890"),
            "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(md5, piecesOfAnySizeGiveTheDigestOfTheWhole) {
  const bytes data = randomBytes(100000, 7);
  md5 whole;
  whole.update(data.data(), int32_t(data.size()));
  whole.finalize();

  // Single bytes, pieces that straddle the 64-byte blocks, empty and negative counts.
  md5 pieces;
  size_t at = 0;
  for (int32_t length : {1, 63, 0, 1, 64, 65, 127, -5, 1000}) {
    pieces.update(data.data() + at, length);
    if (length > 0) at += size_t(length);
  }
  while (at < data.size()) pieces.update(data.data() + at++, 1);
  pieces.finalize();
  EXPECT_EQ(pieces.hexDigest(), whole.hexDigest());
}

TEST(md5, secondFinalizeKeepsTheDigest) {
  md5 digest;
  digest.update(reinterpret_cast<const uint8_t*>("abc"), 3);
  digest.finalize();
  digest.finalize();
  EXPECT_EQ(digest.hexDigest(), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(md5, digestWordsRoundTripThroughHexOfDigestWords) {
  md5 digest;
  digest.finalize();
  uint32_t words[4];
  digest.digestWords(words);
  EXPECT_EQ(words[0], 0xd98c1dd4u);  // the bytes d4 1d 8c d9 little-endian

  md5 shower;
  EXPECT_EQ(shower.hexOfDigestWords(words), "d41d8cd98f00b204e9800998ecf8427e");
}

TEST(md5, initStartsAgain) {
  md5 digest;
  digest.update(reinterpret_cast<const uint8_t*>("junk"), 4);
  digest.finalize();
  digest.init();
  digest.update(reinterpret_cast<const uint8_t*>("a"), 1);
  digest.finalize();
  EXPECT_EQ(digest.hexDigest(), "0cc175b9c0f1b6a831c399e269772661");
}
