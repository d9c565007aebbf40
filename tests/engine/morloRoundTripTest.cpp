// Create then apply: the applied patch reproduces the modified file byte for byte.
#include <filesystem>

#include "morloTestHelpers.h"

namespace {

namespace fs = std::filesystem;

// Small blocks, so that a few hundred KiB cross many block ends and re-reads.
constexpr uint64_t testBlock = 1024;
constexpr uint64_t testThreshold = testBlock - 254;

// An original and a modified game with every kind of change the records can express.
struct gamePair {
  bytes original;
  bytes modified;
};

gamePair variedPair() {
  gamePair pair{randomBytes(300000, 7), {}};
  bytes& o = pair.original;
  bytes m = o;
  auto change = [&](size_t at, size_t count) {
    for (size_t i = at; i < at + count; ++i) m[i] = static_cast<uint8_t>(o[i] ^ 0x5A);
  };
  auto fill = [&](size_t at, size_t count, uint8_t value) {
    for (size_t i = at; i < at + count; ++i) {
      o[i] = static_cast<uint8_t>(value ^ 1);
      m[i] = value;
    }
  };
  change(10, 1);
  change(1000, 300);          // 255 + 45 bytes
  change(1300 + 254, 2);      // gap 254: the largest implicit gap
  change(1556 + 255, 1);      // gap 255: the smallest explicit one
  change(1812 + 65535, 4);
  change(67351 + 65536, 1);   // gap 65,536 needs a 3-byte gap field
  fill(140000, 3, 0x41);      // shortest fill record
  fill(141000, 2, 0x42);      // too short to fill: a data record
  fill(142000, 700, 0x00);    // fill records across a block end
  change(150000 - 3, 520);    // a long run across block ends
  change(200703, 260);        // starts just before a re-read threshold
  change(o.size() - 1, 1);    // the last byte of the common range
  pair.modified = std::move(m);
  return pair;
}

void checkRoundTrip(const gamePair& pair, bool withInfo, uint64_t block = testBlock,
                    uint64_t threshold = testThreshold) {
  scratchDir dir;
  writeFileBytes(dir.file("original.bin"), pair.original);
  writeFileBytes(dir.file("modified.bin"), pair.modified);
  writeFileBytes(dir.file("hack.ml"), randomBytes(600000, 8));  // an older, longer file is replaced
  morloRun run(block, threshold);
  ASSERT_EQ(run.create(dir.file("original.bin"), dir.file("modified.bin"), dir.file("hack"), withInfo).text, L"");
  ASSERT_TRUE(fs::exists(dir.file("hack.ml")));

  ASSERT_EQ(run.apply(dir.file("hack.ml"), dir.file("original.bin"), dir.file("out.bin"), 7).text, L"");
  EXPECT_EQ(readFileBytes(dir.file("out.bin")), pair.modified);
  EXPECT_EQ(readFileBytes(dir.file("original.bin")), pair.original);

  ASSERT_EQ(run.apply(dir.file("hack.ml"), dir.file("original.bin")).text, L"");
  EXPECT_EQ(readFileBytes(dir.file("original.bin")), pair.modified);
}

}  // namespace

TEST(morloRoundTrip, sameSizeWithAndWithoutInfo) {
  const gamePair pair = variedPair();
  checkRoundTrip(pair, false);
  checkRoundTrip(pair, true);
}

TEST(morloRoundTrip, longerModifiedCarriesTail) {
  gamePair pair = variedPair();
  const bytes tail = randomBytes(5000, 9);
  pair.modified.insert(pair.modified.end(), tail.begin(), tail.end());
  checkRoundTrip(pair, false);
  checkRoundTrip(pair, true);
}

TEST(morloRoundTrip, shorterModifiedIsCut) {
  gamePair pair = variedPair();
  pair.modified.resize(pair.original.size() - 70001);
  pair.modified.back() ^= 1;
  checkRoundTrip(pair, false);
  checkRoundTrip(pair, true);
}

TEST(morloRoundTrip, onlyAppendedOrOnlyCut) {
  gamePair longer{randomBytes(3000, 1), {}};
  longer.modified = longer.original;
  longer.modified.push_back(0x99);
  checkRoundTrip(longer, false);

  gamePair prefix{randomBytes(3000, 2), {}};
  prefix.modified.assign(prefix.original.begin(), prefix.original.begin() + 1200);
  checkRoundTrip(prefix, false);
}

TEST(morloRoundTrip, defaultBlocksAndEveryByteChanged) {
  checkRoundTrip(variedPair(), false, blockSize, rereadThreshold);
  // Runs of 255 back to back, one after another with gap code 255, across block ends.
  gamePair all{randomBytes(5000, 3), {}};
  all.modified = all.original;
  for (auto& b : all.modified) b = static_cast<uint8_t>(~b);
  checkRoundTrip(all, false);
  // Alternating equal and different bytes: every record has gap code 1.
  gamePair alternate{randomBytes(4000, 4), {}};
  alternate.modified = alternate.original;
  for (size_t i = 0; i < alternate.modified.size(); i += 2) alternate.modified[i] ^= 0x80;
  checkRoundTrip(alternate, false);
}

TEST(morloRoundTrip, identicalFilesWriteNoPatch) {
  scratchDir dir;
  const bytes game = randomBytes(4000, 5);
  writeFileBytes(dir.file("a.bin"), game);
  writeFileBytes(dir.file("b.bin"), game);
  morloRun run(testBlock, testThreshold);
  const raised result = run.create(dir.file("a.bin"), dir.file("b.bin"), dir.file("p.ml"));
  EXPECT_EQ(result.text, L"Files do not have differences");
  EXPECT_EQ(result.kind, "error");
  EXPECT_FALSE(fs::exists(dir.file("p.ml")));
}

TEST(morloRoundTrip, reportsEachStage) {
  gamePair pair = variedPair();
  pair.modified.push_back(1);
  scratchDir dir;
  writeFileBytes(dir.file("o.bin"), pair.original);
  writeFileBytes(dir.file("m.bin"), pair.modified);
  morloRun run;
  ASSERT_EQ(run.create(dir.file("o.bin"), dir.file("m.bin"), dir.file("p.ml")).text, L"");
  EXPECT_EQ(run.sink.steps, (std::vector<std::wstring>{L"Data analysing...", L"Patch creation...",
                                                       L"Patch is successfully created"}));
  ASSERT_FALSE(run.sink.positions.empty());
  EXPECT_EQ(run.sink.positions.back(), 100);
  EXPECT_EQ(run.sink.pauses, 2);

  run.sink = recordingSink();
  ASSERT_EQ(run.apply(dir.file("p.ml"), dir.file("o.bin"), dir.file("out.bin"), 7).text, L"");
  EXPECT_EQ(run.sink.steps, (std::vector<std::wstring>{L"Data processing", L"File processing",
                                                       L"File patching...",
                                                       L"Patching is successfully finished!"}));
  EXPECT_EQ(run.sink.counts, (std::vector<std::wstring>{L"1", L"0", L"1", L"0"}));
  // The percentages only grow and end full.
  EXPECT_TRUE(std::is_sorted(run.sink.positions.begin(), run.sink.positions.end()));
  EXPECT_EQ(run.sink.positions.back(), 100);
}
