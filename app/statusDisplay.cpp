#include "statusDisplay.h"

#include <commctrl.h>
#include <shobjidl.h>

#include "guiTexts.h"

ITaskbarList3* taskbarList = nullptr;

namespace {

constexpr int statusPartEdges[3] = {23, 380, -1};
constexpr int statusMinHeight = 24;
constexpr DWORD pumpMilliseconds = 550;
// The "done" flash lasts as long as a pause and a quarter of a second.
constexpr DWORD flashMilliseconds = pumpMilliseconds + 250;
constexpr UINT_PTR flashTimer = 1;  // on the main window
const guiHandles* flashingGui = nullptr;

// The caption of the tab control's current tab; empty when no tab is selected.
std::wstring currentTabCaption(const guiHandles& gui) {
  const LRESULT selection = gui.tabControl ? SendMessageW(gui.tabControl, TCM_GETCURSEL, 0, 0) : 0;
  if (selection < 0 || selection > 2) return std::wstring();
  return guiCaptionTexts[static_cast<size_t>(selection)];
}

// A run started during the flash owns the display by now, so it is left to the run.
void CALLBACK endFlash(HWND window, UINT, UINT_PTR timer, DWORD) {
  KillTimer(window, timer);
  if (flashingGui && flashingGui->guiEnabled) {
    setProgressPosition(flashingGui->progressBar, 0);
    showIdleStatus(*flashingGui);
  }
  MessageBeep(MB_ICONASTERISK);
}

}  // namespace

void createStatusDisplay(guiHandles& gui) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  gui.statusBar = CreateWindowExW(0, STATUSCLASSNAMEW, L"0", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                  gui.mainWindow, reinterpret_cast<HMENU>(idStatusBar), instance,
                                  nullptr);
  if (!gui.statusBar) return;
  SendMessageW(gui.statusBar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(statusPartEdges));
  SendMessageW(gui.statusBar, SB_SETMINHEIGHT, statusMinHeight, 0);
  SendMessageW(gui.statusBar, WM_SIZE, 0, 0);  // takes the new height
  setStatusText(gui.statusBar, 0, L"0");

  RECT part{};
  SendMessageW(gui.statusBar, SB_GETRECT, 2, reinterpret_cast<LPARAM>(&part));
  gui.progressBar = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE,
                                    part.left + 2, part.top + 2, (part.right - part.left) - 8,
                                    (part.bottom - part.top) - 4, gui.statusBar, nullptr, instance,
                                    nullptr);
  if (gui.progressBar) SendMessageW(gui.progressBar, PBM_SETSTEP, 1, 0);
}

void setStatusText(HWND statusBar, int part, const std::wstring& text) {
  if (statusBar) SendMessageW(statusBar, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(text.c_str()));
}

void setProgressPosition(HWND progressBar, int percent) {
  if (progressBar) SendMessageW(progressBar, PBM_SETPOS, percent, 0);
}

namespace {

void updateTaskbar(HWND mainWindow, WPARAM value) {
  if (!taskbarList || !mainWindow) return;
  if (GetWindowThreadProcessId(mainWindow, nullptr) == GetCurrentThreadId()) {
    showTaskbarProgress(mainWindow, value);
  } else {
    PostMessageW(mainWindow, taskbarProgressMessage, value, 0);
  }
}

}  // namespace

void setTaskbarProgress(HWND mainWindow, int percent) { updateTaskbar(mainWindow, WPARAM(percent)); }

void clearTaskbarProgress(HWND mainWindow) { updateTaskbar(mainWindow, noTaskbarProgress); }

// Checked again here: the object may have been released since the message was posted.
void showTaskbarProgress(HWND mainWindow, WPARAM value) {
  if (!taskbarList) return;
  if (value == noTaskbarProgress) {
    taskbarList->SetProgressState(mainWindow, TBPF_NOPROGRESS);
  } else {
    taskbarList->SetProgressValue(mainWindow, value, 100);
  }
}

void showIdleStatus(const guiHandles& gui) { setStatusText(gui.statusBar, 1, currentTabCaption(gui)); }

void resetProgressDisplay(const guiHandles& gui) {
  setStatusText(gui.statusBar, 0, L"0");
  showIdleStatus(gui);
  setProgressPosition(gui.progressBar, 0);
  clearTaskbarProgress(gui.mainWindow);
}

// Ended by a timer, not by a pause that dispatches messages: a click on a run button or on the
// close box must not be handled inside the command that flashes.
void flashProgressDone(const guiHandles& gui, const std::wstring& text) {
  setStatusText(gui.statusBar, 1, text);
  setProgressPosition(gui.progressBar, 100);
  flashingGui = &gui;
  if (!SetTimer(gui.mainWindow, flashTimer, flashMilliseconds, endFlash))
    endFlash(gui.mainWindow, WM_TIMER, flashTimer, 0);
}

void pumpMessages() {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < pumpMilliseconds) {  // unsigned: the tick wrap does no harm
    MSG message;
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      Sleep(10);
      continue;
    }
    if (message.message == WM_QUIT) {
      // The message loop must still see it, or closing the window would not end the program.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

windowProgressSink::windowProgressSink(HWND statusBar, HWND progressBar, HWND mainWindow)
    : statusBar_(statusBar), progressBar_(progressBar), mainWindow_(mainWindow) {}

windowProgressSink::windowProgressSink(const guiHandles& gui)
    : windowProgressSink(gui.statusBar, gui.progressBar, gui.mainWindow) {}

void windowProgressSink::statusText(int part, const std::wstring& text) {
  setStatusText(statusBar_, part, text);
}

void windowProgressSink::progressPosition(int percent) { setProgressPosition(progressBar_, percent); }

void windowProgressSink::taskbarProgress(int percent) { setTaskbarProgress(mainWindow_, percent); }

void windowProgressSink::pause() {
  if (statusBar_ || progressBar_) pumpMessages();
}
