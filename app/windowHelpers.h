// Small window operations that the engine and the three pages share.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "records.h"

// Shows a path in an edit. Not reversed: the caret goes to the end so that the end of a long path
// is in view. Reversed: the path's components in reverse order, caret left where it is.
void showPathInEdit(HWND edit, const std::wstring& path, int reversed);
// The Apply page's third button: "Open folder", disabled, in output-folder mode; else "Save
// modified game", disabled when patching the original game.
void setOutputButtonMode(HWND button, const settingsValues& settings);
// flag = 0, the checkbox unchecked and disabled.
void clearAndDisableCheckbox(HWND checkbox, sharedInt& flag);
// The decimal number at the start of the window's text (at most 255 characters read); 0 without.
int readIntFromControl(HWND window);

// The Apply page's buttons around a run; the third button follows the patching mode.
void setApplyControlsEnabled(guiHandles& gui, uint8_t enable, int finished, int patchToFile);
// The Create page's four buttons around a run.
void setCreateControlsEnabled(guiHandles& gui, uint8_t enable);

// flag ^= 1 and the menu item (by command) checked to match.
void toggleMenuCheck(HMENU menu, int32_t& flag, UINT itemId);
// Enables the Apply button once every needed file is chosen (3 when patching the original game,
// else 7); never disables it.
void enableApplyIfReady(HWND button, uint8_t mask, int patchToFile);
// Enables the Create button when the mask is exactly 7; never disables it.
void enableCreateIfReady(HWND button, uint8_t mask);
// EnableWindow; returns enable so that the caller keeps it as its state.
int setWindowEnabled(HWND window, int enable);
// Characters that the user may type into each of the Create page's editor fields; the editor
// reads them all.
constexpr int editorFieldLimit = 512;
// At most editorFieldLimit characters in each of the Create page's editor fields.
void limitEditorFields(const guiHandles& gui);
// The pages' background: the button face colour with each of red, green and blue raised by 10.
COLORREF pageBrushColour(COLORREF buttonFace);
HBRUSH createPageBrush();
// Opens the text file in Notepad.
void openInNotepad(HWND mainWindow, const std::wstring& path);
// Opens Explorer on the folder of the path with the file selected.
void showInExplorer(HWND mainWindow, const std::wstring& path);
// The first dropped file's name; ends the drop. Empty when there is none or when it is too long
// for a path of 259 characters: a cut name would be another file.
std::wstring droppedFileName(HDROP drop);
// The popup menu of a page (a submenu of menu 107); "Show Readme file" greyed without a readme.
void showPagePopupMenu(HWND owner, HMENU menu, POINT at, int submenu, int readmeFound);
// The Create page's popup menu, shown only with showFlag; "Add console name" greyed without
// addNameFlag.
void showCreatePopupMenu(HWND owner, HMENU menu, POINT at, int showFlag, int addNameFlag);
// paths.patchReadmePath = the Apply patch's folder followed by "readme.txt"; whether it exists.
bool findPatchReadme(pathFields& paths);
// Folder dialog callback: starts the dialog at the folder passed as data.
int CALLBACK folderBrowseCallback(HWND window, UINT message, LPARAM lParam, LPARAM data);
