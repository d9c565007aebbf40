#include <gtest/gtest.h>

#include "guiTexts.h"
#include "languageFiles.h"
#include "languageManager.h"
#include "realWindow.h"
#include "resources/resourceIds.h"

namespace {

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
  EXPECT_EQ(windowText(GetDlgItem(tabPages[0], IDC_SELECT_PATCH)), marked(9));
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
