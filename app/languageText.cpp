#include "languageText.h"

#include <algorithm>

#include "errors.h"
#include "pathHelpers.h"
#include "textFile.h"

namespace {

// Entries 0 to 5 name the markedTextFaults, in their order.
constexpr size_t noVersion = 6;
constexpr size_t otherVersion = 7;
constexpr size_t tooFewLines = 8;

[[noreturn]] void raiseLanguageError(size_t entry) { localError.raise(languageErrorTexts[entry]); }

// Lines of the list file looked at, empty ones included.
constexpr size_t mostListLines = 400;

// Drops the line break that starts at cr: the CR and the unit after it, when there is one.
void dropThroughBreak(std::wstring_view& text, size_t cr) {
  text.remove_prefix(std::min(cr + 2, text.size()));
}

}  // namespace

std::wstring readLanguageText(const std::wstring& path, uint64_t minimumSize) {
  textFile file;
  try {
    return readMarkedText(file, path, minimumSize);
  } catch (markedTextFault fault) {
    raiseLanguageError(static_cast<size_t>(fault));
  }
}

std::wstring_view textAfterVersion(std::wstring_view text, std::wstring_view version) {
  const size_t cr = text.find(L'\r');
  if (cr == std::wstring_view::npos || cr == 0) raiseLanguageError(noVersion);
  if (text.substr(0, cr) != version) raiseLanguageError(otherVersion);
  dropThroughBreak(text, cr);
  return text;
}

std::wstring scannedDisplayName(std::wstring_view text) {
  const size_t cr = text.rfind(L'\r');
  if (cr != std::wstring_view::npos) {
    if (cr + 1 == text.size()) throw danglingLineBreak();
    text.remove_prefix(cr + 2);
  }
  return std::wstring(text.substr(0, languageLineLimit));
}

std::vector<std::wstring> splitLanguageLines(std::wstring_view text) {
  std::vector<std::wstring> lines;
  cutTextLines(text, lines, languageLineLimit, languageLineCount);
  if (lines.size() < languageLineCount) raiseLanguageError(tooFewLines);
  return lines;
}

std::vector<languageEntry> parseLanguageList(std::wstring_view text) {
  std::vector<std::wstring> names;
  for (size_t looked = 0; looked < mostListLines; ++looked) {
    const size_t cr = text.find(L'\r');
    std::wstring line(text.substr(0, cr));
    trimLeadingBlanks(line);
    if (!line.empty()) names.push_back(line.substr(0, languageLineLimit));
    if (cr == std::wstring_view::npos) break;
    dropThroughBreak(text, cr);
  }
  std::vector<languageEntry> entries;
  for (size_t i = 0; i + 1 < names.size(); i += 2) entries.push_back({names[i], names[i + 1]});
  return entries;
}
