#include "languageText.h"

#include <gtest/gtest.h>

#include <optional>

#include "errors.h"
#include "languageFiles.h"
#include "languageManager.h"
#include "textFile.h"

namespace {

using lineList = std::vector<std::wstring>;

class languageFileTest : public ::testing::Test {
 protected:
  scratchDir dir;
  std::wstring path = (dir.path() / "test.lng").wstring();
  languageManager manager;

  // The message with which loading the file is refused, empty when it loads.
  std::wstring loadError() {
    try {
      manager.loadLanguage(path, languageVersionText);
    } catch (errorBase* error) {
      EXPECT_TRUE(manager.lines.empty());
      return error->message;
    }
    EXPECT_EQ(manager.lines.size(), languageLineCount);
    return L"";
  }
};

// 178 table lines and the name, the first line being first.
std::wstring linesText(const std::wstring& first, const std::wstring& name) {
  std::wstring text = first + L"\r\n";
  for (size_t n = 1; n < languageTextLineCount; ++n) text += L"t" + std::to_wstring(n) + L"\r\n";
  return text + name;
}

}  // namespace

TEST_F(languageFileTest, everyRefusalHasItsText) {
  const std::wstring padded = languageText(L"Name");
  const std::wstring fewLines = padded.substr(0, padded.find(L"T177\r\n"));
  bytes bigEndian(500, 0x20);
  bigEndian[0] = 0xFE;
  bigEndian[1] = 0xFF;
  struct refusal {
    const char* what;
    std::optional<bytes> file;  // none: no file at all
    const wchar_t* message;
  };
  const refusal refusals[] = {
      {"missing", std::nullopt, L"Can't open language file"},
      {"empty", bytes{}, L"Empty language file"},
      {"499 bytes", bytes(499, 0x20), L"Language file size is too small"},
      {"no mark", bytes(500, 0x20), L"Language file uses non-unicode format"},
      {"big-endian mark", bigEndian, L"Language file uses non-unicode format"},
      {"no line break", markedWide(std::wstring(300, L'v')),
       L"Can't get the language file version"},
      {"starts with CR", markedWide(L"\r\n" + padded), L"Can't get the language file version"},
      {"trailing blank", markedWide(L"v1.1 " + padded.substr(4)),
       L"The language file version is not equal program version"},
      {"upper case", markedWide(L"V1.1" + padded.substr(4)),
       L"The language file version is not equal program version"},
      {"178 lines", markedWide(fewLines), L"The language strings sum is not enough"},
      {"178 lines and empty ones", markedWide(fewLines + L"\r\n\r\n\r\n"),
       L"The language strings sum is not enough"},
      {"179 lines", markedWide(padded), L""},
  };
  for (const refusal& each : refusals) {
    std::filesystem::remove(path);
    if (each.file) writeFileBytes(path, *each.file);
    EXPECT_EQ(loadError(), each.message) << each.what;
  }

  writeFileBytes(path, {0xFF, 0xFE});
  setFileLength(path, largestTextFile + 1);
  EXPECT_EQ(loadError(), L"Language file size, out of limit");
  setFileLength(path, largestTextFile);
  EXPECT_EQ(loadError(), L"Can't get the language file version");
}

TEST(languageFileLines, emptyLinesSkippedLinesCutTheLastWhole) {
  const std::wstring wide(150, L'w');
  const std::wstring cut(100, L'w');
  struct split {
    const char* what;
    std::wstring text;
    std::wstring first;
    std::wstring name;
  };
  const split splits[] = {
      {"plain", linesText(L"t0", L"Name"), L"t0", L"Name"},
      {"empty lines", L"\r\n\r\n" + linesText(L"t0\r\n\r\n", L"Name"), L"t0", L"Name"},
      {"long first and last", linesText(wide, wide), cut, wide},
      {"a break after the name", linesText(L"t0", L"Name\r\n"), L"t0", L"Name"},
      {"more lines", linesText(L"t0", L"Name\r\nmore\r\nlines"), L"t0", L"Name"},
      {"long name with break", linesText(L"t0", wide + L"\r\n"), L"t0", cut},
      {"empty name", linesText(L"t0", L""), L"t0", L""},
      // A lone CR closes the name line; nothing is read behind it.
      {"lone CR", linesText(L"t0", L"Name\r"), L"t0", L"Name"},
  };
  for (const split& each : splits) {
    const lineList lines = splitLanguageLines(each.text);
    ASSERT_EQ(lines.size(), languageLineCount) << each.what;
    EXPECT_EQ(lines.front(), each.first) << each.what;
    EXPECT_EQ(lines[177], L"t177") << each.what;
    EXPECT_EQ(lines.back(), each.name) << each.what;
  }
  // The 178th line ending in a lone CR leaves an empty name.
  const std::wstring lastLineCr = linesText(L"t0", L"");
  EXPECT_EQ(splitLanguageLines(lastLineCr.substr(0, lastLineCr.size() - 1)).back(), L"");
}

TEST(languageFileLines, aScanTakesTheTextBehindTheLastBreakAsName) {
  const std::wstring wide(150, L'w');
  EXPECT_EQ(scannedDisplayName(L"v1.1\r\nx\r\nName"), L"Name");
  EXPECT_EQ(scannedDisplayName(L"v1.1\r\nx\r\n" + wide), std::wstring(100, L'w'));
  EXPECT_EQ(scannedDisplayName(L"v1.1\r\nName\r\n"), L"");
  EXPECT_THROW(scannedDisplayName(L"v1.1\r\nName\r"), danglingLineBreak);
  EXPECT_THROW(scannedDisplayName(L"v1.1\r"), danglingLineBreak);
}
