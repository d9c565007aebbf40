// The text of language files and of the language list Config\lang.dta: reading, the version line,
// the lines of a language and the pairs of the list. Language-file errors are raised as errorBase
// with a languageErrorTexts entry and no file name.
#pragma once
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "guiTexts.h"

constexpr std::wstring_view languageVersionText = L"v1.1";
constexpr uint64_t smallestLanguageFile = 500;
constexpr uint64_t smallestLanguageList = 22;
// Lines of a language after its version line: the table texts, then the display name.
constexpr size_t languageLineCount = languageTextLineCount + 1;
// Units kept of a line ended by CR, of a display name and of a line of the list.
constexpr size_t languageLineLimit = 100;

// One installed language.
struct languageEntry {
  std::wstring displayName;
  std::wstring fileName;  // in the language folder, with its extension
};

// A language file whose last CR has no unit behind it, so that no display name can be taken. Not
// an errorBase: a scan shows it as an unknown error and stops.
class danglingLineBreak : public std::runtime_error {
 public:
  danglingLineBreak() : std::runtime_error("language file ends in a lone CR") {}
};

// The text of a UTF-16LE file with the mark FF FE, of minimumSize to 31,457,280 bytes, up to its
// first NUL unit.
std::wstring readLanguageText(const std::wstring& path, uint64_t minimumSize);
// The text behind the version line and the unit after its CR, once the line equals version.
std::wstring_view textAfterVersion(std::wstring_view text, std::wstring_view version);
// The display name that a scan lists: the text behind the last CR and the unit after it, cut.
std::wstring scannedDisplayName(std::wstring_view text);
// The languageLineCount lines of the text behind the version line: empty lines skipped, each line
// ended by CR cut, a last line without CR whole, lines beyond the count ignored.
std::vector<std::wstring> splitLanguageLines(std::wstring_view text);
// The entries of the list's text: of its first 400 lines, those not empty once their leading
// blanks are gone, cut and paired in order; an unpaired last one is dropped.
std::vector<languageEntry> parseLanguageList(std::wstring_view text);
