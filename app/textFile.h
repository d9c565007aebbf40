// The application's small text files (settings, console names, templates, language list):
// UTF-16LE after the mark FF FE, lines joined by CR LF, no line break after the last line.
// Every failure raises an errorBase with a fileErrorTexts entry, a line feed and the caller's
// label.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using textFileHandle = void*;  // the HANDLE of windows.h

// State shared by the reader and the writers; the writers leave it untouched.
class textFile {
 public:
  uint64_t size = 0;                // bytes of the file that the reader opened last
  textFileHandle handle = nullptr;  // the reader's open file, only while it reads
};

extern textFile sharedTextFile;

constexpr uint64_t smallestTextFile = 3;
constexpr uint64_t largestTextFile = 31457280;
constexpr size_t mostTextLines = 100;
// Units kept of a line ended by CR unless the caller asks for more.
constexpr size_t textLineLimit = 100;

// Why reading a marked text failed; each reader names it with its own table (languageErrorTexts
// 0 to 5 in this order).
enum class markedTextFault { cantOpen, empty, tooSmall, outOfLimit, cantRead, notUnicode };

// The text of the UTF-16LE file at path after its mark FF FE, up to its first NUL unit; an odd
// last byte makes a unit of its own. Throws a markedTextFault when the file cannot be opened or
// read, is empty, has fewer than minimumSize (at least smallestTextFile) or more than
// largestTextFile bytes, or lacks the mark.
std::wstring readMarkedText(textFile& file, const std::wstring& path, uint64_t minimumSize);
// Appends the lines of text: at most mostLines lines ended by CR, each cut to lineLimit units,
// empty ones skipped and not counted, the unit after every CR dropped; then, unless mostLines were
// taken, the text after the last CR whole.
void cutTextLines(std::wstring_view text, std::vector<std::wstring>& lines, size_t lineLimit,
                  size_t mostLines);
// Reads the file at path and appends its lines to lines (which is not cleared): at most
// mostTextLines of them, each line ended by CR cut to lineLimit units, empty lines skipped, the
// unit after every CR dropped, and the text after the last CR kept whole as the last line.
void readTextLines(textFile& file, std::vector<std::wstring>& lines, const std::wstring& path,
                   const std::wstring& label, size_t lineLimit = textLineLimit);
// Writes lines to the file at path, replacing it.
void writeTextLines(textFile& file, const std::vector<std::wstring>& lines,
                    const std::wstring& path, const std::wstring& label);
// Writes each pair as two lines, first then second.
void writeTextBuffer(textFile& file,
                     const std::vector<std::pair<std::wstring, std::wstring>>& pairs,
                     const std::wstring& path, const std::wstring& label);
