// Writes pictures of morlo's pages and popup menus as BMP files into the folder given, for a
// person to look at (scripts/screenshots). Not a test.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "morloDriver.h"
#include "testFiles.h"

namespace fs = std::filesystem;

namespace {

void pause() { std::this_thread::sleep_for(std::chrono::milliseconds(600)); }

// The main window and, when it is open, the popup menu beside it.
void savePicture(const morloProcess& morlo, HWND menu, const fs::path& file) {
  RECT area{};
  GetWindowRect(morlo.mainWindow(), &area);
  if (menu) {
    RECT menuArea{};
    GetWindowRect(menu, &menuArea);
    UnionRect(&area, &area, &menuArea);
  }
  saveWindowPicture(nullptr, file, &area);
  std::printf("%s\n", file.string().c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: morloScreenshots OUTPUT-FOLDER [LANGUAGE-FILE]\n");
    return 2;
  }
  const fs::path output = argv[1];
  fs::create_directories(output);
  scratchDir folder;
  makeProgramFolder(folder.path());
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
  morlo.close();
  return 0;
}
