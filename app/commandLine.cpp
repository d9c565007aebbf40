#include "commandLine.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <optional>

#include "pathHelpers.h"

namespace {

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

void dropLeadingBlanks(std::wstring_view& rest) {
  while (!rest.empty() && isBlank(rest.front())) rest.remove_prefix(1);
}

// The token up to the next blank, which is dropped with it.
std::wstring_view takeToBlank(std::wstring_view& rest) {
  size_t end = 0;
  while (end < rest.size() && !isBlank(rest[end])) ++end;
  const std::wstring_view token = rest.substr(0, end);
  rest.remove_prefix(std::min(rest.size(), end + 1));
  return token;
}

std::optional<std::wstring> absolutePath(const std::wstring& token) {
  wchar_t full[commandLineSlotUnits] = {};
  const DWORD length = GetFullPathNameW(token.c_str(), commandLineSlotUnits, full, nullptr);
  if (length == 0 || length >= commandLineSlotUnits) return std::nullopt;
  return std::wstring(full, length);
}

std::optional<std::wstring> nextToken(std::wstring_view& rest) {
  std::wstring token;
  if (rest.front() == L'"') {
    const size_t close = rest.find(L'"', 1);
    if (close == std::wstring_view::npos) return std::nullopt;
    token = rest.substr(1, close - 1);
    rest.remove_prefix(close + 1);
  } else if (rest.front() == L'-') {
    rest.remove_prefix(1);
    token = takeToBlank(rest);
  } else {
    token = takeToBlank(rest);
    if (token.find(L'"') != std::wstring::npos) return std::nullopt;
    if (token.size() >= commandLineSlotUnits) return std::nullopt;
    return absolutePath(token);
  }
  if (token.size() >= commandLineSlotUnits) return std::nullopt;
  return token;
}

}  // namespace

std::vector<std::wstring> splitCommandLine(std::wstring_view line, size_t wanted) {
  std::vector<std::wstring> tokens;
  std::wstring_view rest = line;
  dropLeadingBlanks(rest);
  while (tokens.size() < wanted && !rest.empty()) {
    std::optional<std::wstring> token = nextToken(rest);
    if (!token) break;
    tokens.push_back(std::move(*token));
    dropLeadingBlanks(rest);
  }
  return tokens;
}

std::vector<std::wstring> programArguments() {
  const wchar_t* line = GetCommandLineW();
  int count = 0;
  if (HLOCAL arguments = CommandLineToArgvW(line, &count)) LocalFree(arguments);
  return splitCommandLine(line, size_t(std::clamp(count, 0, 2)));
}

std::wstring programFolderOfModule() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return directoryOfPath(path);
    }
    path.resize(path.size() * 2);
  }
}
