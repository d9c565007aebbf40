// The format's small decisions: gap widths, the packed date, the names taken from paths.
#include <gtest/gtest.h>

#include "morloEngine.h"
#include "morloFormat.h"

TEST(morloFormat, offsetWidthCodeAtEachBoundary) {
  const std::pair<uint64_t, uint8_t> cases[] = {
      {0, 0}, {254, 0}, {255, 1}, {65535, 1}, {65536, 2}, {(1ull << 24) - 1, 2}, {1ull << 24, 3},
      {(1ull << 32) - 1, 3}, {1ull << 32, 4}, {(1ull << 40) - 1, 4}, {1ull << 40, 5},
      {(1ull << 48) - 1, 5}, {1ull << 48, 6}, {(1ull << 56) - 1, 6}, {1ull << 56, 7}, {UINT64_MAX, 7}};
  for (auto [gap, code] : cases) EXPECT_EQ(offsetWidthCode(gap), code) << gap;
}

TEST(morloFormat, creationDate) {
  // 31 December 2023 keeps the byte above the 24 bits.
  const uint32_t packed = packDate(0xAB000000, 123, 31, 11);
  EXPECT_EQ(packed, 0xAB000000u | 123u | 31u << 15 | 11u << 20);
  EXPECT_EQ(formatCreationDate(packed), "31.12.2023");
  EXPECT_EQ(formatCreationDate(packDate(0, 100, 1, 0)), "01.01.2000");
  // Crafted values read as plain numbers.
  EXPECT_EQ(formatCreationDate(0x00F00000), "00.16.1900");
  EXPECT_EQ(formatCreationDate(0x00C07FFF), "00.13.34667");

  uint32_t today = 0x5A000000;
  packCreationDate(today);
  EXPECT_EQ(today >> 24, 0x5Au);
  EXPECT_GE(today & 0x7FFF, 124u);  // 2024 or later
  EXPECT_LE((today >> 20) & 0xF, 11u);
  EXPECT_GE((today >> 15) & 0x1F, 1u);
}

TEST(morloFormat, namesFromPaths) {
  EXPECT_EQ(narrowExtensionOfPath("C:\\roms\\game.sfc"), "sfc");
  EXPECT_EQ(narrowExtensionOfPath("C:\\roms.d\\game"), "unk");
  EXPECT_EQ(narrowExtensionOfPath("C:\\roms\\.cfg"), "unk");
  EXPECT_EQ(narrowExtensionOfPath("C:\\roms\\game."), "unk");
  EXPECT_EQ(narrowExtensionOfPath("C:\\roms\\game. x"), "unk");
  EXPECT_EQ(narrowExtensionOfPath("C:\\roms\\"), "unk");

  EXPECT_EQ(narrowBaseNameOfPath("C:\\roms\\game.sfc"), "game");
  EXPECT_EQ(narrowBaseNameOfPath("C:\\roms.d\\game"), "game");
  EXPECT_EQ(narrowBaseNameOfPath("C:\\roms\\.cfg"), "");
  EXPECT_EQ(narrowBaseNameOfPath("a.b.c"), "a.b");

  EXPECT_EQ(patchBaseName("C:\\p\\hack.ML"), "hack");
  EXPECT_EQ(patchBaseName("C:\\p\\hack"), "hack");
  EXPECT_EQ(patchBaseName("C:\\p\\hack.mlx"), "hack.mlx");
  EXPECT_EQ(patchBaseName("C:\\p.ml\\hack.ips"), "hack.ips");
}

TEST(morloFormat, patchExtensionIsAddedOnce) {
  const std::pair<std::string, std::string> cases[] = {
      {"C:\\p\\hack.ml", "C:\\p\\hack.ml"}, {"C:\\p\\hack.mL", "C:\\p\\hack.mL"},
      {"C:\\p\\hack", "C:\\p\\hack.ml"},    {"C:\\p\\hack.mlx", "C:\\p\\hack.mlx.ml"},
      {"C:\\p.ml\\hack", "C:\\p.ml\\hack.ml"}, {"C:\\p\\hack.ips", "C:\\p\\hack.ips.ml"}};
  for (auto [path, written] : cases) {
    ensurePatchExtension(path);
    EXPECT_EQ(path, written);
  }
}

TEST(morloFormat, defaultLinesAreCutBetweenCharacters) {
  EXPECT_EQ(cutUtf8("abc", 512), "abc");
  std::string kana;
  for (int i = 0; i < 200; ++i) kana += "\xe3\x81\x82";  // 3 bytes each
  EXPECT_EQ(cutUtf8(kana, 512), kana.substr(0, 510));
  EXPECT_EQ(cutUtf8(kana, 2), "");
  EXPECT_EQ(cutUtf8(std::string(600, 'a'), 512).size(), 512u);

  morloEngine engine;
  engine.defaultInfoLines("C:\\roms\\" + kana + ".sfc", "C:\\out\\" + kana);
  ASSERT_EQ(engine.infoLines().size(), 3u);
  EXPECT_EQ(engine.infoLines()[0], "sfc");
  EXPECT_EQ(engine.infoLines()[1], kana.substr(0, 510));
  EXPECT_EQ(engine.infoLines()[2], kana.substr(0, 510));
}
