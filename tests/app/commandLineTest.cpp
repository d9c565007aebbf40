#include "commandLine.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::wstring currentFolder() { return std::filesystem::current_path().wstring() + L"\\"; }

}  // namespace

TEST(commandLine, splitsTheProgramAndThePatch) {
  const std::wstring here = currentFolder();
  const std::wstring longest(259, L'x');
  struct example {
    std::wstring line;
    size_t wanted;
    std::vector<std::wstring> tokens;
  };
  const example examples[] = {
      {L"\"C:\\Games\\morlo.exe\"", 1, {L"C:\\Games\\morlo.exe"}},
      {L"\"C:\\m.exe\" hack.ml", 2, {L"C:\\m.exe", here + L"hack.ml"}},
      {L"\"C:\\m.exe\"   \"my hack.ml\"", 2, {L"C:\\m.exe", L"my hack.ml"}},  // quoted: as written
      {L"\"C:\\m.exe\" -rel.ml tail", 2, {L"C:\\m.exe", L"rel.ml"}},         // "-": as written
      {L"m.exe a.ml b.ml", 2, {here + L"m.exe", here + L"a.ml"}},             // a third is ignored
      {L"\"C:\\m.exe\" \"unclosed.ml", 2, {L"C:\\m.exe"}},
      {L"\"C:\\m.exe\" half\"quoted.ml", 2, {L"C:\\m.exe"}},
      {L"\"C:\\m.exe\" \"C:\\" + longest + L"\"", 2, {L"C:\\m.exe"}},  // 262 characters: refused
      {L"\"C:\\m.exe\" \"" + longest + L"\"", 2, {L"C:\\m.exe", longest}},
      {L"\"C:\\m.exe\" " + longest, 2, {L"C:\\m.exe"}},  // too long once made absolute
  };
  for (const example& e : examples) EXPECT_EQ(splitCommandLine(e.line, e.wanted), e.tokens) << e.line.c_str();
}

TEST(commandLine, programFolderComesFromTheModule) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring folder = programFolderOfModule();
  EXPECT_EQ(folder, std::filesystem::path(self).parent_path().wstring() + L"\\");
}
