#include "languageManager.h"

#include <memory>
#include <stdexcept>
#include <utility>

#include "errors.h"
#include "guiTexts.h"
#include "languageControls.h"
#include "pathHelpers.h"
#include "textFile.h"

languageManager theLanguageManager;

namespace {

constexpr size_t mostLanguageFiles = 200;
constexpr std::wstring_view languageExtension = L"LNG";
// How the scan's question names the folder; not the folder's real name.
const std::wstring languageFolderText = L"\\Lang\\";
const std::wstring listLabel = L"\\Config\\lang.dta";

bool isLanguageFile(const WIN32_FIND_DATAW& entry) {
  const std::wstring_view name = entry.cFileName;
  if (name == L"." || name == L"..") return false;
  // Any directory, whatever other attributes it carries.
  if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  return extensionMatches(languageExtension, name);
}

}  // namespace

bool languageManager::askToGoOn(HWND owner, const std::wstring& error,
                                const std::wstring& fileName) const {
  const std::wstring question =
      error + L"\n" + languageFolderText + fileName + L"\n\n" + guiMessageTexts[2];
  return messageBox(owner, question.c_str(), guiMessageTexts[1].c_str(),
                    MB_ICONQUESTION | MB_YESNO) != IDNO;
}

std::vector<std::wstring> languageManager::findLanguageFiles(const std::wstring& folder) const {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileW((folder + L"*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  const std::unique_ptr<void, BOOL(WINAPI*)(HANDLE)> closer(search, FindClose);
  do {
    if (isLanguageFile(entry)) names.emplace_back(entry.cFileName);
  } while (names.size() < mostLanguageFiles && FindNextFileW(search, &entry));
  return names;
}

std::wstring languageManager::checkLanguageFile(std::wstring_view text,
                                                std::wstring_view version) const {
  textAfterVersion(text, version);
  return scannedDisplayName(text);
}

void languageManager::scanLanguages(HWND owner, const std::wstring& folder,
                                    std::wstring_view version, bool interactive) {
  languageCount = 0;
  const std::vector<std::wstring> names = findLanguageFiles(folder);
  if (names.empty()) {
    listChanged = false;  // the old list stays
    return;
  }
  list.clear();
  for (const std::wstring& name : names) {
    try {
      const std::wstring text = readLanguageText(folder + name, smallestLanguageFile);
      list.push_back({checkLanguageFile(text, version), name});
      ++languageCount;
    } catch (errorBase* error) {
      if (interactive && !askToGoOn(owner, error->message, name)) break;
    } catch (...) {
      // Not a language error, such as a file ending in a lone CR: the scan ends here.
      if (!interactive) continue;
      const std::wstring text = L"Unknown error\n" + name;
      messageBox(owner, text.c_str(), guiErrorTexts[0].c_str(), MB_ICONQUESTION | MB_OK);
      break;
    }
  }
  listChanged = languageCount != 0;
}

bool languageManager::loadList() {
  try {
    const std::wstring text = readLanguageText(listPath, smallestLanguageList);
    list = parseLanguageList(text);
  } catch (...) {
    return false;
  }
  languageCount = static_cast<int>(list.size());
  return true;
}

void languageManager::loadOrRebuildList(HWND owner, const std::wstring& folder) {
  if (loadList()) return;
  scanLanguages(owner, folder, languageVersionText, false);
  saveList(false);
}

void languageManager::saveList(bool showErrors) {
  if (languageCount == 0 || !listChanged) return;
  std::vector<std::pair<std::wstring, std::wstring>> pairs;
  for (const languageEntry& entry : list) pairs.emplace_back(entry.displayName, entry.fileName);
  const wchar_t* error = nullptr;
  try {
    writeTextBuffer(sharedTextFile, pairs, listPath, listLabel);
  } catch (errorBase* raised) {
    error = raised->message.c_str();
  } catch (...) {
    error = guiErrorTexts[1].c_str();
  }
  if (error && showErrors)
    messageBox(nullptr, error, guiErrorTexts[0].c_str(), MB_ICONERROR | MB_SYSTEMMODAL);
}

bool languageManager::fillLanguageCombo(const guiHandles& gui) const {
  const HWND combo = gui.settingsLanguageCombo;
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  const bool enabled = languageCount > 0;
  if (enabled) {
    for (int i = 0; i < languageCount; ++i) {
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(displayNameAt(i).c_str()));
    }
  } else {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"English"));
  }
  EnableWindow(combo, enabled);
  EnableWindow(gui.settingsSetLanguageButton, enabled);
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  return enabled;
}

const languageEntry& languageManager::entryAt(int index) const {
  if (index < 0 || index >= languageCount || static_cast<size_t>(index) >= list.size())
    throw std::out_of_range("no language at this index");
  return list[static_cast<size_t>(index)];
}

std::wstring languageManager::languageFilePath(const std::wstring& folder, int index) const {
  return folder + entryAt(index).fileName;
}

const std::wstring& languageManager::displayNameAt(int index) const {
  return entryAt(index).displayName;
}

void languageManager::loadLanguage(const std::wstring& path, std::wstring_view version) {
  lines.clear();
  const std::wstring text = readLanguageText(path, smallestLanguageFile);
  lines = splitLanguageLines(textAfterVersion(text, version));
}

void languageManager::applyLanguage() const {
  if (lines.size() != languageLineCount) return;
  const std::vector<languageTextSlot>& slots = languageTextSlots();
  for (size_t i = 0; i < slots.size(); ++i) slots[i].assign(lines[i]);
  refreshCopiedInfoLabels();
}

void languageManager::releaseLines() { lines.clear(); }

bool isNonEnglishLanguage(const std::wstring& name) { return !name.empty() && name != L"English"; }

int findSavedLanguage(HWND combo, const std::wstring& name) {
  const LPARAM text = reinterpret_cast<LPARAM>(name.c_str());
  // "Português" must not pick "Português (Brasil)" when both are installed.
  const LRESULT whole = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), text);
  if (whole != CB_ERR) return static_cast<int>(whole);
  return static_cast<int>(SendMessageW(combo, CB_FINDSTRING, static_cast<WPARAM>(-1), text));
}

void applyListedLanguage(languageManager& manager, const guiHandles& gui,
                         const std::wstring& folder, int index, int patchToFile) {
  manager.loadLanguage(manager.languageFilePath(folder, index), languageVersionText);
  manager.applyLanguage();
  applyTextsToControls(gui, patchToFile);
}

bool applySavedLanguage(languageManager& manager, const guiHandles& gui,
                        const settingsValues& settings, const std::wstring& folder) {
  if (!isNonEnglishLanguage(settings.language)) return false;
  const int index = findSavedLanguage(gui.settingsLanguageCombo, settings.language);
  if (index == CB_ERR || index >= manager.languageCount) return false;
  bool applied = true;
  try {
    applyListedLanguage(manager, gui, folder, index, settings.patch_to_file);
  } catch (...) {
    applied = false;
  }
  manager.releaseLines();
  return applied;
}
