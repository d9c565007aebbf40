// The editor's console-name list: Config\console names.ini, the built-in names in its place, the
// names the user adds, and the combo that shows them followed by "Other Console".
#include "errors.h"
#include "guiTexts.h"
#include "infoEditorRules.h"
#include "patchInfoEditor.h"
#include "textFile.h"

namespace {

constexpr size_t otherConsoleCaption = 23;

}  // namespace

const std::wstring createPageEditor::consoleNamesLabel = L"\\Config\\console names.ini";

std::vector<std::wstring> createPageEditor::readConsoleNameFile() const {
  std::vector<std::wstring> names;
  readTextLines(sharedTextFile, names, consoleNamesPath, consoleNamesLabel);
  return names;
}

void createPageEditor::loadConsoleNames() {
  try {
    replaceConsoleNames(readConsoleNameFile());
  } catch (errorBase*) {
    useBuiltinConsoleNames();
  }
}

void createPageEditor::updateConsoleNames() { replaceConsoleNames(readConsoleNameFile()); }

void createPageEditor::useBuiltinConsoleNames() {
  replaceConsoleNames({builtinConsoleNames.begin(), builtinConsoleNames.end()});
}

void createPageEditor::replaceConsoleNames(std::vector<std::wstring> names) {
  clearConsoleNames();
  consoleNames = std::move(names);
  addedConsoleNames.clear();
  fillConsoleCombo(false);
}

void createPageEditor::clearConsoleNames() {
  consoleNames.clear();
  SendMessageW(combo(), CB_RESETCONTENT, 0, 0);
  comboItemCount = 0;
}

void createPageEditor::fillConsoleCombo(bool selectLast) {
  for (const std::wstring& name : consoleNames)
    SendMessageW(combo(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  const std::wstring& otherConsole = guiCaptionTexts[otherConsoleCaption];
  SendMessageW(combo(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(otherConsole.c_str()));
  comboItemCount = static_cast<int>(consoleNames.size()) + 1;
  selectConsole(selectLast ? comboItemCount - 1 : 0);
}

void createPageEditor::addConsoleName() {
  editorScratch = readEdit(customEdit());
  if (editorScratch.empty()) localStrShow.raise(editorMessageTexts[1]);
  if (findWholeName(comboItemTexts(combo()), editorScratch) >= 0)
    localStrShow.raise(editorMessageTexts[0]);
  consoleNames.push_back(editorScratch);
  addedConsoleNames.push_back(editorScratch);
  SendMessageW(combo(), CB_RESETCONTENT, 0, 0);
  consoleListChanged = 1;
  // "Other Console" stays selected, and the custom edit keeps the new name.
  fillConsoleCombo(true);
}

// The combo shows only what the reader keeps of the file (100 names of 100 characters), so the
// file is written back as it stands, every line whole, with the added names after it. Without a
// file to keep, the list in memory (the built-in names) is written.
std::vector<std::wstring> createPageEditor::consoleNamesToWrite() const {
  std::wstring text;
  try {
    text = readMarkedText(sharedTextFile, consoleNamesPath, smallestTextFile);
  } catch (markedTextFault) {
    return consoleNames;
  }
  std::vector<std::wstring> lines{std::move(text)};
  lines.insert(lines.end(), addedConsoleNames.begin(), addedConsoleNames.end());
  return lines;
}

void createPageEditor::saveConsoleNamesOnClose() {
  if (!consoleListChanged) return;
  try {
    writeTextLines(sharedTextFile, consoleNamesToWrite(), consoleNamesPath, consoleNamesLabel);
  } catch (...) {
    // The program is closing: there is nobody left to tell.
  }
}
