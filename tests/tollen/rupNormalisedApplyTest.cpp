#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "rupNormalise.h"
#include "rupPatchWriter.h"

namespace {
bytes withChanges(bytes data, uint32_t seed) {
  bytes noise = randomBytes(data.size(), seed);
  for (size_t i = 0; i < data.size(); i += 61) data[i] ^= noise[i] | 1;
  return data;
}

bytes grownBy(const bytes& data, size_t more, uint32_t seed) { return concat(withChanges(data, seed), randomBytes(more, seed + 1)); }

struct normalisedCase {
  int type;
  bytes file;          // as it lies on disk
  bytes plain;         // the image the patch refers to
  bytes target;        // the patched plain image
  bytes patchedFile;   // the file after patching
  bytes restoredFile;  // the file after undoing
};

void expectAppliedAndUndone(const normalisedCase& c, const std::string& what) {
  rupFolder f;
  auto r = f.apply(singleFilePatch(c.type, c.plain, c.target), c.file);
  EXPECT_EQ(r.out, rupPatching + rupSuccessLine) << what;
  EXPECT_EQ(f.imageNow(), c.patchedFile) << what;
  EXPECT_FALSE(f.tempLeft()) << what;
  r = f.run({f.patch, f.image});
  EXPECT_EQ(r.out, rupPatching + rupSuccessLine) << what;
  EXPECT_EQ(f.imageNow(), c.restoredFile) << what;
  EXPECT_FALSE(f.tempLeft()) << what;
}

// The header goes back in front both ways.
void expectHeaderKept(int type, const bytes& header, const bytes& plain, const bytes& target, const std::string& what) {
  expectAppliedAndUndone({type, concat(header, plain), plain, target, concat(header, target), concat(header, plain)}, what);
}

// The file becomes the plain image: the layout of the original is not restored.
void expectPlainResult(int type, const bytes& file, const bytes& plain, const bytes& target, const std::string& what) {
  expectAppliedAndUndone({type, file, plain, target, target, plain}, what);
}

bytes unifFile(const bytes& prg, const bytes& chr) {
  bytes file(32, 0);
  std::memcpy(file.data(), "UNIF", 4);
  auto chunk = [&](const char* id, const bytes& data) {
    putText(file, id);
    putLe(file, data.size(), 4);
    file.insert(file.end(), data.begin(), data.end());
  };
  chunk("MAPR", bytes{'N', 'R', 'O', 'M', 0});
  chunk("PRG0", prg);
  chunk("CHR0", chr);
  return file;
}

bytes loRomImage(size_t size, uint32_t seed) {
  bytes image = randomBytes(size, seed);
  image[0x7FDC] = 0x00, image[0x7FDD] = 0x80;
  image[0x7FDE] = 0xFF, image[0x7FDF] = 0x7F;
  image[0x7FD5] = 0x30;
  return image;
}
}  // namespace

TEST(rupNormalisedApply, headersAreKeptAroundThePatchedImage) {
  bytes ines(16, 0);
  std::memcpy(ines.data(), "NES\x1a", 4);
  bytes prg = randomBytes(2000, 1);
  expectHeaderKept(1, ines, prg, grownBy(prg, 300, 2), "iNES");

  bytes copier(512, 0);
  copier[8] = 0xAA, copier[9] = 0xBB;
  expectHeaderKept(1, copier, prg, withChanges(prg, 3), "NES copier header");

  bytes lynx(64, 0);
  std::memcpy(lynx.data(), "LYNX", 4);
  bytes cart = randomBytes(1500, 4);
  expectHeaderKept(9, lynx, cart, bytes(cart.begin(), cart.begin() + 1000), "Lynx, shorter");

  bytes nsrt(512, 0x22);
  std::memcpy(&nsrt[488], "NSRT", 4);
  bytes snes = loRomImage(0x10000, 5);
  expectHeaderKept(3, nsrt, snes, grownBy(snes, 0x8000, 6), "SNES with NSRT");
}

TEST(rupNormalisedApply, plainCopierHeadersAreDropped) {
  bytes snes = loRomImage(0x10000, 7);
  expectPlainResult(3, concat(bytes(512, 0x33), snes), snes, withChanges(snes, 8), "SNES copier header");
  bytes pce = randomBytes(0x4000, 9);
  expectPlainResult(5, concat(bytes(512, 0x44), pce), pce, withChanges(pce, 10), "16 KiB units");
  bytes pages = randomBytes(0x2000, 11);
  expectPlainResult(8, concat(bytes(512, 0x55), pages), pages, grownBy(pages, 0x1000, 12), "4 KiB units");
}

TEST(rupNormalisedApply, reorderedImagesArePatchedInPlainOrder) {
  bytes swapped = randomBytes(4096, 13);
  std::memcpy(swapped.data(), "\x37\x80\x40\x12", 4);
  bytes plain = rupNormaliseImage(4, swapped).image;
  ASSERT_EQ(plain[0], 0x80);
  expectPlainResult(4, swapped, plain, withChanges(plain, 14), "byte-swapped N64");

  // A HiROM image as a copier stores it: odd 32 KiB blocks first, so its header (plain
  // 0xFFC0) lies where a LoROM header would.
  plain = randomBytes(0x20000, 15);
  plain[0xFFD5] = 0x21;
  plain[0xFFDC] = 0x00, plain[0xFFDD] = 0x80, plain[0xFFDE] = 0xFF, plain[0xFFDF] = 0x7F;
  std::fill(&plain[0x7FDC], &plain[0x7FE0], uint8_t(0));
  bytes stored(plain.size());
  for (size_t i = 0; i < 2; ++i) {
    std::memcpy(&stored[i * 0x8000], &plain[(2 * i + 1) * 0x8000], 0x8000);
    std::memcpy(&stored[(2 + i) * 0x8000], &plain[2 * i * 0x8000], 0x8000);
  }
  expectPlainResult(3, stored, plain, withChanges(plain, 16), "interleaved SNES");
}

TEST(rupNormalisedApply, sixteenKilobyteInterleavedImageMatchesItsPatch) {
  // The plain image carries its console's mark at 0x100; the stored one has it spread over both halves.
  bytes plain = randomBytes(0x8000, 17);
  std::memcpy(&plain[0x100], "SEGA", 4);
  bytes stored(512, 0);
  stored[8] = 0xAA, stored[9] = 0xBB;
  for (size_t block = 0; block < plain.size(); block += 0x4000) {
    bytes half1, half2;
    for (size_t k = 0; k < 0x2000; ++k) {
      half1.push_back(plain[block + 2 * k + 1]);
      half2.push_back(plain[block + 2 * k]);
    }
    stored = concat(concat(stored, half1), half2);
  }
  for (int type : {6, 7}) expectPlainResult(type, stored, plain, withChanges(plain, 18), "interleaved 16 KiB blocks");
}

TEST(rupNormalisedApply, unifChunksTakeThePatchedImage) {
  bytes prg = randomBytes(3000, 19), chr = randomBytes(1000, 20);
  bytes plain = concat(prg, chr);
  bytes target = withChanges(plain, 21);
  bytes newPrg(target.begin(), target.begin() + 3000), newChr(target.begin() + 3000, target.end());
  expectAppliedAndUndone({1, unifFile(prg, chr), plain, target, unifFile(newPrg, newChr), unifFile(prg, chr)}, "UNIF");

  // A patched image of another length has no place in the chunks: the file stays as it was.
  rupFolder f;
  bytes file = unifFile(prg, chr);
  auto r = f.apply(singleFilePatch(1, plain, grownBy(plain, 10, 22)), file);
  EXPECT_EQ(r.out.rfind(rupPatching + "   Error: ", 0), 0u) << r.out;
  EXPECT_EQ(r.out.find("successfully"), std::string::npos);
  EXPECT_EQ(f.imageNow(), file);
  EXPECT_FALSE(f.tempLeft());
}

TEST(rupNormalisedApply, wrongImageLeavesNoTemporaryImage) {
  bytes ines(16, 0);
  std::memcpy(ines.data(), "NES\x1a", 4);
  bytes prg = randomBytes(1000, 23);
  rupFolder f;
  bytes file = concat(ines, withChanges(prg, 24));
  auto r = f.apply(singleFilePatch(1, prg, withChanges(prg, 25)), file);
  EXPECT_EQ(r.out, rupPatching + "   Error: Checksum is not correct\n");
  EXPECT_EQ(f.imageNow(), file);
  EXPECT_FALSE(f.tempLeft());

  // A NES file with no known header has no image to match.
  r = f.apply(singleFilePatch(1, prg, withChanges(prg, 25)), prg);
  EXPECT_EQ(r.out, rupPatching + "   Error: Checksum is not correct\n");
  EXPECT_EQ(f.imageNow(), prg);
  EXPECT_FALSE(f.tempLeft());
}
