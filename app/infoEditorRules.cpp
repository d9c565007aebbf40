#include "infoEditorRules.h"

#include <windows.h>

#include <algorithm>

#include "errors.h"
#include "guiTexts.h"
#include "pathHelpers.h"

const std::array<std::wstring, 25> builtinConsoleNames = {
    L"NES",           L"SNES",          L"Genesis",     L"Game Boy Advance",
    L"Game Boy",      L"Nintendo 64",   L"PlayStation", L"Nintendo DS",
    L"PlayStation 2", L"Master System", L"GameCube",    L"Famicom Disk System",
    L"PlayStation Portable",            L"Sega 32X",    L"Saturn",
    L"Turbografx-16", L"Sega CD",       L"Dreamcast",   L"Wonderswan",
    L"MSX",           L"Game Gear",     L"Xbox",        L"Xbox 360",
    L"Arcade",        L"PC"};

int findWholeName(const std::vector<std::wstring>& items, std::wstring_view name) {
  for (size_t i = 0; i < items.size(); ++i) {
    if (CompareStringOrdinal(items[i].data(), static_cast<int>(items[i].size()), name.data(),
                             static_cast<int>(name.size()), TRUE) == CSTR_EQUAL)
      return static_cast<int>(i);
  }
  return -1;
}

std::wstring chosenConsoleName(bool customSelected, const std::wstring& item, const std::wstring& customName) {
  if (!customSelected) return item;
  if (customName.empty()) localError.raise(editorMessageTexts[1]);
  return customName;
}

std::wstring requiredFieldValue(std::wstring text, const std::wstring& message) {
  trimLeadingBlanks(text);
  if (text.empty()) localStrShow.raise(message);
  return text;
}

void takeTemplateLines(const std::vector<std::wstring>& lines, std::array<std::wstring, 8>& values) {
  std::copy_n(lines.begin(), std::min(lines.size(), values.size()), values.begin());
}
