#include "statusDisplay.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guiTexts.h"
#include "recordingTaskbar.h"
#include "testWindows.h"

namespace {

// The main window with its tab control (three tabs, the second selected), status bar and
// progress bar.
class statusDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    gui.mainWindow = main.handle;
    gui.tabControl = main.child(WC_TABCONTROLW);
    for (int tab = 0; tab < 3; ++tab) {
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = guiCaptionTexts[tab].data();
      SendMessageW(gui.tabControl, TCM_INSERTITEMW, tab, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(gui.tabControl, TCM_SETCURSEL, 1, 0);
    createStatusDisplay(gui);
    ASSERT_NE(gui.statusBar, nullptr);
    ASSERT_NE(gui.progressBar, nullptr);
  }
  void TearDown() override { taskbarList = nullptr; }

  hiddenWindow main;
  guiHandles gui;
};

}  // namespace

TEST_F(statusDisplay, layoutOfTheStatusBarAndTheProgressBar) {
  int edges[3] = {};
  ASSERT_EQ(SendMessageW(gui.statusBar, SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges)), 3);
  EXPECT_EQ(edges[0], 23);
  EXPECT_EQ(edges[1], 380);
  EXPECT_EQ(edges[2], -1);
  EXPECT_EQ(GetDlgCtrlID(gui.statusBar), idStatusBar);
  EXPECT_EQ(GetParent(gui.statusBar), main.handle);
  EXPECT_EQ(statusPartText(gui.statusBar, 0), L"0");
  RECT bar{};
  GetWindowRect(gui.statusBar, &bar);
  EXPECT_GE(bar.bottom - bar.top, 24);

  RECT part{};
  SendMessageW(gui.statusBar, SB_GETRECT, 2, reinterpret_cast<LPARAM>(&part));
  RECT progress{};
  GetWindowRect(gui.progressBar, &progress);
  MapWindowPoints(nullptr, gui.statusBar, reinterpret_cast<POINT*>(&progress), 2);
  EXPECT_EQ(GetParent(gui.progressBar), gui.statusBar);
  EXPECT_EQ(progress.left, part.left + 2);
  EXPECT_EQ(progress.top, part.top + 2);
  EXPECT_EQ(progress.right - progress.left, part.right - part.left - 8);
  EXPECT_EQ(progress.bottom - progress.top, part.bottom - part.top - 4);
  EXPECT_EQ(SendMessageW(gui.progressBar, PBM_GETRANGE, FALSE, 0), 100);
  EXPECT_EQ(progressPosition(gui.progressBar), 0);
}

TEST_F(statusDisplay, aReportReachesTheControlsAndTheTaskbar) {
  recordingTaskbar taskbar;
  taskbarList = &taskbar;
  windowProgressSink sink(gui);
  progressReport report(sink);

  report.showStep(engineProgressTexts[3]);
  report.startBlocks(2 * progressBlockSize);
  EXPECT_EQ(statusPartText(gui.statusBar, 1), L"Data processing");
  EXPECT_EQ(statusPartText(gui.statusBar, 0), L"2");
  report.blockDone();
  EXPECT_EQ(statusPartText(gui.statusBar, 0), L"1");

  report.startPercent();
  report.showPercent(42);
  EXPECT_EQ(progressPosition(gui.progressBar), 42);
  report.showPercent(17);
  EXPECT_EQ(progressPosition(gui.progressBar), 42);
  report.endStage();
  EXPECT_EQ(progressPosition(gui.progressBar), 100);
  EXPECT_EQ(taskbar.calls, (std::vector<std::wstring>{L"value 42/100", L"value 100/100"}));
  EXPECT_EQ(taskbar.window, main.handle);

  taskbar.calls.clear();
  resetProgressDisplay(gui);
  EXPECT_EQ(statusPartText(gui.statusBar, 0), L"0");
  EXPECT_EQ(statusPartText(gui.statusBar, 1), L"Create patch");
  EXPECT_EQ(progressPosition(gui.progressBar), 0);
  EXPECT_EQ(taskbar.calls, (std::vector<std::wstring>{L"no progress"}));
}

TEST_F(statusDisplay, withoutTaskbarTheControlsStillFollow) {
  windowProgressSink sink(gui);
  progressReport report(sink);
  report.startPercent();
  report.showPercent(60);
  EXPECT_EQ(progressPosition(gui.progressBar), 60);
  SendMessageW(gui.tabControl, TCM_SETCURSEL, 2, 0);
  resetProgressDisplay(gui);
  EXPECT_EQ(statusPartText(gui.statusBar, 1), L"Configuration");
  EXPECT_EQ(progressPosition(gui.progressBar), 0);
}

TEST_F(statusDisplay, missingWindowsAreHarmless) {
  recordingTaskbar taskbar;
  taskbarList = &taskbar;
  windowProgressSink none;
  progressReport report(none);
  const DWORD start = GetTickCount();
  report.showStep(L"File processing");
  report.showPercent(10);
  report.endStage();  // nothing to keep alive: no pause
  EXPECT_LT(GetTickCount() - start, 300u);
  EXPECT_TRUE(taskbar.calls.empty());

  guiHandles empty;
  resetProgressDisplay(empty);
}

TEST_F(statusDisplay, flashShowsTheTextAndAFullBarUntilItsTimerEnds) {
  bool dispatched = false;
  main.appContext = &dispatched;
  main.onApp = [](void* context) { *static_cast<bool*>(context) = true; };
  PostMessageW(main.handle, WM_APP, 0, 0);
  const DWORD start = GetTickCount();
  flashProgressDone(gui, guiMessageTexts[4]);
  // It returns at once, and what waits in the queue is not handled inside it.
  EXPECT_FALSE(dispatched);
  EXPECT_EQ(statusPartText(gui.statusBar, 1), L"Saving");
  EXPECT_EQ(progressPosition(gui.progressBar), 100);
  ASSERT_TRUE(pumpUntil([&] { return progressPosition(gui.progressBar) == 0; }));
  EXPECT_GE(GetTickCount() - start, 750u);
  EXPECT_TRUE(dispatched);
  EXPECT_EQ(statusPartText(gui.statusBar, 1), L"Create patch");
}

namespace {

struct dispatchTimes {
  DWORD posted = 0;
  DWORD dispatched = 0;
};

DWORD WINAPI postLater(void* parameter) {
  auto* window = static_cast<hiddenWindow*>(parameter);
  Sleep(150);
  static_cast<dispatchTimes*>(window->appContext)->posted = GetTickCount();
  PostMessageW(window->handle, WM_APP, 0, 0);
  return 0;
}

}  // namespace

TEST(pumpMessages, lastsItsTimeAndDispatchesWhatArrives) {
  hiddenWindow window;
  dispatchTimes times;
  window.appContext = &times;
  window.onApp = [](void* context) { static_cast<dispatchTimes*>(context)->dispatched = GetTickCount(); };
  HANDLE poster = CreateThread(nullptr, 0, postLater, &window, 0, nullptr);
  const DWORD start = GetTickCount();
  pumpMessages();
  const DWORD elapsed = GetTickCount() - start;
  WaitForSingleObject(poster, INFINITE);
  CloseHandle(poster);
  EXPECT_GE(elapsed, 550u);
  EXPECT_LT(elapsed, 1000u);
  ASSERT_NE(times.dispatched, 0u);
  EXPECT_LT(times.dispatched - times.posted, 100u);
}

TEST(pumpMessages, putsAQuitBackAndReturns) {
  PostQuitMessage(3);
  const DWORD start = GetTickCount();
  pumpMessages();
  EXPECT_LT(GetTickCount() - start, 500u);
  MSG message{};
  ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, unsigned(WM_QUIT));
  EXPECT_EQ(message.wParam, 3u);
}
