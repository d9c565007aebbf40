#include "createPage.h"

#include <shellapi.h>

#include "appState.h"
#include "applyPage.h"
#include "caughtErrors.h"
#include "configFile.h"
#include "mainWindow.h"
#include "pathEdits.h"
#include "patcherSet.h"
#include "resources/resourceIds.h"
#include "windowHelpers.h"

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
  if (createDropAction(workerBusy != 0) == dropAction::refuse) {
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

void registerPathEdits() {
  const pathEdit edits[] = {
      {pathRole::patch, &thePaths.createPatchPath, &thePaths.createChosenMask, patchChosenBit},
      {pathRole::source, &thePaths.createSourcePath, &thePaths.createChosenMask, sourceChosenBit},
      {pathRole::target, &thePaths.createModifiedPath, &thePaths.createChosenMask, targetChosenBit}};
  const HWND windows[] = {theGui.createPatchEdit, theGui.createSourceEdit, theGui.createModifiedEdit};
  for (size_t i = 0; i < 3; ++i) {
    thePathEdits.add(windows[i], edits[i]);
    thePathEdits.subclass(windows[i], createTabEditProc);
  }
}

BOOL createPageInit(HWND page) {
  storeCreatePageHandles(theGui, page);
  registerPathEdits();
  thePaths.templatePath = settingsFile.programFolder + L"Description templates\\patch info.txt";
  limitEditorFields(theGui);
  return FALSE;
}

void createCommand(int id) {
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

INT_PTR CALLBACK createTabProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  (void)lParam;
  switch (message) {
    case WM_INITDIALOG: {
      BOOL result = FALSE;
      if (const caughtError caught = runCaught([&] { result = createPageInit(page); }))
        showErrorBox(page, caught.text);
      return result;
    }
    case WM_COMMAND:
      if (const caughtError caught = runCaught([&] { createCommand(LOWORD(wParam)); }))
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
