// Patches written byte by byte from the format's tables: they apply as the tables say, the
// header reader refuses what it must with its texts, and the writer produces exactly such bytes.
#include <filesystem>

#include "morloTestHelpers.h"

namespace {

namespace fs = std::filesystem;

struct appliedFiles {
  scratchDir dir;
  std::string patch = dir.file("p.ml"), game = dir.file("game.bin");
  appliedFiles(const bytes& patchBytes, const bytes& original) {
    writeFileBytes(patch, patchBytes);
    writeFileBytes(game, original);
  }
};

// The text raised when a patch is chosen on the Apply page; the information shown otherwise.
struct shown {
  raised result;
  std::wstring info;
};

shown choosePatch(const bytes& patchBytes) {
  scratchDir dir;
  const std::string path = dir.file("p.ml");
  writeFileBytes(path, patchBytes);
  morloRun run;
  run.paths.applyPatchPath = widePath(path);
  patchJob job;
  shown out;
  out.result = raisedBy([&] { run.patcher.patchChosen(job, run.paths, run.settings, run.handles); });
  out.info = run.patcher.engine().infoText();
  return out;
}

std::wstring wideHex(const bytes& digest) {
  std::wstring text;
  for (uint8_t b : digest) {
    wchar_t two[3];
    swprintf(two, 3, L"%02x", b);
    text += two;
  }
  return text;
}

}  // namespace

TEST(morloHandBuilt, everyRecordKindApplies) {
  const bytes original = randomBytes(1000, 11);
  bytes expected = original;
  bytes patch = patchHead(0x01, 7, original);  // offset width code 1: 2-byte gaps
  add(patch, {5, 2, 0xAA, 0xBB});              // gap code 5
  expected[5] = 0xAA, expected[6] = 0xBB;
  add(patch, {255, 0, 4, 0xCC});               // adjacent fill of 4
  std::fill(expected.begin() + 7, expected.begin() + 11, 0xCC);
  add(patch, {0, 1, 0x2C, 0x01, 0xDD});        // explicit gap 300
  expected[311] = 0xDD;
  add(patch, {10, 0, 1, 0xEE});                // fill of 1
  expected[322] = 0xEE;
  add(patch, {1, 0, 0, 0x77});                 // fill of 0 writes nothing; p = 324
  add(patch, {0, 3, 0xA1, 0x02, 1, 2, 3});     // gap 673: ends exactly at the end of the file
  expected[997] = 1, expected[998] = 2, expected[999] = 3;
  add(patch, {255, 0, 0, 0});                  // an empty fill at the very end
  appliedFiles files(patch, original);
  morloRun run;
  const raised result = run.apply(files.patch, files.game);
  ASSERT_EQ(result.text, L"");
  EXPECT_EQ(readFileBytes(files.game), expected);
}

TEST(morloHandBuilt, gapCodeZeroWithoutWidthAndWideFields) {
  const bytes original = randomBytes(100, 12);
  bytes expected = original;
  bytes patch = patchHead(0x00, 2, original);
  add(patch, {3, 1, 0x11, 0, 1, 0x22});  // no width: gap code 0 reads no gap, start = p
  expected[3] = 0x11, expected[4] = 0x22;
  appliedFiles narrow(patch, original);
  morloRun run;
  ASSERT_EQ(run.apply(narrow.patch, narrow.game).text, L"");
  EXPECT_EQ(readFileBytes(narrow.game), expected);

  // 8-byte count and size fields, 8-byte gap, version 255, size mode 2 cut.
  bytes wide = patchHead(0x08 | 0x20 | 0x07, 1, original, {"a", "b", "c"}, 255);
  putLe(wide, 60, 8);
  add(wide, {0, 2, 50, 0, 0, 0, 0, 0, 0, 0, 0x33, 0x44});
  bytes cut(original.begin(), original.begin() + 60);
  cut[50] = 0x33, cut[51] = 0x44;
  appliedFiles wideFiles(wide, original);
  ASSERT_EQ(run.apply(wideFiles.patch, wideFiles.game).text, L"");
  EXPECT_EQ(readFileBytes(wideFiles.game), cut);
}

TEST(morloHandBuilt, tailAndSizeModeThree) {
  const bytes original = randomBytes(50, 13);
  bytes patch = patchHead(0x10, 1, original);
  putLe(patch, 50, 4);  // tail offset
  putLe(patch, 3, 4);   // tail length
  add(patch, {255, 1, 0x99, 7, 8, 9});
  bytes expected = original;
  expected[0] = 0x99;
  add(expected, {7, 8, 9});
  appliedFiles files(patch, original);
  morloRun run;
  ASSERT_EQ(run.apply(files.patch, files.game).text, L"");
  EXPECT_EQ(readFileBytes(files.game), expected);

  // Size mode 3 is never written and reads like mode 0: no size fields.
  bytes three = patchHead(0x30, 1, original);
  add(three, {255, 1, 0x55});
  bytes same = original;
  same[0] = 0x55;
  appliedFiles threeFiles(three, original);
  ASSERT_EQ(run.apply(threeFiles.patch, threeFiles.game).text, L"");
  EXPECT_EQ(readFileBytes(threeFiles.game), same);
}

TEST(morloHandBuilt, headerRefusals) {
  const bytes original = randomBytes(64, 14);
  auto refusal = [&](const bytes& patch) { return choosePatch(patch).result.text; };
  bytes good = patchHead(0, 0, original);
  EXPECT_EQ(refusal(good), L"");

  bytes magic = good;
  magic[1] = 'X';
  EXPECT_EQ(refusal(magic), L"Unknown patch format");
  for (uint8_t version : {0, 3}) {
    bytes old = good;
    old[2] = version;
    EXPECT_EQ(refusal(old), L"This patcher version does not support old patch specifications");
  }
  bytes advanced = good;
  advanced[3] = 0x80;
  EXPECT_EQ(refusal(advanced), L"This patcher version does not support advanced features");
  EXPECT_EQ(refusal({}), L"Empty patch file");
  EXPECT_EQ(refusal(bytes(good.begin(), good.begin() + 34)), L"Patch file is too short");

  // 27 header bytes and two lines: the second ends at the end of the file, the third is missing.
  bytes twoLines = patchHead(0, 0, original, {"bin"});
  putText(twoLines, "game");
  ASSERT_EQ(twoLines.size(), 35u);
  EXPECT_EQ(refusal(twoLines), L"Can't read patch info parameter");
  bytes lastOpen = patchHead(0, 0, original, {"a", "b"});
  putText(lastOpen, "cccc");
  EXPECT_EQ(refusal(lastOpen), L"");

  morloRun run;
  patchJob missing{"Z:\\no\\such\\folder\\p.ml", "", ""};
  EXPECT_EQ(raisedBy([&] { run.patcher.engine().readPatchInfo(missing); }).text, L"Load patch file error");

  scratchDir dir;
  const std::string huge = dir.file("huge.ml");
  writeFileBytes(huge, good);
  setFileLength(fs::path(std::u8string(huge.begin(), huge.end())), maxFileSize + 1);  // sparse
  patchJob tooLarge{huge, "", ""};
  EXPECT_EQ(raisedBy([&] { run.patcher.engine().readPatchInfo(tooLarge); }).text, L"Patch file size, out of limit");
  run.patcher.finish();
}

TEST(morloHandBuilt, informationText) {
  const bytes original = randomBytes(64, 15);
  const std::wstring md5Line = L"MD5: " + wideHex(digestOf(original)) + L"\r\n";
  // 31 December 2023: year 123, day 31, month 11.
  const uint32_t newYearsEve = 123 | 31u << 15 | 11u << 20;
  const bytes full = patchHead(0x40, 0, original, {"SNES", "G", "H", "1.0", "A", "C", "\xc3\xa9t\xc3\xa9", }, 4, newYearsEve);
  EXPECT_EQ(choosePatch(full).info,
            L"System: SNES\r\nGame: G\r\nHack: H\r\nVersion: 1.0\r\nAuthor: A\r\nContact: C\r\n"
            L"Comment: \u00e9t\u00e9\r\nCreation Date: 31.12.2023 [DD.MM.YYYY]\r\n" + md5Line);

  // An empty line shows as the converter's text for nothing; January is month 01.
  const bytes plain = patchHead(0, 0, original, {"sfc", "", "hack"}, 4, 100 | 1u << 15);
  EXPECT_EQ(choosePatch(plain).info,
            L"File type: sfc\r\nGame: Error\r\nHack: hack\r\nCreation Date: 01.01.2000 [DD.MM.YYYY]\r\n" + md5Line);

  // A crafted date (month 16, day 0) is shown as plain numbers instead of ending the program.
  const bytes crafted = patchHead(0, 0, original, {"bin", "game", "hack"}, 4, 0xF00000);
  EXPECT_NE(choosePatch(crafted).info.find(L"Creation Date: 00.16.1900 [DD.MM.YYYY]\r\n"), std::wstring::npos);
}

TEST(morloHandBuilt, writerProducesTheTableLayout) {
  scratchDir dir;
  bytes original = randomBytes(3000, 16);
  bytes modified = original;
  for (size_t i = 1000; i < 1300; ++i) modified[i] = static_cast<uint8_t>(~original[i]);
  modified[1400] ^= 1, modified[1402] ^= 1;                   // one equal byte between: gap code 1
  for (size_t i = 1500; i < 1503; ++i) original[i] = 1, modified[i] = 9;  // fill of 3
  for (size_t i = 1600; i < 1602; ++i) original[i] = 1, modified[i] = 9;  // two: data record
  writeFileBytes(dir.file("o.sfc"), original);
  writeFileBytes(dir.file("m.sfc"), modified);
  morloRun run;
  ASSERT_EQ(run.create(dir.file("o.sfc"), dir.file("m.sfc"), dir.file("hack")).text, L"");

  bytes expected = patchHead(0x01, 6, original, {"sfc", "o", "hack"});
  add(expected, {0, 255, 0xE8, 0x03});  // explicit gap 1000 in 2 bytes
  expected.insert(expected.end(), modified.begin() + 1000, modified.begin() + 1255);
  add(expected, {255, 45});
  expected.insert(expected.end(), modified.begin() + 1255, modified.begin() + 1300);
  add(expected, {100, 1, modified[1400]});
  add(expected, {1, 1, modified[1402]});
  add(expected, {97, 0, 3, 9});
  add(expected, {97, 2, 9, 9});
  bytes written = readFileBytes(dir.file("hack.ml"));
  ASSERT_EQ(written.size(), expected.size());
  // The date is today's; everything else is fixed.
  std::copy(written.begin() + 24, written.begin() + 27, expected.begin() + 24);
  EXPECT_EQ(written, expected);
}
