// Drives the real morlo.exe in its own process as a user would: through its controls by id, the
// open and save dialogs, message boxes, keys and the mouse.
#pragma once
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// Waits until the condition holds; false after the time is up.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds limit = std::chrono::seconds(20));

std::wstring windowText(HWND window);

// A program folder as a user gets it, made in a scratch folder: morlo.exe, Modules\2.m and the
// empty data folders.
void makeProgramFolder(const std::filesystem::path& folder);

class morloProcess {
 public:
  // Starts folder\morlo.exe with the arguments, in the working folder, and waits for its window,
  // or for the end of a start that has none (an "Error" box, or the end of the process).
  morloProcess(const std::filesystem::path& folder, const std::wstring& arguments = L"",
               const std::filesystem::path& workingFolder = {});
  ~morloProcess();
  morloProcess(const morloProcess&) = delete;
  morloProcess& operator=(const morloProcess&) = delete;

  HWND mainWindow() const { return main_; }
  // The pages in tab order: 0 apply, 1 create, 2 settings.
  HWND page(int index) const { return pages_[index]; }
  HWND control(int pageIndex, int id) const { return GetDlgItem(pages_[pageIndex], id); }
  HWND tabs() const;
  std::wstring tabCaption(int index) const;
  int selectedTab() const;
  int visiblePage() const;  // the index of the page shown, -1 when none or several

  // Text typed into an edit.
  static void setText(HWND edit, const std::wstring& text);
  // A combo box item picked as with the mouse: selected, and the page told.
  void pickComboItem(int pageIndex, int comboId, int index) const;
  std::vector<std::wstring> comboItems(HWND combo) const;
  // A command of a page's popup menu, as the menu sends it.
  void menuCommand(int pageIndex, int commandId) const;

  // A button click as the mouse gives it; returns at once (the click may open a modal dialog).
  void click(HWND button) const;
  // A left click on a tab of the tab control, in the middle of its label.
  void clickTab(int index) const;
  // The right button on an empty spot of a page: its popup menu opens at the mouse; returns the
  // menu window.
  HWND openPopupMenu(int pageIndex) const;
  void closePopupMenu() const;
  // A top-level window of this process with the caption, such as "Open", "Error" or "About...".
  HWND waitForWindow(const std::wstring& caption) const;
  HWND findWindow(const std::wstring& caption) const;
  // Fills the file name of an open or save dialog and confirms it.
  void chooseInFileDialog(const std::wstring& caption, const std::filesystem::path& file) const;
  // Picks the folder of that name among the first level of the folder picker's tree (the
  // desktop's folders) and confirms it.
  void chooseInFolderDialog(const std::wstring& caption, const std::wstring& folderName) const;
  // The text of a message box, and its dismissal with the button of that id.
  static std::wstring messageText(HWND box);
  static void dismiss(HWND box, int buttonId = IDOK);

  // Keys as the keyboard gives them, to the foreground window of this process.
  void pressKeys(const std::vector<WORD>& chord) const;
  // Closes the window with its close command (the system menu's Close) and waits for the end.
  bool close(std::chrono::milliseconds limit = std::chrono::seconds(20));
  bool running() const;
  // Waits for the end of the process: its exit code, or STILL_ACTIVE when it goes on.
  DWORD exitCode(std::chrono::milliseconds limit = std::chrono::seconds(20)) const;

 private:
  PROCESS_INFORMATION process_{};
  HWND main_ = nullptr;
  HWND pages_[3] = {};
};

// The screen's picture of the area, written as a 24-bit BMP file.
void saveScreenPicture(const RECT& area, const std::filesystem::path& file);
