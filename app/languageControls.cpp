#include "languageControls.h"

#include "guiTexts.h"

namespace {

struct controlCaption {
  windowHandle guiHandles::*control;
  size_t entry;
};

// The controls whose caption does not depend on any setting.
const controlCaption controlCaptions[] = {
    {&guiHandles::applyInfoGroup, 8},
    {&guiHandles::applyActionsGroup, 3},
    {&guiHandles::applyFilesGroup, 4},
    {&guiHandles::applySelectPatchButton, 9},
    {&guiHandles::applySelectSourceButton, 10},
    {&guiHandles::applyRunButton, 0},
    {&guiHandles::applyPatchLabel, 5},
    {&guiHandles::applySourceLabel, 6},
    {&guiHandles::applyTargetLabel, 7},
    {&guiHandles::createEditorGroup, 15},
    {&guiHandles::createActionsGroup, 3},
    {&guiHandles::createFilesGroup, 4},
    {&guiHandles::createConsoleLabel, 16},
    {&guiHandles::createGameLabel, 17},
    {&guiHandles::createHackLabel, 18},
    {&guiHandles::createVersionLabel, 19},
    {&guiHandles::createAuthorLabel, 20},
    {&guiHandles::createContactLabel, 21},
    {&guiHandles::createCommentLabel, 22},
    {&guiHandles::createSavePatchButton, 12},
    {&guiHandles::createSelectSourceButton, 10},
    {&guiHandles::createSelectModifiedButton, 13},
    {&guiHandles::createRunButton, 1},
    {&guiHandles::createPatchLabel, 5},
    {&guiHandles::createSourceLabel, 6},
    {&guiHandles::createModifiedLabel, 7},
    {&guiHandles::settingsInterfaceGroup, 26},
    {&guiHandles::settingsModeGroup, 27},
    {&guiHandles::settingsXdeltaGroup, 44},
    {&guiHandles::settingsReversePathCheck, 28},
    {&guiHandles::settingsGameLinkCheck, 29},
    {&guiHandles::settingsSetLanguageButton, 30},
    {&guiHandles::settingsUpdateListButton, 31},
    {&guiHandles::settingsSelectFolderButton, 35},
    {&guiHandles::settingsSaveButton, 51},
    {&guiHandles::settingsToOriginalRadio, 32},
    {&guiHandles::settingsToCopyRadio, 33},
    {&guiHandles::settingsToFolderRadio, 34},
    {&guiHandles::settingsOutputNameLabel, 36},
    {&guiHandles::settingsGameNameCheck, 37},
    {&guiHandles::settingsHackNameCheck, 38},
    {&guiHandles::settingsHackVersionCheck, 39},
    {&guiHandles::settingsRestoreCheck, 40},
    {&guiHandles::settingsInfoNamesLabel, 41},
    {&guiHandles::settingsLevelLabel, 45},
    {&guiHandles::settingsSecondaryLabel, 46},
    {&guiHandles::settingsWindowSizeLabel, 47},
};

constexpr size_t saveOutputCaption = 11;
constexpr size_t openFolderCaption = 14;
constexpr int outputFolderMode = 3;
constexpr size_t firstMenuCaption = 52;
constexpr size_t otherConsoleCaption = 23;
constexpr size_t aboutTitle = 9;

// Names the Apply, Create and Settings submenus one after another; the Settings one last.
void applyPopupMenuCaptions(HMENU menu) {
  size_t entry = firstMenuCaption;
  size_t named = 0;
  for (int submenu = 0; submenu < 3; ++submenu) {
    entry += named;
    named = applyMenuCaptions(GetSubMenu(menu, submenu), entry);
  }
  if (named > 0) guiMessageTexts[aboutTitle] = guiCaptionTexts[entry + named - 1];
}

}  // namespace

void applyTextsToControls(const guiHandles& gui, int patchToFile) {
  for (const controlCaption& caption : controlCaptions) {
    SetWindowTextW(gui.*caption.control, guiCaptionTexts[caption.entry].c_str());
  }
  const size_t output = patchToFile == outputFolderMode ? openFolderCaption : saveOutputCaption;
  SetWindowTextW(gui.applyOutputButton, guiCaptionTexts[output].c_str());
  if (gui.popupMenu) applyPopupMenuCaptions(gui.popupMenu);
}

size_t applyMenuCaptions(HMENU submenu, size_t firstEntry) {
  size_t named = 0;
  const int items = GetMenuItemCount(submenu);
  for (int position = 0; position < items; ++position) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE;
    if (!GetMenuItemInfoW(submenu, position, TRUE, &item) || (item.fType & MFT_SEPARATOR)) continue;
    // A menu with more items than captions keeps the texts of the rest.
    if (firstEntry + named >= guiCaptionTexts.size()) break;
    item.fMask = MIIM_STRING;
    item.dwTypeData = const_cast<wchar_t*>(guiCaptionTexts[firstEntry + named].c_str());
    SetMenuItemInfoW(submenu, position, TRUE, &item);
    ++named;
  }
  return named;
}

void refreshOtherConsoleItem(HWND consoleCombo) {
  const LRESULT count = SendMessageW(consoleCombo, CB_GETCOUNT, 0, 0);
  if (count <= 0) return;
  const LRESULT selected = SendMessageW(consoleCombo, CB_GETCURSEL, 0, 0);
  SendMessageW(consoleCombo, CB_DELETESTRING, count - 1, 0);
  SendMessageW(consoleCombo, CB_INSERTSTRING, count - 1,
               reinterpret_cast<LPARAM>(guiCaptionTexts[otherConsoleCaption].c_str()));
  SendMessageW(consoleCombo, CB_SETCURSEL, selected, 0);
}
