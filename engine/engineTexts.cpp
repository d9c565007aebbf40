#include "engineTexts.h"

#include "textConvert.h"

std::array<std::wstring, 9> patchInfoLabels = {
    L"System", L"Game", L"Hack", L"Version", L"Author", L"Contact", L"Comment", L"Creation Date",
    L"[DD.MM.YYYY]"};

std::array<std::wstring, 4> defaultInfoLabels = {L"File type", L"Game", L"Hack", L"Creation Date"};

std::array<std::wstring, 2> engineWarningTexts = {L"Modified file is not resized",
                                                  L"Patching is stopped"};

std::array<std::wstring, 8> engineProgressTexts = {
    L"Checksum is not correct, continue?",
    L"File processing",
    L"Data analysing...",
    L"Data processing",
    L"Patch creation...",
    L"Patch is successfully created",
    L"File patching...",
    L"Patching is successfully finished!"};

std::array<std::wstring, 30> engineErrorTexts = {
    L"Original file is not selected",
    L"Modified file is not selected",
    L"Patch file is not selected",
    L"File copy is not selected",
    L"Empty original file",
    L"Empty modified file",
    L"Empty patch file",
    L"Load original file error",
    L"Load modified file error",
    L"Load patch file error",
    L"Patch file is too short",
    L"Original file size, out of limit",
    L"Modified file size, out of limit",
    L"Patch file size, out of limit",
    L"Can't read patch info parameter",
    L"Files do not have differences",
    L"Unknown patch format",
    L"Can't create file copy",
    L"Create patch file error",
    L"Can't read data from original file",
    L"Can't read data from modified file",
    L"Can't read data from patch file",
    L"Can't write data to patch file",
    L"Can't write data to file copy",
    L"Can't resize modified file",
    L"The patch data out of file",
    L"The patch data exceeded the limit of output file",
    L"Checksum is not correct",
    L"This patcher version does not support old patch specifications",
    L"This patcher version does not support advanced features"};

std::array<std::wstring, 2> modulePatcherTexts = {L"External patcher is started",
                                                  L"Xdelta can't patch to original file"};

// Entries 3 to 7 are shown by nothing; a language file still gives them their lines.
std::array<std::wstring, 9> modulePatcherErrors = {
    L"The patch and input file paths are equivalent",
    L"The patch and output file paths are equivalent",
    L"The input and output file paths are equivalent",
    L"Reserved",
    L"Reserved",
    L"Reserved",
    L"Reserved",
    L"Reserved",
    L"Modified file is less than 30 MB"};

std::array<std::string, 15> foreignInfoLabels = {
    "Info",        "available",      "not available",  "APS patch type", "standard",
    "Compression type: unknown",     "Patch type",     "Undo operation", "Description",
    "RUP patch info", "Genre",       "Language",       "Release date",   "[YYYY.MM.DD]",
    "Website"};

std::array<std::string, 4> foreignInfoKeys = {"Version", "Author", "Game", "[DD.MM.YYYY]"};

const std::array<std::string, 9> patchInfoKeys = {
    "System", "Game", "Hack", "Version", "Author", "Contact", "Comment", "Creation Date",
    " [DD.MM.YYYY]\n"};

void refreshCopiedInfoLabels() {
  defaultInfoLabels[1] = patchInfoLabels[1];
  defaultInfoLabels[2] = patchInfoLabels[2];
  defaultInfoLabels[3] = patchInfoLabels[7];
  foreignInfoKeys[3] = toUtf8(patchInfoLabels[8]);
}
