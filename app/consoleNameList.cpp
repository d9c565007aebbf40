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
  SendMessageW(combo(), CB_RESETCONTENT, 0, 0);
  consoleListChanged = 1;
  // "Other Console" stays selected, and the custom edit keeps the new name.
  fillConsoleCombo(true);
}

void createPageEditor::saveConsoleNamesOnClose() {
  if (!consoleListChanged) return;
  try {
    writeTextLines(sharedTextFile, consoleNames, consoleNamesPath, consoleNamesLabel);
  } catch (...) {
    // The program is closing: there is nobody left to tell.
  }
}
