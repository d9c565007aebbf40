#include "base64.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string encode(const std::string& input) {
  std::vector<char> out(((input.size() + 2) / 3) * 4 + 1, '#');
  const uint32_t written =
      base64Encode(reinterpret_cast<const uint8_t*>(input.data()), uint32_t(input.size()), out.data());
  EXPECT_EQ(out[written], '\0');
  return std::string(out.data(), written);
}

// Decodes into a buffer of the size callers provide, with guard bytes behind it.
struct decoded {
  uint32_t count;
  std::string bytes;
  bool guardsIntact;
};

decoded decode(const std::string& text) {
  const size_t room = (text.size() / 4) * 3;
  std::vector<uint8_t> out(room + 4, 0xEE);
  const uint32_t count = base64Decode(text.data(), uint32_t(text.size()), out.data());
  bool guards = true;
  for (size_t i = room; i < out.size(); ++i) guards = guards && out[i] == 0xEE;
  return {count, std::string(out.begin(), out.begin() + count), guards};
}

}  // namespace

TEST(base64, rfc4648Vectors) {
  const std::pair<const char*, const char*> vectors[] = {
      {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},        {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}};
  for (const auto& [plain, coded] : vectors) {
    EXPECT_EQ(encode(plain), coded);
    if (*plain) {
      const decoded back = decode(coded);
      EXPECT_EQ(back.bytes, plain) << coded;
      EXPECT_TRUE(back.guardsIntact);
    }
  }
}

TEST(base64, allByteValuesRoundTrip) {
  std::string all;
  for (int i = 0; i < 256; ++i) all += char(i);
  EXPECT_EQ(decode(encode(all)).bytes, all);
}

TEST(base64, badLengthsAndCharactersGiveZero) {
  EXPECT_EQ(decode("").count, 0u);
  EXPECT_EQ(decode("Zm9").count, 0u);
  EXPECT_EQ(decode("Zm9vY").count, 0u);
  EXPECT_EQ(decode("Zm 9").count, 0u);
  EXPECT_EQ(decode("Zm9vYm\r\n").count, 0u);
  EXPECT_EQ(decode("Zm9vZm-v").count, 0u);
  EXPECT_EQ(decode("=m9v").count, 0u);  // 0 bytes is a failure
}

TEST(base64, theFirstPadEndsTheText) {
  // Three characters before "=" give two bytes, two give one, a lone one gives none.
  EXPECT_EQ(decode("Zm8=Zm9v").bytes, "fo");
  EXPECT_EQ(decode("Zg==!!!!").bytes, "f");
  EXPECT_EQ(decode("Zm9vZ===").bytes, "foo");
  EXPECT_EQ(decode("Z===").count, 0u);
  // Padding is not checked, and nothing behind it is looked at.
  EXPECT_EQ(decode("Zg=A").bytes, "f");
  EXPECT_TRUE(decode("Zm9vYmFyZm8=").guardsIntact);
}
