#include "languageControls.h"

#include <gtest/gtest.h>

#include "languageFiles.h"
#include "testWindows.h"

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

std::wstring caption(size_t entry) { return L"C" + std::to_wstring(entry); }

// Menu 107: the popup menus of the Apply, Create and Settings pages.
HMENU popupMenu107() {
  const UINT separator = 0;
  const std::vector<std::vector<UINT>> submenus = {
      {40001, separator, 40002, 40003, 40004, separator, 40005},
      {40006, 40007, 40011, separator, 40008, 40009, 40010, separator, 1037},
      {40014, 40012, 40013}};
  const HMENU menu = CreateMenu();
  for (const std::vector<UINT>& items : submenus) {
    const HMENU submenu = CreatePopupMenu();
    for (const UINT id : items) {
      if (id == separator) {
        AppendMenuW(submenu, MF_SEPARATOR, 0, nullptr);
      } else {
        AppendMenuW(submenu, MF_STRING, id, L"resource text");
      }
    }
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), L"page");
  }
  return menu;
}

std::wstring menuText(HMENU menu, UINT id) {
  wchar_t text[260] = {};
  GetMenuStringW(menu, id, text, 260, MF_BYCOMMAND);
  return text;
}

class languageControls : public ::testing::Test {
 protected:
  languageControls() {
    for (size_t entry = 0; entry < guiCaptionTexts.size(); ++entry)
      guiCaptionTexts[entry] = caption(entry);
  }
  tableTexts englishTexts;
  hiddenWindow page;
};

}  // namespace

TEST_F(languageControls, everyControlShowsItsCaption) {
  guiHandles gui;
  for (const expectedCaption& expected : expectedCaptions)
    gui.*expected.control = page.child(L"BUTTON", L"resource text");
  gui.applyOutputButton = page.child(L"BUTTON", L"resource text");

  applyTextsToControls(gui, 2);
  for (const expectedCaption& expected : expectedCaptions)
    EXPECT_EQ(windowText(gui.*expected.control), caption(expected.entry)) << expected.entry;
  EXPECT_EQ(windowText(gui.applyOutputButton), caption(11));
  EXPECT_EQ(guiMessageTexts[9], L"About...") << "no menu, no title";
  applyTextsToControls(gui, 3);
  EXPECT_EQ(windowText(gui.applyOutputButton), caption(14));
  applyTextsToControls(gui, 1);
  EXPECT_EQ(windowText(gui.applyOutputButton), caption(11));
}

TEST_F(languageControls, menuItemsTakeTheCaptionsInMenuOrder) {
  guiHandles gui;
  gui.popupMenu = popupMenu107();
  applyTextsToControls(gui, 2);
  const std::pair<UINT, size_t> items[] = {
      {40001, 52}, {40002, 53}, {40003, 54}, {40004, 55}, {40005, 56},
      {40006, 57}, {40007, 58}, {40011, 59}, {40008, 60}, {40009, 61},
      {40010, 62}, {1037, 63},  {40014, 64}, {40012, 65}, {40013, 66}};
  for (const auto& [id, entry] : items)
    EXPECT_EQ(menuText(gui.popupMenu, id), caption(entry)) << id;
  EXPECT_EQ(guiMessageTexts[9], caption(66));
  const HMENU applyMenu = GetSubMenu(gui.popupMenu, 0);
  for (const int position : {1, 5}) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoW(applyMenu, position, TRUE, &item));
    EXPECT_TRUE(item.fType & MFT_SEPARATOR) << position;
  }

  // A menu longer than the captions keeps the texts of the items beyond them.
  EXPECT_EQ(applyMenuCaptions(GetSubMenu(gui.popupMenu, 2), 65), 2u);
  EXPECT_EQ(menuText(gui.popupMenu, 40013), caption(66));
  EXPECT_EQ(menuText(gui.popupMenu, 40014), caption(65));
  EXPECT_EQ(applyMenuCaptions(GetSubMenu(gui.popupMenu, 0), 67), 0u);
  DestroyMenu(gui.popupMenu);
}

TEST_F(languageControls, theOtherConsoleItemIsReplacedAndTheSelectionKept) {
  const HWND combo = page.child(L"COMBOBOX", L"", CBS_DROPDOWNLIST);
  refreshOtherConsoleItem(combo);
  EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 0);
  for (const wchar_t* item : {L"NES", L"SNES", L"Other Console"})
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  for (const LRESULT selected : {1, 2}) {
    SendMessageW(combo, CB_SETCURSEL, selected, 0);
    refreshOtherConsoleItem(combo);
    ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
    wchar_t last[64] = {};
    SendMessageW(combo, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(last));
    EXPECT_EQ(std::wstring(last), caption(23));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), selected);
    EXPECT_EQ(windowText(combo), selected == 2 ? caption(23) : L"SNES");
  }
}
