// The installed languages (the list Config\lang.dta, rebuilt from the language folder) and the
// loading of one language into the text tables and the window's captions.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "languageText.h"
#include "records.h"

class languageManager {
 public:
  using messageBoxCall = int(WINAPI*)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

  std::wstring listPath;  // programFolder followed by Config\lang.dta
  std::vector<languageEntry> list;
  int languageCount = 0;     // 0 after a scan that found no file, even while the old list stays
  bool listChanged = false;  // set by a scan that listed a language; the list is written only then
  std::vector<std::wstring> lines;  // the lines of the loaded language, or none
  // Shows the scan's question and unknown-error boxes and the list's write errors.
  messageBoxCall messageBox = MessageBoxW;

  // The names of the first files of the folder (ending in a backslash) with the extension LNG.
  std::vector<std::wstring> findLanguageFiles(const std::wstring& folder) const;
  // The display name of a language file's text once its version line equals version.
  std::wstring checkLanguageFile(std::wstring_view text, std::wstring_view version) const;
  // Rebuilds the list from the files of the folder. Interactive: a bad file asks whether to go on,
  // any other failure shows an unknown-error box and stops; else such files are passed over.
  void scanLanguages(HWND owner, const std::wstring& folder, std::wstring_view version,
                     bool interactive);
  // Reads the list file; false after any failure, with nothing shown and the list unchanged.
  bool loadList();
  // The list file read, or else rebuilt from the folder without questions and written silently.
  void loadOrRebuildList(HWND owner, const std::wstring& folder);
  // Writes the list file when a scan changed the list and it holds a language.
  void saveList(bool showErrors);
  // Fills the language combo with the display names, or with "English" alone; selects the first.
  // Returns whether the combo and "Set language" are enabled.
  bool fillLanguageCombo(const guiHandles& gui) const;
  // The folder followed by the file name, and the display name, of list entry index; an index
  // outside the languages counted throws std::out_of_range.
  std::wstring languageFilePath(const std::wstring& folder, int index) const;
  const std::wstring& displayNameAt(int index) const;
  // Reads and splits a language file into the lines; after a failure no lines are held.
  void loadLanguage(const std::wstring& path, std::wstring_view version);
  // Copies the loaded lines into the text tables and refreshes the copied labels; without a
  // loaded language nothing changes.
  void applyLanguage() const;
  void releaseLines();

 private:
  // The question about a bad file during a scan; whether the user goes on.
  bool askToGoOn(HWND owner, const std::wstring& error, const std::wstring& fileName) const;
  const languageEntry& entryAt(int index) const;
};

extern languageManager theLanguageManager;

// Whether the name is neither empty nor exactly "English".
bool isNonEnglishLanguage(const std::wstring& name);
// The item of the language combo that names the saved language: one whose whole name equals it
// (case ignored) before the first that merely begins with it; CB_ERR when none does.
int findSavedLanguage(HWND combo, const std::wstring& name);
// Loads list entry index from the folder and applies it to the tables, the controls and menus.
void applyListedLanguage(languageManager& manager, const guiHandles& gui,
                         const std::wstring& folder, int index, int patchToFile);
// At start-up: applies the saved language when it is not English and stands in the combo and
// the list, then drops the loaded lines. Any failure leaves the texts as they are. Returns
// whether a language was applied.
bool applySavedLanguage(languageManager& manager, const guiHandles& gui,
                        const settingsValues& settings, const std::wstring& folder);
