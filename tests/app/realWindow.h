// morlo's real main window in the test's own process, for what another process cannot read:
// status-bar texts, drops, and the records behind the pages.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "appState.h"
#include "mainWindow.h"
#include "morloPatcher.h"
#include "testFiles.h"
#include "testWindows.h"

// Answers the message boxes that the window shows on this thread with OK, keeping their texts.
class boxAnswerer {
 public:
  explicit boxAnswerer(DWORD thread = GetCurrentThreadId())
      : worker_([this, thread] {
          while (!stop_) {
            EnumThreadWindows(thread, answer, reinterpret_cast<LPARAM>(this));
            Sleep(20);
          }
        }) {}
  ~boxAnswerer() {
    stop_ = true;
    worker_.join();
  }
  std::wstring texts() const { return texts_; }

 private:
  static BOOL CALLBACK answer(HWND window, LPARAM self) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    // Texts are read without messages: the GUI thread may be waiting for this one.
    wchar_t caption[16] = {};
    InternalGetWindowText(window, caption, 16);
    if (wcscmp(className, L"#32770") != 0 || !IsWindowVisible(window) || wcscmp(caption, L"Error") != 0)
      return TRUE;
    auto* answerer = reinterpret_cast<boxAnswerer*>(self);
    wchar_t text[1024] = {};
    InternalGetWindowText(GetDlgItem(window, 0xFFFF), text, 1024);
    answerer->texts_ += text;
    PostMessageW(window, WM_COMMAND, IDOK, 0);
    Sleep(200);
    return TRUE;
  }

  std::atomic<bool> stop_ = false;
  std::wstring texts_;
  std::thread worker_;
};

class realWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&classes);
    main = createMainWindow(GetModuleHandleW(nullptr), {});
    ASSERT_TRUE(main);
    ShowWindow(main, SW_SHOWNORMAL);
  }
  void TearDown() override { DestroyWindow(main); }

  // Drops the files on the window, as the shell does.
  static void drop(HWND target, const std::wstring& file) {
    SendMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop({file})), 0);
  }
  std::wstring status(int part) const { return statusPartText(theGui.statusBar, part); }

  HWND main = nullptr;
  scratchDir folder;
};

// Makes a Morlo patch with information from original to modified, without windows.
inline void makeMorloPatch(const std::string& original, const std::string& modified,
                           const std::string& patch) {
  struct editor final : patchInfoEditor {
    editor() { infoValues = {L"SNES", L"Game", L"Hack", L"1.0", L"Author", L"Contact", L"Comment", L""}; }
    void readConsoleName() override {}
    void readInfoFields() override {}
  } values;
  morloPatcher maker;
  patchJob job{patch, original, modified};
  settingsValues settings;
  settings.resetToDefaults();
  guiHandles none;
  maker.create(job, values, settings, none);
  maker.finish();
}
