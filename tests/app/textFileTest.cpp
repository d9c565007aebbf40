#include <gtest/gtest.h>
#include <windows.h>

#include "errors.h"
#include "testFiles.h"
#include "textFile.h"

namespace {

using namespace std::literals;
using lineList = std::vector<std::wstring>;

const std::wstring label = L"\\Config\\test.ini";

bytes markedText(std::u16string_view text) {
  bytes out = {0xFF, 0xFE};
  putUtf16Le(out, text);
  return out;
}

class textFileTest : public ::testing::Test {
 protected:
  scratchDir dir;
  std::wstring path = (dir.path() / "list.txt").wstring();

  void writeBytes(const bytes& data) { writeFileBytes(path, data); }

  lineList readLines(size_t lineLimit = textLineLimit) {
    lineList lines;
    readTextLines(sharedTextFile, lines, path, label, lineLimit);
    return lines;
  }
  lineList readBytes(const bytes& data) {
    writeBytes(data);
    return readLines();
  }
  // The message that reading raises, empty when it reads.
  std::wstring readError() {
    try {
      readLines();
    } catch (errorBase* error) {
      return error->message;
    }
    return L"";
  }
  // A file of the given size that begins with the mark, made without writing the rest.
  void makeSparseFile(uint64_t size) {
    writeBytes({0xFF, 0xFE});
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    ASSERT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file));
    CloseHandle(file);
  }
};

TEST_F(textFileTest, writesMarkUnitsAndBreaksOnlyBetweenLines) {
  writeTextLines(sharedTextFile, {L"ab", L"", L"\u00e9\U0001F600"}, path, label);
  bytes expected = markedText(u"ab\r\n\r\n\u00e9\U0001F600");
  EXPECT_EQ(readFileBytes(path), expected);

  writeTextBuffer(sharedTextFile, {{L"Deutsch", L"de.lng"}, {L"Polski", L"pl.lng"}}, path, label);
  EXPECT_EQ(readFileBytes(path), markedText(u"Deutsch\r\nde.lng\r\nPolski\r\npl.lng"));
}

TEST_F(textFileTest, nothingToWriteGivesOnlyTheMarkWhichReadsAsTooSmall) {
  writeTextLines(sharedTextFile, {}, path, label);
  EXPECT_EQ(readFileBytes(path), (bytes{0xFF, 0xFE}));
  EXPECT_EQ(readError(), L"File size is too small\n" + label);

  writeTextBuffer(sharedTextFile, {}, path, label);
  EXPECT_EQ(readFileBytes(path), (bytes{0xFF, 0xFE}));
}

TEST_F(textFileTest, writingReplacesALongerFile) {
  writeBytes(markedText(u"a much longer earlier content"));
  writeTextLines(sharedTextFile, {L"x"}, path, label);
  EXPECT_EQ(readFileBytes(path), markedText(u"x"));
}

TEST_F(textFileTest, lineBreaksAndEmptyLines) {
  EXPECT_EQ(readBytes(markedText(u"a\r\nb\r\n")), (lineList{L"a", L"b", L""}));
  EXPECT_EQ(readBytes(markedText(u"a\r\n\r\n\r\nb")), (lineList{L"a", L"b"}));
  EXPECT_EQ(readBytes(markedText(u"\r\n\r\n")), (lineList{L""}));
  // A lone LF is part of the line; the unit after a CR goes whatever it is.
  EXPECT_EQ(readBytes(markedText(u"a\nb")), (lineList{L"a\nb"}));
  EXPECT_EQ(readBytes(markedText(u"ab\rcd\rxy")), (lineList{L"ab", L"d", L"y"}));
  EXPECT_EQ(readBytes(markedText(u"ab\r")), (lineList{L"ab", L""}));
}

TEST_F(textFileTest, aNulUnitEndsTheText) {
  EXPECT_EQ(readBytes(markedText(u"one\r\ntw\0o\r\nthree"sv)), (lineList{L"one", L"tw"}));
}

TEST_F(textFileTest, linesEndedByCrAreCutButTheLastIsKeptWhole) {
  const std::u16string longLine(150, u'x');
  EXPECT_EQ(readBytes(markedText(longLine + u"\r\nend")),
            (lineList{std::wstring(100, L'x'), L"end"}));
  EXPECT_EQ(readBytes(markedText(u"start\r\n" + longLine)),
            (lineList{L"start", std::wstring(150, L'x')}));
  writeBytes(markedText(longLine + u"\r\nend"));
  EXPECT_EQ(readLines(1000), (lineList{std::wstring(150, L'x'), L"end"}));
}

TEST_F(textFileTest, atMostAHundredLinesAreTaken) {
  std::u16string text;
  for (int i = 0; i < 120; ++i) text += u"line\r\n";
  const lineList lines = readBytes(markedText(text));
  EXPECT_EQ(lines.size(), 100u);
  EXPECT_EQ(lines.back(), L"line");

  // Empty lines are not counted, and the text after the hundredth line goes with no error.
  text = u"\r\n\r\n";
  for (int i = 0; i < 100; ++i) text += u"n\r\n";
  text += u"tail";
  EXPECT_EQ(readBytes(markedText(text)), lineList(100, L"n"));
}

TEST_F(textFileTest, oddSizesEndWithAUnitOfTheLastByte) {
  EXPECT_EQ(readBytes({0xFF, 0xFE, 0x41}), (lineList{L"A"}));
  EXPECT_EQ(readBytes({0xFF, 0xFE, 0x0D}), (lineList{L""}));
  EXPECT_EQ(readBytes({0xFF, 0xFE, 0x61, 0x00, 0x0D, 0x00, 0x0A, 0x00, 0x62}),
            (lineList{L"a", L"b"}));
  EXPECT_EQ(readBytes({0xFF, 0xFE, 0x61, 0x04, 0xE9}), (lineList{L"\u0461\u00e9"}));
}

TEST_F(textFileTest, readingAppendsToTheList) {
  writeBytes(markedText(u"new"));
  lineList lines = {L"old"};
  readTextLines(sharedTextFile, lines, path, label);
  EXPECT_EQ(lines, (lineList{L"old", L"new"}));
}

TEST_F(textFileTest, filesWithoutTheLittleEndianMarkAreRefused) {
  writeBytes({'a', 0, 'b', 0});
  EXPECT_EQ(readError(), L"File uses non-unicode format\n" + label);
  writeBytes({0xFE, 0xFF, 0, 'a'});
  EXPECT_EQ(readError(), L"File uses non-unicode format\n" + label);
  writeBytes({'a', 'b'});
  EXPECT_EQ(readError(), L"File size is too small\n" + label);
  // The refused file is closed again: it can be replaced at once.
  writeTextLines(sharedTextFile, {L"ok"}, path, label);
  EXPECT_EQ(readLines(), (lineList{L"ok"}));
  EXPECT_EQ(sharedTextFile.handle, nullptr);
}

TEST_F(textFileTest, missingFilesAndFoldersRaiseWithTheLabel) {
  EXPECT_EQ(readError(), L"Can't open file\n" + label);
  const std::wstring inMissingFolder = (dir.path() / "none" / "list.txt").wstring();
  try {
    writeTextLines(sharedTextFile, {L"x"}, inMissingFolder, label);
    ADD_FAILURE() << "no error";
  } catch (errorBase* error) {
    EXPECT_EQ(error->message, L"Can't create file\n" + label);
  }
}

TEST_F(textFileTest, sizeLimitsCountAllSixtyFourBits) {
  makeSparseFile(largestTextFile);
  EXPECT_EQ(readLines(), (lineList{L""}));
  EXPECT_EQ(sharedTextFile.size, largestTextFile);
  makeSparseFile(largestTextFile + 1);
  EXPECT_EQ(readError(), L"File size, out of limit\n" + label);
  // Its low 32 bits alone would make it a small file.
  makeSparseFile((uint64_t{1} << 32) + 3);
  EXPECT_EQ(readError(), L"File size, out of limit\n" + label);
}

}  // namespace
