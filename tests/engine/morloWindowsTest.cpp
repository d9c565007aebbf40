// The Morlo patcher with real windows: the information box, its font, the output button and
// the status display that a run reports to.
#include "morloTestHelpers.h"
#include "patcherTestWindows.h"

namespace {

class morloWindows : public patcherWindows {
 protected:
  const bytes game = randomBytes(64, 61);
  std::string patch = makeFile("p.ml", [&] {
    bytes out = patchHead(0x00, 1, game, {"bin", "G", "H"}, 4, 100 | 1u << 15);
    add(out, {255, 1, 0x5A});
    return out;
  }());

  std::string md5OfGame() const {
    md5 digest;
    digest.update(game.data(), static_cast<int32_t>(game.size()));
    digest.finalize();
    return digest.hexDigest();
  }
};

}  // namespace

TEST_F(morloWindows, chosenPatchFillsTheInformationBoxInItsFont) {
  // Another patcher showed its information in another font.
  SendMessageW(gui.applyInfoEdit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FIXED_FONT)), FALSE);
  settings.patch_to_file = 3;
  paths.applyPatchPath = wide(patch);
  ASSERT_EQ(raisedBy([&] { set.morlo.patchChosen(job, paths, settings, gui); }).text, L"");
  EXPECT_EQ(windowText(gui.applyInfoEdit),
            L"File type: bin\r\nGame: G\r\nHack: H\r\nCreation Date: 01.01.2000 [DD.MM.YYYY]\r\nMD5: " +
                wide(md5OfGame()) + L"\r\n");
  EXPECT_EQ(infoFont(), defaultFont);
  EXPECT_EQ(windowText(gui.applyOutputButton), L"Open folder");
  EXPECT_FALSE(IsWindowEnabled(gui.applyOutputButton));

  // A patch that cannot be read leaves the box as it was.
  const std::wstring shown = windowText(gui.applyInfoEdit);
  paths.applyPatchPath = wide(makeFile("bad.ml", bytes(40, 'X')));
  EXPECT_EQ(raisedBy([&] { set.morlo.patchChosen(job, paths, settings, gui); }).text, L"Unknown patch format");
  EXPECT_EQ(windowText(gui.applyInfoEdit), shown);
}

TEST_F(morloWindows, runReportsToTheStatusDisplay) {
  const std::string original = makeFile("game.bin", game);
  job = {patch, original, "", 1};
  ASSERT_EQ(raisedBy([&] { set.morlo.apply(job, 3); }).text, L"");
  set.morlo.finish();
  EXPECT_EQ(statusText(gui.statusBar, 1), L"Patching is successfully finished!");
  EXPECT_EQ(statusText(gui.statusBar, 0), L"0");
  EXPECT_EQ(SendMessageW(gui.progressBar, PBM_GETPOS, 0, 0), 100);
  bytes expected = game;
  expected[0] = 0x5A;
  EXPECT_EQ(readFileBytes(widePath(original)), expected);
}
