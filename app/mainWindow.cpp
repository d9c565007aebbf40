#include "mainWindow.h"

#include <commctrl.h>
#include <shobjidl.h>

#include "appState.h"
#include "applyPage.h"
#include "commandLine.h"
#include "configFile.h"
#include "createPage.h"
#include "guiTexts.h"
#include "patchInfoEditor.h"
#include "patcherSet.h"
#include "resources/resourceIds.h"
#include "settingsPage.h"
#include "statusDisplay.h"
#include "windowHelpers.h"

std::array<HWND, 3> tabPages{};
int currentTab = 0;
bool comStarted = false;

namespace {

constexpr int tabCount = 3;
bool aboutBoxOpen = false;

// A tab's caption; the captions are also the idle status texts of the tabs.
void putTabCaption(UINT message, int index) {
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(guiCaptionTexts[size_t(index)].c_str());
  SendMessageW(theGui.tabControl, message, index, reinterpret_cast<LPARAM>(&item));
}

void selectTab(int index) {
  currentTab = index;
  SendMessageW(theGui.tabControl, TCM_SETCURSEL, index, 0);
  showPage(index);
  setStatusText(theGui.statusBar, 1, guiCaptionTexts[size_t(index)]);
}

void createTabPages(HINSTANCE instance) {
  theGui.tabControl = GetDlgItem(theGui.mainWindow, IDC_TABS);
  // Dialog navigation enters the pages.
  SetWindowLongPtrW(theGui.tabControl, GWL_EXSTYLE,
                    GetWindowLongPtrW(theGui.tabControl, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  for (int i = 0; i < tabCount; ++i) putTabCaption(TCM_INSERTITEMW, i);
  SendMessageW(theGui.tabControl, TCM_SETCURSEL, 0, 0);

  RECT area{};
  GetClientRect(theGui.tabControl, &area);
  area.left -= 4;
  area.top -= 1;
  area.bottom += 1;
  SendMessageW(theGui.tabControl, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));

  // The Settings page comes last: its initialisation finishes the start-up.
  const int dialogs[tabCount] = {IDD_APPLY_PAGE, IDD_CREATE_PAGE, IDD_SETTINGS_PAGE};
  const DLGPROC procedures[tabCount] = {applyTabProc, createTabProc, configTabProc};
  for (int i = 0; i < tabCount; ++i) {
    tabPages[size_t(i)] = CreateDialogParamW(instance, MAKEINTRESOURCEW(dialogs[i]),
                                              theGui.tabControl, procedures[i], 0);
    SetWindowPos(tabPages[size_t(i)], nullptr, 1, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  showPage(0);
}

BOOL mainWindowInit(HWND window, const std::vector<std::wstring>& arguments) {
  theGui.mainWindow = window;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  SendMessageW(window, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(LoadIconW(instance, MAKEINTRESOURCEW(IDI_MORLO))));
  theSettings.resetToDefaults();
  settingsFile.programFolder = programFolderOfModule();
  if (arguments.size() == 2) {
    thePaths.applyPatchPath = arguments[1];
    thePaths.filesChosenMask |= patchChosenBit;
    theSettings.readmeFound = findPatchReadme(thePaths);
    applyPatcher = patcherForApply(thePatcherSet, thePaths.applyPatchPath);
  } else {
    applyPatcher = defaultPatcher(thePatcherSet);
  }
  createPatcher = defaultPatcher(thePatcherSet);
  createStatusDisplay(theGui);
  createTabPages(instance);
  showIdleStatus(theGui);
  return TRUE;
}

void onTabNotify(const NMHDR& header) {
  if (header.hwndFrom != theGui.tabControl || header.code != TCN_SELCHANGE) return;
  if (!theGui.guiEnabled) {
    MessageBeep(MB_ICONEXCLAMATION);
    SendMessageW(theGui.tabControl, TCM_SETCURSEL, currentTab, 0);
    return;
  }
  selectTab(int(SendMessageW(theGui.tabControl, TCM_GETCURSEL, 0, 0)));
}

// Closing would pull COM, the taskbar object and the patchers from under a running worker.
void closeMainWindow(HWND window) {
  if (workerBusy) {
    MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  theInfoEditor.saveConsoleNamesOnClose();
  if (taskbarList) {
    taskbarList->Release();
    taskbarList = nullptr;
  }
  if (comStarted) CoUninitialize();
  comStarted = false;
  DestroyWindow(window);
  PostQuitMessage(0);
}

void mainWindowCommand(HWND window, int id, int code) {
  switch (id) {
    case IDCANCEL:
      closeMainWindow(window);
      break;
    case IDC_SAVE_CONFIG:
    case IDM_NEXT_TAB:
    case IDM_PREVIOUS_TAB:
    case IDM_RUN:
      SendMessageW(tabPages[size_t(currentTab)], WM_COMMAND, MAKEWPARAM(id, code), 0);
      break;
    default:
      break;
  }
}

}  // namespace

int nextTabIndex(int current, int count) { return (current + 1) % count; }

int previousTabIndex(int current, int count) { return (current + count - 1) % count; }

HWND createMainWindow(HINSTANCE instance, const std::vector<std::wstring>& arguments) {
  return CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, mainDialogProc,
                            reinterpret_cast<LPARAM>(&arguments));
}

INT_PTR CALLBACK mainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return mainWindowInit(window, *reinterpret_cast<const std::vector<std::wstring>*>(lParam));
    case WM_NOTIFY:
      onTabNotify(*reinterpret_cast<const NMHDR*>(lParam));
      return TRUE;
    case WM_COMMAND:
      mainWindowCommand(window, LOWORD(wParam), HIWORD(wParam));
      return FALSE;
    case WM_HELP:
      showAboutBox(window);
      return TRUE;
    case taskbarProgressMessage:
      showTaskbarProgress(window, wParam);
      return TRUE;
    default:
      return FALSE;
  }
}

void showPage(int index) {
  for (int i = 0; i < tabCount; ++i) {
    const HWND page = tabPages[size_t(i)];
    const bool visible = IsWindowVisible(page) != FALSE;
    if (i == index && !visible) {
      SetWindowPos(page, nullptr, 0, 0, 0, 0,
                   SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
    } else if (i != index && visible) {
      SetWindowPos(page, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
  }
}

void nextTab() {
  if (!theGui.guiEnabled) {
    MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  selectTab(nextTabIndex(currentTab, tabCount));
}

void previousTab() {
  if (!theGui.guiEnabled) {
    MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  selectTab(previousTabIndex(currentTab, tabCount));
}

void showAboutBox(HWND owner) {
  if (aboutBoxOpen) return;
  aboutBoxOpen = true;
  MessageBoxW(owner, L"morlo " TEXT(MORLO_VERSION_TEXT), guiMessageTexts[9].c_str(),
              MB_SYSTEMMODAL | MB_ICONINFORMATION);
  aboutBoxOpen = false;
}

void renameTabs() {
  for (int i = tabCount - 1; i >= 0; --i) putTabCaption(TCM_SETITEMW, i);
  setStatusText(theGui.statusBar, 1, guiCaptionTexts[size_t(currentTab)]);
  InvalidateRect(theGui.tabControl, nullptr, TRUE);
}
