#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "rupNormalise.h"
#include "rupPatchWriter.h"

namespace {
bytes slice(const bytes& data, size_t from, size_t length) {
  return bytes(data.begin() + std::ptrdiff_t(from), data.begin() + std::ptrdiff_t(from + length));
}

void putAt(bytes& data, size_t offset, const std::string& text) { std::memcpy(&data[offset], text.data(), text.size()); }

bytes unifChunk(const std::string& id, const bytes& data) {
  bytes chunk;
  putText(chunk, id);
  putLe(chunk, data.size(), 4);
  return concat(chunk, data);
}

bytes unifHeader() {
  bytes header(32, 0);
  putAt(header, 0, "UNIF");
  header[4] = 7;
  return header;
}

// A LoROM image with valid checksum words; `interleaved` sets bit 0 of the map byte.
bytes loRomImage(size_t size, bool interleaved, uint32_t seed) {
  bytes image = randomBytes(size, seed);
  image[0x7FDC] = 0x34, image[0x7FDD] = 0x12;
  image[0x7FDE] = 0xCB, image[0x7FDF] = 0xED;
  image[0x7FD5] = interleaved ? 0x21 : 0x20;
  return image;
}

const size_t snesBlock = 0x8000;

bytes snesBlockOf(const bytes& image, size_t block) { return slice(image, block * snesBlock, snesBlock); }

// Interleaves a plain Mega Drive style image the way copiers store it.
bytes segaInterleaved(const bytes& plain) {
  bytes out(plain);
  for (size_t block = 0; block + 0x4000 <= plain.size(); block += 0x4000)
    for (size_t k = 0; k < 0x2000; ++k) {
      out[block + 0x2000 + k] = plain[block + 2 * k];
      out[block + k] = plain[block + 2 * k + 1];
    }
  return out;
}
}  // namespace

// Every test reads fixed offsets; a file too short for them gives no image, never an overrun.
TEST(rupNormalise, shortFilesAreNeverReadPastTheirEnd) {
  romImage r = rupNormaliseImage(1, bytes{'N', 'E', 'S', 0x1a, 1});
  EXPECT_TRUE(r.image.empty());
  EXPECT_EQ(r.header.size(), 5u);
  r = rupNormaliseImage(1, bytes{0x00, 0x01});
  EXPECT_TRUE(r.image.empty());
  EXPECT_TRUE(r.header.empty());
  EXPECT_TRUE(rupNormaliseImage(3, randomBytes(0x7FDE, 10)).image.empty());
  EXPECT_TRUE(rupNormaliseImage(3, randomBytes(100, 10)).image.empty());
  EXPECT_TRUE(rupNormaliseImage(8, bytes(100, 1)).image.empty());
  bytes copier = {0, 0, 0, 0, 0, 0, 0, 0, 0xAA, 0xBB, 7};
  EXPECT_TRUE(rupNormaliseImage(6, copier).image.empty());
  EXPECT_EQ(rupNormaliseImage(7, bytes(0x102, 1)).image, bytes(0x102, 1));
}

TEST(rupNormalise, unifChunksGiveTheImageAndTakeItBack) {
  bytes prg = randomBytes(100, 2), chr = randomBytes(50, 3), mapper = {'N', 'R', 'O', 'M'};
  bytes file = concat(concat(concat(concat(unifHeader(), unifChunk("MAPR", mapper)), unifChunk("PRG0", prg)),
                             unifChunk("PRGG", bytes(5, 9))),
                      unifChunk("CHR0", chr));
  romImage r = rupNormaliseImage(1, file);
  EXPECT_TRUE(rupIsUnif(r));
  EXPECT_EQ(r.image, concat(prg, chr));

  bytes patched = randomBytes(150, 4);
  bytes written = file;
  ASSERT_TRUE(rupWriteBackUnif(written, patched));
  ASSERT_EQ(written.size(), file.size());
  EXPECT_EQ(rupNormaliseImage(1, written).image, patched);
  // Header, the mapper chunk and the chunk that is no PRG/CHR chunk stay as they were.
  EXPECT_EQ(slice(written, 0, 32 + 12), slice(file, 0, 32 + 12));
  size_t prgg = 32 + 12 + 108;
  EXPECT_EQ(slice(written, prgg, 13), slice(file, prgg, 13));

  // An image of another length cannot be put back.
  bytes untouched = file;
  EXPECT_FALSE(rupWriteBackUnif(untouched, randomBytes(151, 5)));
  EXPECT_FALSE(rupWriteBackUnif(untouched, randomBytes(149, 5)));
  EXPECT_EQ(untouched, file);
}

TEST(rupNormalise, unifChunkCutOffByTheEndCountsWithTheBytesItHas) {
  // 25 of the chunk's 40 bytes are there.
  bytes file = slice(concat(unifHeader(), unifChunk("PRG0", randomBytes(40, 6))), 0, 65);
  romImage r = rupNormaliseImage(1, file);
  EXPECT_EQ(r.image, slice(file, 40, 25));
  bytes patched(25, 0x5A);
  ASSERT_TRUE(rupWriteBackUnif(file, patched));
  EXPECT_EQ(slice(file, 40, 25), patched);

  bytes tiny = unifHeader();
  putText(tiny, "PRG0\xff\xff");
  EXPECT_TRUE(rupNormaliseImage(1, tiny).image.empty());
}

// A size of whole 32 KiB units has no header to drop, so none is put back either.
TEST(rupNormalise, snesNsrtHeaderThatStaysInTheImageIsNotKeptTwice) {
  bytes whole = loRomImage(2 * snesBlock, false, 8);
  putAt(whole, 488, "NSRT");
  romImage r = rupNormaliseImage(3, whole);
  EXPECT_EQ(r.image, whole);
  EXPECT_TRUE(r.header.empty());
}

TEST(rupNormalise, snesImagesThatFailTheLoRomTest) {
  bytes hiRom = randomBytes(2 * snesBlock, 9);
  hiRom[0x7FDC] = 0, hiRom[0x7FDD] = 0, hiRom[0x7FDE] = 0, hiRom[0x7FDF] = 0;
  hiRom[0xFFD5] = 0x21;
  EXPECT_EQ(rupNormaliseImage(3, hiRom).image, hiRom);
  hiRom[0xFFD5] = 0x20;
  EXPECT_TRUE(rupNormaliseImage(3, hiRom).image.empty());
}

TEST(rupNormalise, snesCopierLayoutsOfFixedSizeFollowTheirTables) {
  struct layout {
    size_t blocks;
    std::vector<std::pair<size_t, size_t>> known;  // source block, destination block
  };
  for (const layout& l : {layout{80, {{0, 1}, {39, 79}, {40, 64}, {48, 32}, {64, 0}, {79, 30}}},
                          layout{96, {{0, 1}, {47, 95}, {48, 64}, {64, 0}, {95, 62}}},
                          layout{192, {{0, 129}, {32, 128}, {64, 1}, {128, 0}, {191, 126}}}}) {
    bytes image = loRomImage(l.blocks * snesBlock, true, 11);
    for (size_t i = 0; i < l.blocks; ++i) image[i * snesBlock + 5] = uint8_t(i);
    bytes out = rupNormaliseImage(3, image).image;
    ASSERT_EQ(out.size(), image.size());
    std::set<int> marks;
    for (size_t i = 0; i < l.blocks; ++i) marks.insert(out[i * snesBlock + 5]);
    EXPECT_EQ(marks.size(), l.blocks) << "every block lands once";
    for (auto [from, to] : l.known) EXPECT_EQ(snesBlockOf(out, to), snesBlockOf(image, from)) << l.blocks << ": " << from;
  }
}

TEST(rupNormalise, otherInterleavedSnesImagesTakeTheirHalvesInTurn) {
  // 2.5 units of 64 KiB: the last 32 KiB is filled by no source block and stays.
  bytes image = loRomImage(5 * snesBlock, true, 12);
  bytes out = rupNormaliseImage(3, image).image;
  ASSERT_EQ(out.size(), image.size());
  EXPECT_EQ(snesBlockOf(out, 0), snesBlockOf(image, 2));
  EXPECT_EQ(snesBlockOf(out, 1), snesBlockOf(image, 0));
  EXPECT_EQ(snesBlockOf(out, 2), snesBlockOf(image, 3));
  EXPECT_EQ(snesBlockOf(out, 3), snesBlockOf(image, 1));
  EXPECT_EQ(snesBlockOf(out, 4), snesBlockOf(image, 4));

  // The fixed-size layouts go this way too when the copier says SUPERUFO.
  bytes ufo = loRomImage(96 * snesBlock, true, 13);
  bytes header(512, 0);
  putAt(header, 8, "SUPERUFO");
  out = rupNormaliseImage(3, concat(header, ufo)).image;
  EXPECT_EQ(snesBlockOf(out, 0), snesBlockOf(ufo, 48));
  EXPECT_EQ(snesBlockOf(out, 1), snesBlockOf(ufo, 0));
  EXPECT_EQ(snesBlockOf(out, 95), snesBlockOf(ufo, 47));
}

TEST(rupNormalise, n64ByteSwappedImagesArePutInBigEndianOrder) {
  bytes swapped = {0x37, 0x80, 0x40, 0x12, 0xA1, 0xB2, 0xC3};
  EXPECT_EQ(rupNormaliseImage(4, swapped).image, (bytes{0x80, 0x37, 0x12, 0x40, 0xB2, 0xA1, 0xC3}));
  bytes plain = {0x80, 0x37, 0x12, 0x40, 0x01};
  EXPECT_EQ(rupNormaliseImage(4, plain).image, plain);
}

// Both consoles' copier layouts; a remainder shorter than a block stays as it is.
TEST(rupNormalise, sixteenKilobyteInterleaveIsUndoneBlockByBlock) {
  bytes plain = randomBytes(2 * 0x4000 + 100, 16);
  bytes stored = segaInterleaved(plain);
  ASSERT_NE(stored, plain);
  bytes file(512 + stored.size(), 0);
  file[8] = 0xAA, file[9] = 0xBB;
  std::copy(stored.begin(), stored.end(), file.begin() + 512);
  EXPECT_EQ(rupNormaliseImage(7, file).image, plain);
  EXPECT_EQ(rupNormaliseImage(6, file).image, plain);
}

TEST(rupNormalise, segaImagesWithTheirMarkStayAsTheyAre) {
  bytes file = randomBytes(0x8000, 17);
  file[8] = 0xAA, file[9] = 0xBB;
  putAt(file, 0x7FF4, "SEGA");
  EXPECT_EQ(rupNormaliseImage(6, file).image, file);
  bytes cd = randomBytes(0x1000, 18);
  cd[8] = 0xAA, cd[9] = 0xBB;
  putAt(cd, 0x100, "SEGA");
  EXPECT_EQ(rupNormaliseImage(7, cd).image, cd);
  bytes plain = randomBytes(600, 19);
  EXPECT_EQ(rupNormaliseImage(6, plain).image, plain);
}
