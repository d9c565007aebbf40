// Writes pictures of morlo's pages and popup menus as BMP files into the folder given, for a
// person to look at (scripts/screenshots); then the Settings page again in a generated language
// whose every text is the English one after its line number, so longer than the English. Not a
// test.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "guiTexts.h"
#include "morloDriver.h"
#include "testFiles.h"

namespace fs = std::filesystem;

namespace {

void pause() { std::this_thread::sleep_for(std::chrono::milliseconds(600)); }

// The main window's client area (without a window manager nothing draws its frame) and, when it
// is open, the popup menu beside it.
void savePicture(const morloProcess& morlo, HWND menu, const fs::path& file) {
  RECT area{};
  GetClientRect(morlo.mainWindow(), &area);
  MapWindowPoints(morlo.mainWindow(), nullptr, reinterpret_cast<POINT*>(&area), 2);
  if (menu) {
    RECT menuArea{};
    GetWindowRect(menu, &menuArea);
    UnionRect(&area, &area, &menuArea);
  }
  saveScreenPicture(area, file);
  std::printf("%s\n", file.string().c_str());
}

void writeNumberedLanguage(const fs::path& file) {
  std::wstring text = L"v1.1";
  size_t line = 0;
  for (const languageTextSlot& slot : languageTextSlots()) text += L"\r\n" + std::to_wstring(line++) + L" " + slot.text();
  text += L"\r\nNumbered English";
  bytes data = {0xFF, 0xFE};
  putUtf16Le(data, std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
  writeFileBytes(file, data);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: morloScreenshots OUTPUT-FOLDER\n");
    return 2;
  }
  const fs::path output = argv[1];
  fs::create_directories(output);
  scratchDir folder;
  makeProgramFolder(folder.path());
  writeNumberedLanguage(folder.path() / "Langs" / "Numbered.LNG");
  morloProcess morlo(folder.path());
  if (!morlo.mainWindow()) {
    std::fprintf(stderr, "morlo did not start\n");
    return 1;
  }
  const char* const names[3] = {"apply", "create", "settings"};
  for (int tab = 0; tab < 3; ++tab) {
    morlo.clickTab(tab);
    waitUntil([&] { return morlo.visiblePage() == tab; });
    pause();
    savePicture(morlo, nullptr, output / (std::string(names[tab]) + ".bmp"));
    const HWND menu = morlo.openPopupMenu(tab);
    if (!menu) continue;
    pause();
    savePicture(morlo, menu, output / (std::string(names[tab]) + "-menu.bmp"));
    morlo.closePopupMenu();
  }
  morlo.pickComboItem(2, 1047, 0);
  morlo.click(morlo.control(2, 1055));  // "Set language"
  pause();
  for (int tab = 0; tab < 3; ++tab) {
    morlo.clickTab(tab);
    waitUntil([&] { return morlo.visiblePage() == tab; });
    pause();
    savePicture(morlo, nullptr, output / (std::string(names[tab]) + "-numbered.bmp"));
  }
  morlo.close();
  return 0;
}
