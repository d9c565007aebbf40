#include "journeyFiles.h"

#include "morloPatcher.h"

namespace fs = std::filesystem;

gamePair makeGamePair(const fs::path& folder, size_t size) {
  gamePair games{folder / "Game (Europe).sfc", folder / "Game (Hack).sfc"};
  const bytes original = randomBytes(size, 7);
  bytes modified = original;
  for (size_t at = 17; at < size; at += 9973) modified[at] ^= 0x5A;
  modified.resize(size + 4096, 0xEE);
  writeFileBytes(games.original, original);
  writeFileBytes(games.modified, modified);
  return games;
}

void makeMorloPatch(const gamePair& games, const fs::path& patch) {
  struct fixedValues final : patchInfoEditor {
    fixedValues() { infoValues = {L"SNES", L"Game", L"Hack", L"1.0", L"Author", L"Contact", L"Comment", L""}; }
    void readConsoleName() override {}
    void readInfoFields() override {}
  } values;
  const auto utf8 = [](const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
  };
  morloPatcher maker;
  patchJob job{utf8(patch), utf8(games.original), utf8(games.modified)};
  settingsValues settings;
  settings.resetToDefaults();
  guiHandles none;
  maker.create(job, values, settings, none);
  maker.finish();
}

void writeTextFileLines(const fs::path& file, const std::vector<std::wstring>& lines) {
  bytes text = {0xFF, 0xFE};
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::wstring line = i + 1 < lines.size() ? lines[i] + L"\r\n" : lines[i];
    putUtf16Le(text, std::u16string_view(reinterpret_cast<const char16_t*>(line.data()), line.size()));
  }
  writeFileBytes(file, text);
}

std::vector<std::wstring> readTextFileLines(const fs::path& file) {
  const bytes data = readFileBytes(file);
  if (data.size() < 2 || data[0] != 0xFF || data[1] != 0xFE) return {};
  std::wstring text;
  for (size_t i = 2; i + 1 < data.size(); i += 2) text += wchar_t(data[i] | data[i + 1] << 8);
  std::vector<std::wstring> lines;
  for (size_t start = 0;;) {
    const size_t end = text.find(L"\r\n", start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::wstring::npos) return lines;
    start = end + 2;
  }
}

void writeSettingsFile(const fs::path& programFolder, const std::vector<std::wstring>& lines) {
  writeTextFileLines(programFolder / "Config" / "cnf.ini", lines);
}
