#include <gtest/gtest.h>

#include <algorithm>

#include "patcherTestWindows.h"

namespace {

std::filesystem::path fsPath(const std::string& utf8) { return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())); }

std::string upperCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](char c) { return char(std::toupper(uint8_t(c))); });
  return text;
}

bytes ppf3(uint8_t undo) {
  bytes out;
  putText(out, "PPF30");
  out.push_back(2);
  putText(out, "Undo test");
  out.resize(56, 0);
  putLe(out, 0, 2);
  out.push_back(undo);
  out.push_back(0);
  return out;
}

class modulePatchers : public patcherWindows {
 protected:
  void SetUp() override {
    patcherWindows::SetUp();
    game = makeFile("game.bin", randomBytes(5000, 1));
    patch = makeFile("hack.ips", {'P', 'A', 'T', 'C', 'H'});
    copy = dir.file("copy.bin");
    job = {patch, game, copy, 0, 0};
  }
  std::string game, patch, copy;
};

}  // namespace

TEST_F(modulePatchers, module1PatchesTheOriginalInPlace) {
  set.module1.kind = 2;
  set.module1.apply(job, 3);
  ASSERT_EQ(startedCommands().size(), 1u);
  EXPECT_EQ(startedCommands()[0], "/k \"echo UPS patch applying: && echo; && echo Patching... && \"" + modulePath(1) +
                                      "\" -a \"" + patch + "\" \"" + game + "\" \"" + game + "\"\"");
  EXPECT_EQ(set.module1.commandLine, startedCommands()[0]);
  EXPECT_EQ(statusText(gui.statusBar, 1), L"External patcher is started");
  EXPECT_FALSE(std::filesystem::exists(fsPath(copy)));
}

TEST_F(modulePatchers, module1PatchesACopyWithMask7) {
  set.module1.kind = 1;
  job.checksumMode = 2;
  set.module1.apply(job, 7);
  EXPECT_EQ(readFileBytes(fsPath(copy)), readFileBytes(fsPath(game)));
  ASSERT_EQ(startedCommands().size(), 1u);
  EXPECT_EQ(startedCommands()[0], "/k \"echo BPS patch applying: && echo; && echo Patching... && \"" + modulePath(1) +
                                      "\" -a --ignore-checksum \"" + patch + "\" \"" + copy + "\" \"" + copy + "\"\"");
  EXPECT_EQ(statusText(gui.statusBar, 0), L"0");  // the countdown of the copy ended
}

TEST_F(modulePatchers, module2UndoesOnlyAPpfPatch) {
  job.restoreOriginal = 1;
  set.module2.kind = 4;
  set.module2.apply(job, 7);
  set.module2.kind = 3;
  set.module2.apply(job, 3);
  ASSERT_EQ(startedCommands().size(), 2u);
  EXPECT_EQ(startedCommands()[0], "/k \"\"" + modulePath(2) + "\" \"" + patch + "\" \"" + copy + "\" \"u\"\"");
  EXPECT_EQ(startedCommands()[1], "/k \"\"" + modulePath(2) + "\" \"" + patch + "\" \"" + game + "\"\"");
}

TEST_F(modulePatchers, module3WritesOnlyToAnOutputFile) {
  EXPECT_EQ(thrownMessage<warning>([&] { set.module3.apply(job, 3); }), L"Xdelta can't patch to original file");
  EXPECT_TRUE(startedCommands().empty());
  job.checksumMode = 2;
  set.module3.apply(job, 7);
  ASSERT_EQ(startedCommands().size(), 1u);
  EXPECT_EQ(startedCommands()[0], "/k \"echo    Xdelta patch applying: && echo; && echo    Patching... && \"" +
                                      modulePath(3) + "\" -d -n -f -s \"" + game + "\" \"" + patch + "\" \"" + copy +
                                      "\" && echo    Patching is successfully finished!\"");
  EXPECT_FALSE(std::filesystem::exists(fsPath(copy)));  // module 3 writes it itself
}

TEST_F(modulePatchers, oneFileUnderTwoSpellingsIsNeverOverwritten) {
  const bytes original = readFileBytes(fsPath(game));
  job.targetPath = upperCase(game);
  for (patcher0* module : {static_cast<patcher0*>(&set.module1), static_cast<patcher0*>(&set.module2),
                           static_cast<patcher0*>(&set.module3)})
    EXPECT_EQ(thrownMessage<errorStrShow>([&] { module->apply(job, 7); }),
              L"The input and output file paths are equivalent");
  job = {upperCase(game), game, copy, 0, 0};
  EXPECT_EQ(thrownMessage<errorStrShow>([&] { set.module2.apply(job, 3); }),
            L"The patch and input file paths are equivalent");
  job = {patch, game, upperCase(patch), 0, 0};
  EXPECT_EQ(thrownMessage<errorStrShow>([&] { set.module1.apply(job, 7); }),
            L"The patch and output file paths are equivalent");
  EXPECT_TRUE(startedCommands().empty());
  EXPECT_EQ(readFileBytes(fsPath(game)), original);
  EXPECT_EQ(readFileBytes(fsPath(patch)), (bytes{'P', 'A', 'T', 'C', 'H'}));
}

TEST_F(modulePatchers, copyFailuresStartNothing) {
  job.sourcePath = dir.file("missing.bin");
  EXPECT_EQ(thrownMessage<errorBase>([&] { set.module2.apply(job, 7); }), L"Load original file error");
  set.module2.finish();

  job.sourcePath = makeFile("empty.bin", {});
  EXPECT_EQ(thrownMessage<errorBase>([&] { set.module2.apply(job, 7); }), L"Empty original file");
  EXPECT_FALSE(std::filesystem::exists(fsPath(copy)));
  set.module2.finish();

  job.sourcePath = game;
  job.targetPath = dir.file("no folder\\copy.bin");
  EXPECT_EQ(thrownMessage<errorBase>([&] { set.module1.apply(job, 7); }), L"Can't create file copy");
  set.module1.finish();
  EXPECT_TRUE(startedCommands().empty());

  // A copy that cannot be written out whole never reaches the module as if it were done; a few
  // bytes stay buffered until the close, which is where the full disk shows.
  job.sourcePath = makeFile("small.bin", {1, 2, 3});
  job.targetPath = "Z:\\dev\\full";
  EXPECT_EQ(thrownMessage<errorBase>([&] { set.module1.apply(job, 7); }), L"Can't write data to file copy");
  set.module1.finish();
  EXPECT_TRUE(startedCommands().empty());

  // After finish the streams serve the next run.
  job.sourcePath = game;
  job.targetPath = copy;
  set.module1.apply(job, 7);
  EXPECT_EQ(startedCommands().size(), 1u);
}

TEST_F(modulePatchers, aStartThatFailsIsAnError) {
  startModuleProcess = [](const std::string&) { return false; };
  set.module2.kind = 4;
  EXPECT_NE(thrownMessage<errorBase>([&] { set.module2.apply(job, 3); }).find(L"cmd.exe"), std::wstring::npos);
}

TEST_F(modulePatchers, commandsCmdWouldChangeAreRefusedBeforeTheCopy) {
  set.module2.kind = 4;
  job.targetPath = dir.file("100% copy.bin");
  set.module2.apply(job, 7);  // a single "%" is passed on unchanged
  EXPECT_EQ(startedCommands().size(), 1u);

  job.targetPath = dir.file("%PATH% copy.bin");
  const std::wstring message = thrownMessage<errorStrShow>([&] { set.module2.apply(job, 7); });
  EXPECT_NE(message.find(L"\"%\""), std::wstring::npos) << toUtf8(message);
  EXPECT_FALSE(std::filesystem::exists(fsPath(job.targetPath)));

  job.targetPath = copy;
  job.patchPath = patch + std::string(9000, 'x');
  EXPECT_NE(thrownMessage<errorStrShow>([&] { set.module1.apply(job, 7); }).find(L"8191"), std::wstring::npos);
  EXPECT_FALSE(std::filesystem::exists(fsPath(copy)));
  EXPECT_EQ(startedCommands().size(), 1u);
}

TEST_F(modulePatchers, restoreCheckboxFollowsTheChosenPatch) {
  HWND restore = gui.settingsRestoreCheck;
  paths.applyPatchPath = wide(makeFile("undo.ppf", ppf3(1)));
  tick(restore);
  set.module2.kind = 4;
  set.module2.patchChosen(job, paths, settings, gui);
  EXPECT_TRUE(IsWindowEnabled(restore));
  EXPECT_TRUE(isChecked(restore));
  EXPECT_EQ(job.restoreOriginal, 1);
  EXPECT_EQ(job.patchPath, toUtf8(paths.applyPatchPath));
  EXPECT_EQ(windowText(gui.applyInfoEdit),
            L"Patch type: PPF 3.0\r\nUndo operation: available\r\nInfo: Undo test\r\nDescription: not available\r\n");

  // A stale tick never reaches a patch without undo data: PPF 3.0 without it, PPF 1.0 and 2.0,
  // an unreadable PPF file and every other kind.
  bytes ppf1 = {'P', 'P', 'F', '1', '0', 0};
  ppf1.resize(60, 0);
  bytes ppf2 = ppf3(1);
  ppf2[3] = '2';
  const std::pair<std::string, bytes> withoutUndo[] = {
      {"noundo.ppf", ppf3(0)}, {"one.ppf", ppf1}, {"two.ppf", ppf2}, {"broken.ppf", {'P', 'P'}}};
  for (const auto& [name, data] : withoutUndo) {
    paths.applyPatchPath = wide(makeFile(name, data));
    tick(restore);
    set.module2.patchChosen(job, paths, settings, gui);
    EXPECT_FALSE(IsWindowEnabled(restore)) << name;
    EXPECT_FALSE(isChecked(restore)) << name;
    EXPECT_EQ(job.restoreOriginal, 0) << name;
  }
  EXPECT_EQ(windowText(gui.applyInfoEdit), L"");  // the unreadable one

  for (patcher* other : {static_cast<patcher*>(&set.module1), static_cast<patcher*>(&set.module3)}) {
    tick(restore);
    other->patchChosen(job, paths, settings, gui);
    EXPECT_FALSE(IsWindowEnabled(restore));
    EXPECT_EQ(job.restoreOriginal, 0);
  }
  tick(restore);
  set.module2.kind = 5;
  set.module2.patchChosen(job, paths, settings, gui);
  EXPECT_EQ(job.restoreOriginal, 0);
}

TEST_F(modulePatchers, fileIdDizShowsInTheFixedFontUntilXdelta) {
  bytes withDiz = ppf3(0);
  putText(withDiz, "@BEGIN_FILE_ID.DIZ");
  putText(withDiz, "  ASCII art ");
  putText(withDiz, "@END_FILE_ID.DIZ");
  putLe(withDiz, 12, 2);
  paths.applyPatchPath = wide(makeFile("diz.ppf", withDiz));
  set.module2.kind = 4;
  set.module2.patchChosen(job, paths, settings, gui);
  EXPECT_EQ(infoFont(), set.module2.infoFont);
  EXPECT_EQ(set.module2.useFixedFont, 0);
  LOGFONTW face{};
  GetObjectW(set.module2.infoFont, sizeof face, &face);
  EXPECT_STREQ(face.lfFaceName, L"Consolas");
  EXPECT_EQ(face.lfHeight, -12);

  // Module 1 leaves the font; an xdelta patch with information puts the default back.
  set.module1.patchChosen(job, paths, settings, gui);
  EXPECT_EQ(infoFont(), set.module2.infoFont);
  EXPECT_EQ(windowText(gui.applyInfoEdit), L"");
  bytes xdelta = {0xD6, 0xC3, 0xC4, 0x00, 0x04, 10};
  putText(xdelta, "^*R2FtZQ==");  // "Game"
  paths.applyPatchPath = wide(makeFile("hack.xdelta", xdelta));
  set.module3.patchChosen(job, paths, settings, gui);
  EXPECT_EQ(infoFont(), defaultFont);
  EXPECT_EQ(windowText(gui.applyInfoEdit), L"Game");
}

TEST_F(modulePatchers, informationOfApsAndRupPatches) {
  bytes aps;
  putText(aps, "APS10");
  aps.push_back(0);
  aps.push_back(0);
  putText(aps, "Caf\xC3\xA9 hack");
  aps.resize(64, 0);
  paths.applyPatchPath = wide(makeFile("hack.aps", aps));
  set.module2.kind = 3;
  set.module2.patchChosen(job, paths, settings, gui);
  EXPECT_EQ(windowText(gui.applyInfoEdit), L"APS patch type: standard\r\nInfo: Caf\u00e9 hack");

  set.module2.kind = 8;  // BSDiff carries no information
  set.module2.patchChosen(job, paths, settings, gui);
  EXPECT_EQ(windowText(gui.applyInfoEdit), L"");
}

TEST_F(modulePatchers, outputFolderModeNamesTheOutput) {
  settings.patch_to_file = 3;
  settings.use_game_name = 1;
  settings.path_reverse = 0;
  paths.outputFolder = wide(dir.file("out")) + L"\\";
  paths.applySourcePath = L"D:\\roms\\Game.sfc";
  paths.applyPatchPath = L"C:\\p\\Hack.ips";
  const std::wstring expected = wide(dir.file("out")) + L"\\Game - Hack.sfc";

  paths.filesChosenMask = patchChosenBit;  // the patch first, then the original game
  set.module1.patchChosen(job, paths, settings, gui);
  EXPECT_TRUE(paths.applyTargetPath.empty());
  paths.filesChosenMask |= sourceChosenBit;
  set.module1.sourceChosen(paths, settings, gui);
  EXPECT_EQ(paths.applyTargetPath, expected);
  EXPECT_EQ(paths.filesChosenMask, 7);
  EXPECT_EQ(windowText(gui.applyTargetEdit), expected);
  EXPECT_EQ(windowText(gui.applyOutputButton), L"Open folder");
  EXPECT_FALSE(IsWindowEnabled(gui.applyOutputButton));

  paths = {};  // the original game first, then the patch
  paths.outputFolder = wide(dir.file("out"));
  paths.applySourcePath = L"D:\\roms\\Game.sfc";
  paths.applyPatchPath = L"C:\\p\\Hack.ips";
  paths.applyFinished = 1;
  paths.filesChosenMask = sourceChosenBit;
  set.module2.sourceChosen(paths, settings, gui);
  EXPECT_TRUE(paths.applyTargetPath.empty());
  paths.filesChosenMask |= patchChosenBit;
  set.module2.kind = 8;
  set.module2.patchChosen(job, paths, settings, gui);
  EXPECT_EQ(paths.applyTargetPath, expected);
  EXPECT_EQ(paths.applyFinished, 0);

  // With both name switches off nothing is built; outside output-folder mode neither.
  paths.applyTargetPath.clear();
  settings.use_game_name = settings.use_hack_name = 0;
  set.module3.patchChosen(job, paths, settings, gui);
  settings.use_hack_name = 1;
  settings.patch_to_file = 2;
  set.module3.sourceChosen(paths, settings, gui);
  EXPECT_TRUE(paths.applyTargetPath.empty());
}
