#include "pathHelpers.h"

#include <gtest/gtest.h>

#include <climits>

TEST(pathHelpers, folderAndFileName) {
  EXPECT_EQ(directoryOfPath(L"C:\\games\\rom.sfc"), L"C:\\games\\");
  EXPECT_EQ(directoryOfPath(L"rom.sfc"), L"");
  EXPECT_EQ(fileNameOfPath(L"C:\\games\\rom.sfc"), L"rom.sfc");
  EXPECT_EQ(fileNameOfPath(L"rom.sfc"), L"rom.sfc");
  EXPECT_EQ(fileNameOfPath(L"C:\\games\\"), L"");
  EXPECT_EQ(fileNameOfPath(L"C:/games/rom.sfc"), L"C:/games/rom.sfc");  // a slash is no separator
}

TEST(pathHelpers, baseName) {
  EXPECT_EQ(baseNameOfPath(L"C:\\dir\\name.ext"), L"name");
  EXPECT_EQ(baseNameOfPath(L"C:\\d.ir\\name"), L"name");
  EXPECT_EQ(baseNameOfPath(L"C:\\dir\\.cfg"), L"");
  EXPECT_EQ(baseNameOfPath(L"C:\\dir\\hack.v1.ips"), L"hack.v1");
  EXPECT_EQ(baseNameOfPath(L"name"), L"name");
}

TEST(pathHelpers, extension) {
  EXPECT_EQ(extensionOfPath(L"C:\\dir\\hack.IPS"), L"IPS");
  EXPECT_EQ(extensionOfPath(L"C:\\games.old\\rom"), L"old\\rom");
  EXPECT_EQ(extensionOfPath(L"C:\\games\\rom"), L"unc");
  EXPECT_EQ(extensionOfPath(L".cfg"), L"unc");
  EXPECT_EQ(extensionOfPath(L"C:\\games\\rom."), L"");
}

TEST(pathHelpers, extensionMatchesIgnoresTheCaseOfAsciiLetters) {
  EXPECT_TRUE(extensionMatches(L"LNG", L"C:\\Langs\\de.lng"));
  EXPECT_TRUE(extensionMatches(L"LNG", L"C:\\Langs\\de.Lng"));
  EXPECT_FALSE(extensionMatches(L"LNG", L"C:\\Langs\\lng"));
  EXPECT_FALSE(extensionMatches(L"LNG", L"C:\\Langs\\de.lngx"));
  EXPECT_FALSE(extensionMatches(L"LNG", L"C:\\Langs\\de.ln"));
  EXPECT_FALSE(extensionMatches(L"TXT", L"C:\\a.t\u00E8t"));  // only a to z are upper-cased
}

TEST(pathHelpers, reversedForDisplay) {
  EXPECT_EQ(reversePathForDisplay(L"C:\\a\\b.x"), L"b.x\\a\\C:");
  EXPECT_EQ(reversePathForDisplay(L"C:\\dir\\"), L"\\dir\\C:");
  EXPECT_EQ(reversePathForDisplay(L"rom.sfc"), L"rom.sfc");
  EXPECT_EQ(reversePathForDisplay(L""), L"");
}

TEST(pathHelpers, blanksAndDecimals) {
  std::wstring text = L"  \tvalue ";
  trimLeadingBlanks(text);
  EXPECT_EQ(text, L"\tvalue ");
  text = L"   ";
  trimLeadingBlanks(text);
  EXPECT_EQ(text, L"");

  assignDecimal(text, 2, 1);
  EXPECT_EQ(text, L"3");
  assignDecimal(text, 0xFFFFFFFFu, 0);
  EXPECT_EQ(text, L"-1");
}

TEST(pathHelpers, parseDecimalSubtractsTheOffsetFromNonZeroNumbers) {
  EXPECT_EQ(parseDecimal(L"3", 1), 2);
  EXPECT_EQ(parseDecimal(L"0", 1), 0);
  EXPECT_EQ(parseDecimal(L"on", 1), 0);
  EXPECT_EQ(parseDecimal(L"  -7x", 0), -7);
  EXPECT_EQ(parseDecimal(L"+12 ", 2), 10);
}

TEST(pathHelpers, parseDecimalHoldsHugeNumbersInTheIntRange) {
  EXPECT_EQ(parseDecimal(L"4294967298", 0), INT_MAX);
  EXPECT_EQ(parseDecimal(L"99999999999999999999999", 1), INT_MAX);
  EXPECT_EQ(parseDecimal(L"-2147483648", 1), INT_MIN);
  EXPECT_EQ(parseDecimal(L"-99999999999999999999999", 0), INT_MIN);
}
