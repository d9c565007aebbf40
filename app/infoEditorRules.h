// The decisions of the Create page's patch-information editor, kept apart from its windows: the
// built-in console names, how a console name is found among the combo's items, and which lines of
// a template become values.
#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

// The console names offered when Config\console names.ini cannot be read; fixed, never translated.
extern const std::array<std::wstring, 25> builtinConsoleNames;

// The index of the first item whose whole text equals name, ignoring case, or -1: "Game Boy"
// finds "Game Boy" and never "Game Boy Advance".
int findWholeName(const std::vector<std::wstring>& items, std::wstring_view name);

// The console name of the patch information: with "Other Console" selected the custom name, taken
// as typed (an errorBase "Console name field is empty" when there is none), else the selected item.
std::wstring chosenConsoleName(bool customSelected, const std::wstring& item, const std::wstring& customName);
// A field's value without its leading blanks; an errorStrShow with the message when none is left.
std::wstring requiredFieldValue(std::wstring text, const std::wstring& message);

// Line i of a template becomes value i. Values beyond the last line keep what they held, and
// lines after the last value are ignored.
void takeTemplateLines(const std::vector<std::wstring>& lines, std::array<std::wstring, 8>& values);
