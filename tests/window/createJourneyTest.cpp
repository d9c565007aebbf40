// A user creates patches from the window and applies them again.
#include <algorithm>

#include "windowJourney.h"

namespace fs = std::filesystem;

namespace {

constexpr int applyPage = 0, createPage = 1;
constexpr int idCombo = 1001, idCustomConsole = 1002, idInfo = 1007, idSelectPatch = 1022,
              idSelectSource = 1006, idThirdButton = 1008, idRun = 1011;
constexpr int idFields[6] = {1024, 1003, 1009, 1004, 1005, 1018};
constexpr int menuWithInfo = 1037, menuLoadTemplate = 40006, menuSaveTemplate = 40007,
              menuNewTemplate = 40011, menuAddConsole = 40008;

class createJourney : public windowJourney {
 protected:
  void fillFields(const morloProcess& morlo, const std::vector<std::wstring>& values) const {
    for (size_t i = 0; i < 6; ++i) morloProcess::setText(morlo.control(createPage, idFields[i]), values[i]);
  }
  std::vector<std::wstring> fieldTexts(const morloProcess& morlo) const {
    std::vector<std::wstring> texts;
    for (int id : idFields) texts.push_back(windowText(morlo.control(createPage, id)));
    return texts;
  }
  // The Create page with the console "SNES" and the values.
  void fillTheEditor(const morloProcess& morlo) const {
    morlo.clickTab(createPage);
    morlo.pickComboItem(createPage, idCombo, comboIndexOf(morlo, L"SNES"));
    fillFields(morlo, values);
  }
  int comboIndexOf(const morloProcess& morlo, const std::wstring& item) const {
    const std::vector<std::wstring> items = morlo.comboItems(morlo.control(createPage, idCombo));
    return int(std::find(items.begin(), items.end(), item) - items.begin());
  }
  // The three files through the dialogs, then "Create patch"; true once the run has ended.
  bool createThroughTheDialogs(const morloProcess& morlo, const fs::path& patch, const gamePair& games) const {
    morlo.click(morlo.control(createPage, idSelectPatch));
    morlo.chooseInFileDialog(L"Save As", patch);
    morlo.click(morlo.control(createPage, idSelectSource));
    morlo.chooseInFileDialog(L"Open", games.original);
    morlo.click(morlo.control(createPage, idThirdButton));
    morlo.chooseInFileDialog(L"Open", games.modified);
    const HWND run = morlo.control(createPage, idRun);
    if (!enabledSoon(run)) return false;
    morlo.click(run);
    return waitUntil([run] { return !IsWindowEnabled(run); }, std::chrono::seconds(5)) && enabledSoon(run);
  }
  // Chooses the patch on the Apply page, shows its information and applies it to a new copy.
  std::wstring applyThroughTheDialogs(const morloProcess& morlo, const fs::path& patch, const gamePair& games,
                                      const fs::path& output) const {
    morlo.clickTab(applyPage);
    morlo.click(morlo.control(applyPage, idSelectPatch));
    morlo.chooseInFileDialog(L"Open", patch);
    const std::wstring info = windowText(morlo.control(applyPage, idInfo));
    morlo.click(morlo.control(applyPage, idSelectSource));
    morlo.chooseInFileDialog(L"Open", games.original);
    morlo.click(morlo.control(applyPage, idThirdButton));
    morlo.chooseInFileDialog(L"Save As", output);
    if (enabledSoon(morlo.control(applyPage, idRun))) morlo.click(morlo.control(applyPage, idRun));
    return info;
  }
  // Adds the name through "Other Console" and closes; true when the combo listed it after the
  // names it shows, where "Other Console" stood, and the program ended.
  bool addConsoleNameAndClose(const std::wstring& name, int otherConsole) const {
    morloProcess morlo(program);
    if (!morlo.mainWindow()) return false;
    morlo.clickTab(createPage);
    EXPECT_EQ(comboIndexOf(morlo, L"Other Console"), otherConsole);
    morlo.pickComboItem(createPage, idCombo, otherConsole);
    morloProcess::setText(morlo.control(createPage, idCustomConsole), name);
    morlo.menuCommand(createPage, menuAddConsole);
    return waitUntil([&] { return comboIndexOf(morlo, name) == otherConsole; }) && morlo.close();
  }
  const std::vector<std::wstring> values = {L"Super Game", L"Hack & Co", L"1.2", L"Me", L"me@home", L"Nice"};
};

}  // namespace

TEST_F(createJourney, aMorloPatchWithItsInformationAppliesToTheModifiedGame) {
  const gamePair games = makeGamePair(folder.path());
  morloProcess morlo(program);
  ASSERT_TRUE(morlo.mainWindow());
  fillTheEditor(morlo);
  const fs::path patch = folder.path() / "new hack.ml";
  ASSERT_TRUE(createThroughTheDialogs(morlo, patch, games));

  const std::wstring info = applyThroughTheDialogs(morlo, patch, games, folder.path() / "out.sfc");
  EXPECT_NE(info.find(L"System: SNES\r\nGame: Super Game\r\nHack: Hack & Co\r\nVersion: 1.2\r\n"
                      L"Author: Me\r\nContact: me@home\r\nComment: Nice\r\n"),
            std::wstring::npos);
  EXPECT_TRUE(fileBecomes(folder.path() / "out.sfc", readFileBytes(games.modified)));
}

TEST_F(createJourney, withoutPatchInfoThePatchTellsItsFiles) {
  const gamePair games = makeGamePair(folder.path());
  morloProcess morlo(program);
  ASSERT_TRUE(morlo.mainWindow());
  morlo.clickTab(createPage);
  morlo.menuCommand(createPage, menuWithInfo);  // the fields stay empty
  const fs::path patch = folder.path() / "plain.ml";
  ASSERT_TRUE(createThroughTheDialogs(morlo, patch, games));
  const std::wstring info = applyThroughTheDialogs(morlo, patch, games, folder.path() / "out.sfc");
  EXPECT_EQ(info.find(L"File type: sfc\r\nGame: Game (Europe)\r\nHack: plain\r\n"), 0u) << info.size();
  EXPECT_TRUE(fileBecomes(folder.path() / "out.sfc", readFileBytes(games.modified)));
}

TEST_F(createJourney, aSavedTemplateRestoresEveryField) {
  morloProcess morlo(program);
  ASSERT_TRUE(morlo.mainWindow());
  morlo.clickTab(createPage);
  const int gameBoy = comboIndexOf(morlo, L"Game Boy");
  morlo.pickComboItem(createPage, idCombo, gameBoy);
  fillFields(morlo, values);
  const fs::path templateFile = folder.path() / "my template.txt";
  morlo.menuCommand(createPage, menuSaveTemplate);
  // The dialog proposes the hack's name in Description templates.
  const HWND dialog = morlo.waitForWindow(L"Save As");
  ASSERT_TRUE(dialog);
  EXPECT_EQ(windowText(GetDlgItem(dialog, 0x47c)), L"Hack & Co.txt");
  morlo.chooseInFileDialog(L"Save As", templateFile);
  ASSERT_TRUE(waitUntil([&] { return fs::exists(templateFile); }));

  morlo.menuCommand(createPage, menuNewTemplate);
  morlo.pickComboItem(createPage, idCombo, 0);
  ASSERT_TRUE(waitUntil([&] { return fieldTexts(morlo) == std::vector<std::wstring>(6); }));
  morlo.menuCommand(createPage, menuLoadTemplate);
  morlo.chooseInFileDialog(L"Open", templateFile);
  EXPECT_TRUE(waitUntil([&] { return fieldTexts(morlo) == values; }));
  EXPECT_EQ(SendMessageW(morlo.control(createPage, idCombo), CB_GETCURSEL, 0, 0), gameBoy);
  EXPECT_TRUE(morlo.close());
}

TEST_F(createJourney, anAddedConsoleNameIsThereAtTheNextStart) {
  ASSERT_TRUE(addConsoleNameAndClose(L"Virtual Boy", 25));
  morloProcess again(program);
  ASSERT_TRUE(again.mainWindow());
  const std::vector<std::wstring> items = again.comboItems(again.control(createPage, idCombo));
  ASSERT_EQ(items.size(), 27u);
  EXPECT_EQ(items[25], L"Virtual Boy");
  EXPECT_EQ(items[26], L"Other Console");
}

TEST_F(createJourney, anAddedConsoleNameKeepsEveryLineOfALongListFile) {
  // More names, and a longer one, than the combo shows.
  std::vector<std::wstring> names;
  for (int i = 0; i < 150; ++i) names.push_back(L"Console " + std::to_wstring(i));
  names[70] = std::wstring(150, L'N');
  const fs::path listFile = program / "Config" / "console names.ini";
  writeTextFileLines(listFile, names);
  ASSERT_TRUE(addConsoleNameAndClose(L"Virtual Boy", 100));  // the combo shows 100 names
  names.push_back(L"Virtual Boy");
  EXPECT_EQ(readTextFileLines(listFile), names);
}

TEST_F(createJourney, anXdeltaPatchThroughModule3) {
  fs::copy_file(builtProgramPath("xdelta3"), program / "Modules" / "3.m");
  // Module 3 takes modified games of 30 MB and more.
  const gamePair games = makeGamePair(folder.path(), 32 << 20);
  morloProcess morlo(program);
  ASSERT_TRUE(morlo.mainWindow());
  fillTheEditor(morlo);
  const fs::path patch = folder.path() / "hack.xdelta";
  ASSERT_TRUE(createThroughTheDialogs(morlo, patch, games));
  // Module 3 writes the patch in its own console; it is done once the patch stops growing.
  uintmax_t size = 0;
  ASSERT_TRUE(waitUntil([&] {
    std::error_code missing;
    const uintmax_t now = fs::exists(patch) ? fs::file_size(patch, missing) : 0;
    const bool settled = now > 0 && now == size;
    size = now;
    Sleep(500);
    return settled;
  }, std::chrono::seconds(60)));

  const std::wstring info = applyThroughTheDialogs(morlo, patch, games, folder.path() / "out.sfc");
  EXPECT_NE(info.find(L"Hack & Co"), std::wstring::npos) << info.size();
  EXPECT_NE(info.find(L"Super Game"), std::wstring::npos);
  EXPECT_TRUE(fileBecomes(folder.path() / "out.sfc", readFileBytes(games.modified)));
}
