// The Morlo patcher on the Apply page: choosing a patch shows its information and, in
// output-folder mode, names the output from it.
#include "morloTestHelpers.h"

namespace {

struct chosenPatch {
  scratchDir dir;
  morloRun run;
  patchJob job;

  explicit chosenPatch(const bytes& patch) {
    writeFileBytes(dir.file("p.ml"), patch);
    run.paths.applyPatchPath = widePath(dir.file("p.ml"));
    run.paths.outputFolder = L"E:\\out";
    run.settings.patch_to_file = 3;
    run.settings.use_game_name = 1;
  }
  raised choosePatch() {
    run.paths.filesChosenMask |= patchChosenBit;
    return raisedBy([&] { run.patcher.patchChosen(job, run.paths, run.settings, run.handles); });
  }
  void chooseSource(const std::wstring& path) {
    run.paths.applySourcePath = path;
    run.paths.filesChosenMask |= sourceChosenBit;
    run.patcher.sourceChosen(run.paths, run.settings, run.handles);
  }
};

const bytes game = randomBytes(64, 41);
const bytes fullInfo = patchHead(0x40, 0, game, {"SNES", "G", "H", "1.0", "A", "C", "X"});
const bytes defaultInfo = patchHead(0x00, 0, game, {"bin", "G", "H", "padding"});

}  // namespace

TEST(morloPatcher, outputNameFromInformation) {
  chosenPatch full(fullInfo);
  full.chooseSource(L"D:\\roms\\a.bin");
  ASSERT_EQ(full.choosePatch().text, L"");
  EXPECT_EQ(full.run.paths.applyTargetPath, L"E:\\out\\G - H v1.0.bin");
  EXPECT_EQ(full.run.paths.filesChosenMask, patchChosenBit | sourceChosenBit | targetChosenBit);
  EXPECT_EQ(full.job.patchPath, toUtf8(full.run.paths.applyPatchPath));

  // Without full information there is no version; the other order of choice gives the same.
  chosenPatch plain(defaultInfo);
  ASSERT_EQ(plain.choosePatch().text, L"");
  EXPECT_EQ(plain.run.paths.applyTargetPath, L"");
  plain.chooseSource(L"D:\\roms\\a.bin");
  EXPECT_EQ(plain.run.paths.applyTargetPath, L"E:\\out\\G - H.bin");
  // A second original game with another extension renames the output.
  plain.chooseSource(L"D:\\roms\\b.sfc");
  EXPECT_EQ(plain.run.paths.applyTargetPath, L"E:\\out\\G - H.sfc");

  chosenPatch hackOnly(fullInfo);
  hackOnly.run.settings.use_game_name = 0;
  hackOnly.run.settings.use_hack_ver = 0;
  hackOnly.chooseSource(L"D:\\roms\\a.bin");
  ASSERT_EQ(hackOnly.choosePatch().text, L"");
  EXPECT_EQ(hackOnly.run.paths.applyTargetPath, L"E:\\out\\H.bin");
}

TEST(morloPatcher, outputNameNeedsOutputFolderModeAndASwitch) {
  chosenPatch copyMode(fullInfo);
  copyMode.run.settings.patch_to_file = 2;
  copyMode.chooseSource(L"D:\\roms\\a.bin");
  copyMode.run.paths.applyFinished = 1;
  ASSERT_EQ(copyMode.choosePatch().text, L"");
  EXPECT_EQ(copyMode.run.paths.applyTargetPath, L"");
  EXPECT_EQ(copyMode.run.paths.applyFinished, 1);

  chosenPatch noSwitch(fullInfo);
  noSwitch.run.settings.use_game_name = noSwitch.run.settings.use_hack_name = 0;
  noSwitch.chooseSource(L"D:\\roms\\a.bin");
  noSwitch.run.paths.applyFinished = 1;
  ASSERT_EQ(noSwitch.choosePatch().text, L"");
  EXPECT_EQ(noSwitch.run.paths.applyTargetPath, L"");
  EXPECT_EQ(noSwitch.run.paths.applyFinished, 0);  // output-folder mode all the same
}

TEST(morloPatcher, badPatchLeavesNothingOpen) {
  bytes bad = fullInfo;
  bad[0] = 'X';
  chosenPatch chosen(bad);
  EXPECT_EQ(chosen.choosePatch().text, L"Unknown patch format");
  EXPECT_EQ(chosen.run.paths.applyTargetPath, L"");
  // The patch is closed again: it can be deleted at once.
  EXPECT_TRUE(std::filesystem::remove(widePath(chosen.dir.file("p.ml"))));
}
