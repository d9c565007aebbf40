#include "windowHelpers.h"

#include <algorithm>
#include <shlobj.h>
#include <shlwapi.h>

#include "guiTexts.h"
#include "pathHelpers.h"

namespace {

constexpr UINT showReadmeItem = 40005;
constexpr UINT addConsoleNameItem = 40008;
constexpr int createSubmenu = 1;

void enableMenuItem(HMENU menu, UINT item, int enable) {
  EnableMenuItem(menu, item, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
}

}  // namespace

void showPathInEdit(HWND edit, const std::wstring& path, int reversed) {
  if (reversed) {
    const std::wstring shown = reversePathForDisplay(path);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    return;
  }
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  const int length = GetWindowTextLengthW(edit);
  SendMessageW(edit, EM_SETSEL, length, length);
  SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

void setOutputButtonMode(HWND button, const settingsValues& settings) {
  const bool toFolder = settings.patch_to_file == 3;
  const std::wstring& caption = guiCaptionTexts[toFolder ? 14 : 11];
  SendMessageW(button, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
  EnableWindow(button, !toFolder && settings.patch_to_file != 1);
}

void clearAndDisableCheckbox(HWND checkbox, sharedInt& flag) {
  flag = 0;
  SendMessageW(checkbox, BM_SETCHECK, BST_UNCHECKED, 0);
  EnableWindow(checkbox, FALSE);
}

int readIntFromControl(HWND window) {
  wchar_t text[260] = {};
  SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
  return parseDecimal(text, 0);
}

void setApplyControlsEnabled(guiHandles& gui, uint8_t enable, int finished, int patchToFile) {
  gui.guiEnabled = enable;
  EnableWindow(gui.applySelectPatchButton, enable);
  EnableWindow(gui.applySelectSourceButton, enable);
  if (patchToFile == 3) {
    // "Open folder" becomes usable once a run has written into the folder.
    if (finished) EnableWindow(gui.applyOutputButton, TRUE);
  } else if (patchToFile != 1) {
    EnableWindow(gui.applyOutputButton, enable);
  }
  EnableWindow(gui.applyRunButton, enable);
}

void setCreateControlsEnabled(guiHandles& gui, uint8_t enable) {
  gui.guiEnabled = enable;
  EnableWindow(gui.createSavePatchButton, enable);
  EnableWindow(gui.createSelectSourceButton, enable);
  EnableWindow(gui.createSelectModifiedButton, enable);
  EnableWindow(gui.createRunButton, enable);
}

void toggleMenuCheck(HMENU menu, int32_t& flag, UINT itemId) {
  flag ^= 1;
  CheckMenuItem(menu, itemId, MF_BYCOMMAND | (flag == 1 ? MF_CHECKED : MF_UNCHECKED));
}

void enableApplyIfReady(HWND button, uint8_t mask, int patchToFile) {
  const uint8_t needed = patchToFile == 1 ? 3 : 7;
  if ((mask & needed) == needed) EnableWindow(button, TRUE);
}

void enableCreateIfReady(HWND button, uint8_t mask) {
  if (mask == 7) EnableWindow(button, TRUE);
}

int setWindowEnabled(HWND window, int enable) {
  EnableWindow(window, enable);
  return enable;
}

void limitEditorFields(const guiHandles& gui) {
  for (HWND edit : {gui.createCustomConsoleEdit, gui.createGameEdit, gui.createHackEdit,
                    gui.createVersionEdit, gui.createAuthorEdit, gui.createContactEdit,
                    gui.createCommentEdit}) {
    SendMessageW(edit, EM_LIMITTEXT, editorFieldLimit, 0);
  }
}

COLORREF pageBrushColour(COLORREF buttonFace) {
  const auto raised = [](BYTE value) { return static_cast<BYTE>(std::min(value + 10, 255)); };
  return RGB(raised(GetRValue(buttonFace)), raised(GetGValue(buttonFace)),
             raised(GetBValue(buttonFace)));
}

HBRUSH createPageBrush() { return CreateSolidBrush(pageBrushColour(GetSysColor(COLOR_BTNFACE))); }

void openInNotepad(HWND mainWindow, const std::wstring& path) {
  ShellExecuteW(mainWindow, nullptr, L"notepad.exe", path.c_str(), nullptr, SW_SHOW);
}

void showInExplorer(HWND mainWindow, const std::wstring& path) {
  const std::wstring parameters = L"/select, /n, \"" + path + L"\"";
  ShellExecuteW(mainWindow, nullptr, L"explorer.exe", parameters.c_str(), nullptr, SW_SHOW);
}

std::wstring droppedFileName(HDROP drop) {
  wchar_t name[MAX_PATH] = {};
  const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
  if (length < MAX_PATH) DragQueryFileW(drop, 0, name, MAX_PATH);
  DragFinish(drop);
  return name;
}

void showPagePopupMenu(HWND owner, HMENU menu, POINT at, int submenu, int readmeFound) {
  if (!menu) return;
  const HMENU popup = GetSubMenu(menu, submenu);
  if (!popup) return;
  enableMenuItem(popup, showReadmeItem, readmeFound);
  TrackPopupMenu(popup, TPM_LEFTBUTTON, at.x, at.y, 0, owner, nullptr);
}

void showCreatePopupMenu(HWND owner, HMENU menu, POINT at, int showFlag, int addNameFlag) {
  if (!menu || !showFlag) return;
  const HMENU popup = GetSubMenu(menu, createSubmenu);
  if (!popup) return;
  enableMenuItem(popup, addConsoleNameItem, addNameFlag);
  TrackPopupMenu(popup, TPM_LEFTBUTTON, at.x, at.y, 0, owner, nullptr);
}

bool findPatchReadme(pathFields& paths) {
  paths.patchReadmePath = directoryOfPath(paths.applyPatchPath) + L"readme.txt";
  return PathFileExistsW(paths.patchReadmePath.c_str()) != FALSE;
}

int CALLBACK folderBrowseCallback(HWND window, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED) SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}
