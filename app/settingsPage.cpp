#include "settingsPage.h"

#include <commctrl.h>

#include "appState.h"
#include "applyPage.h"
#include "caughtErrors.h"
#include "configFile.h"
#include "fileDialogs.h"
#include "guiTexts.h"
#include "languageControls.h"
#include "languageManager.h"
#include "mainWindow.h"
#include "pageCommon.h"
#include "patchInfoEditor.h"
#include "patcherSet.h"
#include "resources/resourceIds.h"
#include "statusDisplay.h"
#include "windowHelpers.h"

namespace {

const wchar_t* const sourceWindowSizes[] = {L"8", L"16", L"32", L"64", L"128", L"256", L"512", L"1024"};

// The item of the language combo that the user picked last.
int chosenLanguage = 0;

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
  theLanguageManager.listPath = folder + L"Config\\lang.dta";
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
  theLanguageManager.loadOrRebuildList(page, thePaths.languageFolder);
  settingsFile.findDocs(thePaths, theSettings.language);
  theLanguageManager.fillLanguageCombo(theGui);
  updateNameOptions(theGui, theSettings);
  if (applySavedLanguage(theLanguageManager, theGui, theSettings, thePaths.languageFolder)) {
    renameTabs();
    theSettings.languageSet = 1;
  }
  chosenLanguage = 0;
  fillConfigPage(theGui, theSettings);
  CheckMenuRadioItem(GetSubMenu(theGui.popupMenu, 0), IDM_CHECKSUM_WARN, IDM_CHECKSUM_OFF,
                     IDM_CHECKSUM_WARN, MF_BYCOMMAND);
  theInfoEditor.loadConsoleNames();
  attachPatcherSet(thePatcherSet, theGui, settingsFile.programFolder);
  showPreselectedPatch(page);
  setOutputButtonMode(theGui.applyOutputButton, theSettings);
  return FALSE;
}

// The Apply page starts again when the patching mode changes: its files and output meant the old
// mode.
void clearApplyPage(const guiHandles& gui, pathFields& paths) {
  for (HWND edit : {gui.applyInfoEdit, gui.applyPatchEdit, gui.applySourceEdit, gui.applyTargetEdit})
    SetWindowTextW(edit, L"");
  EnableWindow(gui.applyRunButton, FALSE);
  paths.filesChosenMask = 0;
  paths.applyFinished = 0;
}

// Output names need the game name or the hack name; without both the mode falls back to copies.
void checkNameOptions(HWND page, const settingsValues& settings) {
  if (settings.use_game_name || settings.use_hack_name) return;
  CheckRadioButton(page, IDC_TO_ORIGINAL, IDC_TO_FOLDER, IDC_TO_COPY);
  SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_TO_COPY, BN_CLICKED), 0);
}

void setPatchingMode(int mode) {
  theSettings.patch_to_file = mode;
  updateNameOptions(theGui, theSettings);
  clearApplyPage(theGui, thePaths);
  setOutputButtonMode(theGui.applyOutputButton, theSettings);
}

void saveConfig() {
  theSettings.compress_lvl = readIntFromControl(theGui.settingsLevelEdit);
  settingsFile.save(theGui, theSettings, thePaths);
  theLanguageManager.saveList(true);
  flashProgressDone(theGui, guiMessageTexts[4]);
}

void selectOutputFolder(HWND page) {
  if (!chooseFolder(page, thePaths.outputFolder, guiMessageTexts[7])) return;
  showPathInEdit(theGui.settingsOutputFolderEdit, thePaths.outputFolder, theSettings.path_reverse);
  theSettings.outputFolderSet = 1;
}

// A running worker reads the texts and the patchers' windows; languages wait until it ends.
bool refusedWhileBusy() {
  if (!workerBusy) return false;
  MessageBeep(MB_ICONEXCLAMATION);
  return true;
}

void setLanguage() {
  if (refusedWhileBusy()) return;
  applyListedLanguage(theLanguageManager, theGui, thePaths.languageFolder, chosenLanguage,
                      theSettings.patch_to_file);
  renameTabs();
  theSettings.compress_lvl = readIntFromControl(theGui.settingsLevelEdit);
  fillConfigPage(theGui, theSettings);
  refreshOtherConsoleItem(theGui.createConsoleCombo);
  theSettings.language = theLanguageManager.displayNameAt(chosenLanguage);
  settingsFile.findDocs(thePaths, theSettings.language);
  theSettings.languageSet = isNonEnglishLanguage(theSettings.language);
  MessageBeep(MB_ICONASTERISK);
}

void updateLanguageList(HWND page) {
  if (refusedWhileBusy()) return;
  theLanguageManager.scanLanguages(page, thePaths.languageFolder, languageVersionText, true);
  theLanguageManager.fillLanguageCombo(theGui);
  chosenLanguage = 0;
  flashProgressDone(theGui, guiMessageTexts[5]);
}

// A combo's new selection; nothing is picked while the list is closed on no item.
void takeSelection(HWND combo, int32_t& field) {
  const LRESULT selection = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (selection != CB_ERR) field = int32_t(selection);
}

void configCommand(HWND page, int id, int code) {
  switch (id) {
    case IDC_REVERSE_PATH:
      theSettings.path_reverse ^= 1;
      break;
    case IDC_GAME_LINK:
      theSettings.orig_game_link ^= 1;
      break;
    case IDC_TO_ORIGINAL:
    case IDC_TO_COPY:
    case IDC_TO_FOLDER:
      setPatchingMode(id - IDC_TO_ORIGINAL + 1);
      break;
    case IDC_USE_GAME_NAME:
      theSettings.use_game_name ^= 1;
      checkNameOptions(page, theSettings);
      break;
    case IDC_USE_HACK_NAME:
      theSettings.use_hack_name ^= 1;
      checkNameOptions(page, theSettings);
      break;
    case IDC_USE_HACK_VERSION:
      theSettings.use_hack_ver ^= 1;
      break;
    case IDC_INFO_NAMES_COMBO:
      if (code == CBN_SELCHANGE) takeSelection(theGui.settingsInfoNamesCombo, theSettings.ptc_info_lang);
      break;
    case IDC_SECONDARY_COMBO:
      if (code == CBN_SELCHANGE) takeSelection(theGui.settingsSecondaryCombo, theSettings.sec_compress);
      break;
    case IDC_WINDOW_SIZE_COMBO:
      if (code == CBN_SELCHANGE) takeSelection(theGui.settingsWindowSizeCombo, theSettings.src_wnd_size);
      break;
    case IDC_LANGUAGE_COMBO:
      if (code == CBN_SELCHANGE) takeSelection(theGui.settingsLanguageCombo, chosenLanguage);
      break;
    case IDC_SAVE_CONFIG:
      saveConfig();
      break;
    case IDC_SELECT_FOLDER:
      selectOutputFolder(page);
      break;
    case IDC_SET_LANGUAGE:
      setLanguage();
      break;
    case IDC_UPDATE_LIST:
      updateLanguageList(page);
      break;
    case IDC_RESTORE:
      theJob.restoreOriginal = theJob.restoreOriginal ^ 1;
      break;
    case IDM_PROGRAM_DESCRIPTION:
      openInNotepad(theGui.mainWindow, thePaths.programDescriptionPath);
      break;
    case IDM_PROGRAM_README:
      openInNotepad(theGui.mainWindow, thePaths.programReadmePath);
      break;
    case IDM_ABOUT:
      showAboutBox(page);
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
  if (INT_PTR result = FALSE; answerCommonPageMessage(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_INITDIALOG: {
      BOOL result = FALSE;
      guarded(page, [&] { result = configPageInit(page); });
      return result;
    }
    case WM_COMMAND:
      guarded(page, [&] { configCommand(page, LOWORD(wParam), HIWORD(wParam)); });
      return FALSE;
    case WM_RBUTTONDOWN:
      showPagePopupMenu(page, theGui.popupMenu, cursorPosition(), 2, theSettings.readmeFound);
      return FALSE;
    default:
      return FALSE;
  }
}
