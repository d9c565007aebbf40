// Stands in for the outside modules 1 and 3 in tests: writes the command line it was started
// with, and then each argument as the C runtime splits it, one a line as UTF-8, into a file
// beside itself named after itself with ".args" appended (Modules\1.m gives Modules\1.m.args).
#include <windows.h>
#include <shellapi.h>

#include <fstream>
#include <string>

namespace {
std::string utf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size - 1 : 0, '\0');
  if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  return out;
}
}  // namespace

int main() {
  wchar_t self[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
  if (length == 0 || length >= MAX_PATH * 4) return 1;
  const std::wstring report = std::wstring(self) + L".args";
  const std::wstring partial = report + L".part";
  {
    std::ofstream out(partial.c_str(), std::ios::binary | std::ios::trunc);
    out << utf8(GetCommandLineW()) << "\n";
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; arguments && i < count; ++i) out << utf8(arguments[i]) << "\n";
    LocalFree(arguments);
    if (!out) return 1;
  }
  // Appears whole or not at all, so a test that waits for it never reads half of it.
  return MoveFileExW(partial.c_str(), report.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
