// The engine's text tables, built with their English texts at start-up. A language file replaces
// every table here except patchInfoKeys; entries may change, their number never does.
#pragma once
#include <array>
#include <string>

// Labels of the seven patch-information lines, "Creation Date" and the date format.
extern std::array<std::wstring, 9> patchInfoLabels;
// Labels of a patch made without information: file type, game, hack, creation date.
extern std::array<std::wstring, 4> defaultInfoLabels;
extern std::array<std::wstring, 2> engineWarningTexts;
extern std::array<std::wstring, 8> engineProgressTexts;
extern std::array<std::wstring, 30> engineErrorTexts;
extern std::array<std::wstring, 2> modulePatcherTexts;
extern std::array<std::wstring, 9> modulePatcherErrors;  // entries 3 to 7 are reserved
// UTF-8: labels in the information of APS, PPF and RUP patches.
extern std::array<std::string, 15> foreignInfoLabels;
// UTF-8; only entry 3, the date format behind a creation date, is read.
extern std::array<std::string, 4> foreignInfoKeys;
// UTF-8, never replaced: the English keys of the description stored in xdelta patches.
extern const std::array<std::string, 9> patchInfoKeys;

// After a language was applied: defaultInfoLabels 1 to 3 = patchInfoLabels 1, 2, 7 and
// foreignInfoKeys 3 = the UTF-8 form of patchInfoLabels 8.
void refreshCopiedInfoLabels();
