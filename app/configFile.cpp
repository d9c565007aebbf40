#include "configFile.h"

#include <windows.h>

#include <algorithm>

#include "pathHelpers.h"
#include "textFile.h"

const std::array<std::wstring, 12> configFile::configKeys = {
    L"lang",          L"path_reverse", L"orig_game_link",     L"use_game_name",
    L"use_hack_name", L"use_hack_ver", L"output_folder_path", L"patch_to_file",
    L"ptc_info_lang", L"sec_compress", L"src_wnd_size",       L"compress_lvl"};
const std::wstring configFile::relativePath = L"Config\\cnf.ini";

configFile settingsFile;

namespace {

enum keyIndex : size_t { langKey = 0, outputFolderKey = 6, compressLevelKey = 11 };

struct switchSetting {
  size_t key;
  int32_t settingsValues::*field;
};
const switchSetting switchSettings[] = {{1, &settingsValues::path_reverse},
                                        {2, &settingsValues::orig_game_link},
                                        {3, &settingsValues::use_game_name},
                                        {4, &settingsValues::use_hack_name},
                                        {5, &settingsValues::use_hack_ver}};

// A number stored as its value plus offset, valid from lowest to highest.
struct numberSetting {
  size_t key;
  int32_t settingsValues::*field;
  uint32_t offset;
  int32_t lowest;
  int32_t highest;
};
// The xdelta options pick table entries by these numbers, so only valid ones may be loaded.
const numberSetting numberSettings[] = {{7, &settingsValues::patch_to_file, 0, 1, 3},
                                        {8, &settingsValues::ptc_info_lang, 1, 0, 2},
                                        {9, &settingsValues::sec_compress, 1, 0, 3},
                                        {10, &settingsValues::src_wnd_size, 1, 0, 8},
                                        {compressLevelKey, &settingsValues::compress_lvl, 0, 0, 9}};

// Room for the longest path Windows allows after a key and its separator.
constexpr size_t settingsLineLimit = UNICODE_STRING_MAX_CHARS + 64;

const std::wstring separator = L" = ";
const std::wstring switchWords[2] = {L"off", L"on"};

// Keys holding a name or a path keep the blanks of their value: "lang" holds a language's
// display name, which may have several words.
bool keepsBlanks(const std::wstring& key) {
  return key == L"lang" || key.find(L"name") != std::wstring::npos ||
         key.find(L"path") != std::wstring::npos;
}

bool fileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

size_t keyValueMap::parseLines(const std::vector<std::wstring>& lines) {
  for (const std::wstring& fileLine : lines) {
    std::wstring line = fileLine;
    trimLeadingBlanks(line);
    if (line.size() < 3) continue;
    // Only the first "=" separates: a value may hold more of them.
    const size_t equals = line.find(L'=');
    if (equals != std::wstring::npos) line[equals] = L' ';
    const size_t blank = line.find(L' ');
    if (blank == std::wstring::npos) continue;
    std::wstring key = line.substr(0, blank);
    if (entries_.count(key)) continue;
    std::wstring rest = line.substr(blank);
    trimLeadingBlanks(rest);
    if (rest.empty()) continue;
    if (!keepsBlanks(key)) rest.resize(std::min(rest.size(), rest.find(L' ')));
    entries_.emplace(std::move(key), std::move(rest));
  }
  return entries_.size();
}

void keyValueMap::get(const std::wstring& key, std::wstring& value) const {
  const auto found = entries_.find(key);
  value = found == entries_.end() ? std::wstring() : found->second;
}

void keyValueMap::toSwitch(const std::wstring& value, int32_t& field) {
  if (value.empty()) return;
  field = value == L"off" ? 0 : 1;
}

void configFile::load(settingsValues& values, pathFields& fields) {
  lines.clear();
  readTextLines(sharedTextFile, lines, path, label, settingsLineLimit);
  applyLines(lines, values, fields);
  lines.clear();
}

void configFile::applyLines(const std::vector<std::wstring>& fileLines, settingsValues& values,
                            pathFields& fields) {
  map.parseLines(fileLines);
  map.get(configKeys[langKey], value);
  if (!value.empty()) {
    values.language = value;
    values.languageSet = 1;
  }
  for (const switchSetting& setting : switchSettings) {
    map.get(configKeys[setting.key], value);
    keyValueMap::toSwitch(value, values.*setting.field);
  }
  map.get(configKeys[outputFolderKey], value);
  if (!value.empty()) {
    fields.outputFolder = value;
    values.outputFolderSet = 1;
  }
  settingsValues defaults;
  defaults.resetToDefaults();
  for (const numberSetting& setting : numberSettings) {
    map.get(configKeys[setting.key], value);
    const int32_t number = parseDecimal(value, static_cast<int>(setting.offset));
    const bool valid = number >= setting.lowest && number <= setting.highest;
    values.*setting.field = valid ? number : defaults.*setting.field;
  }
}

std::vector<std::wstring> configFile::settingsLines(const settingsValues& values,
                                                    const pathFields& fields,
                                                    const std::wstring& compressionText) const {
  std::vector<std::wstring> out;
  if (values.languageSet) out.push_back(configKeys[langKey] + separator + values.language);
  for (const switchSetting& setting : switchSettings)
    out.push_back(configKeys[setting.key] + separator + switchWords[values.*setting.field != 0]);
  if (values.outputFolderSet)
    out.push_back(configKeys[outputFolderKey] + separator + fields.outputFolder);
  std::wstring number;
  for (const numberSetting& setting : numberSettings) {
    if (setting.key == compressLevelKey) continue;
    assignDecimal(number, static_cast<uint32_t>(values.*setting.field), setting.offset);
    out.push_back(configKeys[setting.key] + separator + number);
  }
  out.push_back(configKeys[compressLevelKey] + separator + compressionText);
  return out;
}

void configFile::save(const guiHandles& gui, const settingsValues& values,
                      const pathFields& fields) {
  // The edit holds one character; the "Save Config" handler has just read it into compress_lvl.
  wchar_t compressionText[2] = {};
  GetWindowTextW(gui.settingsLevelEdit, compressionText, 2);
  lines = settingsLines(values, fields, compressionText);
  writeTextLines(sharedTextFile, lines, path, label);
}

void configFile::findDocs(pathFields& fields, const std::wstring& language) const {
  const std::wstring docs = programFolder + L"Docs\\";
  fields.programReadmePath = docs + language + L"\\readme.txt";
  if (fileExists(fields.programReadmePath)) {
    fields.programDescriptionPath = docs + language + L"\\the program description.txt";
    return;
  }
  fields.programReadmePath = docs + L"English\\readMe.txt";
  fields.programDescriptionPath = docs + L"English\\the program description.txt";
}
