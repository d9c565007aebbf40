// Wide path and string helpers. The backslash is the only separator; a slash is an ordinary
// character. None of them fails: every part they cut lies inside the string.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Removes leading blanks (U+0020 only; tabs stay).
void trimLeadingBlanks(std::wstring& text);
// Sets text to the decimal of a + b ("%d"); settings are written 1-based with b = 1.
void assignDecimal(std::wstring& text, uint32_t a, uint32_t b);
// The decimal number at the start of the text (leading white space and a sign allowed, no digits
// give 0), held in the int range; a non-zero result has offset subtracted.
int parseDecimal(std::wstring_view text, int offset);

// Everything up to and including the last backslash; empty when there is none.
std::wstring directoryOfPath(std::wstring_view path);
// Everything after the last backslash; the whole path when there is none.
std::wstring fileNameOfPath(std::wstring_view path);
// The file name up to its last "."; the whole file name when the file name has no ".".
std::wstring baseNameOfPath(std::wstring_view path);
// The text after the last "." of the whole path; "unc" when there is no "." or it is the first
// character; empty when the path ends in ".".
std::wstring extensionOfPath(std::wstring_view path);
// Whether the text after the last "." of path, with a to z upper-cased, equals expected (given in
// capitals, such as "LNG"); false when the path has no ".".
bool extensionMatches(std::wstring_view expected, std::wstring_view path);
// The path's components in reverse order: C:\a\b.x gives b.x\a\C: and C:\dir\ gives \dir\C:.
std::wstring reversePathForDisplay(std::wstring_view path);
