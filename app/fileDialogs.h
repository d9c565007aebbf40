// The open, save and folder dialogs of the pages, with their fixed filter lists.
#pragma once
#include <windows.h>
#include <cderr.h>
#include <commdlg.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// A filter list as the common dialogs take it: description and pattern of each entry, every
// text ended by a zero and the list by a second one.
std::wstring filterString(const std::vector<std::pair<std::wstring, std::wstring>>& entries);

extern const std::wstring applyPatchFilter;
extern const std::wstring gameFileFilter;
extern const std::wstring createPatchFilter;
extern const std::wstring templateFileFilter;

// What came of an open or save dialog: a chosen file, or the dialog's extended error (0 for
// Cancel).
struct dialogResult {
  bool chosen = false;
  DWORD error = 0;
};

// The system's open or save dialog on the record.
dialogResult showSystemDialog(OPENFILENAMEW& record, bool save);

// One record serves every open and save dialog of the program, so the filter index that one
// dialog returns is offered by the next.
class fileDialog {
 public:
  fileDialog();
  fileDialog(const fileDialog&) = delete;
  fileDialog& operator=(const fileDialog&) = delete;

  OPENFILENAMEW record{};
  wchar_t fileBuffer[MAX_PATH] = {};
  std::wstring displayPath;  // the reversed form of the last chosen path
  dialogResult (*show)(OPENFILENAMEW& record, bool save) = showSystemDialog;  // tests put in their own
};

extern fileDialog theFileDialog;

void setDialogOwner(fileDialog& dialog, HWND owner);

// The dialog opens on the path in field (its folder and name proposed). Confirmed: field = the
// choice, mask |= bit, and the edit shows it (reversed when asked). Cancelled: nothing changes.
// A file whose path is longer than the dialog's buffer changes nothing either, and raises an
// errorStrShow that names the limit.
bool openFileDialog(fileDialog& dialog, HWND edit, std::wstring& field, uint8_t& mask, uint8_t bit,
                    const std::wstring& filter, int reversed);
bool saveFileDialog(fileDialog& dialog, HWND edit, std::wstring& field, uint8_t& mask, uint8_t bit,
                    const std::wstring& filter, int reversed);
// The same without an edit and a mask.
bool openPlainFileDialog(fileDialog& dialog, std::wstring& path, const std::wstring& filter);
bool savePlainFileDialog(fileDialog& dialog, std::wstring& path, const std::wstring& filter);

// The original game of a page: with the folder shortcuts on, the dialog always starts at the
// shortcut path (Games links\Game file) and the field takes the choice; else at the last choice.
bool openOriginalGameDialog(fileDialog& dialog, HWND edit, std::wstring& field, uint8_t& mask,
                            const std::wstring& shortcutPath, int useShortcut, int reversed);

// The folder picker, opening at path; a chosen folder replaces path. A folder whose path is too
// long raises the same error as the file dialogs.
bool chooseFolder(HWND owner, std::wstring& path, const std::wstring& title);
