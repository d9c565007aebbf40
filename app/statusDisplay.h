// The status bar, the progress bar inside it and the taskbar progress through which morlo shows
// what a run does, and the pause that keeps the windows alive inside long loops.
#pragma once
#include <windows.h>

#include <string>

#include "progressReport.h"
#include "records.h"

struct ITaskbarList3;
// Created at start-up and released when the main window closes; may stay empty, and then every
// taskbar call is skipped.
extern ITaskbarList3* taskbarList;

constexpr int idStatusBar = 201;

// Creates statusBar (parts ending at 23, 380 and the window's end, at least 24 pixels high, "0" in
// part 0) at the foot of the main window and progressBar inside its part 2, and keeps both in gui.
void createStatusDisplay(guiHandles& gui);

// The single writes; a null window or an empty taskbarList makes them do nothing.
void setStatusText(HWND statusBar, int part, const std::wstring& text);
void setProgressPosition(HWND progressBar, int percent);
// The taskbar object lives in the GUI thread's apartment, so only that thread calls it: another
// thread posts taskbarProgressMessage to the main window, which answers with showTaskbarProgress.
void setTaskbarProgress(HWND mainWindow, int percent);
void clearTaskbarProgress(HWND mainWindow);

// wParam: the percentage, or noTaskbarProgress to clear it.
constexpr UINT taskbarProgressMessage = WM_APP + 1;
constexpr WPARAM noTaskbarProgress = ~WPARAM(0);
void showTaskbarProgress(HWND mainWindow, WPARAM value);

// Status part 1 while nothing runs: the caption of the tab control's current tab.
void showIdleStatus(const guiHandles& gui);
// After a run: counter "0", the current tab's caption, progress 0, no taskbar progress.
void resetProgressDisplay(const guiHandles& gui);
// The short "done" display after a list operation: text and a full bar at once, and 800 ms later,
// on a timer of the main window, back to idle (unless a run has started meanwhile) and the
// asterisk beep. The taskbar is not touched.
void flashProgressDone(const guiHandles& gui, const std::wstring& text);
// Dispatches the calling thread's messages for 550 ms, sleeping 10 ms whenever the queue is empty.
// A WM_QUIT is put back into the queue and ends the pause, so the program still closes.
void pumpMessages();

// Carries a progressReport to the status bar, the progress bar and the taskbar button of the main
// window. Null windows are skipped; with neither bar there is nothing to keep alive, so the pause
// is skipped as well.
class windowProgressSink final : public progressSink {
 public:
  windowProgressSink() = default;
  windowProgressSink(HWND statusBar, HWND progressBar, HWND mainWindow);
  explicit windowProgressSink(const guiHandles& gui);

  void statusText(int part, const std::wstring& text) override;
  void progressPosition(int percent) override;
  void taskbarProgress(int percent) override;
  void pause() override;

 private:
  HWND statusBar_ = nullptr;
  HWND progressBar_ = nullptr;
  HWND mainWindow_ = nullptr;
};
