#include "pathHelpers.h"

#include <climits>
#include <cwchar>

void trimLeadingBlanks(std::wstring& text) { text.erase(0, text.find_first_not_of(L' ')); }

void assignDecimal(std::wstring& text, uint32_t a, uint32_t b) {
  text = std::to_wstring(static_cast<int32_t>(a + b));
}

int parseDecimal(std::wstring_view text, int offset) {
  // A settings file may hold any digits: the number is held in the int range, never wrapped.
  const std::wstring copy(text);
  long long value = std::wcstoll(copy.c_str(), nullptr, 10);
  if (value == 0) return 0;
  value -= offset;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

std::wstring directoryOfPath(std::wstring_view path) {
  const size_t slash = path.rfind(L'\\');
  return slash == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, slash + 1));
}

std::wstring fileNameOfPath(std::wstring_view path) {
  const size_t slash = path.rfind(L'\\');
  return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

std::wstring baseNameOfPath(std::wstring_view path) {
  const std::wstring name = fileNameOfPath(path);
  const size_t dot = name.rfind(L'.');
  return dot == std::wstring::npos ? name : name.substr(0, dot);
}

std::wstring extensionOfPath(std::wstring_view path) {
  const size_t dot = path.rfind(L'.');
  if (dot == std::wstring_view::npos || dot == 0) return L"unc";
  return std::wstring(path.substr(dot + 1));
}

bool extensionMatches(std::wstring_view expected, std::wstring_view path) {
  const size_t dot = path.rfind(L'.');
  if (dot == std::wstring_view::npos) return false;
  const std::wstring_view extension = path.substr(dot + 1);
  if (extension.size() != expected.size()) return false;
  for (size_t i = 0; i < extension.size(); ++i) {
    wchar_t c = extension[i];
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    if (c != expected[i]) return false;
  }
  return true;
}

std::wstring reversePathForDisplay(std::wstring_view path) {
  std::wstring result;
  std::wstring_view rest = path;
  for (;;) {
    const size_t slash = rest.rfind(L'\\');
    if (slash == std::wstring_view::npos) {
      result += rest;
      return result;
    }
    result += rest.substr(slash + 1);
    result += L'\\';
    rest = rest.substr(0, slash);
  }
}
