// A user changes the settings and the language in the window and finds them at the next start.
#include <shlobj.h>

#include "../app/languageFiles.h"
#include "windowJourney.h"

namespace fs = std::filesystem;

namespace {

constexpr int applyPage = 0, createPage = 1, settingsPage = 2;
constexpr int idSelectSource = 1006, idRun = 1011, idSaveConfig = 1042, idLevel = 1038,
              idLanguages = 1047, idSetLanguage = 1055, idUpdateList = 1056, idSelectFolder = 1053;

// The first line of the captions in a language file.
constexpr size_t firstCaptionLine = languageTextLineCount - guiCaptionTexts.size();

// A few controls of each page and the caption entries they show; every control is checked in
// the test's own process.
struct captionedControl {
  int page;
  int id;
  size_t entry;
};
constexpr captionedControl captionedControls[] = {
    {applyPage, 1019, 8},    {applyPage, 1008, 11},   {createPage, 1012, 22},
    {createPage, 1011, 1},   {settingsPage, 1055, 30}, {settingsPage, 1046, 47},
};

std::wstring marked(size_t line) { return L"T" + std::to_wstring(line); }

// What Config\cnf.ini holds, line by line.
std::vector<std::wstring> settingsFileLines(const fs::path& program) {
  return readTextFileLines(program / "Config" / "cnf.ini");
}

bool checked(const morloProcess& morlo, int id) {
  return SendMessageW(morlo.control(settingsPage, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int selection(const morloProcess& morlo, int id) {
  return int(SendMessageW(morlo.control(settingsPage, id), CB_GETCURSEL, 0, 0));
}

using settingsJourney = windowJourney;

}  // namespace

TEST_F(settingsJourney, aLanguageFileChangesEveryCaptionAndStaysAfterARestart) {
  writeFileBytes(program / "Langs" / "Test.LNG", markedWide(languageText(L"Testish", L"T")));
  writeSettingsFile(program, {L"patch_to_file = 1"});
  const fs::path patch = folder.path() / "hack.ml";
  makeMorloPatch(makeGamePair(folder.path()), patch);
  {
    morloProcess morlo(program, L"\"" + patch.wstring() + L"\"");
    ASSERT_TRUE(morlo.mainWindow());
    morlo.clickTab(settingsPage);
    morlo.click(morlo.control(settingsPage, idUpdateList));
    ASSERT_TRUE(waitUntil([&] {
      return morlo.comboItems(morlo.control(settingsPage, idLanguages)) == std::vector<std::wstring>{L"Testish"};
    }));
    morlo.pickComboItem(settingsPage, idLanguages, 0);
    morlo.click(morlo.control(settingsPage, idSetLanguage));
    ASSERT_TRUE(waitUntil([&] { return morlo.tabCaption(0) == marked(firstCaptionLine); }));
    for (int tab = 0; tab < 3; ++tab) EXPECT_EQ(morlo.tabCaption(tab), marked(firstCaptionLine + size_t(tab)));
    for (const captionedControl& c : captionedControls)
      EXPECT_EQ(windowText(morlo.control(c.page, c.id)), marked(firstCaptionLine + c.entry)) << c.id;

    // A refused apply: the patch chosen as the original game too.
    morlo.clickTab(applyPage);
    morlo.click(morlo.control(applyPage, idSelectSource));
    morlo.chooseInFileDialog(L"Open", patch);
    ASSERT_TRUE(enabledSoon(morlo.control(applyPage, idRun)));
    morlo.click(morlo.control(applyPage, idRun));
    const HWND box = morlo.waitForWindow(marked(18));  // "Error"
    ASSERT_TRUE(box);
    EXPECT_EQ(morloProcess::messageText(box), marked(87));  // "The patch and input file paths are equivalent"
    morloProcess::dismiss(box);

    morlo.clickTab(settingsPage);
    morlo.click(morlo.control(settingsPage, idSaveConfig));
    ASSERT_TRUE(waitUntil([&] {
      const std::vector<std::wstring> lines = settingsFileLines(program);
      return !lines.empty() && lines[0] == L"lang = Testish";
    }));
    EXPECT_TRUE(morlo.close());
  }
  morloProcess again(program);
  ASSERT_TRUE(again.mainWindow());
  EXPECT_EQ(again.tabCaption(2), marked(firstCaptionLine + 2));
  EXPECT_EQ(windowText(again.control(applyPage, 1022)), marked(firstCaptionLine + 9));
}

TEST_F(settingsJourney, everySettingIsSavedAndShownAgain) {
  {
    morloProcess morlo(program);
    ASSERT_TRUE(morlo.mainWindow());
    morlo.clickTab(settingsPage);
    for (int id : {1028, 1029, 1032, 1033, 1035}) morlo.click(morlo.control(settingsPage, id));
    morlo.pickComboItem(settingsPage, 1036, 1);
    morlo.pickComboItem(settingsPage, 1040, 2);
    morlo.pickComboItem(settingsPage, 1041, 3);
    morloProcess::setText(morlo.control(settingsPage, idLevel), L"7");
    morlo.click(morlo.control(settingsPage, idSaveConfig));
    ASSERT_TRUE(waitUntil([&] { return fs::exists(program / "Config" / "cnf.ini"); }));
    EXPECT_TRUE(morlo.close());
  }
  const std::vector<std::wstring> expected = {
      L"path_reverse = off", L"orig_game_link = off", L"use_game_name = on", L"use_hack_name = on",
      L"use_hack_ver = off", L"patch_to_file = 3",    L"ptc_info_lang = 2",  L"sec_compress = 3",
      L"src_wnd_size = 4",   L"compress_lvl = 7"};
  EXPECT_EQ(settingsFileLines(program), expected);

  morloProcess again(program);
  ASSERT_TRUE(again.mainWindow());
  EXPECT_FALSE(checked(again, 1028));
  EXPECT_FALSE(checked(again, 1029));
  EXPECT_TRUE(checked(again, 1032));
  EXPECT_FALSE(checked(again, 1031));
  EXPECT_TRUE(checked(again, 1033));
  EXPECT_TRUE(checked(again, 1034));
  EXPECT_FALSE(checked(again, 1035));
  EXPECT_EQ(selection(again, 1036), 1);
  EXPECT_EQ(selection(again, 1040), 2);
  EXPECT_EQ(selection(again, 1041), 3);
  EXPECT_EQ(windowText(again.control(settingsPage, idLevel)), L"7");
  EXPECT_EQ(windowText(again.control(applyPage, 1008)), L"Open folder");
}

TEST_F(settingsJourney, inOutputFolderModeTheGameLandsInTheChosenFolder) {
  // The folder picker shows the desktop's folders first; the chosen folder is made there.
  wchar_t desktop[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop);
  const fs::path outputs = fs::path(desktop) / folder.path().filename();
  fs::create_directories(outputs);
  struct removed {
    fs::path folder;
    ~removed() { fs::remove_all(folder); }
  } cleanUp{outputs};
  writeSettingsFile(program, {L"patch_to_file = 3"});
  const gamePair games = makeGamePair(folder.path());
  const fs::path patch = folder.path() / "hack.ml";
  makeMorloPatch(games, patch);

  morloProcess morlo(program, L"\"" + patch.wstring() + L"\"");
  ASSERT_TRUE(morlo.mainWindow());
  morlo.clickTab(settingsPage);
  morlo.click(morlo.control(settingsPage, idSelectFolder));
  morlo.chooseInFolderDialog(L"Browse for Folder", outputs.filename().wstring());
  morlo.clickTab(applyPage);
  morlo.click(morlo.control(applyPage, idSelectSource));
  morlo.chooseInFileDialog(L"Open", games.original);
  ASSERT_TRUE(enabledSoon(morlo.control(applyPage, idRun)));
  morlo.click(morlo.control(applyPage, idRun));

  // Named from the patch's hack name and version.
  EXPECT_TRUE(fileBecomes(outputs / "Hack v1.0.sfc", readFileBytes(games.modified)));
  EXPECT_TRUE(enabledSoon(morlo.control(applyPage, 1008)));  // "Open folder"
  EXPECT_EQ(std::distance(fs::directory_iterator(outputs), fs::directory_iterator()), 1);
  EXPECT_TRUE(morlo.close());
}
