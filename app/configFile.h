// The settings file Config\cnf.ini: one "key = value" line a setting, read once when the settings
// page starts and written only by "Save Config"; and the paths of the program's own documents.
#pragma once
#include <array>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "records.h"

// The keys and values of settings lines. Keys are case-sensitive; the first line that gives a key
// a value wins.
class keyValueMap {
 public:
  // Adds the keys and values of the lines; returns the number of keys held.
  size_t parseLines(const std::vector<std::wstring>& lines);
  // The key's value, or an empty text when no line gave it one.
  void get(const std::wstring& key, std::wstring& value) const;
  // An empty value leaves field as it is; exactly "off" gives 0; anything else 1.
  static void toSwitch(const std::wstring& value, int32_t& field);

 private:
  std::map<std::wstring, std::wstring> entries_;
};

class configFile {
 public:
  // The keys in the order in which the file lists them and settingsValues holds them.
  static const std::array<std::wstring, 12> configKeys;
  static const std::wstring relativePath;  // Config\cnf.ini

  keyValueMap map;
  std::vector<std::wstring> lines;
  std::wstring value;
  const std::wstring label = L"\\config\\cnf.ini";  // names the file in error messages
  std::wstring programFolder;                       // the program's folder, ending in a backslash
  std::wstring path;                                // programFolder followed by relativePath

  // Reads the file into values and outputFolder of fields. When the file cannot be read, raises
  // the text-file error and changes nothing.
  void load(settingsValues& values, pathFields& fields);
  // Takes the keys and values of the lines into values and fields, keeping every number in its
  // range (a value outside it gives the default).
  void applyLines(const std::vector<std::wstring>& fileLines, settingsValues& values,
                  pathFields& fields);
  // Writes the file, with compress_lvl as the compression-level edit of the settings page shows it.
  void save(const guiHandles& gui, const settingsValues& values, const pathFields& fields);
  // The lines that save writes, given the text of the compression-level edit.
  std::vector<std::wstring> settingsLines(const settingsValues& values, const pathFields& fields,
                                          const std::wstring& compressionText) const;
  // Sets programReadmePath and programDescriptionPath: the language's folder in Docs\ when it
  // holds a readme.txt, else the English one.
  void findDocs(pathFields& fields, const std::wstring& language) const;
};

extern configFile settingsFile;
