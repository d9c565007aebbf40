// The records where morlo's engine and application meet: the job of a run, the chosen paths, the
// user's settings, the windows through which the engine reports, and the patch-information values.
// Window handles stay opaque here so that the engine can include this without windows.h; they are
// the very types that windows.h declares (HWND, HMENU).
#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <string>

using windowHandle = struct HWND__*;
using menuHandle = struct HMENU__*;

// An int that one thread may change while another reads it; a copy takes its current value.
class sharedInt {
 public:
  sharedInt(int32_t value = 0) : value_(value) {}
  sharedInt(const sharedInt& other) : value_(other.value_.load()) {}
  sharedInt& operator=(const sharedInt& other) { return *this = other.value_.load(); }
  sharedInt& operator=(int32_t value) {
    value_ = value;
    return *this;
  }
  operator int32_t() const { return value_; }

 private:
  std::atomic<int32_t> value_;
};

// The job that the apply and create operations receive. Paths are UTF-8.
struct patchJob {
  std::string patchPath;
  std::string sourcePath;  // the original game
  std::string targetPath;  // the output file when applying, the modified game when creating
  // The GUI thread changes these two at any time, also while a worker reads them.
  sharedInt checksumMode = 0;     // 0 ask, 1 refuse, 2 no test
  sharedInt restoreOriginal = 0;  // 1: undo the PPF patch
};

// Bits of the files-chosen masks, set with a bitwise or.
constexpr uint8_t patchChosenBit = 1;
constexpr uint8_t sourceChosenBit = 2;
constexpr uint8_t targetChosenBit = 4;
// The apply mode that patches a copy of the original written to the output path.
constexpr uint8_t applyToCopyMask = 7;

// The paths the user has chosen and the program's data paths, all wide.
struct pathFields {
  int32_t applyFinished = 0;  // 1 when the last apply returned normally
  uint8_t filesChosenMask = 0;   // Apply page
  uint8_t createChosenMask = 0;  // Create page: patch to save, original game, modified game
  std::wstring applyPatchPath;
  std::wstring applySourcePath;
  std::wstring applyTargetPath;
  std::wstring createPatchPath;
  std::wstring createSourcePath;
  std::wstring createModifiedPath;
  std::wstring templatePath;
  std::wstring patchReadmePath;
  std::wstring languageFolder;
  std::wstring gamesLinkPath;
  std::wstring outputFolder;
  std::wstring programReadmePath;
  std::wstring programDescriptionPath;
};

// The user's settings. A static record starts all zero and empty; the main window's start-up
// sets the defaults (resetToDefaults) before the settings file is read.
struct settingsValues {
  int32_t languageSet = 0;  // whether "lang" is written
  int32_t path_reverse = 0;
  int32_t orig_game_link = 0;
  int32_t use_game_name = 0;
  int32_t use_hack_name = 0;
  int32_t use_hack_ver = 0;
  int32_t outputFolderSet = 0;  // whether "output_folder_path" is written
  int32_t withInfo = 0;         // "Patch with info"; not stored
  int32_t patch_to_file = 0;    // 1 patch the original, 2 patch a copy, 3 save to the output folder
  int32_t ptc_info_lang = 0;    // 0 English names, 1 current language, 2 none
  int32_t sec_compress = 0;     // 0 none, 1 lzma, 2 djw, 3 fgk
  int32_t src_wnd_size = 0;     // 0 auto, 1 to 8: 8 MB to 1024 MB
  int32_t compress_lvl = 0;     // 0 to 9
  int32_t readmeFound = 0;      // a readme.txt lies beside the chosen patch; not stored
  std::wstring language;        // display name of the language in use

  // The defaults of a start without settings file; languageSet and readmeFound are left alone.
  void resetToDefaults();
};

inline void settingsValues::resetToDefaults() {
  path_reverse = 1;
  orig_game_link = 1;
  use_game_name = 0;
  use_hack_name = 1;
  use_hack_ver = 1;
  outputFolderSet = 0;
  withInfo = 1;
  patch_to_file = 2;
  ptc_info_lang = 0;
  sec_compress = 0;
  src_wnd_size = 0;
  compress_lvl = 5;
  language = L"English";
}

// The windows that the patchers and the window helpers reach, with the control id of each.
struct guiHandles {
  windowHandle mainWindow = nullptr;  // dialog 104
  windowHandle createPage = nullptr;  // dialog 103

  // Apply page
  windowHandle applyInfoGroup = nullptr;     // 1019
  windowHandle applyActionsGroup = nullptr;  // 1020
  windowHandle applyFilesGroup = nullptr;    // 1021
  windowHandle applyPatchLabel = nullptr;    // 1048
  windowHandle applySourceLabel = nullptr;   // 1049
  windowHandle applyTargetLabel = nullptr;   // 1050
  windowHandle applyInfoEdit = nullptr;      // 1007, the patch information
  windowHandle applyPatchEdit = nullptr;     // 1025
  windowHandle applySourceEdit = nullptr;    // 1026
  windowHandle applyTargetEdit = nullptr;    // 1027
  windowHandle applySelectPatchButton = nullptr;   // 1022
  windowHandle applySelectSourceButton = nullptr;  // 1006
  windowHandle applyOutputButton = nullptr;  // 1008, "Save modified game" or "Open folder"
  windowHandle applyRunButton = nullptr;     // 1011

  // Create page
  windowHandle createEditorGroup = nullptr;      // 1019
  windowHandle createConsoleLabel = nullptr;     // 1017
  windowHandle createGameLabel = nullptr;        // 1023
  windowHandle createVersionLabel = nullptr;     // 1016
  windowHandle createHackLabel = nullptr;        // 1015
  windowHandle createAuthorLabel = nullptr;      // 1014
  windowHandle createContactLabel = nullptr;     // 1013
  windowHandle createCommentLabel = nullptr;     // 1012
  windowHandle createActionsGroup = nullptr;     // 1020
  windowHandle createFilesGroup = nullptr;       // 1021
  windowHandle createPatchLabel = nullptr;       // 1048
  windowHandle createSourceLabel = nullptr;      // 1049
  windowHandle createModifiedLabel = nullptr;    // 1050
  windowHandle createPatchEdit = nullptr;        // 1025
  windowHandle createSourceEdit = nullptr;       // 1026
  windowHandle createModifiedEdit = nullptr;     // 1027
  windowHandle createConsoleCombo = nullptr;     // 1001
  windowHandle createCustomConsoleEdit = nullptr;  // 1002
  windowHandle createGameEdit = nullptr;         // 1024
  windowHandle createHackEdit = nullptr;         // 1003
  windowHandle createVersionEdit = nullptr;      // 1009
  windowHandle createAuthorEdit = nullptr;       // 1004
  windowHandle createContactEdit = nullptr;      // 1005
  windowHandle createCommentEdit = nullptr;      // 1018
  windowHandle createSavePatchButton = nullptr;       // 1022
  windowHandle createSelectSourceButton = nullptr;    // 1006
  windowHandle createSelectModifiedButton = nullptr;  // 1008
  windowHandle createRunButton = nullptr;             // 1011

  // Settings page
  windowHandle settingsInterfaceGroup = nullptr;  // 1057
  windowHandle settingsModeGroup = nullptr;       // 1058
  windowHandle settingsXdeltaGroup = nullptr;     // 1051
  windowHandle settingsOutputNameLabel = nullptr;   // 1054
  windowHandle settingsInfoNamesLabel = nullptr;    // 1043
  windowHandle settingsLevelLabel = nullptr;        // 1044
  windowHandle settingsSecondaryLabel = nullptr;    // 1045
  windowHandle settingsWindowSizeLabel = nullptr;   // 1046
  windowHandle settingsLevelEdit = nullptr;         // 1038, compression level
  windowHandle settingsOutputFolderEdit = nullptr;  // 1052
  windowHandle settingsLanguageCombo = nullptr;     // 1047
  windowHandle settingsInfoNamesCombo = nullptr;    // 1036
  windowHandle settingsSecondaryCombo = nullptr;    // 1040
  windowHandle settingsWindowSizeCombo = nullptr;   // 1041
  windowHandle settingsReversePathCheck = nullptr;  // 1028
  windowHandle settingsGameLinkCheck = nullptr;     // 1029
  windowHandle settingsGameNameCheck = nullptr;     // 1033
  windowHandle settingsHackNameCheck = nullptr;     // 1034
  windowHandle settingsHackVersionCheck = nullptr;  // 1035
  windowHandle settingsRestoreCheck = nullptr;      // 1059, "Restore original game (for PPF patch)"
  windowHandle settingsToOriginalRadio = nullptr;   // 1030
  windowHandle settingsToCopyRadio = nullptr;       // 1031
  windowHandle settingsToFolderRadio = nullptr;     // 1032
  windowHandle settingsSetLanguageButton = nullptr;  // 1055
  windowHandle settingsUpdateListButton = nullptr;   // 1056
  windowHandle settingsSelectFolderButton = nullptr; // 1053
  windowHandle settingsSaveButton = nullptr;         // 1042

  windowHandle tabControl = nullptr;  // 1000
  windowHandle statusBar = nullptr;
  windowHandle progressBar = nullptr;
  menuHandle popupMenu = nullptr;  // menu 107; its submenus are the pages' popup menus
  sharedInt guiEnabled = 1;  // 0 while a worker runs; written by the worker
};

// What the create operations see of the Create page's patch-information editor: eight values in
// the order console name, game, hack, version, author, contact, comment and a spare one that only
// templates carry, and the two readers that fill entries 0 to 6 from the page and throw an error
// object when a value is empty. The editor on the Create page derives from this.
class patchInfoEditor {
 public:
  std::array<std::wstring, 8> infoValues;

  virtual void readConsoleName() = 0;  // entry 0
  virtual void readInfoFields() = 0;   // entries 1 to 6

 protected:
  ~patchInfoEditor() = default;
};
