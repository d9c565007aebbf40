#include <gtest/gtest.h>

#include "processRunner.h"
#include "testFiles.h"
#include "tollen.h"

namespace {
processResult tollen(const std::vector<std::string>& args) { return runProcess(builtProgramPath("tollen"), args); }
}  // namespace

TEST(driver, formatFollowsExtensionOfAtMostThreeLetters) {
  EXPECT_EQ(patchFormatFromFileName("GAME.APS"), apsFormat);
  EXPECT_EQ(patchFormatFromFileName("a.b/patch.ppf"), ppfFormat);
  EXPECT_EQ(patchFormatFromFileName("x.Rup"), rupFormat);
  EXPECT_EQ(patchFormatFromFileName("x.bsd"), bsdFormat);
  EXPECT_EQ(patchFormatFromFileName("patch.ppf2"), unknownFormat);
  EXPECT_EQ(patchFormatFromFileName("patch"), unknownFormat);
  EXPECT_EQ(patchFormatFromFileName("dir.ppf\\patch"), unknownFormat);
  EXPECT_EQ(patchFormatFromFileName("patch.pp"), unknownFormat);
  EXPECT_EQ(patchFormatFromHelpTopic("PPF"), ppfFormat);
  EXPECT_EQ(patchFormatFromHelpTopic("ppff"), unknownFormat);
  EXPECT_EQ(patchFormatFromHelpTopic("ap"), unknownFormat);
}

TEST(driver, noArgumentPrintsBanner) {
  auto r = tollen({});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "   Tollen\n\n   -h program keys help\n");
}

TEST(driver, helpAndOptions) {
  auto general = tollen({"-h"});
  EXPECT_EQ(general.exitCode, 0);
  EXPECT_EQ(general.out.rfind("      Tollen v1.1\n", 0), 0u) << general.out;
  EXPECT_NE(general.out.find("\n      Suported patch formats: APS, PPF, RUP, BSD\n"), std::string::npos);
  EXPECT_NE(general.out.find("\n               -h rup\n"), std::string::npos);

  EXPECT_EQ(tollen({"-h", "ppff"}).out, "   Unknown patch type\n");
  EXPECT_EQ(tollen({"-hx", "zzz", "more"}).out, "   Unknown patch type\n");
  auto other = tollen({"-x"});
  EXPECT_EQ(other.out, "");
  EXPECT_EQ(other.exitCode, 0);
}

TEST(driver, unknownExtension) {
  const std::string expected = "   Tollen\n\n   Error: Unknown patch extension\n";
  EXPECT_EQ(tollen({"patch.ppf2", "game.bin"}).out, expected);
  EXPECT_EQ(tollen({"-", "game.bin"}).out, expected);
  EXPECT_EQ(tollen({"noextension"}).exitCode, 0);
}

// morlo hands over UTF-8 paths; the program's manifest makes that its code page on Windows.
TEST(driver, patchesFilesWithNonAsciiNames) {
  auto utf8Path = [](const std::string& s) { return std::filesystem::path(std::u8string(s.begin(), s.end())); };
  scratchDir dir;
  std::filesystem::create_directory(utf8Path(dir.file("Spiel é ü 日本")));
  const std::string image = dir.file("Spiel é ü 日本/Ürspiel ß.bin");
  const std::string patch = dir.file("Spiel é ü 日本/Änderung 🎮.ppf");
  writeFileBytes(utf8Path(image), bytes(16, 0));
  bytes ppf;
  putText(ppf, "PPF10");
  ppf.push_back(0);
  putText(ppf, std::string(50, ' '));
  putLe(ppf, 4, 4);
  ppf.push_back(2);
  putText(ppf, "ok");
  writeFileBytes(utf8Path(patch), ppf);

  auto r = tollen({patch, image, "a"});
  EXPECT_NE(r.out.find("Patching is successfully finished!"), std::string::npos) << r.out << r.err;
  bytes expected(16, 0);
  expected[4] = 'o';
  expected[5] = 'k';
  EXPECT_EQ(readFileBytes(utf8Path(image)), expected);
}
