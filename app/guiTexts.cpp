#include "guiTexts.h"

#include <span>

#include "textConvert.h"

std::array<std::wstring, 9> languageErrorTexts = {
    L"Can't open language file",
    L"Empty language file",
    L"Language file size is too small",
    L"Language file size, out of limit",
    L"Can't read data from language file",
    L"Language file uses non-unicode format",
    L"Can't get the language file version",
    L"The language file version is not equal program version",
    L"The language strings sum is not enough"};

std::array<std::wstring, 10> guiMessageTexts = {
    L"Info",
    L"Warning",
    L"Continue?",
    L"Loading",
    L"Saving",
    L"Searching",
    L"The operation is finished.",
    L"Select output folder.",
    L"The path for this file will be automatically created.",
    L"About..."};

std::array<std::wstring, 4> guiErrorTexts = {L"Error", L"Unknown error", L"Error of create Thread",
                                             L"The path is longer than 259 characters"};

std::array<std::wstring, 8> editorMessageTexts = {
    L"That name already exists",    L"Console name field is empty", L"Game name field is empty",
    L"Hack name field is empty",    L"Hack version field is empty", L"Author name field is empty",
    L"Contact field is empty",      L"Comment field is empty"};

std::array<std::wstring, 6> fileErrorTexts = {
    L"Can't open file",         L"Can't create file",         L"File size is too small",
    L"File size, out of limit", L"Can't read data from file", L"File uses non-unicode format"};

std::array<std::wstring, 67> guiCaptionTexts = {
    L"Apply patch",
    L"Create patch",
    L"Configuration",
    L"Actions",
    L"Files info",
    L"Patch file",
    L"Original game",
    L"Modified game",
    L"Patch info",
    L"Select patch",
    L"Select original game",
    L"Save modified game",
    L"Save patch",
    L"Select modified game",
    L"Open folder",
    L"Patch info editor",
    L"Console name",
    L"Game name",
    L"Hack name",
    L"Hack version",
    L"Author name",
    L"Contact",
    L"Comment",
    L"Other Console",
    L"Save patch",
    L"Select mod game",
    L"Interface",
    L"Patching mode",
    L"Reverse the file path",
    L"Folder shortcuts for original games",
    L"Set language",
    L"Update list",
    L"Patch to original game",
    L"Patch to game copy",
    L"Save to output folder",
    L"Select folder",
    L"Create output file name:",
    L"Game name",
    L"Hack name",
    L"Hack version",
    L"Restore original game (for PPF patch)",
    L"Names of info strings",
    L"English language",
    L"Current language",
    L"Create Xdelta patch",
    L"Primary compression level",
    L"Secondary compression type",
    L"Source window size",
    L"Disabled",
    L"Auto",
    L"Mb",
    L"Save Config",
    L"Checksum test mode:",
    L"Show warning",
    L"Show error",
    L"Disabled",
    L"Show Readme file",
    L"Load template",
    L"Save Template",
    L"New template",
    L"Add console name",
    L"Open console name file",
    L"Update console name list",
    L"Patch with info",
    L"Show program Readme file",
    L"Show program description",
    L"About..."};

void languageTextSlot::assign(const std::wstring& text) const {
  if (narrow_) {
    *narrow_ = toUtf8(text);
  } else {
    *wide_ = text;
  }
}

std::wstring languageTextSlot::text() const { return narrow_ ? fromUtf8(*narrow_) : *wide_; }

namespace {

template <typename table>
void addSlots(std::vector<languageTextSlot>& slots, table& entries, size_t lines) {
  for (auto& entry : std::span(entries).first(lines)) slots.emplace_back(entry);
}

// The order of a language file: each table with the number of lines it takes from it.
// guiMessageTexts 9 comes from the menu, defaultInfoLabels 1 to 3 and foreignInfoKeys from
// patchInfoLabels.
std::vector<languageTextSlot> slotsInFileOrder() {
  std::vector<languageTextSlot> slots;
  addSlots(slots, languageErrorTexts, 9);
  addSlots(slots, guiMessageTexts, 9);
  addSlots(slots, guiErrorTexts, 3);
  addSlots(slots, editorMessageTexts, 8);
  addSlots(slots, fileErrorTexts, 6);
  addSlots(slots, patchInfoLabels, 9);
  addSlots(slots, defaultInfoLabels, 1);
  addSlots(slots, engineWarningTexts, 2);
  addSlots(slots, engineProgressTexts, 8);
  addSlots(slots, engineErrorTexts, 30);
  addSlots(slots, modulePatcherTexts, 2);
  addSlots(slots, modulePatcherErrors, 9);
  addSlots(slots, foreignInfoLabels, 15);
  addSlots(slots, foreignInfoKeys, 0);
  addSlots(slots, guiCaptionTexts, 67);
  return slots;
}

}  // namespace

const std::vector<languageTextSlot>& languageTextSlots() {
  static const std::vector<languageTextSlot> slots = slotsInFileOrder();
  return slots;
}
