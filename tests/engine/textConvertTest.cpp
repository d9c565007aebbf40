#include "textConvert.h"

#include <gtest/gtest.h>

TEST(textConvert, roundTripsOutsideTheBasicPlane) {
  // e acute, a CJK ideograph, U+1F3AE as a surrogate pair, and an embedded NUL.
  const std::wstring wide{L'G', 0x00E9, 0x6F22, 0xD83C, 0xDFAE, 0, L'x'};
  const std::string utf8 = toUtf8(wide);
  EXPECT_EQ(utf8, std::string("G\xC3\xA9\xE6\xBC\xA2\xF0\x9F\x8E\xAE", 10) + '\0' + "x");
  EXPECT_EQ(fromUtf8(utf8), wide);
}

TEST(textConvert, emptyTextBecomesError) {
  EXPECT_EQ(toUtf8(L""), "Error");
  EXPECT_EQ(fromUtf8(""), L"Error");
}

TEST(textConvert, invalidInputIsReplacedNotRejected) {
  EXPECT_EQ(fromUtf8("a\xFF" "b"), (std::wstring{L'a', 0xFFFD, L'b'}));
  EXPECT_EQ(fromUtf8("\xC3"), std::wstring(1, wchar_t(0xFFFD)));
  EXPECT_EQ(toUtf8(std::wstring{L'a', 0xD800, L'b'}), "a\xEF\xBF\xBD" "b");
}
