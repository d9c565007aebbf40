#include <gtest/gtest.h>

#include "base64.h"
#include "foreignInfo.h"
#include "testFiles.h"

namespace {

// A fixed-size text field: the text, then zeros up to its size.
void putField(bytes& out, const std::string& text, size_t size) {
  bytes field(size, 0);
  std::copy(text.begin(), text.begin() + std::min(text.size(), size), field.begin());
  out.insert(out.end(), field.begin(), field.end());
}

class foreignInfo : public ::testing::Test {
 protected:
  std::string write(const bytes& data) {
    const std::string path = dir.file("patch" + std::to_string(count++));
    writeFileBytes(path, data);
    return path;
  }
  // Every reader must leave the stream closed and reusable, whatever the file held.
  void TearDown() override { EXPECT_FALSE(stream.is_open()); }

  scratchDir dir;
  std::ifstream stream;
  std::string text;
  int count = 0;
};

bytes apsHeader(uint8_t type, uint8_t encoding, const std::string& description) {
  bytes out;
  putText(out, "APS10");
  out.push_back(type);
  out.push_back(encoding);
  putField(out, description, 50);
  putLe(out, 0x12345678, 4);  // the original's size and what follows are not read
  return out;
}

bytes ppfHeader(char version, const std::string& description, uint8_t undo) {
  bytes out;
  putText(out, std::string("PPF") + version + "0");
  out.push_back(uint8_t(version - '1'));
  putField(out, description, 50);
  out.resize(56 + 4, 0);  // image type / size field
  if (version == '3') {
    out[56] = 0;     // image type
    out[57] = 0;     // block check
    out[58] = undo;  // undo data
    out[59] = 0;
  }
  putText(out, std::string(40, 'D'));  // patch data
  return out;
}

// Appends a FILE_ID.DIZ in the form of the given PPF version.
void putDiz(bytes& out, char version, const std::string& diz, uint32_t storedLength) {
  putText(out, "@BEGIN_FILE_ID.DIZ");
  putText(out, diz);
  putText(out, "@END_FILE_ID.DIZ");
  putLe(out, storedLength, version == '2' ? 4 : 2);
}

struct rupFields {
  std::string author = "Ann", version = "1.2", title = "Quest", genre = "RPG", language = "English",
              date = "20260131", website = "http://x.example", description = "Line one\\nLine two";
};

bytes rupHeader(const rupFields& f) {
  bytes out;
  putText(out, "NINJA2");
  out.push_back(1);  // encoding, not read
  putField(out, f.author, 84);
  putField(out, f.version, 11);
  putField(out, f.title, 256);
  putField(out, f.genre, 48);
  putField(out, f.language, 48);
  putField(out, f.date, 8);
  putField(out, f.website, 512);
  putField(out, f.description, 1074);
  return out;
}

std::string base64(const std::string& text) {
  std::string out((text.size() + 2) / 3 * 4 + 1, '\0');
  out.resize(base64Encode(reinterpret_cast<const uint8_t*>(text.data()), uint32_t(text.size()), out.data()));
  return out;
}

void putVcdiffInteger(bytes& out, uint64_t value) {
  bytes groups;
  do {
    groups.insert(groups.begin(), uint8_t(value & 0x7F));
    value >>= 7;
  } while (value);
  for (size_t i = 0; i + 1 < groups.size(); ++i) groups[i] |= 0x80;
  out.insert(out.end(), groups.begin(), groups.end());
}

bytes vcdiffWithHeader(const std::string& applicationHeader, uint8_t indicator = 4) {
  bytes out = {0xD6, 0xC3, 0xC4, 0x00, indicator};
  if (indicator & 1) out.push_back(2);  // secondary compressor id
  if (indicator & 2) {
    putVcdiffInteger(out, 3);
    putText(out, "abc");
  }
  if (indicator & 4) {
    putVcdiffInteger(out, applicationHeader.size());
    putText(out, applicationHeader);
  }
  putText(out, "window data");
  return out;
}

}  // namespace

TEST_F(foreignInfo, apsShowsTypeEncodingAndDescription) {
  ASSERT_TRUE(readApsInfo(stream, write(apsHeader(0, 0, "My hack")), text));
  EXPECT_EQ(text, "APS patch type: standard\r\nInfo: My hack");

  ASSERT_TRUE(readApsInfo(stream, write(apsHeader(1, 1, "N64 hack")), text));
  EXPECT_EQ(text, "APS patch type: N64\r\nCompression type: unknown\r\nInfo: N64 hack");

  ASSERT_TRUE(readApsInfo(stream, write(apsHeader(0, 0, " \t\r\n\v\f ")), text));
  EXPECT_EQ(text, "APS patch type: standard\r\nInfo: not available");

  // A description that fills its 50 bytes has no NUL; nothing beyond it is shown.
  ASSERT_TRUE(readApsInfo(stream, write(apsHeader(0, 0, std::string(50, 'x'))), text));
  EXPECT_EQ(text, "APS patch type: standard\r\nInfo: " + std::string(50, 'x'));

  // Bytes of 128 and above are text, not blanks.
  ASSERT_TRUE(readApsInfo(stream, write(apsHeader(0, 0, "\xC3\xA9")), text));
  EXPECT_EQ(text, "APS patch type: standard\r\nInfo: \xC3\xA9");
}

TEST_F(foreignInfo, apsRefusesOtherTypesMagicsAndShortFiles) {
  EXPECT_FALSE(readApsInfo(stream, write(apsHeader(2, 0, "x")), text));
  bytes wrongMagic = apsHeader(0, 0, "x");
  wrongMagic[4] = '1';
  EXPECT_FALSE(readApsInfo(stream, write(wrongMagic), text));
  bytes cut = apsHeader(0, 0, "x");
  cut.resize(56);
  EXPECT_FALSE(readApsInfo(stream, write(cut), text));
  EXPECT_FALSE(readApsInfo(stream, write({'A', 'P'}), text));
  EXPECT_FALSE(readApsInfo(stream, write({}), text));
  EXPECT_FALSE(readApsInfo(stream, dir.file("missing.aps"), text));
  // The stream serves the next reader after a failure.
  EXPECT_TRUE(readApsInfo(stream, write(apsHeader(0, 0, "x")), text));
}

TEST_F(foreignInfo, ppfVersionsAndUndo) {
  bool undo = true;
  uint8_t fixedFont = 0;
  ASSERT_TRUE(readPpfInfo(stream, write(ppfHeader('1', "ignored", 0)), text, undo, fixedFont));
  EXPECT_EQ(text, "Patch type: PPF 1.0\r\n");
  EXPECT_FALSE(undo);

  ASSERT_TRUE(readPpfInfo(stream, write(ppfHeader('2', "Two", 0)), text, undo, fixedFont));
  EXPECT_EQ(text, "Patch type: PPF 2.0\r\nInfo: Two\r\nDescription: not available\r\n");
  EXPECT_FALSE(undo);

  ASSERT_TRUE(readPpfInfo(stream, write(ppfHeader('3', "Three", 1)), text, undo, fixedFont));
  EXPECT_EQ(text,
            "Patch type: PPF 3.0\r\nUndo operation: available\r\nInfo: Three\r\n"
            "Description: not available\r\n");
  EXPECT_TRUE(undo);

  ASSERT_TRUE(readPpfInfo(stream, write(ppfHeader('3', "", 0)), text, undo, fixedFont));
  EXPECT_EQ(text,
            "Patch type: PPF 3.0\r\nUndo operation: not available\r\nInfo: not available\r\n"
            "Description: not available\r\n");
  EXPECT_FALSE(undo);
  EXPECT_EQ(fixedFont, 0);
}

TEST_F(foreignInfo, ppfShowsFileIdDizInFixedFont) {
  bool undo = false;
  uint8_t fixedFont = 0;
  bytes three = ppfHeader('3', "Three", 1);
  putDiz(three, '3', std::string("DIZ text\0rest", 13), 13);
  ASSERT_TRUE(readPpfInfo(stream, write(three), text, undo, fixedFont));
  EXPECT_EQ(text, "Patch type: PPF 3.0\r\nUndo operation: available\r\nInfo: Three\r\n\r\nDIZ text");
  EXPECT_EQ(fixedFont, 1);

  // Of a long text only its last 3072 bytes are shown.
  std::string longDiz;
  for (int i = 0; i < 5000; ++i) longDiz += char('a' + i % 26);
  bytes two = ppfHeader('2', "Two", 0);
  putDiz(two, '2', longDiz, 5000);
  ASSERT_TRUE(readPpfInfo(stream, write(two), text, undo, fixedFont));
  EXPECT_EQ(text, "Patch type: PPF 2.0\r\nInfo: Two\r\n\r\n" + longDiz.substr(5000 - 3072));
}

TEST_F(foreignInfo, ppfDamagedFilesGiveNoInformation) {
  bool undo = true;
  uint8_t fixedFont = 0;
  EXPECT_FALSE(readPpfInfo(stream, write({'P', 'P', 'F'}), text, undo, fixedFont));
  EXPECT_FALSE(readPpfInfo(stream, write(ppfHeader('4', "x", 0)), text, undo, fixedFont));
  bytes cut = ppfHeader('3', "x", 1);
  cut.resize(50);  // ends before the undo flag
  EXPECT_FALSE(readPpfInfo(stream, write(cut), text, undo, fixedFont));
  EXPECT_FALSE(undo);
  cut = ppfHeader('2', "x", 0);
  cut.resize(30);  // ends inside the description
  EXPECT_FALSE(readPpfInfo(stream, write(cut), text, undo, fixedFont));

  // A DIZ length that reaches before the start of the file.
  bytes bad = ppfHeader('2', "x", 0);
  putDiz(bad, '2', "short", 3000);
  EXPECT_FALSE(readPpfInfo(stream, write(bad), text, undo, fixedFont));
  EXPECT_EQ(fixedFont, 0);
}

TEST_F(foreignInfo, rupShowsEveryFilledField) {
  ASSERT_TRUE(readRupInfo(stream, write(rupHeader({})), text));
  EXPECT_EQ(text,
            "RUP patch info: \r\nAuthor: Ann\r\nVersion: 1.2\r\nGame: Quest\r\nGenre: RPG\r\n"
            "Language: English\r\nRelease date: 2026.01.31 [YYYY.MM.DD]\r\nWebsite: http://x.example\r\n"
            "\r\nDescription: \r\nLine one\r\nLine two");

  rupFields sparse;
  sparse = {"", "", "", "", "", "2026013", "", ""};
  ASSERT_TRUE(readRupInfo(stream, write(rupHeader(sparse)), text));
  EXPECT_EQ(text, "RUP patch info: \r\nRelease date: 2026013 [????????]\r\n");

  ASSERT_TRUE(readRupInfo(stream, write(rupHeader({"", "", "", "", "", "", "", ""})), text));
  EXPECT_EQ(text, "RUP patch info: \r\n");

  // Full fields without NUL stop at their own end, not in the next field.
  rupFields full;
  full = {"", std::string(11, 'v'), "", std::string(48, 'g'), "", "", "", ""};
  ASSERT_TRUE(readRupInfo(stream, write(rupHeader(full)), text));
  EXPECT_EQ(text, "RUP patch info: \r\nVersion: " + std::string(11, 'v') + "\r\nGenre: " + std::string(48, 'g') + "\r\n");
}

TEST_F(foreignInfo, rupRefusesShortAndForeignFiles) {
  bytes header = rupHeader({});
  header.resize(2047);
  EXPECT_FALSE(readRupInfo(stream, write(header), text));
  header = rupHeader({});
  header[5] = '1';
  EXPECT_FALSE(readRupInfo(stream, write(header), text));
  EXPECT_FALSE(readRupInfo(stream, write({'N', 'I'}), text));
}

TEST_F(foreignInfo, xdeltaDescriptionGetsCrLfLineEnds) {
  std::wstring wide;
  ASSERT_TRUE(readXdeltaInfo(stream, write(vcdiffWithHeader("^*" + base64("System: NES\nGame: G"))), wide));
  EXPECT_EQ(wide, L"System: NES\r\nGame: G");

  ASSERT_TRUE(readXdeltaInfo(stream, write(vcdiffWithHeader("^*" + base64("a\r\nb\rc\nd\n"))), wide));
  EXPECT_EQ(wide, L"a\r\nb\r\nc\r\nd\r\n");

  // A secondary compressor and a code table come before the application header.
  ASSERT_TRUE(readXdeltaInfo(stream, write(vcdiffWithHeader("^*" + base64("Caf\xC3\xA9"), 7)), wide));
  EXPECT_EQ(wide, L"Caf\u00e9");

  ASSERT_TRUE(readXdeltaInfo(stream, write(vcdiffWithHeader("^*" + base64(std::string("ab\0cd", 5)))), wide));
  EXPECT_EQ(wide, L"ab");
  ASSERT_TRUE(readXdeltaInfo(stream, write(vcdiffWithHeader("^*" + base64(std::string("\0x", 2)))), wide));
  EXPECT_EQ(wide, L"Error");  // what an empty conversion gives

  // A long header needs a VCDIFF integer of several bytes.
  const std::string longText(4000, 'L');
  ASSERT_TRUE(readXdeltaInfo(stream, write(vcdiffWithHeader("^*" + base64(longText))), wide));
  EXPECT_EQ(wide, std::wstring(4000, L'L'));
}

TEST_F(foreignInfo, xdeltaWithoutDescriptionGivesNoInformation) {
  std::wstring wide;
  EXPECT_FALSE(readXdeltaInfo(stream, write(vcdiffWithHeader("", 0)), wide));
  EXPECT_FALSE(readXdeltaInfo(stream, write(vcdiffWithHeader("xdelta3 header", 4)), wide));
  EXPECT_FALSE(readXdeltaInfo(stream, write(vcdiffWithHeader("^", 4)), wide));
  EXPECT_FALSE(readXdeltaInfo(stream, write(vcdiffWithHeader("^*", 4)), wide));
  EXPECT_FALSE(readXdeltaInfo(stream, write(vcdiffWithHeader("^*QUJ", 4)), wide));    // not a multiple of 4
  EXPECT_FALSE(readXdeltaInfo(stream, write(vcdiffWithHeader("^*QU\nJD", 4)), wide));  // line break
  EXPECT_FALSE(readXdeltaInfo(stream, write(vcdiffWithHeader("^*====", 4)), wide));   // decodes to nothing
  bytes version1 = vcdiffWithHeader("^*" + base64("x"));
  version1[3] = 1;
  EXPECT_FALSE(readXdeltaInfo(stream, write(version1), wide));
  bytes magic = vcdiffWithHeader("^*" + base64("x"));
  magic[0] = 0xD5;
  EXPECT_FALSE(readXdeltaInfo(stream, write(magic), wide));
}

TEST_F(foreignInfo, xdeltaDamagedHeadersAreBounded) {
  std::wstring wide;
  // The file ends inside the header indicator, the code table length, or the header length.
  EXPECT_FALSE(readXdeltaInfo(stream, write({0xD6, 0xC3, 0xC4, 0x00}), wide));
  EXPECT_FALSE(readXdeltaInfo(stream, write({0xD6, 0xC3, 0xC4, 0x00, 0x06, 0x85}), wide));
  EXPECT_FALSE(readXdeltaInfo(stream, write({0xD6, 0xC3, 0xC4, 0x00, 0x04, 0x81, 0x80}), wide));
  // A code table longer than the file.
  EXPECT_FALSE(readXdeltaInfo(stream, write({0xD6, 0xC3, 0xC4, 0x00, 0x06, 0x7F, 0x01}), wide));
  // Integers beyond 32 bits, and ones with endless continuation bytes.
  EXPECT_FALSE(readXdeltaInfo(stream, write({0xD6, 0xC3, 0xC4, 0x00, 0x04, 0x9F, 0xFF, 0xFF, 0xFF, 0x7F, '^', '*'}), wide));
  EXPECT_FALSE(readXdeltaInfo(stream, write({0xD6, 0xC3, 0xC4, 0x00, 0x04, 0x80, 0x80, 0x80, 0x80, 0x80, 0x01}), wide));

  // A header length far beyond the end of the file: the missing bytes count as zeros, which
  // end the Base64 text unless a "=" came first. Nothing of the claimed size is held.
  bytes huge = {0xD6, 0xC3, 0xC4, 0x00, 0x04};
  putVcdiffInteger(huge, 0xFFFFFFF2);  // leaves a Base64 length that is a multiple of 4
  putText(huge, "^*" + base64("ok"));  // "b2s=" ends with its padding
  ASSERT_TRUE(readXdeltaInfo(stream, write(huge), wide));
  EXPECT_EQ(wide, L"ok");
  huge.resize(huge.size() - 4);
  putText(huge, "b2tr");  // three full bytes, then only zeros
  EXPECT_FALSE(readXdeltaInfo(stream, write(huge), wide));
}

// Patches made by Debian's xdelta3 with an application header, as module 3 writes them.
TEST_F(foreignInfo, xdeltaOfTheRealEncoder) {
  const std::wstring expected =
      L"System: NES\r\nGame: Quest\r\nCreation Date: 08.12.2026 [DD.MM.YYYY]\r\n"
      L"MD5: 0123456789abcdef0123456789abcdef";
  std::wstring wide;
  ASSERT_TRUE(readXdeltaInfo(stream, XDELTA_SAMPLES "/described.xdelta", wide));
  EXPECT_EQ(wide, expected);
  ASSERT_TRUE(readXdeltaInfo(stream, XDELTA_SAMPLES "/secondary.xdelta", wide));
  EXPECT_EQ(wide, expected);
  EXPECT_FALSE(readXdeltaInfo(stream, XDELTA_SAMPLES "/plain.xdelta", wide));  // file names only
}
