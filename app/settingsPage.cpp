#include "settingsPage.h"

#include <commctrl.h>

#include "appState.h"
#include "applyPage.h"
#include "caughtErrors.h"
#include "configFile.h"
#include "guiTexts.h"
#include "mainWindow.h"
#include "patchInfoEditor.h"
#include "patcherSet.h"
#include "resources/resourceIds.h"
#include "windowHelpers.h"

namespace {

const wchar_t* const sourceWindowSizes[] = {L"8", L"16", L"32", L"64", L"128", L"256", L"512", L"1024"};

void storeSettingsPageHandles(guiHandles& gui, HWND page) {
  const auto item = [page](int id) { return GetDlgItem(page, id); };
  gui.settingsInterfaceGroup = item(IDC_INTERFACE_GROUP);
  gui.settingsModeGroup = item(IDC_MODE_GROUP);
  gui.settingsXdeltaGroup = item(IDC_XDELTA_GROUP);
  gui.settingsOutputNameLabel = item(IDC_OUTPUT_NAME_LABEL);
  gui.settingsInfoNamesLabel = item(IDC_INFO_NAMES_LABEL);
  gui.settingsLevelLabel = item(IDC_LEVEL_LABEL);
  gui.settingsSecondaryLabel = item(IDC_SECONDARY_LABEL);
  gui.settingsWindowSizeLabel = item(IDC_WINDOW_SIZE_LABEL);
  gui.settingsLevelEdit = item(IDC_LEVEL_EDIT);
  gui.settingsOutputFolderEdit = item(IDC_OUTPUT_FOLDER);
  gui.settingsLanguageCombo = item(IDC_LANGUAGE_COMBO);
  gui.settingsInfoNamesCombo = item(IDC_INFO_NAMES_COMBO);
  gui.settingsSecondaryCombo = item(IDC_SECONDARY_COMBO);
  gui.settingsWindowSizeCombo = item(IDC_WINDOW_SIZE_COMBO);
  gui.settingsReversePathCheck = item(IDC_REVERSE_PATH);
  gui.settingsGameLinkCheck = item(IDC_GAME_LINK);
  gui.settingsGameNameCheck = item(IDC_USE_GAME_NAME);
  gui.settingsHackNameCheck = item(IDC_USE_HACK_NAME);
  gui.settingsHackVersionCheck = item(IDC_USE_HACK_VERSION);
  gui.settingsRestoreCheck = item(IDC_RESTORE);
  gui.settingsToOriginalRadio = item(IDC_TO_ORIGINAL);
  gui.settingsToCopyRadio = item(IDC_TO_COPY);
  gui.settingsToFolderRadio = item(IDC_TO_FOLDER);
  gui.settingsSetLanguageButton = item(IDC_SET_LANGUAGE);
  gui.settingsUpdateListButton = item(IDC_UPDATE_LIST);
  gui.settingsSelectFolderButton = item(IDC_SELECT_FOLDER);
  gui.settingsSaveButton = item(IDC_SAVE_CONFIG);
}

void setCheck(HWND button, int32_t on) {
  SendMessageW(button, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void fillCombo(HWND combo, const std::vector<std::wstring>& items, int32_t selection) {
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const std::wstring& text : items)
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageW(combo, CB_SETCURSEL, WPARAM(selection), 0);
}

void buildDataPaths() {
  const std::wstring& folder = settingsFile.programFolder;
  settingsFile.path = folder + configFile::relativePath;
  thePaths.gamesLinkPath = folder + L"Games links\\Game file";
  thePaths.languageFolder = folder + L"Langs\\";
  thePaths.outputFolder = folder + L"Output files";
}

// A patch named on the command line is shown as if it had just been chosen; one that cannot be
// read shows its error and the start-up goes on.
void showPreselectedPatch(HWND page) {
  if (!(thePaths.filesChosenMask & patchChosenBit)) return;
  if (const caughtError caught = runCaught(showChosenPatch)) {
    showErrorBox(page, caught.text);
    runCaught([] { applyPatcher->finish(); });
  }
}

BOOL configPageInit(HWND page) {
  storeSettingsPageHandles(theGui, page);
  theGui.popupMenu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDM_POPUPS));
  buildDataPaths();
  runCaught([] { settingsFile.load(theSettings, thePaths); });  // defaults stay without a file
  theJob.restoreOriginal = 0;
  showPathInEdit(theGui.settingsOutputFolderEdit, thePaths.outputFolder, theSettings.path_reverse);
  settingsFile.findDocs(thePaths, theSettings.language);
  updateNameOptions(theGui, theSettings);
  fillConfigPage(theGui, theSettings);
  CheckMenuRadioItem(GetSubMenu(theGui.popupMenu, 0), IDM_CHECKSUM_WARN, IDM_CHECKSUM_OFF,
                     IDM_CHECKSUM_WARN, MF_BYCOMMAND);
  theInfoEditor.loadConsoleNames();
  attachPatcherSet(thePatcherSet, theGui, settingsFile.programFolder);
  showPreselectedPatch(page);
  setOutputButtonMode(theGui.applyOutputButton, theSettings);
  return FALSE;
}

void configCommand(int id) {
  switch (id) {
    case IDM_NEXT_TAB:
      nextTab();
      break;
    case IDM_PREVIOUS_TAB:
      previousTab();
      break;
    default:
      break;
  }
}

}  // namespace

void fillConfigPage(const guiHandles& gui, const settingsValues& settings) {
  setCheck(gui.settingsReversePathCheck, settings.path_reverse);
  setCheck(gui.settingsGameLinkCheck, settings.orig_game_link);
  setCheck(gui.settingsGameNameCheck, settings.use_game_name);
  setCheck(gui.settingsHackNameCheck, settings.use_hack_name);
  setCheck(gui.settingsHackVersionCheck, settings.use_hack_ver);

  const HWND upDown = GetDlgItem(GetParent(gui.settingsLevelEdit), IDC_LEVEL_UPDOWN);
  SendMessageW(upDown, UDM_SETRANGE, 0, MAKELPARAM(9, 0));
  SendMessageW(gui.settingsLevelEdit, EM_LIMITTEXT, 1, 0);
  const std::wstring level = std::to_wstring(unsigned(settings.compress_lvl));
  SetWindowTextW(gui.settingsLevelEdit, level.c_str());

  fillCombo(gui.settingsInfoNamesCombo, {guiCaptionTexts[42], guiCaptionTexts[43], guiCaptionTexts[48]},
            settings.ptc_info_lang);
  fillCombo(gui.settingsSecondaryCombo, {guiCaptionTexts[48], L"lzma", L"djw", L"fgk"},
            settings.sec_compress);
  std::vector<std::wstring> sizes = {guiCaptionTexts[49]};
  for (const wchar_t* size : sourceWindowSizes) sizes.push_back(size + (L" " + guiCaptionTexts[50]));
  fillCombo(gui.settingsWindowSizeCombo, sizes, settings.src_wnd_size);

  setCheck(gui.settingsToOriginalRadio, settings.patch_to_file != 2 && settings.patch_to_file != 3);
  setCheck(gui.settingsToCopyRadio, settings.patch_to_file == 2);
  setCheck(gui.settingsToFolderRadio, settings.patch_to_file == 3);
}

void updateNameOptions(const guiHandles& gui, settingsValues& settings) {
  const bool toFolder = settings.patch_to_file == 3;
  if (toFolder && !settings.use_game_name && !settings.use_hack_name) {
    settings.use_hack_name = 1;
    setCheck(gui.settingsHackNameCheck, 1);
  }
  for (HWND control : {gui.settingsOutputNameLabel, gui.settingsGameNameCheck,
                       gui.settingsHackNameCheck, gui.settingsHackVersionCheck}) {
    EnableWindow(control, toFolder);
  }
}

INT_PTR CALLBACK configTabProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  (void)lParam;
  switch (message) {
    case WM_INITDIALOG: {
      BOOL result = FALSE;
      if (const caughtError caught = runCaught([&] { result = configPageInit(page); }))
        showErrorBox(page, caught.text);
      return result;
    }
    case WM_COMMAND:
      if (const caughtError caught = runCaught([&] { configCommand(LOWORD(wParam)); }))
        showErrorBox(page, caught.text);
      return FALSE;
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<INT_PTR>(pageBrush);
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(pageBrush);
    case WM_MBUTTONDOWN:
      nextTab();
      return FALSE;
    default:
      return FALSE;
  }
}
