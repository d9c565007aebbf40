#include "createPage.h"

#include "appState.h"
#include "configFile.h"
#include "fileDialogs.h"
#include "guiTexts.h"
#include "mainWindow.h"
#include "pageCommon.h"
#include "patchInfoEditor.h"
#include "pathEdits.h"
#include "pathHelpers.h"
#include "patcherSet.h"
#include "resources/resourceIds.h"
#include "statusDisplay.h"
#include "windowHelpers.h"
#include "workers.h"

namespace {

void storeCreatePageHandles(guiHandles& gui, HWND page) {
  const auto item = [page](int id) { return GetDlgItem(page, id); };
  gui.createPage = page;
  gui.createEditorGroup = item(IDC_INFO_GROUP);
  gui.createConsoleLabel = item(IDC_CONSOLE_LABEL);
  gui.createGameLabel = item(IDC_GAME_LABEL);
  gui.createVersionLabel = item(IDC_VERSION_LABEL);
  gui.createHackLabel = item(IDC_HACK_LABEL);
  gui.createAuthorLabel = item(IDC_AUTHOR_LABEL);
  gui.createContactLabel = item(IDC_CONTACT_LABEL);
  gui.createCommentLabel = item(IDC_COMMENT_LABEL);
  gui.createActionsGroup = item(IDC_ACTIONS_GROUP);
  gui.createFilesGroup = item(IDC_FILES_GROUP);
  gui.createPatchLabel = item(IDC_PATCH_LABEL);
  gui.createSourceLabel = item(IDC_SOURCE_LABEL);
  gui.createModifiedLabel = item(IDC_TARGET_LABEL);
  gui.createPatchEdit = item(IDC_PATCH_PATH);
  gui.createSourceEdit = item(IDC_SOURCE_PATH);
  gui.createModifiedEdit = item(IDC_TARGET_PATH);
  gui.createConsoleCombo = item(IDC_CONSOLE_COMBO);
  gui.createCustomConsoleEdit = item(IDC_CUSTOM_CONSOLE);
  gui.createGameEdit = item(IDC_GAME_EDIT);
  gui.createHackEdit = item(IDC_HACK_EDIT);
  gui.createVersionEdit = item(IDC_VERSION_EDIT);
  gui.createAuthorEdit = item(IDC_AUTHOR_EDIT);
  gui.createContactEdit = item(IDC_CONTACT_EDIT);
  gui.createCommentEdit = item(IDC_COMMENT_EDIT);
  gui.createSavePatchButton = item(IDC_SELECT_PATCH);
  gui.createSelectSourceButton = item(IDC_SELECT_SOURCE);
  gui.createSelectModifiedButton = item(IDC_OUTPUT_BUTTON);
  gui.createRunButton = item(IDC_RUN);
}

LRESULT CALLBACK createTabEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  const pathEdit* entry = thePathEdits.find(edit);
  if (message != WM_DROPFILES || !entry) return thePathEdits.callOriginal(edit, message, wParam, lParam);
  const auto drop = reinterpret_cast<HDROP>(wParam);
  // A running worker keeps the patcher and the paths it started with.
  if (workerBusy) {
    DragFinish(drop);
    MessageBeep(MB_ICONEXCLAMATION);
    return 0;
  }
  const std::wstring name = droppedFileName(drop);
  if (name.empty()) {
    MessageBeep(MB_ICONEXCLAMATION);
    return 0;
  }
  *entry->field = name;
  *entry->mask |= entry->bit;
  if (entry->role == pathRole::patch) createPatcher = patcherForCreate(thePatcherSet, *entry->field);
  showPathInEdit(edit, *entry->field, theSettings.path_reverse);
  enableCreateIfReady(theGui.createRunButton, thePaths.createChosenMask);
  return 0;
}

BOOL createPageInit(HWND page) {
  storeCreatePageHandles(theGui, page);
  thePathEdits.addPage({theGui.createPatchEdit, theGui.createSourceEdit, theGui.createModifiedEdit},
                       {&thePaths.createPatchPath, &thePaths.createSourcePath, &thePaths.createModifiedPath},
                       thePaths.createChosenMask, createTabEditProc);
  theInfoEditor.init(settingsFile.programFolder);
  theInfoEditor.attachFields(theGui);
  thePaths.templatePath = settingsFile.programFolder + L"Description templates\\patch info.txt";
  limitEditorFields(theGui);
  return FALSE;
}

void enableCreateWhenReady() { enableCreateIfReady(theGui.createRunButton, thePaths.createChosenMask); }

void startCreate() {
  createPatcher->checkPaths(thePaths.createPatchPath, thePaths.createSourcePath,
                            thePaths.createModifiedPath, applyToCopyMask);
  startCreateWorker(theGui.mainWindow);
}

void savePatchAs() {
  if (!saveFileDialog(theFileDialog, theGui.createPatchEdit, thePaths.createPatchPath,
                      thePaths.createChosenMask, patchChosenBit, createPatchFilter,
                      theSettings.path_reverse)) {
    return;
  }
  createPatcher = patcherForCreate(thePatcherSet, thePaths.createPatchPath);
  enableCreateWhenReady();
}

void loadTemplateFromDialog() {
  if (!openPlainFileDialog(theFileDialog, thePaths.templatePath, templateFileFilter)) return;
  theInfoEditor.loadTemplate(thePaths.templatePath);
  flashProgressDone(theGui, guiMessageTexts[3]);
}

void saveTemplateFromDialog() {
  theInfoEditor.readInfoFields();
  thePaths.templatePath =
      settingsFile.programFolder + L"Description templates\\" + theInfoEditor.infoValues[2] + L".txt";
  if (!savePlainFileDialog(theFileDialog, thePaths.templatePath, templateFileFilter)) return;
  theInfoEditor.saveTemplate(thePaths.templatePath);
  flashProgressDone(theGui, guiMessageTexts[4]);
}

void createCommand(int id, int code) {
  switch (id) {
    case IDC_CONSOLE_COMBO:
      if (code == CBN_SELCHANGE) theInfoEditor.consoleSelected();
      break;
    case IDC_SELECT_PATCH:
      savePatchAs();
      break;
    case IDC_SELECT_SOURCE:
      openOriginalGameDialog(theFileDialog, theGui.createSourceEdit, thePaths.createSourcePath,
                             thePaths.createChosenMask, thePaths.gamesLinkPath,
                             theSettings.orig_game_link, theSettings.path_reverse);
      enableCreateWhenReady();
      break;
    case IDC_OUTPUT_BUTTON:
      openFileDialog(theFileDialog, theGui.createModifiedEdit, thePaths.createModifiedPath,
                     thePaths.createChosenMask, targetChosenBit, gameFileFilter,
                     theSettings.path_reverse);
      enableCreateWhenReady();
      break;
    case IDC_RUN:
      startCreate();
      break;
    case IDM_RUN:
      runIfEnabled(theGui.createRunButton, startCreate);
      break;
    case IDM_WITH_INFO:
      toggleMenuCheck(GetSubMenu(theGui.popupMenu, 1), theSettings.withInfo, IDM_WITH_INFO);
      break;
    case IDM_LOAD_TEMPLATE:
      loadTemplateFromDialog();
      break;
    case IDM_SAVE_TEMPLATE:
      saveTemplateFromDialog();
      break;
    case IDM_NEW_TEMPLATE:
      theInfoEditor.clearFields();
      MessageBeep(MB_ICONASTERISK);
      break;
    case IDM_ADD_CONSOLE:
      theInfoEditor.addConsoleName();
      MessageBeep(MB_ICONASTERISK);
      break;
    case IDM_OPEN_CONSOLE_FILE:
      openInNotepad(theGui.mainWindow, theInfoEditor.consoleNamesPath);
      break;
    case IDM_UPDATE_CONSOLES:
      theInfoEditor.updateConsoleNames();
      flashProgressDone(theGui, guiMessageTexts[3]);
      break;
    default:
      break;
  }
}

// A text file dropped on the page is a template; like the popup menu that loads one, it waits
// for a run to end.
void onPageDrop(HDROP drop) {
  if (workerBusy) {
    DragFinish(drop);
    MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  const std::wstring name = droppedFileName(drop);
  if (name.empty() || !extensionMatches(L"TXT", name)) {
    MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  thePaths.templatePath = name;
  theInfoEditor.loadTemplate(thePaths.templatePath);
}


}  // namespace

INT_PTR CALLBACK createTabProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (INT_PTR result = FALSE; answerCommonPageMessage(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_INITDIALOG: {
      BOOL result = FALSE;
      guarded(page, [&] { result = createPageInit(page); });
      return result;
    }
    case WM_COMMAND:
      guarded(page, [&] { createCommand(LOWORD(wParam), HIWORD(wParam)); });
      return FALSE;
    case WM_DROPFILES:
      guarded(page, [&] { onPageDrop(reinterpret_cast<HDROP>(wParam)); });
      return FALSE;
    case WM_RBUTTONDOWN:
      showCreatePopupMenu(page, theGui.popupMenu, cursorPosition(), theGui.guiEnabled,
                          theInfoEditor.customConsoleEnabled);
      return FALSE;
    default:
      return FALSE;
  }
}
