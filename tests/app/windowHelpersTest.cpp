#include "windowHelpers.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "testFiles.h"
#include "testWindows.h"

namespace {

class windowHelpers : public ::testing::Test {
 protected:
  HWND button(const wchar_t* text = L"") const { return main.child(L"BUTTON", text); }
  HWND edit(const wchar_t* text = L"") const {
    return main.child(L"EDIT", text, ES_AUTOHSCROLL);
  }
  hiddenWindow main;
};

bool enabled(HWND window) { return IsWindowEnabled(window) != FALSE; }

}  // namespace

TEST_F(windowHelpers, outputButtonFollowsThePatchingMode) {
  const HWND output = button();
  settingsValues settings;
  settings.patch_to_file = 1;
  setOutputButtonMode(output, settings);
  EXPECT_EQ(windowText(output), L"Save modified game");
  EXPECT_FALSE(enabled(output));
  settings.patch_to_file = 2;
  setOutputButtonMode(output, settings);
  EXPECT_EQ(windowText(output), L"Save modified game");
  EXPECT_TRUE(enabled(output));
  settings.patch_to_file = 3;
  setOutputButtonMode(output, settings);
  EXPECT_EQ(windowText(output), L"Open folder");
  EXPECT_FALSE(enabled(output));
}

TEST_F(windowHelpers, applyButtonsAroundARun) {
  guiHandles gui;
  gui.applySelectPatchButton = button();
  gui.applySelectSourceButton = button();
  gui.applyOutputButton = button();
  gui.applyRunButton = button();

  // Output-folder mode: "Open folder" stays as it is during a run and after a failed one, and
  // opens up after a run that finished.
  EnableWindow(gui.applyOutputButton, FALSE);
  setApplyControlsEnabled(gui, 0, 0, 3);
  EXPECT_EQ(gui.guiEnabled, 0);
  EXPECT_FALSE(enabled(gui.applySelectPatchButton));
  EXPECT_FALSE(enabled(gui.applySelectSourceButton));
  EXPECT_FALSE(enabled(gui.applyRunButton));
  EXPECT_FALSE(enabled(gui.applyOutputButton));
  setApplyControlsEnabled(gui, 1, 0, 3);
  EXPECT_EQ(gui.guiEnabled, 1);
  EXPECT_TRUE(enabled(gui.applyRunButton));
  EXPECT_FALSE(enabled(gui.applyOutputButton));
  setApplyControlsEnabled(gui, 1, 1, 3);
  EXPECT_TRUE(enabled(gui.applyOutputButton));

  // Patching the original game: the output button is never touched.
  setApplyControlsEnabled(gui, 0, 0, 1);
  EXPECT_TRUE(enabled(gui.applyOutputButton));
  EnableWindow(gui.applyOutputButton, FALSE);
  setApplyControlsEnabled(gui, 1, 1, 1);
  EXPECT_FALSE(enabled(gui.applyOutputButton));

  // A copy: it goes with the others.
  setApplyControlsEnabled(gui, 1, 0, 2);
  EXPECT_TRUE(enabled(gui.applyOutputButton));
  setApplyControlsEnabled(gui, 0, 0, 2);
  EXPECT_FALSE(enabled(gui.applyOutputButton));
}

TEST_F(windowHelpers, runButtonsOpenOnceTheFilesAreChosen) {
  const HWND apply = button();
  EnableWindow(apply, FALSE);
  enableApplyIfReady(apply, 3, 2);
  EXPECT_FALSE(enabled(apply));
  enableApplyIfReady(apply, 3, 1);
  EXPECT_TRUE(enabled(apply));
  EnableWindow(apply, FALSE);
  enableApplyIfReady(apply, 5, 3);
  EXPECT_FALSE(enabled(apply));
  enableApplyIfReady(apply, 7, 3);
  EXPECT_TRUE(enabled(apply));
  enableApplyIfReady(apply, 0, 2);  // never disables
  EXPECT_TRUE(enabled(apply));

  const HWND create = button();
  EnableWindow(create, FALSE);
  enableCreateIfReady(create, 6);
  EXPECT_FALSE(enabled(create));
  enableCreateIfReady(create, 7);
  EXPECT_TRUE(enabled(create));
}

TEST_F(windowHelpers, readIntFromControl) {
  const HWND level = edit(L"42abc");
  EXPECT_EQ(readIntFromControl(level), 42);
  SetWindowTextW(level, L"");
  EXPECT_EQ(readIntFromControl(level), 0);
  SetWindowTextW(level, L"x9");
  EXPECT_EQ(readIntFromControl(level), 0);
  SetWindowTextW(level, L" -3");
  EXPECT_EQ(readIntFromControl(level), -3);
  SetWindowTextW(level, std::wstring(300, L'9').c_str());
  EXPECT_EQ(readIntFromControl(level), INT_MAX);
}

TEST_F(windowHelpers, showPathInEditPutsTheEndInView) {
  const HWND path = edit();
  const std::wstring longPath = L"C:\\" + std::wstring(200, L'd') + L"\\game.sfc";
  showPathInEdit(path, longPath, 0);
  EXPECT_EQ(windowText(path), longPath);
  DWORD from = 0, to = 0;
  SendMessageW(path, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(from, longPath.size());
  EXPECT_EQ(to, longPath.size());

  showPathInEdit(path, L"C:\\games\\rom.sfc", 1);
  EXPECT_EQ(windowText(path), L"rom.sfc\\games\\C:");
  SendMessageW(path, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(from, 0u);
}

TEST(windowHelperTexts, pageColourIsRaisedWithoutOverflow) {
  EXPECT_EQ(pageBrushColour(RGB(240, 240, 240)), RGB(250, 250, 250));
  EXPECT_EQ(pageBrushColour(RGB(250, 0, 245)), RGB(255, 10, 255));
}

TEST(windowHelperFiles, droppedFileNameTakesTheFirstAndRefusesOneTooLong) {
  EXPECT_EQ(droppedFileName(makeDrop({L"C:\\a\\hack.ml", L"C:\\b.txt"})), L"C:\\a\\hack.ml");
  const std::wstring longest = L"C:\\" + std::wstring(MAX_PATH - 4, L'x');
  EXPECT_EQ(droppedFileName(makeDrop({longest})), longest);
  EXPECT_EQ(droppedFileName(makeDrop({longest + L"x"})), L"");
}

TEST(windowHelperFiles, findPatchReadmeLooksBesideThePatch) {
  scratchDir folder;
  pathFields paths;
  paths.applyPatchPath = folder.path().wstring() + L"\\hack.ml";
  EXPECT_FALSE(findPatchReadme(paths));
  EXPECT_EQ(paths.patchReadmePath, folder.path().wstring() + L"\\readme.txt");
  writeFileBytes(folder.path() / "readme.txt", bytes{'h', 'i'});
  EXPECT_TRUE(findPatchReadme(paths));
}
