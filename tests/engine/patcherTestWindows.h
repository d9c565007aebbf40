// The windows a patcher reports to (information box, restore checkbox, output edit and button,
// status bar), the patcher set attached to them with a module folder in a scratch folder, and
// a recorder in place of cmd.exe.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <typeinfo>
#include <vector>

#include "errors.h"
#include "patcherSet.h"
#include "records.h"
#include "statusDisplay.h"
#include "testFiles.h"
#include "textConvert.h"

// The parameter texts that the patchers would have handed to cmd.exe.
inline std::vector<std::string>& startedCommands() {
  static std::vector<std::string> commands;
  return commands;
}
inline bool recordStart(const std::string& parameters) {
  startedCommands().push_back(parameters);
  return true;
}

// The message of the error object a call throws; an object of another class fails the test.
template <class expected, class call>
std::wstring thrownMessage(call&& run) {
  try {
    run();
  } catch (errorBase* error) {
    if (typeid(*error) != typeid(expected)) ADD_FAILURE() << "another error class: " << toUtf8(error->message);
    return error->message;
  }
  ADD_FAILURE() << "nothing thrown";
  return {};
}

inline std::wstring windowText(HWND window) {
  std::wstring text(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(size_t(GetWindowTextW(window, text.data(), int(text.size()))));
  return text;
}

inline std::wstring statusText(HWND statusBar, int part) {
  const LRESULT length = LOWORD(SendMessageW(statusBar, SB_GETTEXTLENGTHW, part, 0));
  std::wstring text(size_t(length) + 1, L'\0');
  SendMessageW(statusBar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
  text.resize(size_t(length));
  return text;
}

inline std::wstring wide(const std::string& utf8) { return utf8.empty() ? std::wstring() : fromUtf8(utf8); }

class patcherWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCommonControls();
    gui.mainWindow = CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr,
                                     nullptr, nullptr, nullptr);
    gui.applyInfoEdit = child(L"EDIT", ES_MULTILINE);
    gui.applyTargetEdit = child(L"EDIT", 0);
    gui.applyOutputButton = child(L"BUTTON", BS_PUSHBUTTON);
    gui.settingsRestoreCheck = child(L"BUTTON", BS_AUTOCHECKBOX);
    gui.settingsLevelEdit = child(L"EDIT", 0);
    createStatusDisplay(gui);
    defaultFont = reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageW(gui.applyInfoEdit, WM_SETFONT, reinterpret_cast<WPARAM>(defaultFont), FALSE);

    std::filesystem::create_directories(dir.path() / "Program" / "Modules");
    programFolder = wide(dir.file("Program")) + L"\\";
    attachPatcherSet(set, gui, programFolder);
    startedCommands().clear();
    startModuleProcess = recordStart;
    settings.resetToDefaults();
  }
  void TearDown() override {
    startModuleProcess = startCmdExe;
    set.module1.finish();
    set.module2.finish();
    set.module3.finish();
    DestroyWindow(gui.mainWindow);
  }

  HWND child(const wchar_t* className, DWORD style) {
    return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 200, 20, gui.mainWindow,
                           nullptr, nullptr, nullptr);
  }
  std::string modulePath(int number) const {
    return dir.file("Program") + "\\Modules\\" + std::to_string(number) + ".m";
  }
  // A file in the scratch folder holding the bytes; its UTF-8 path.
  std::string makeFile(const std::string& name, const bytes& data) {
    const std::string path = dir.file(name);
    writeFileBytes(std::filesystem::path(std::u8string(path.begin(), path.end())), data);
    return path;
  }
  bool isChecked(HWND box) const { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void tick(HWND box) {
    EnableWindow(box, TRUE);
    SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    job.restoreOriginal = 1;
  }
  HFONT infoFont() const { return reinterpret_cast<HFONT>(SendMessageW(gui.applyInfoEdit, WM_GETFONT, 0, 0)); }

  scratchDir dir;
  guiHandles gui;
  patcherSet set;
  patchJob job;
  pathFields paths;
  settingsValues settings;
  std::wstring programFolder;
  HFONT defaultFont = nullptr;
};
