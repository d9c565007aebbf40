#include "applyPage.h"

#include "appState.h"
#include "caughtErrors.h"
#include "fileDialogs.h"
#include "guiTexts.h"
#include "mainWindow.h"
#include "pageCommon.h"
#include "pathEdits.h"
#include "patcherSet.h"
#include "resources/resourceIds.h"
#include "windowHelpers.h"
#include "workers.h"

namespace {

WNDPROC infoEditProcedure = nullptr;

void storeApplyPageHandles(guiHandles& gui, HWND page) {
  const auto item = [page](int id) { return GetDlgItem(page, id); };
  gui.applyInfoGroup = item(IDC_INFO_GROUP);
  gui.applyActionsGroup = item(IDC_ACTIONS_GROUP);
  gui.applyFilesGroup = item(IDC_FILES_GROUP);
  gui.applyPatchLabel = item(IDC_PATCH_LABEL);
  gui.applySourceLabel = item(IDC_SOURCE_LABEL);
  gui.applyTargetLabel = item(IDC_TARGET_LABEL);
  gui.applyInfoEdit = item(IDC_PATCH_INFO);
  gui.applyPatchEdit = item(IDC_PATCH_PATH);
  gui.applySourceEdit = item(IDC_SOURCE_PATH);
  gui.applyTargetEdit = item(IDC_TARGET_PATH);
  gui.applySelectPatchButton = item(IDC_SELECT_PATCH);
  gui.applySelectSourceButton = item(IDC_SELECT_SOURCE);
  gui.applyOutputButton = item(IDC_OUTPUT_BUTTON);
  gui.applyRunButton = item(IDC_RUN);
}

void enableApplyWhenReady() {
  enableApplyIfReady(theGui.applyRunButton, thePaths.filesChosenMask, theSettings.patch_to_file);
}

// The patcher that fits the chosen patch shows its information.
void patchChosen() {
  applyPatcher = patcherForApply(thePatcherSet, thePaths.applyPatchPath);
  applyPatcher->patchChosen(theJob, thePaths, theSettings, theGui);
  theSettings.readmeFound = findPatchReadme(thePaths);
}

void startApply() {
  applyPatcher->checkPaths(thePaths.applyPatchPath, thePaths.applySourcePath,
                           thePaths.applyTargetPath, thePaths.filesChosenMask);
  startWorker(applyWorker, theGui.mainWindow);
}

void selectSource() {
  openOriginalGameDialog(theFileDialog, theGui.applySourceEdit, thePaths.applySourcePath,
                         thePaths.filesChosenMask, thePaths.gamesLinkPath,
                         theSettings.orig_game_link, theSettings.path_reverse);
  // Also when cancelled: the output name is made again from the original chosen before.
  applyPatcher->sourceChosen(thePaths, theSettings, theGui);
  enableApplyWhenReady();
}

void applyCommand(int id) {
  switch (id) {
    case IDC_SELECT_PATCH:
      if (openFileDialog(theFileDialog, theGui.applyPatchEdit, thePaths.applyPatchPath,
                         thePaths.filesChosenMask, patchChosenBit, applyPatchFilter,
                         theSettings.path_reverse)) {
        patchChosen();
        enableApplyWhenReady();
      }
      break;
    case IDC_SELECT_SOURCE:
      selectSource();
      break;
    case IDC_OUTPUT_BUTTON:
      if (theSettings.patch_to_file == 3) {
        showInExplorer(theGui.mainWindow, thePaths.applyTargetPath);
      } else {
        saveFileDialog(theFileDialog, theGui.applyTargetEdit, thePaths.applyTargetPath,
                       thePaths.filesChosenMask, targetChosenBit, gameFileFilter,
                       theSettings.path_reverse);
        enableApplyWhenReady();
      }
      break;
    case IDC_RUN:
      startApply();
      break;
    case IDM_RUN:
      runIfEnabled(theGui.applyRunButton, startApply);
      break;
    case IDM_CHECKSUM_WARN:
    case IDM_CHECKSUM_ERROR:
    case IDM_CHECKSUM_OFF:
      theJob.checksumMode = id - IDM_CHECKSUM_WARN;
      CheckMenuRadioItem(GetSubMenu(theGui.popupMenu, 0), IDM_CHECKSUM_WARN, IDM_CHECKSUM_OFF, UINT(id),
                         MF_BYCOMMAND);
      break;
    case IDM_PATCH_README:
      openInNotepad(theGui.mainWindow, thePaths.patchReadmePath);
      break;
    default:
      break;
  }
}

// A failure of the page's own handling: a refusal of the user's input is only shown; anything
// else first releases what the patcher may hold open.
void showPageError(HWND page, const caughtError& caught) {
  if (caught.kind != caughtKind::userError) runCaught([] { applyPatcher->finish(); });
  showErrorBox(page, caught.text);
}

// A file dropped as the patch, on the information box or the patch edit, or as the original.
// The path is shown first, so that a patch that cannot be read never leaves the edit showing
// the one before it.
void takeDroppedPath(HWND edit, const pathEdit& entry, const std::wstring& name) {
  *entry.field = name;
  *entry.mask |= entry.bit;
  const HWND shownIn = entry.role == pathRole::patch ? theGui.applyPatchEdit : edit;
  showPathInEdit(shownIn, *entry.field, theSettings.path_reverse);
  const caughtError caught = runCaught([&entry] {
    if (entry.role == pathRole::patch) patchChosen();
    if (entry.role == pathRole::source) applyPatcher->sourceChosen(thePaths, theSettings, theGui);
    enableApplyWhenReady();
  });
  if (caught) {
    showErrorBox(edit, caught.text);
    runCaught([] { applyPatcher->finish(); });
  }
}

// Whether a file was taken; a refused drop leaves the patchers alone.
bool onDrop(HWND edit, const pathEdit& entry, HDROP drop) {
  switch (applyDropAction(entry.role, theSettings.patch_to_file, workerBusy != 0)) {
    case dropAction::refuse:
      DragFinish(drop);
      MessageBeep(MB_ICONEXCLAMATION);
      return false;
    case dropAction::autoOutput:
      DragFinish(drop);
      SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(guiMessageTexts[8].c_str()));
      return false;
    case dropAction::ignore:
      DragFinish(drop);
      return false;
    case dropAction::take:
      break;
  }
  const std::wstring name = droppedFileName(drop);
  if (name.empty()) {
    MessageBeep(MB_ICONEXCLAMATION);
    return false;
  }
  takeDroppedPath(edit, entry, name);
  return true;
}

LRESULT CALLBACK applyPatchEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DROPFILES) {
    const pathEdit asPatch{pathRole::patch, &thePaths.applyPatchPath, &thePaths.filesChosenMask,
                           patchChosenBit};
    // The information box's drops always end with finish: no patch file stays open.
    if (onDrop(edit, asPatch, reinterpret_cast<HDROP>(wParam)))
      runCaught([] { applyPatcher->finish(); });
    return 0;
  }
  return CallWindowProcW(infoEditProcedure, edit, message, wParam, lParam);
}

LRESULT CALLBACK applyTabEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  const pathEdit* entry = thePathEdits.find(edit);
  if (message == WM_DROPFILES && entry) {
    onDrop(edit, *entry, reinterpret_cast<HDROP>(wParam));
    return 0;
  }
  return thePathEdits.callOriginal(edit, message, wParam, lParam);
}

BOOL applyPageInit(HWND page) {
  storeApplyPageHandles(theGui, page);
  setDialogOwner(theFileDialog, page);
  pageBrush = createPageBrush();
  thePaths.applyFinished = 0;
  setOutputButtonMode(theGui.applyOutputButton, theSettings);
  infoEditProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      theGui.applyInfoEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(applyPatchEditProc)));
  thePathEdits.addPage({theGui.applyPatchEdit, theGui.applySourceEdit, theGui.applyTargetEdit},
                       {&thePaths.applyPatchPath, &thePaths.applySourcePath, &thePaths.applyTargetPath},
                       thePaths.filesChosenMask, applyTabEditProc);
  return FALSE;
}

}  // namespace

void showChosenPatch() {
  showPathInEdit(theGui.applyPatchEdit, thePaths.applyPatchPath, theSettings.path_reverse);
  applyPatcher->patchChosen(theJob, thePaths, theSettings, theGui);
}

INT_PTR CALLBACK applyTabProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  // The information box keeps the system's colours.
  if (message == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lParam) == theGui.applyInfoEdit) return FALSE;
  if (INT_PTR result = FALSE; answerCommonPageMessage(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_INITDIALOG: {
      BOOL result = FALSE;
      if (const caughtError caught = runCaught([&] { result = applyPageInit(page); })) {
        showPageError(page, caught);
      }
      return result;
    }
    case WM_COMMAND:
      if (const caughtError caught = runCaught([&] { applyCommand(LOWORD(wParam)); })) {
        showPageError(page, caught);
      }
      return FALSE;
    case WM_RBUTTONDOWN:
      showPagePopupMenu(page, theGui.popupMenu, cursorPosition(), 0, theSettings.readmeFound);
      return FALSE;
    default:
      return FALSE;
  }
}
