#include <gtest/gtest.h>

#include "morloDriver.h"
#include "testFiles.h"

TEST(morloStartup, showsItsWindowWithoutAnySettingsFiles) {
  scratchDir folder;
  makeProgramFolder(folder.path());
  morloProcess morlo(folder.path());
  ASSERT_TRUE(morlo.mainWindow());
  EXPECT_EQ(morlo.visiblePage(), 0);
  EXPECT_FALSE(IsWindowEnabled(morlo.control(0, 1011)));
  EXPECT_TRUE(morlo.close());
}

namespace {

// Puts a dialog into a program's resources in place of its own (windres stores them as US
// English), one of a window class that no program registers, so that the system cannot make it.
void breakDialog(const std::filesystem::path& program, int id) {
  std::vector<WORD> dialog = {LOWORD(WS_POPUP), HIWORD(WS_POPUP), 0, 0, 0, 0, 0, 100, 100, 0};
  for (wchar_t unit : std::wstring(L"noSuchClass")) dialog.push_back(unit);
  dialog.insert(dialog.end(), {0, 0});  // the class name's end; no title
  const HANDLE update = BeginUpdateResourceW(program.c_str(), FALSE);
  ASSERT_TRUE(update);
  ASSERT_TRUE(UpdateResourceW(update, RT_DIALOG, MAKEINTRESOURCEW(id), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                              dialog.data(), DWORD(dialog.size() * sizeof(WORD))));
  ASSERT_TRUE(EndUpdateResourceW(update, FALSE));
}

}  // namespace

TEST(morloStartup, aMainWindowThatCannotBeMadeIsReportedAndEndsTheProgram) {
  scratchDir folder;
  makeProgramFolder(folder.path());
  breakDialog(folder.path() / "morlo.exe", 104);
  morloProcess morlo(folder.path());
  EXPECT_FALSE(morlo.mainWindow());
  const HWND box = morlo.waitForWindow(L"Error");
  ASSERT_TRUE(box);
  const std::wstring reason = morloProcess::messageText(box);  // the system's: the class is missing
  EXPECT_NE(reason, L"");
  EXPECT_NE(reason, L"Unknown error");
  morloProcess::dismiss(box);
  const DWORD code = morlo.exitCode();
  EXPECT_NE(code, 0u);
  EXPECT_NE(code, STILL_ACTIVE);
}
