#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>

#include "patcherTestWindows.h"
#include "sameFileCheck.h"

namespace {

std::string upperCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](char c) { return char(std::toupper(uint8_t(c))); });
  return text;
}

std::string shortPath(const std::string& path) {
  const std::wstring longPath = wide(path);
  std::wstring shortened(MAX_PATH * 2, L'\0');
  shortened.resize(GetShortPathNameW(longPath.c_str(), shortened.data(), DWORD(shortened.size())));
  return toUtf8(shortened);
}

// The working folder for the time of a test.
class workingFolder {
 public:
  explicit workingFolder(const std::filesystem::path& folder) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~workingFolder() { std::filesystem::current_path(previous_); }

 private:
  std::filesystem::path previous_;
};

}  // namespace

TEST(sameFileCheck, spellingsOfOneFile) {
  scratchDir dir;
  const std::string game = dir.file("Long game name.bin");
  writeFileBytes(game, {1, 2, 3});
  const std::string other = dir.file("other.bin");
  writeFileBytes(other, {1, 2, 3});

  EXPECT_TRUE(isSameExistingFile(game, game));
  EXPECT_TRUE(isSameExistingFile(game, upperCase(game)));
  const size_t cut = game.rfind('\\');
  const std::string doubled = game.substr(0, cut + 1) + game.substr(cut);
  EXPECT_TRUE(isSameExistingFile(game, doubled));
  const std::string shortened = shortPath(game);
  ASSERT_FALSE(shortened.empty());
  EXPECT_TRUE(isSameExistingFile(shortened, game)) << shortened;
  {
    workingFolder inside(dir.path());
    EXPECT_TRUE(isSameExistingFile("Long game name.bin", game));
    EXPECT_TRUE(isSameExistingFile(".\\sub\\..\\Long game name.bin", game));
  }

  EXPECT_FALSE(isSameExistingFile(game, other));  // same content, another file
  EXPECT_FALSE(isSameExistingFile(game, dir.file("missing.bin")));
  EXPECT_FALSE(isSameExistingFile(dir.file("missing.bin"), dir.file("missing.bin")));
  EXPECT_FALSE(isSameExistingFile("", ""));
}

TEST(sameFileCheck, runsThatWouldOverwriteTheirOwnFiles) {
  scratchDir dir;
  const std::string patch = dir.file("hack.ips"), game = dir.file("game.bin"), copy = dir.file("copy.bin");
  for (const std::string& path : {patch, game, copy}) writeFileBytes(path, {0});
  auto refusal = [](const std::string& p, const std::string& s, const std::string& t, uint8_t mask) {
    patchJob job;
    job.patchPath = p;
    job.sourcePath = s;
    job.targetPath = t;
    return thrownMessage<errorStrShow>([&] { refuseSameFiles(job, mask); });
  };
  EXPECT_EQ(refusal(patch, upperCase(patch), copy, 3), L"The patch and input file paths are equivalent");
  EXPECT_EQ(refusal(patch, game, upperCase(patch), 7), L"The patch and output file paths are equivalent");
  EXPECT_EQ(refusal(patch, game, upperCase(game), 7), L"The input and output file paths are equivalent");

  patchJob inPlace{patch, game, game, 0, 0};  // the output is not used without a copy
  EXPECT_NO_THROW(refuseSameFiles(inPlace, 3));
  patchJob fresh{patch, game, dir.file("new.bin"), 0, 0};
  EXPECT_NO_THROW(refuseSameFiles(fresh, 7));
}
