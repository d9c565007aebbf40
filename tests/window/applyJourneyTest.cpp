// A user applies patches from the window: the real morlo.exe, its dialogs and its modules.
#include "windowJourney.h"

namespace fs = std::filesystem;

namespace {

constexpr int applyPage = 0;
constexpr int idInfo = 1007, idSelectSource = 1006, idOutput = 1008, idRun = 1011;

class applyJourney : public windowJourney {
 protected:
  // A Morlo patch, and an original game that is not the one it was made from.
  void makePatchAndWrongOriginal() {
    makeMorloPatch(makeGamePair(folder.path()), patch);
    writeFileBytes(wrong, wrongBytes);
  }
  const fs::path patch = folder.path() / "hack.ml";
  const fs::path wrong = folder.path() / "other.sfc";
  const bytes wrongBytes = randomBytes(200000, 99);
};

// A PPF 1.0 patch that writes "HELLO" at offset 10.
bytes helloPpf() {
  bytes ppf;
  putText(ppf, "PPF10");
  ppf.push_back(0);
  putText(ppf, "End to end");
  ppf.resize(56, 0);
  putLe(ppf, 10, 4);
  ppf.push_back(5);
  putText(ppf, "HELLO");
  return ppf;
}

}  // namespace

TEST_F(applyJourney, aMorloPatchFromTheCommandLineToACopy) {
  const gamePair games = makeGamePair(folder.path());
  const fs::path patch = folder.path() / "My Hack.ml";
  makeMorloPatch(games, patch);
  const fs::path output = folder.path() / "Patched game.sfc";

  morloProcess morlo(program, L"\"" + patch.wstring() + L"\"");
  ASSERT_TRUE(morlo.mainWindow());
  const std::wstring info = windowText(morlo.control(applyPage, idInfo));
  EXPECT_NE(info.find(L"Game: Game\r\nHack: Hack\r\nVersion: 1.0\r\n"), std::wstring::npos);


  morlo.click(morlo.control(applyPage, idSelectSource));
  morlo.chooseInFileDialog(L"Open", games.original);
  EXPECT_FALSE(IsWindowEnabled(morlo.control(applyPage, idRun)));
  morlo.click(morlo.control(applyPage, idOutput));
  morlo.chooseInFileDialog(L"Save As", output);
  ASSERT_TRUE(enabledSoon(morlo.control(applyPage, idRun)));

  morlo.click(morlo.control(applyPage, idRun));
  EXPECT_TRUE(fileBecomes(output, readFileBytes(games.modified)));
  EXPECT_TRUE(enabledSoon(morlo.control(applyPage, idRun)));
  EXPECT_TRUE(morlo.close());
}

TEST_F(applyJourney, aPpfPatchThroughModule2OnTheOriginalGame) {
  writeSettingsFile(program, {L"patch_to_file = 1"});
  const fs::path patch = folder.path() / "hack & co.ppf";
  writeFileBytes(patch, helloPpf());
  const fs::path game = folder.path() / "game.bin";
  const bytes original(64, 0x11);
  writeFileBytes(game, original);

  morloProcess morlo(program, L"\"" + patch.wstring() + L"\"");
  ASSERT_TRUE(morlo.mainWindow());
  EXPECT_EQ(windowText(morlo.control(applyPage, idInfo)), L"Patch type: PPF 1.0\r\n");
  EXPECT_FALSE(IsWindowEnabled(morlo.control(applyPage, idOutput)));
  morlo.click(morlo.control(applyPage, idSelectSource));
  morlo.chooseInFileDialog(L"Open", game);
  ASSERT_TRUE(enabledSoon(morlo.control(applyPage, idRun)));

  morlo.click(morlo.control(applyPage, idRun));
  bytes expected = original;
  std::copy_n("HELLO", 5, expected.begin() + 10);
  EXPECT_TRUE(fileBecomes(game, expected));
}

TEST_F(applyJourney, aWrongOriginalIsRefusedInShowErrorMode) {
  makePatchAndWrongOriginal();
  const fs::path output = folder.path() / "out.sfc";

  morloProcess morlo(program, L"\"" + patch.wstring() + L"\"");
  ASSERT_TRUE(morlo.mainWindow());
  PostMessageW(morlo.page(applyPage), WM_COMMAND, 40003, 0);  // "Show error" in the popup menu
  morlo.click(morlo.control(applyPage, idSelectSource));
  morlo.chooseInFileDialog(L"Open", wrong);
  morlo.click(morlo.control(applyPage, idOutput));
  morlo.chooseInFileDialog(L"Save As", output);
  ASSERT_TRUE(enabledSoon(morlo.control(applyPage, idRun)));
  morlo.click(morlo.control(applyPage, idRun));

  const HWND box = morlo.waitForWindow(L"Error");
  ASSERT_TRUE(box);
  EXPECT_EQ(morloProcess::messageText(box), L"Checksum is not correct");
  morloProcess::dismiss(box);
  EXPECT_EQ(readFileBytes(wrong), wrongBytes);
  EXPECT_FALSE(fs::exists(output));
  EXPECT_TRUE(morlo.close());
}

TEST_F(applyJourney, closingIsRefusedWhileARunWaitsForTheUser) {
  makePatchAndWrongOriginal();
  writeSettingsFile(program, {L"patch_to_file = 1"});
  morloProcess morlo(program, L"\"" + patch.wstring() + L"\"");
  ASSERT_TRUE(morlo.mainWindow());
  morlo.click(morlo.control(applyPage, idSelectSource));
  morlo.chooseInFileDialog(L"Open", wrong);
  ASSERT_TRUE(enabledSoon(morlo.control(applyPage, idRun)));
  morlo.click(morlo.control(applyPage, idRun));
  // The checksum question holds the worker.
  const HWND question = morlo.waitForWindow(L"Warning");
  ASSERT_TRUE(question);

  PostMessageW(morlo.mainWindow(), WM_COMMAND, IDCANCEL, 0);  // Esc, Alt+F4 and the close box
  PostMessageW(morlo.mainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
  morlo.clickTab(2);
  Sleep(1000);
  EXPECT_TRUE(morlo.running());
  EXPECT_EQ(morlo.selectedTab(), 0);
  EXPECT_EQ(morlo.visiblePage(), 0);

  morloProcess::dismiss(question, IDNO);  // "Patching is stopped"
  EXPECT_TRUE(enabledSoon(morlo.control(applyPage, idRun)));
  EXPECT_TRUE(morlo.close());
}

TEST_F(applyJourney, tabsFollowTheKeysAndTheMouseAndF1ShowsAbout) {
  morloProcess morlo(program);
  ASSERT_TRUE(morlo.mainWindow());
  const auto shown = [&](int tab) {
    return waitUntil([&] { return morlo.selectedTab() == tab && morlo.visiblePage() == tab; },
                     std::chrono::seconds(5));
  };
  morlo.pressKeys({VK_CONTROL, VK_TAB});
  EXPECT_TRUE(shown(1));
  morlo.pressKeys({VK_CONTROL, VK_RIGHT});
  EXPECT_TRUE(shown(2));
  morlo.pressKeys({VK_CONTROL, VK_TAB});
  EXPECT_TRUE(shown(0));
  morlo.pressKeys({VK_CONTROL, VK_LEFT});
  EXPECT_TRUE(shown(2));
  morlo.clickTab(1);
  EXPECT_TRUE(shown(1));

  for (int twice = 0; twice < 2; ++twice) {
    morlo.pressKeys({VK_F1});
    const HWND about = morlo.waitForWindow(L"About...");
    ASSERT_TRUE(about);
    morloProcess::dismiss(about);
  }
  morlo.pressKeys({VK_ESCAPE});
  EXPECT_TRUE(waitUntil([&] { return !morlo.running(); }));
}
