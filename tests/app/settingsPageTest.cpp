#include <gtest/gtest.h>

#include "guiTexts.h"
#include "languageFiles.h"
#include "languageManager.h"
#include "realWindow.h"
#include "resources/resourceIds.h"

namespace {

struct expectedCaption {
  windowHandle guiHandles::*control;
  size_t entry;
};

// Control ids of the three pages and the caption entry each must show.
const expectedCaption expectedCaptions[] = {
    // Apply page: 1019, 1020, 1021, 1022, 1006, 1011, 1048, 1049, 1050
    {&guiHandles::applyInfoGroup, 8}, {&guiHandles::applyActionsGroup, 3},
    {&guiHandles::applyFilesGroup, 4}, {&guiHandles::applySelectPatchButton, 9},
    {&guiHandles::applySelectSourceButton, 10}, {&guiHandles::applyRunButton, 0},
    {&guiHandles::applyPatchLabel, 5}, {&guiHandles::applySourceLabel, 6},
    {&guiHandles::applyTargetLabel, 7},
    // Create page: 1019, 1020, 1021, 1017, 1023, 1015, 1016, 1014, 1013, 1012, 1022, 1006,
    // 1008, 1011, 1048, 1049, 1050
    {&guiHandles::createEditorGroup, 15}, {&guiHandles::createActionsGroup, 3},
    {&guiHandles::createFilesGroup, 4}, {&guiHandles::createConsoleLabel, 16},
    {&guiHandles::createGameLabel, 17}, {&guiHandles::createHackLabel, 18},
    {&guiHandles::createVersionLabel, 19}, {&guiHandles::createAuthorLabel, 20},
    {&guiHandles::createContactLabel, 21}, {&guiHandles::createCommentLabel, 22},
    {&guiHandles::createSavePatchButton, 12}, {&guiHandles::createSelectSourceButton, 10},
    {&guiHandles::createSelectModifiedButton, 13}, {&guiHandles::createRunButton, 1},
    {&guiHandles::createPatchLabel, 5}, {&guiHandles::createSourceLabel, 6},
    {&guiHandles::createModifiedLabel, 7},
    // Settings page: 1057, 1058, 1051, 1028, 1029, 1055, 1056, 1053, 1042, 1030, 1031, 1032,
    // 1054, 1033, 1034, 1035, 1059, 1043, 1044, 1045, 1046
    {&guiHandles::settingsInterfaceGroup, 26}, {&guiHandles::settingsModeGroup, 27},
    {&guiHandles::settingsXdeltaGroup, 44}, {&guiHandles::settingsReversePathCheck, 28},
    {&guiHandles::settingsGameLinkCheck, 29}, {&guiHandles::settingsSetLanguageButton, 30},
    {&guiHandles::settingsUpdateListButton, 31}, {&guiHandles::settingsSelectFolderButton, 35},
    {&guiHandles::settingsSaveButton, 51}, {&guiHandles::settingsToOriginalRadio, 32},
    {&guiHandles::settingsToCopyRadio, 33}, {&guiHandles::settingsToFolderRadio, 34},
    {&guiHandles::settingsOutputNameLabel, 36}, {&guiHandles::settingsGameNameCheck, 37},
    {&guiHandles::settingsHackNameCheck, 38}, {&guiHandles::settingsHackVersionCheck, 39},
    {&guiHandles::settingsRestoreCheck, 40}, {&guiHandles::settingsInfoNamesLabel, 41},
    {&guiHandles::settingsLevelLabel, 45}, {&guiHandles::settingsSecondaryLabel, 46},
    {&guiHandles::settingsWindowSizeLabel, 47},
};

std::wstring menuText(HMENU menu, int position) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, UINT(position), text, 128, MF_BYPOSITION);
  return text;
}

std::wstring tabText(int index) {
  wchar_t text[128] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = 128;
  SendMessageW(theGui.tabControl, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
  return text;
}

bool checked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

TEST_F(realWindow, aLanguageNamesEveryMenuItemAndTab) {
  const std::wstring languages = folder.path().wstring() + L"\\";
  writeFileBytes(folder.path() / "Test.LNG", markedWide(languageText(L"Testish", L"T")));
  theLanguageManager.listPath = languages + L"lang.dta";

  // Not while a worker runs: it reads the texts.
  thePaths.languageFolder = languages;
  workerBusy = 1;
  SendMessageW(tabPages[2], WM_COMMAND, IDC_UPDATE_LIST, 0);
  EXPECT_EQ(SendMessageW(theGui.settingsLanguageCombo, CB_GETCOUNT, 0, 0), 1);
  workerBusy = 0;
  SendMessageW(tabPages[2], WM_COMMAND, IDC_UPDATE_LIST, 0);
  SendMessageW(tabPages[2], WM_COMMAND, IDC_SET_LANGUAGE, 0);

  const size_t first = languageTextLineCount - guiCaptionTexts.size();
  const auto marked = [first](size_t entry) { return L"T" + std::to_wstring(first + entry); };
  for (int tab = 0; tab < 3; ++tab) EXPECT_EQ(tabText(tab), marked(size_t(tab)));
  EXPECT_EQ(statusPartText(theGui.statusBar, 1), marked(0));
  // The items of the three submenus, separators passed over, in menu order.
  const int itemsOf[3] = {7, 9, 3};
  size_t entry = 52;
  for (int submenu = 0; submenu < 3; ++submenu) {
    const HMENU menu = GetSubMenu(theGui.popupMenu, submenu);
    ASSERT_EQ(GetMenuItemCount(menu), itemsOf[submenu]);
    for (int position = 0; position < itemsOf[submenu]; ++position) {
      if (GetMenuState(menu, UINT(position), MF_BYPOSITION) & MF_SEPARATOR) continue;
      EXPECT_EQ(menuText(menu, position), marked(entry++)) << submenu << " " << position;
    }
  }
  EXPECT_EQ(entry, 67u);
  EXPECT_EQ(guiMessageTexts[9], marked(66));
  for (const expectedCaption& expected : expectedCaptions)
    EXPECT_EQ(windowText(theGui.*expected.control), marked(expected.entry)) << expected.entry;
  EXPECT_EQ(windowText(theGui.applyOutputButton), marked(11));
  EXPECT_EQ(theSettings.language, L"Testish");
  EXPECT_EQ(theSettings.languageSet, 1);
  // The console list's last item follows the language.
  const int last = int(SendMessageW(theGui.createConsoleCombo, CB_GETCOUNT, 0, 0)) - 1;
  wchar_t item[64] = {};
  SendMessageW(theGui.createConsoleCombo, CB_GETLBTEXT, last, reinterpret_cast<LPARAM>(item));
  EXPECT_EQ(std::wstring(item), marked(23));
}

TEST_F(realWindow, changingThePatchingModeStartsTheApplyPageAgain) {
  writeFileBytes(folder.file("a.ppf"), bytes{'P', 'P', 'F', '1', '0', 0});
  drop(theGui.applyInfoEdit, std::filesystem::path(folder.file("a.ppf")).wstring());
  ASSERT_EQ(thePaths.filesChosenMask, patchChosenBit);

  SendMessageW(theGui.settingsToFolderRadio, BM_CLICK, 0, 0);
  EXPECT_EQ(theSettings.patch_to_file, 3);
  EXPECT_EQ(thePaths.filesChosenMask, 0);
  EXPECT_EQ(windowText(theGui.applyPatchEdit), L"");
  EXPECT_EQ(windowText(theGui.applyOutputButton), L"Open folder");
  EXPECT_TRUE(IsWindowEnabled(theGui.settingsHackNameCheck));

  // Without the game name and the hack name no output name can be made: back to copies, with
  // exactly one mode checked.
  SendMessageW(theGui.settingsHackNameCheck, BM_CLICK, 0, 0);
  EXPECT_EQ(theSettings.patch_to_file, 2);
  EXPECT_TRUE(checked(theGui.settingsToCopyRadio));
  EXPECT_FALSE(checked(theGui.settingsToFolderRadio));
  EXPECT_FALSE(checked(theGui.settingsToOriginalRadio));
  EXPECT_FALSE(IsWindowEnabled(theGui.settingsHackNameCheck));
  EXPECT_EQ(windowText(theGui.applyOutputButton), L"Save modified game");

  // Output-folder mode again switches the hack name back on.
  SendMessageW(theGui.settingsToFolderRadio, BM_CLICK, 0, 0);
  EXPECT_EQ(theSettings.use_hack_name, 1);
  EXPECT_TRUE(checked(theGui.settingsHackNameCheck));
}
