#include <gtest/gtest.h>

#include "outputNames.h"

namespace {
settingsValues names(int game, int hack) {
  settingsValues settings;
  settings.resetToDefaults();
  settings.patch_to_file = 3;
  settings.use_game_name = game;
  settings.use_hack_name = hack;
  return settings;
}
}  // namespace

TEST(outputNames, moduleNamesFromTheChosenFiles) {
  const std::wstring source = L"D:\\roms\\Game.sfc", patch = L"C:\\p\\Hack.ips";
  EXPECT_EQ(outputPathInFolder(L"E:\\out", moduleOutputName(source, patch, names(1, 1))), L"E:\\out\\Game - Hack.sfc");
  EXPECT_EQ(outputPathInFolder(L"E:\\out", moduleOutputName(source, patch, names(1, 0))), L"E:\\out\\Game.sfc");
  EXPECT_EQ(outputPathInFolder(L"E:\\out", moduleOutputName(source, patch, names(0, 1))), L"E:\\out\\Hack.sfc");
  // An original game without extension gives the placeholder extension.
  EXPECT_EQ(moduleOutputName(L"D:\\roms\\Game", patch, names(0, 1)), L"Hack.unc");
}

TEST(outputNames, onlyOutputFolderModeWithANameSwitch) {
  EXPECT_TRUE(outputNamesApply(names(1, 0)));
  EXPECT_TRUE(outputNamesApply(names(0, 1)));
  EXPECT_FALSE(outputNamesApply(names(0, 0)));
  settingsValues copyMode = names(1, 1);
  copyMode.patch_to_file = 2;
  EXPECT_FALSE(outputNamesApply(copyMode));
}

TEST(outputNames, untrustedNamesStayInTheFolder) {
  EXPECT_EQ(outputPathInFolder(L"E:\\out\\", L"Game.sfc"), L"E:\\out\\Game.sfc");
  EXPECT_EQ(outputPathInFolder(L"E:\\out", L"..\\..\\Windows\\x.bin"), L"E:\\out\\.._.._Windows_x.bin");
  EXPECT_EQ(outputPathInFolder(L"E:\\out", L"C:/a:stream*?\"<>|.bin"), L"E:\\out\\C__a_stream______.bin");
  EXPECT_EQ(safeFileName(std::wstring(L"a\tb\nc\x1f\x7f", 7)), L"a_b_c_\x7f");
  EXPECT_EQ(safeFileName(L"Zelda - Ocarina [v1.0] (é).z64"), L"Zelda - Ocarina [v1.0] (é).z64");
  // An extension taken from a folder's dot cannot smuggle a separator in either.
  EXPECT_EQ(moduleOutputName(L"D:\\games.old\\rom", L"Hack.ips", names(0, 1)), L"Hack.old\\rom");
  EXPECT_EQ(outputPathInFolder(L"E:\\out", L"Hack.old\\rom"), L"E:\\out\\Hack.old_rom");
}
