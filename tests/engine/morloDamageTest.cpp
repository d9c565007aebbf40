// Damaged and crafted patches are refused with their texts before the game file changes.
#include <filesystem>

#include "morloTestHelpers.h"

namespace {

struct damageCase {
  scratchDir dir;
  std::string patch = dir.file("p.ml"), game = dir.file("game.bin");
  bytes original;

  explicit damageCase(bytes originalBytes) : original(std::move(originalBytes)) {
    writeFileBytes(game, original);
  }
  // Applies in place without the checksum test, so that every byte of the patch is reached.
  raised apply(const bytes& patchBytes) {
    writeFileBytes(patch, patchBytes);
    morloRun run;
    return run.apply(patch, game, "", 3, 2);
  }
  bool untouched() const { return readFileBytes(game) == original; }
};

// A real patch of each size mode, made by the engine from a pair with scattered changes.
bytes madePatch(const bytes& original, bytes modified, bool withInfo) {
  scratchDir dir;
  writeFileBytes(dir.file("o.bin"), original);
  writeFileBytes(dir.file("m.bin"), modified);
  morloRun run;
  EXPECT_EQ(run.create(dir.file("o.bin"), dir.file("m.bin"), dir.file("p.ml"), withInfo).text, L"");
  return readFileBytes(dir.file("p.ml"));
}

}  // namespace

TEST(morloDamage, truncatedAnywhereLeavesGameUntouched) {
  const bytes original = randomBytes(2000, 21);
  bytes modified = original;
  for (size_t i : {3u, 400u, 401u, 402u, 700u, 1999u}) modified[i] ^= 0xFF;
  std::fill(modified.begin() + 900, modified.begin() + 920, 0x00);
  bytes longer = modified;
  longer.insert(longer.end(), 40, 0xAB);
  bytes shorter(modified.begin(), modified.begin() + 1500);

  for (const bytes& patch : {madePatch(original, modified, true), madePatch(original, longer, false),
                             madePatch(original, shorter, false)}) {
    damageCase files(original);
    ASSERT_EQ(files.apply(patch).text, L"");  // the whole patch works
    for (size_t length = 0; length < patch.size(); ++length) {
      damageCase cut(original);
      const raised result = cut.apply(bytes(patch.begin(), patch.begin() + length));
      EXPECT_EQ(result.kind, "error") << length;
      EXPECT_TRUE(cut.untouched()) << "cut at " << length << ": " << toUtf8(result.text);
    }
  }
}

TEST(morloDamage, countsGapsAndTailsBeyondTheFile) {
  const bytes original = randomBytes(100, 22);
  auto refused = [&](const bytes& patch) {
    damageCase files(original);
    const raised result = files.apply(patch);
    EXPECT_TRUE(files.untouched()) << toUtf8(result.text);
    return result.text;
  };

  bytes hugeCount = patchHead(0x00, 0xFFFFFFFF, original);
  add(hugeCount, {255, 1, 0});
  EXPECT_EQ(refused(hugeCount), L"Patch file is too short");
  bytes wideCount = patchHead(0x08, UINT64_MAX, original);  // twice the count would wrap
  add(wideCount, {255, 1, 0});
  EXPECT_EQ(refused(wideCount), L"Patch file is too short");

  // An 8-byte gap of 2^64 - 1 after a first record: start would wrap around to the file.
  bytes wrapGap = patchHead(0x07, 2, original);
  add(wrapGap, {255, 1, 0x00, 0, 1, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00});
  EXPECT_EQ(refused(wrapGap), L"The patch data out of file");
  bytes pastEnd = patchHead(0x01, 2, original);
  add(pastEnd, {1, 1, 0x10, 0, 1, 98, 0, 0x20});  // ends one byte beyond the file
  EXPECT_EQ(refused(pastEnd), L"The patch data out of file");
  bytes longFill = patchHead(0x00, 1, original);
  add(longFill, {90, 0, 11, 0x00});
  EXPECT_EQ(refused(longFill), L"The patch data out of file");

  // The records' bytes fit the minimum but not the data they announce.
  bytes shortData = patchHead(0x00, 2, original);
  add(shortData, {255, 200, 1, 2, 3});
  EXPECT_EQ(refused(shortData), L"Can't read data from patch file");

  for (uint64_t offset : {maxFileSize - 2, UINT64_MAX - 1}) {
    bytes beyondLimit = patchHead(0x18, 0, original);
    putLe(beyondLimit, offset, 8);
    putLe(beyondLimit, 4, 8);
    add(beyondLimit, {1, 2, 3, 4});
    EXPECT_EQ(refused(beyondLimit), L"The patch data exceeded the limit of output file");
  }
  bytes shortTail = patchHead(0x10, 1, original);
  putLe(shortTail, 100, 4);
  putLe(shortTail, 10, 4);
  add(shortTail, {255, 5, 1, 2, 3, 4, 5, 1, 2, 3, 4, 5, 6});  // 13 bytes: enough for 2 + 10, not 7 + 10
  EXPECT_EQ(refused(shortTail), L"Patch file is too short");
  bytes noTail = patchHead(0x10, 0, original);
  putLe(noTail, 100, 4);
  putLe(noTail, 1000, 4);
  add(noTail, {1, 2, 3});
  EXPECT_EQ(refused(noTail), L"Patch file is too short");

  bytes advanced = patchHead(0x80, 1, original);
  add(advanced, {255, 1, 0});
  EXPECT_EQ(refused(advanced), L"This patcher version does not support advanced features");
  bytes old = patchHead(0x00, 1, original, {"bin", "game", "hack"}, 3);
  add(old, {255, 1, 0});
  EXPECT_EQ(refused(old), L"This patcher version does not support old patch specifications");
}
