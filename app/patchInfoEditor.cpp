#include "patchInfoEditor.h"

#include <algorithm>

#include "guiTexts.h"
#include "infoEditorRules.h"
#include "pathHelpers.h"
#include "textFile.h"

createPageEditor theInfoEditor;

const std::wstring createPageEditor::descriptionTemplatesPrefix = L"\\Description templates\\";

namespace {

// A value as an edit shows it: no more than the user could type there, so that what the page
// shows is what the readers take.
std::wstring fieldText(const std::wstring& value) { return value.substr(0, editorFieldLimit); }

}  // namespace

std::wstring comboItemText(HWND combo, int index) {
  const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
  if (length <= 0) return {};
  std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  if (copied <= 0) return {};
  return std::wstring(text.data(), static_cast<size_t>(std::min(copied, length)));
}

std::vector<std::wstring> comboItemTexts(HWND combo) {
  std::vector<std::wstring> items;
  const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) items.push_back(comboItemText(combo, i));
  return items;
}

void createPageEditor::init(const std::wstring& programFolder) {
  infoValues.fill(L"");
  consoleNamesPath = programFolder + L"Config\\console names.ini";
}

void createPageEditor::attachFields(guiHandles& gui) {
  gui_ = &gui;
  fieldEdits = {gui.createGameEdit,   gui.createHackEdit,    gui.createVersionEdit,
                gui.createAuthorEdit, gui.createContactEdit, gui.createCommentEdit};
}

const wchar_t* createPageEditor::readEdit(HWND edit) {
  editorBuffer[0] = L'\0';
  GetWindowTextW(edit, editorBuffer.data(), static_cast<int>(editorBuffer.size()));
  return editorBuffer.data();
}

bool createPageEditor::customConsoleSelected() const {
  return SendMessageW(combo(), CB_GETCURSEL, 0, 0) == SendMessageW(combo(), CB_GETCOUNT, 0, 0) - 1;
}

void createPageEditor::readConsoleName() {
  infoValues[0] = chosenConsoleName(customConsoleSelected(), comboItemText(combo(), consoleIndex),
                                    readEdit(customEdit()));
}

void createPageEditor::readField(HWND edit, size_t index, const std::wstring& message) {
  infoValues[index] = requiredFieldValue(readEdit(edit), message);
}

// Field i holds value i + 1; its refusal is editor message i + 2.
void createPageEditor::readInfoFields() {
  for (size_t i = 0; i < fieldEdits.size(); ++i)
    readField(fieldEdits[i], i + 1, editorMessageTexts[i + 2]);
}

patchInfoSnapshot createPageEditor::snapshot() {
  patchInfoSnapshot taken;
  taken.infoValues = infoValues;
  taken.customSelected = customConsoleSelected();
  taken.consoleItem = comboItemText(combo(), consoleIndex);
  taken.customName = readEdit(customEdit());
  for (size_t i = 0; i < fieldEdits.size(); ++i) taken.fieldTexts[i] = readEdit(fieldEdits[i]);
  return taken;
}

void patchInfoSnapshot::readConsoleName() {
  infoValues[0] = chosenConsoleName(customSelected, consoleItem, customName);
}

void patchInfoSnapshot::readInfoFields() {
  for (size_t i = 0; i < fieldTexts.size(); ++i)
    infoValues[i + 1] = requiredFieldValue(fieldTexts[i], editorMessageTexts[i + 2]);
}

void createPageEditor::loadTemplate(const std::wstring& path) {
  templateLines.clear();
  errorFileName = descriptionTemplatesPrefix + fileNameOfPath(path);
  readTextLines(sharedTextFile, templateLines, path, errorFileName);
  takeTemplateLines(templateLines, infoValues);
  showTemplate();
}

void createPageEditor::showTemplate() {
  const int last = comboItemCount - 1;
  const int found = findWholeName(comboItemTexts(combo()), infoValues[0]);
  if (found >= 0 && found < last) {
    selectConsole(found);
  } else {
    // A name outside the list, or "Other Console" itself, goes into the custom edit.
    selectConsole(last);
    SetWindowTextW(customEdit(), fieldText(infoValues[0]).c_str());
  }
  for (size_t i = 0; i < fieldEdits.size(); ++i)
    SetWindowTextW(fieldEdits[i], fieldText(infoValues[i + 1]).c_str());
}

void createPageEditor::saveTemplate(const std::wstring& path) {
  errorFileName = descriptionTemplatesPrefix + fileNameOfPath(path);
  readConsoleName();
  writeTextLines(sharedTextFile, {infoValues.begin(), infoValues.end()}, path, errorFileName);
}

void createPageEditor::clearFields() {
  for (HWND edit : fieldEdits) SetWindowTextW(edit, L"");
}

void createPageEditor::consoleSelected() {
  selectConsole(static_cast<int>(SendMessageW(combo(), CB_GETCURSEL, 0, 0)));
}

void createPageEditor::selectConsole(int index) {
  SendMessageW(combo(), CB_SETCURSEL, index, 0);
  consoleIndex = index;
  customConsoleEnabled = index == comboItemCount - 1;
  EnableWindow(customEdit(), customConsoleEnabled);
}
