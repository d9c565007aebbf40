#include <gtest/gtest.h>

#include "guiTexts.h"
#include "patchInfoEditor.h"
#include "pathHelpers.h"
#include "patcherSet.h"
#include "realWindow.h"
#include "recordingTaskbar.h"
#include "resources/resourceIds.h"

namespace {

std::wstring wide(const std::string& path) { return std::filesystem::path(path).wstring(); }

}  // namespace

TEST_F(realWindow, tabsWrapAroundAndShowTheirCaptionWhileIdle) {
  EXPECT_EQ(status(0), L"0");
  EXPECT_EQ(status(1), L"Apply patch");
  previousTab();
  EXPECT_EQ(currentTab, 2);
  EXPECT_TRUE(IsWindowVisible(tabPages[2]));
  EXPECT_FALSE(IsWindowVisible(tabPages[0]));
  EXPECT_EQ(status(1), L"Configuration");
  nextTab();
  EXPECT_EQ(currentTab, 0);
  nextTab();
  EXPECT_EQ(status(1), L"Create patch");
  theGui.guiEnabled = 0;  // a worker runs
  nextTab();
  EXPECT_EQ(currentTab, 1);
  EXPECT_TRUE(IsWindowVisible(tabPages[1]));
}

TEST_F(realWindow, aDroppedPatchIsShownWithItsInformationAndPatcher) {
  const std::string original = folder.file("game.sfc");
  const std::string modified = folder.file("hacked.sfc");
  writeFileBytes(original, randomBytes(5000, 1));
  bytes changed = randomBytes(5000, 1);
  changed[100] ^= 0xFF;
  writeFileBytes(modified, changed);
  makeMorloPatch(original, modified, folder.file("hack.ml"));

  drop(theGui.applyInfoEdit, wide(folder.file("hack.ml")));
  EXPECT_EQ(applyPatcher, &thePatcherSet.morlo);
  EXPECT_EQ(thePaths.filesChosenMask, patchChosenBit);
  EXPECT_EQ(windowText(theGui.applyPatchEdit), reversePathForDisplay(wide(folder.file("hack.ml"))));
  EXPECT_NE(windowText(theGui.applyInfoEdit).find(L"Hack: Hack\r\n"), std::wstring::npos);

  writeFileBytes(folder.file("other.ppf"), bytes{'P', 'P', 'F', '1', '0', 0});
  drop(theGui.applyPatchEdit, wide(folder.file("other.ppf")));
  EXPECT_EQ(applyPatcher, &thePatcherSet.module2);
}

TEST_F(realWindow, aPatchThatCannotBeReadStillShowsTheNewPath) {
  writeFileBytes(folder.file("first.ppf"), bytes{'P', 'P', 'F', '1', '0', 0});
  drop(theGui.applyPatchEdit, wide(folder.file("first.ppf")));
  writeFileBytes(folder.file("bad.ml"), bytes{'X', 'X'});
  boxAnswerer answerer;
  drop(theGui.applyInfoEdit, wide(folder.file("bad.ml")));
  EXPECT_EQ(answerer.texts(), L"Patch file is too short");
  EXPECT_EQ(windowText(theGui.applyPatchEdit), reversePathForDisplay(wide(folder.file("bad.ml"))));
  EXPECT_EQ(thePaths.applyPatchPath, wide(folder.file("bad.ml")));
}

TEST_F(realWindow, dropsAreRefusedWhileAWorkerRunsAndFollowTheMode) {
  writeFileBytes(folder.file("a.ppf"), bytes{'P', 'P', 'F', '1', '0', 0});
  workerBusy = 1;
  for (HWND target : {theGui.applyInfoEdit, theGui.applyPatchEdit, theGui.applySourceEdit,
                      theGui.applyTargetEdit, theGui.createPatchEdit, tabPages[1]}) {
    drop(target, wide(folder.file("a.ppf")));
  }
  workerBusy = 0;
  EXPECT_EQ(applyPatcher, &thePatcherSet.morlo);
  EXPECT_EQ(thePaths.filesChosenMask, 0);
  EXPECT_EQ(thePaths.createChosenMask, 0);
  EXPECT_EQ(windowText(theGui.applyPatchEdit), L"");

  theSettings.patch_to_file = 3;
  drop(theGui.applyTargetEdit, L"C:\\out.bin");
  EXPECT_EQ(windowText(theGui.applyTargetEdit), L"The path for this file will be automatically created.");
  EXPECT_EQ(thePaths.filesChosenMask, 0);
}

TEST_F(realWindow, anApplyRunReportsInTheStatusBarAndEndsIdle) {
  const std::string original = folder.file("game.sfc");
  const std::string modified = folder.file("hacked.sfc");
  writeFileBytes(original, randomBytes(300000, 2));
  bytes changed = randomBytes(300000, 2);
  changed.resize(310000, 0x5A);
  writeFileBytes(modified, changed);
  makeMorloPatch(original, modified, folder.file("hack.ml"));

  drop(theGui.applyPatchEdit, wide(folder.file("hack.ml")));
  drop(theGui.applySourceEdit, wide(original));
  EXPECT_FALSE(IsWindowEnabled(theGui.applyRunButton));
  drop(theGui.applyTargetEdit, wide(folder.file("out.sfc")));
  ASSERT_TRUE(IsWindowEnabled(theGui.applyRunButton));

  SendMessageW(tabPages[0], WM_COMMAND, IDM_RUN, 0);  // Enter
  EXPECT_TRUE(workerBusy);
  EXPECT_TRUE(pumpUntil([&] { return status(1) == L"Patching is successfully finished!"; }));
  EXPECT_FALSE(IsWindowEnabled(theGui.applyRunButton));
  EXPECT_TRUE(pumpUntil([] { return !workerBusy; }));
  pumpUntil([] { return false; }, std::chrono::milliseconds(300));
  EXPECT_EQ(status(0), L"0");
  EXPECT_EQ(status(1), L"Apply patch");
  EXPECT_EQ(progressPosition(theGui.progressBar), 0);
  EXPECT_TRUE(IsWindowEnabled(theGui.applyRunButton));
  EXPECT_EQ(thePaths.applyFinished, 1);
  EXPECT_EQ(readFileBytes(folder.file("out.sfc")), changed);
}

namespace {

// The Create page ready to make hack.ml, without patch information, from two games dropped on it.
class createRun : public realWindow {
 protected:
  void SetUp() override {
    realWindow::SetUp();
    writeFileBytes(folder.file("game.sfc"), randomBytes(5000, 3));
    writeFileBytes(folder.file("hacked.sfc"), randomBytes(5000, 4));
    drop(theGui.createPatchEdit, wide(folder.file("hack.ml")));
    drop(theGui.createSourceEdit, wide(folder.file("game.sfc")));
    drop(theGui.createModifiedEdit, wide(folder.file("hacked.sfc")));
    theSettings.withInfo = 0;
  }
};

}  // namespace

TEST_F(createRun, theTaskbarIsCalledOnlyOnTheWindowsThread) {
  recordingTaskbar taskbar;
  taskbarList = &taskbar;
  SendMessageW(tabPages[1], WM_COMMAND, IDC_RUN, 0);
  EXPECT_TRUE(pumpUntil([] { return !workerBusy; }));
  // The worker's last word clears the progress.
  EXPECT_TRUE(pumpUntil([&] { return !taskbar.calls.empty() && taskbar.calls.back() == L"no progress"; },
                        std::chrono::seconds(5)));
  taskbarList = nullptr;
  EXPECT_EQ(taskbar.threads, std::vector<DWORD>(taskbar.threads.size(), GetCurrentThreadId()));
}

TEST_F(createRun, thePatchHoldsTheInformationAsItStoodAtTheClick) {
  theSettings.withInfo = 1;
  const std::array<HWND, 6> fields = {theGui.createGameEdit,   theGui.createHackEdit,
                                      theGui.createVersionEdit, theGui.createAuthorEdit,
                                      theGui.createContactEdit, theGui.createCommentEdit};
  for (HWND field : fields) SetWindowTextW(field, L"Before");
  SendMessageW(tabPages[1], WM_COMMAND, IDC_RUN, 0);
  // The user goes on editing while the run reads the information.
  for (HWND field : fields) SetWindowTextW(field, L"");
  SendMessageW(theGui.createConsoleCombo, CB_SETCURSEL, 1, 0);
  SendMessageW(tabPages[1], WM_COMMAND, MAKEWPARAM(IDC_CONSOLE_COMBO, CBN_SELCHANGE), 0);
  EXPECT_TRUE(pumpUntil([] { return !workerBusy; }));

  drop(theGui.applyInfoEdit, wide(folder.file("hack.ml")));
  EXPECT_NE(windowText(theGui.applyInfoEdit).find(L"System: NES\r\nGame: Before\r\nHack: Before\r\n"),
            std::wstring::npos);
}

TEST_F(createRun, aFlashRunsNoQueuedClickInsideItAndLeavesARunItsDisplay) {
  bytes list = {0xFF, 0xFE};
  putUtf16Le(list, u"NES");
  writeFileBytes(folder.file("console names.ini"), list);
  theInfoEditor.consoleNamesPath = wide(folder.file("console names.ini"));

  // "Create patch" and the close box clicked while "Update console name list" flashes.
  PostMessageW(tabPages[1], WM_COMMAND, MAKEWPARAM(IDC_RUN, BN_CLICKED), 0);
  PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
  const DWORD start = GetTickCount();
  SendMessageW(tabPages[1], WM_COMMAND, IDM_UPDATE_CONSOLES, 0);
  EXPECT_FALSE(workerBusy);
  EXPECT_TRUE(IsWindow(main));
  EXPECT_EQ(status(1), L"Loading");

  // Then the run starts, the close is refused while it goes, and the flash ends under it without
  // putting back the idle text (the run lasts at least its two pauses and the final 1.5 s).
  ASSERT_TRUE(pumpUntil([] { return workerBusy.load() != 0; }));
  bool idleShown = false;
  pumpUntil([&] {
    idleShown |= status(1) == guiCaptionTexts[size_t(currentTab)];
    return GetTickCount() - start > 1400;
  });
  EXPECT_FALSE(idleShown);
  EXPECT_TRUE(workerBusy);
  EXPECT_TRUE(pumpUntil([] { return !workerBusy; }));
  EXPECT_TRUE(IsWindow(main));
  EXPECT_TRUE(std::filesystem::exists(folder.file("hack.ml")));
}

TEST(mainWindowStart, aPreselectedPatchThatCannotBeReadStillFinishesTheStart) {
  scratchDir folder;
  const std::string bad = folder.file("bad.ml");
  writeFileBytes(bad, bytes{'M', 'L'});
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&classes);
  boxAnswerer answerer;
  const HWND main = createMainWindow(GetModuleHandleW(nullptr), {L"C:\\morlo.exe", wide(bad)});
  ASSERT_TRUE(main);
  EXPECT_EQ(answerer.texts(), L"Patch file is too short");
  EXPECT_EQ(thePaths.filesChosenMask, patchChosenBit);
  EXPECT_EQ(windowText(theGui.applyPatchEdit), reversePathForDisplay(wide(bad)));
  EXPECT_TRUE(tabPages[2]);
  DestroyWindow(main);
}
