#include "textConvert.h"

#include <windows.h>

std::string toUtf8(const std::wstring& text) {
  const int units = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return "Error";
  std::string result(length, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), units, result.data(), length, nullptr, nullptr);
  return result;
}

std::wstring fromUtf8(const std::string& text) {
  const int bytes = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), bytes, nullptr, 0);
  if (length <= 0) return L"Error";
  std::wstring result(length, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), bytes, result.data(), length);
  return result;
}
