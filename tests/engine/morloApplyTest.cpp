// Applying: the checksum modes, the copy, the size modes' last steps, the refusal of one file
// under two names, and the files the run must not touch.
#include <windows.h>

#include <filesystem>
#include <set>

#include "morloTestHelpers.h"

namespace {

namespace fs = std::filesystem;

struct applyCase {
  scratchDir dir;
  std::string patch = dir.file("p.ml"), game = dir.file("game.bin"), out = dir.file("out.bin");
  bytes original = randomBytes(500, 31);
  bytes expected = original;
  morloRun run;

  // A patch of one record, made for the given original game.
  explicit applyCase(const bytes& digestSource) {
    bytes patchBytes = patchHead(0x00, 1, digestSource);
    add(patchBytes, {20, 2, 0xAB, 0xCD});
    expected[20] = 0xAB, expected[21] = 0xCD;
    writeFileBytes(patch, patchBytes);
    writeFileBytes(game, original);
  }
  applyCase() : applyCase(randomBytes(500, 31)) {}
};

}  // namespace

TEST(morloApply, checksumModes) {
  const bytes other = randomBytes(500, 99);
  {
    applyCase wrong(other);
    const raised refused = wrong.run.apply(wrong.patch, wrong.game, "", 3, 1);
    EXPECT_EQ(refused.text, L"Checksum is not correct");
    EXPECT_EQ(readFileBytes(wrong.game), wrong.original);
    EXPECT_EQ(wrong.run.apply(wrong.patch, wrong.game, "", 3, 2).text, L"");  // no test
    EXPECT_EQ(readFileBytes(wrong.game), wrong.expected);
  }
  {
    applyCase asked(other);
    int questions = 0;
    asked.run.patcher.engine().setChecksumQuestion([&] { return ++questions, false; });
    const raised stopped = asked.run.apply(asked.patch, asked.game, asked.out, 7, 0);
    EXPECT_EQ(stopped.text, L"Patching is stopped");
    EXPECT_EQ(stopped.kind, "warning");
    EXPECT_EQ(questions, 1);
    EXPECT_FALSE(fs::exists(widePath(asked.out)));  // the copy comes after the question
    asked.run.patcher.engine().setChecksumQuestion([&] { return ++questions, true; });
    EXPECT_EQ(asked.run.apply(asked.patch, asked.game, "", 3, 0).text, L"");
    EXPECT_EQ(questions, 2);
    EXPECT_EQ(readFileBytes(asked.game), asked.expected);
  }
  applyCase right;
  right.run.patcher.engine().setChecksumQuestion([] {
    ADD_FAILURE() << "asked although the digest matches";
    return false;
  });
  EXPECT_EQ(right.run.apply(right.patch, right.game, "", 3, 0).text, L"");
  EXPECT_EQ(readFileBytes(right.game), right.expected);
}

TEST(morloApply, copyLeavesOriginalAndReplacesOutput) {
  applyCase files;
  writeFileBytes(files.out, randomBytes(5000, 1));  // a longer file is replaced, not patched
  EXPECT_EQ(files.run.apply(files.patch, files.game, files.out, 7).text, L"");
  EXPECT_EQ(readFileBytes(files.out), files.expected);
  EXPECT_EQ(readFileBytes(files.game), files.original);
  // Any other mask patches the original game even when an output is named.
  const std::string unused = files.dir.file("unused.bin");
  EXPECT_EQ(files.run.apply(files.patch, files.game, unused, 5).text, L"");
  EXPECT_EQ(readFileBytes(files.game), files.expected);
  EXPECT_FALSE(fs::exists(widePath(unused)));
}

TEST(morloApply, lastStepsOfEachSizeMode) {
  scratchDir dir;
  const bytes original = randomBytes(300, 32);
  const std::string game = dir.file("g.bin"), patch = dir.file("p.ml");
  morloRun run;

  writeFileBytes(patch, patchHead(0x00, 0, original));  // no record at all
  writeFileBytes(game, original);
  EXPECT_EQ(run.apply(patch, game).text, L"");
  EXPECT_EQ(run.sink.steps.back(), L"Patching is successfully finished!");
  EXPECT_EQ(readFileBytes(game), original);

  bytes cut = patchHead(0x20, 0, original);
  putLe(cut, 300, 4);  // the file already has the modified size
  writeFileBytes(patch, cut);
  EXPECT_EQ(run.apply(patch, game).text, L"");
  EXPECT_EQ(readFileBytes(game), original);

  bytes grow = patchHead(0x20, 1, bytes(200, 0));
  putLe(grow, 250, 4);
  add(grow, {255, 1, 0x42});
  writeFileBytes(patch, grow);
  writeFileBytes(game, bytes(200, 0));
  const raised notResized = run.apply(patch, game);
  EXPECT_EQ(notResized.text, L"Modified file is not resized");
  EXPECT_EQ(notResized.kind, "warning");
  EXPECT_EQ(readFileBytes(game), bytes(200, 0));  // refused before the first record is written
}

namespace {

std::set<fs::path> namesIn(const scratchDir& dir) {
  std::set<fs::path> names;
  for (const auto& entry : fs::directory_iterator(dir.path())) names.insert(entry.path().filename());
  return names;
}

}  // namespace

TEST(morloApply, copyIsPutInPlaceOnlyWhenTheRunSucceeds) {
  const bytes original = randomBytes(500, 35);
  bytes patched = original;
  patched[20] = 0xAB, patched[21] = 0xCD;
  // One record at 20, in a patch made for this original or for another one.
  auto oneRecord = [](const bytes& madeFor) {
    bytes patch = patchHead(0x00, 1, madeFor);
    add(patch, {20, 2, 0xAB, 0xCD});
    return patch;
  };
  const bytes good = oneRecord(original), forAnother = oneRecord(randomBytes(500, 36));
  bytes beyondFile = good;
  beyondFile[4] = 2;                  // two records
  add(beyondFile, {254, 0, 255, 0});  // the second a fill from 276 to 531
  bytes notResized = patchHead(0x20, 1, original);
  putLe(notResized, 600, 4);
  add(notResized, {20, 2, 0xAB, 0xCD});
  struct runCase {
    const char* name;
    bytes patch;
    int checksumMode;
    std::wstring result;
  };
  const runCase cases[] = {
      {"succeeds", good, 1, L""},
      {"succeeds without the digest", good, 2, L""},
      {"record beyond the file", beyondFile, 1, L"The patch data out of file"},
      {"record cut short", bytes(good.begin(), good.end() - 1), 2, L"Can't read data from patch file"},
      {"another original", forAnother, 1, L"Checksum is not correct"},
      {"another original, stopped at the question", forAnother, 0, L"Patching is stopped"},
      {"modified size beyond the game", notResized, 1, L"Modified file is not resized"},
  };
  for (const runCase& c : cases) {
    for (const bool outputExists : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (outputExists ? ", over an existing output" : ""));
      scratchDir dir;
      const std::string patch = dir.file("p.ml"), game = dir.file("game.bin"), out = dir.file("out.bin");
      writeFileBytes(patch, c.patch);
      writeFileBytes(game, original);
      const bytes before = randomBytes(700, 37);
      if (outputExists) writeFileBytes(out, before);
      std::set<fs::path> names = namesIn(dir);
      // Small pieces, so that the digest's read writes the copy in many of them.
      morloRun run(1024, 770);
      run.patcher.engine().setChecksumQuestion([] { return false; });
      EXPECT_EQ(run.apply(patch, game, out, 7, c.checksumMode).text, c.result);
      EXPECT_EQ(readFileBytes(game), original);
      if (c.result.empty()) {
        names.insert("out.bin");
        EXPECT_EQ(readFileBytes(out), patched);
        // The countdown of the digest, if any, and of the copy: one block each, whatever the pieces.
        const std::vector<std::wstring> counts{L"1", L"0", L"1", L"0"};
        const size_t skipped = c.checksumMode == 2 ? 2 : 0;
        EXPECT_EQ(run.sink.counts, std::vector<std::wstring>(counts.begin() + skipped, counts.end()));
      } else if (outputExists) {
        EXPECT_EQ(readFileBytes(out), before);
      }
      EXPECT_EQ(namesIn(dir), names);  // nothing new beside the output
    }
  }
}

TEST(morloApply, unusableOriginalGame) {
  applyCase files;
  EXPECT_EQ(files.run.apply(files.patch, files.dir.file("missing.bin"), "", 3, 2).text, L"Load original file error");
  writeFileBytes(files.game, {});
  EXPECT_EQ(files.run.apply(files.patch, files.game, "", 3, 2).text, L"Empty original file");
  EXPECT_EQ(files.run.apply(files.patch, files.game, files.out, 7, 1).text, L"Empty original file");
  EXPECT_FALSE(fs::exists(widePath(files.out)));
}

TEST(morloApply, oneFileUnderTwoNamesIsRefusedBeforeWriting) {
  applyCase files;
  auto upper = [](std::string path) {
    for (char& c : path) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return path;
  };
  const size_t slash = files.game.rfind('\\');
  const std::string doubled = files.game.substr(0, slash) + "\\" + files.game.substr(slash);
  const std::string dotted = files.dir.file("sub\\..\\game.bin");

  auto refusal = [&](const std::string& patch, const std::string& game, const std::string& out, uint8_t mask) {
    const raised result = files.run.apply(patch, game, out, mask);
    EXPECT_EQ(result.kind, "input");
    EXPECT_EQ(readFileBytes(files.game), files.original);
    return result.text;
  };
  EXPECT_EQ(refusal(upper(files.game), files.game, "", 3), L"The patch and input file paths are equivalent");
  EXPECT_EQ(refusal(files.patch, files.game, doubled, 7), L"The input and output file paths are equivalent");
  EXPECT_EQ(refusal(files.patch, files.game, dotted, 7), L"The input and output file paths are equivalent");
  EXPECT_EQ(refusal(files.patch, files.game, upper(files.patch), 7), L"The patch and output file paths are equivalent");

  // Creating: the patch path gets ".ml" and so names the original game, or spells the modified one.
  scratchDir dir;
  const bytes game = randomBytes(100, 33), modified = randomBytes(100, 34);
  writeFileBytes(dir.file("orig.ml"), game);
  writeFileBytes(dir.file("mod.ml"), modified);
  morloRun run;
  EXPECT_EQ(run.create(dir.file("orig.ml"), dir.file("mod.ml"), dir.file("orig")).text,
            L"The patch and input file paths are equivalent");
  EXPECT_EQ(run.create(dir.file("orig.ml"), dir.file("mod.ml"), dir.file("MOD.ML")).text,
            L"The patch and output file paths are equivalent");
  EXPECT_EQ(readFileBytes(dir.file("orig.ml")), game);
  EXPECT_EQ(readFileBytes(dir.file("mod.ml")), modified);
}

namespace {

// A display that runs out of memory, as a pathological input can make any step do.
class exhaustedSink final : public progressSink {
 public:
  void statusText(int, const std::wstring&) override { throw std::bad_alloc(); }
  void progressPosition(int) override {}
  void taskbarProgress(int) override {}
  void pause() override {}
};

}  // namespace

TEST(morloApply, runningOutOfMemoryIsAnError) {
  applyCase files;
  exhaustedSink exhausted;
  files.run.patcher.engine().reportTo(exhausted);
  const raised result = files.run.apply(files.patch, files.game);
  EXPECT_EQ(result.kind, "error");
  EXPECT_EQ(result.text, L"Unknown error");
  EXPECT_EQ(files.run.create(files.game, files.patch, files.out).text, L"Unknown error");
}

TEST(morloApply, failedCopyIsNeverSuccess) {
  // Under Wine, Z:\dev\full is the Unix device where every write fails for want of room.
  if (!GetProcAddress(GetModuleHandleW(L"ntdll"), "wine_get_version")) GTEST_SKIP() << "not under Wine";
  applyCase files;
  EXPECT_EQ(files.run.apply(files.patch, files.game, "Z:\\dev\\full", 7).text, L"Can't write data to file copy");
  EXPECT_NE(files.run.sink.steps.back(), L"Patching is successfully finished!");
}
