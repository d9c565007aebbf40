// The Create page's patch-information editor: the console combo with its last item "Other
// Console", which enables the custom console edit; the six text fields; templates of eight lines;
// and the console-name list of Config\console names.ini. The create operations read it through
// the two readers of patchInfoEditor, on the worker thread; everything else runs on the GUI
// thread. Errors are raised as error objects for the page's guard to show.
#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "records.h"
#include "windowHelpers.h"

// The editor's texts as they stood when a create run started. The run reads them on its own
// thread, with the same rules as the page's editor, while the user may go on typing.
class patchInfoSnapshot final : public patchInfoEditor {
 public:
  bool customSelected = false;  // "Other Console" was selected
  std::wstring consoleItem;     // the selected item's text
  std::wstring customName;      // the custom console edit's text
  std::array<std::wstring, 6> fieldTexts;  // game, hack, version, author, contact, comment

  void readConsoleName() override;
  void readInfoFields() override;
};

class createPageEditor final : public patchInfoEditor {
 public:
  int consoleIndex = 0;             // the combo's selected item
  int comboItemCount = 0;           // the names and the final "Other Console"
  uint8_t consoleListChanged = 0;   // a name was added: the list is written back on close
  int customConsoleEnabled = 0;     // the custom edit is enabled: "Add console name" is offered
  // Holds a whole field: every character that the edit limit lets the user type.
  std::array<wchar_t, editorFieldLimit + 1> editorBuffer{};
  std::wstring editorScratch;
  std::wstring consoleNamesPath;    // the program folder followed by Config\console names.ini
  std::wstring errorFileName;       // names the last template in text-file errors
  std::vector<std::wstring> templateLines;
  std::vector<std::wstring> consoleNames;
  std::vector<std::wstring> addedConsoleNames;  // added since the list was last read
  std::array<HWND, 6> fieldEdits{};  // game, hack, version, author, contact, comment

  static const std::wstring descriptionTemplatesPrefix;  // put before a template's file name
  static const std::wstring consoleNamesLabel;           // names the list file in its errors

  // Eight empty values; the list file's path in the program folder (ending in a backslash).
  void init(const std::wstring& programFolder);
  // Keeps the handles: the combo and the custom edit are read from gui, the six fields copied.
  void attachFields(guiHandles& gui);

  // Entry 0: the selected console, or the custom edit's text with "Other Console" selected.
  void readConsoleName() override;
  // Entries 1 to 6, leading blanks removed; stops at the first empty field with its message.
  void readInfoFields() override;
  void readField(HWND edit, size_t index, const std::wstring& message);
  // The texts that the readers take, for a create run; on the GUI thread.
  patchInfoSnapshot snapshot();

  void loadTemplate(const std::wstring& path);
  // The values in the page: the console found by its whole name, else the custom entry.
  void showTemplate();
  // Reads the console name and writes all eight values; the page has run readInfoFields before.
  void saveTemplate(const std::wstring& path);
  // Empties the six fields; the console and the values stay.
  void clearFields();
  // The user picked a combo item (CBN_SELCHANGE).
  void consoleSelected();

  // At start-up: the list file, else the built-in names; never an error.
  void loadConsoleNames();
  // "Update console name list": the list and the combo are replaced only when the file was read.
  void updateConsoleNames();
  // "Add console name": the custom edit's text, refused when empty or already in the combo.
  void addConsoleName();
  // Empties the list and the combo.
  void clearConsoleNames();
  // Adds the names and "Other Console" to the combo and selects "Other Console" or the first item.
  void fillConsoleCombo(bool selectLast);
  void useBuiltinConsoleNames();
  // When the main window closes: writes the list back if a name was added; errors are ignored.
  void saveConsoleNamesOnClose();

 private:
  HWND combo() const { return gui_->createConsoleCombo; }
  HWND customEdit() const { return gui_->createCustomConsoleEdit; }
  // The edit's text in editorBuffer.
  const wchar_t* readEdit(HWND edit);
  bool customConsoleSelected() const;
  void selectConsole(int index);
  std::vector<std::wstring> readConsoleNameFile() const;
  std::vector<std::wstring> consoleNamesToWrite() const;
  void replaceConsoleNames(std::vector<std::wstring> names);

  guiHandles* gui_ = nullptr;
};

extern createPageEditor theInfoEditor;

// Combo items read whole, however long: the read is sized by the item's length. An index
// without an item gives an empty text.
std::wstring comboItemText(HWND combo, int index);
std::vector<std::wstring> comboItemTexts(HWND combo);
