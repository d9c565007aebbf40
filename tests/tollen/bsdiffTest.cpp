// The BSDiff applier run as a process: on patches made by Debian's bsdiff (compared with what
// bspatch makes of them), and on crafted patches, damaged the ways a bad download or a hostile
// file would be. A refused patch must leave the ROM as it was and nothing beside it.
#include <bzlib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "processRunner.h"
#include "testFiles.h"

namespace fs = std::filesystem;

namespace {
const std::string applying = "   BSD patch applying:\n\n";
const std::string finished = applying + "   Patching...\n   Patching is successfully finished!\n";
const std::string corruptBeforePatching = applying + "Corrupt patch\n";
const std::string corruptWhilePatching = applying + "   Patching...\nCorrupt patch\n";
const uint64_t signBit = uint64_t{1} << 63;

bytes compressed(const bytes& data) {
  unsigned int size = static_cast<unsigned int>(data.size() + data.size() / 100 + 600);
  bytes out(size);
  bytes source = data;
  source.push_back(0);  // a valid pointer even for no data; the extra byte is not compressed
  int status = BZ2_bzBuffToBuffCompress(reinterpret_cast<char*>(out.data()), &size,
                                        reinterpret_cast<char*>(source.data()),
                                        static_cast<unsigned int>(data.size()), 9, 0, 0);
  EXPECT_EQ(status, BZ_OK);
  out.resize(size);
  return out;
}

// Numbers are written as raw sign-magnitude bits, so that tests can write any of them.
uint64_t negative(uint64_t magnitude) { return magnitude | signBit; }
void putRaw(bytes& out, uint64_t raw) { putLe(out, raw, 8); }

struct triple {
  uint64_t diff, extra, seek;
};

struct patchParts {
  std::vector<triple> control;
  bytes diff, extra;
  uint64_t newSize;
};

struct patchLayout {
  bytes data;
  size_t controlStart, diffStart, extraStart;
};

patchLayout layOut(const patchParts& parts) {
  bytes control;
  for (const triple& t : parts.control) {
    putRaw(control, t.diff);
    putRaw(control, t.extra);
    putRaw(control, t.seek);
  }
  bytes c = compressed(control), d = compressed(parts.diff), e = compressed(parts.extra);
  patchLayout layout;
  putText(layout.data, "BSDIFF40");
  putRaw(layout.data, c.size());
  putRaw(layout.data, d.size());
  putRaw(layout.data, parts.newSize);
  layout.controlStart = layout.data.size();
  layout.diffStart = layout.controlStart + c.size();
  layout.extraStart = layout.diffStart + d.size();
  for (const bytes* block : {&c, &d, &e}) layout.data.insert(layout.data.end(), block->begin(), block->end());
  return layout;
}
bytes buildPatch(const patchParts& parts) { return layOut(parts).data; }

struct applied {
  processResult run;
  bytes rom;
  std::vector<std::string> files;  // what the folder holds afterwards
};

std::vector<std::string> filesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

applied runIn(const scratchDir& dir, const bytes& patch, const bytes& rom) {
  writeFileBytes(dir.file("patch.bsd"), patch);
  writeFileBytes(dir.file("rom.bin"), rom);
  applied result{runProcess(builtProgramPath("tollen"), {dir.file("patch.bsd"), dir.file("rom.bin")}), {}, {}};
  result.rom = readFileBytes(dir.file("rom.bin"));
  result.files = filesIn(dir.path());
  return result;
}

applied applyPatch(const bytes& patch, const bytes& rom) {
  scratchDir dir;
  return runIn(dir, patch, rom);
}

const std::vector<std::string> patchAndRom{"patch.bsd", "rom.bin"};

void expectRefused(const applied& result, const std::string& output, const bytes& rom) {
  EXPECT_EQ(result.run.exitCode, 1);
  EXPECT_EQ(result.run.out, output);
  EXPECT_EQ(result.rom, rom);
  EXPECT_EQ(result.files, patchAndRom);
}

void expectApplied(const applied& result, const bytes& expected) {
  EXPECT_EQ(result.run.exitCode, 0);
  EXPECT_EQ(result.run.out, finished);
  EXPECT_TRUE(result.rom == expected) << "result differs, " << result.rom.size() << " bytes";
  EXPECT_EQ(result.files, patchAndRom);
}

fs::path reference(const std::string& name) { return fs::path(BSDIFF_REFERENCES) / name; }

void expectReferenceCase(const std::string& name) {
  SCOPED_TRACE(name);
  bytes expected = readFileBytes(reference(name + ".new"));
  ASSERT_EQ(readFileBytes(reference(name + ".bspatch")), expected);
  expectApplied(applyPatch(readFileBytes(reference(name + ".bsd")), readFileBytes(reference(name + ".old"))), expected);
}

// A small patch whose three blocks each hold enough data to be damaged in the middle.
patchParts ordinaryPatch() {
  return {{{2000, 1500, negative(200)}, {1000, 500, 0}}, randomBytes(3000, 7), randomBytes(2000, 8), 5000};
}
const bytes ordinaryRom = randomBytes(2500, 9);
}  // namespace

TEST(bsdiff, debianPatchesGiveWhatBspatchGives) {
  for (const char* name : {"edits", "unrelated", "swapped", "tiny"}) expectReferenceCase(name);
}

TEST(bsdiff, largeDebianPatchWithScatteredEdits) { expectReferenceCase("large"); }

TEST(bsdiff, diffRunsOutsideTheOldFileAddNothing) {
  // Back 2 before the start: the first two diff bytes stand alone; later the run passes the end.
  patchParts parts{{{0, 0, negative(2)}, {4, 0, 1}, {3, 1, 0}}, {1, 2, 3, 4, 5, 6, 7}, {9}, 8};
  expectApplied(applyPatch(buildPatch(parts), {10, 20, 30, 40}), bytes{1, 2, 13, 24, 45, 6, 7, 9});
}

TEST(bsdiff, emptyFiles) {
  expectApplied(applyPatch(buildPatch({{}, {}, {}, 0}), randomBytes(100, 1)), bytes{});
  expectApplied(applyPatch(buildPatch({{{2, 1, 5}}, {7, 8}, {9}, 3}), bytes{}), bytes{7, 8, 9});
}

TEST(bsdiff, damagedHeaders) {
  bytes patch = buildPatch(ordinaryPatch());
  expectRefused(applyPatch(bytes(patch.begin(), patch.begin() + 31), ordinaryRom), corruptBeforePatching, ordinaryRom);
  expectRefused(applyPatch(bytes{}, ordinaryRom), corruptBeforePatching, ordinaryRom);

  bytes wrongMagic = patch;
  wrongMagic[7] = '1';
  expectRefused(applyPatch(wrongMagic, ordinaryRom), corruptBeforePatching, ordinaryRom);

  for (size_t field : {8, 16, 24}) {
    SCOPED_TRACE(field);
    bytes negative = patch;
    negative[field + 7] |= 0x80;
    expectRefused(applyPatch(negative, ordinaryRom), corruptBeforePatching, ordinaryRom);
  }

  // Control and diff lengths whose sum (the extra block's offset) cannot be represented.
  bytes overflowing;
  putText(overflowing, "BSDIFF40");
  putRaw(overflowing, INT64_MAX - 40);
  putRaw(overflowing, 20);
  putRaw(overflowing, 10);
  expectRefused(applyPatch(overflowing, ordinaryRom), corruptBeforePatching, ordinaryRom);
}

TEST(bsdiff, sizesOfTwoGibOrMoreAreRefusedNotWrapped) {
  // 2^32 + 10 would read as 10 if only the low 32 bits were kept.
  const std::string refused = applying + "New file of 2 GiB or more is not supported\n";
  for (uint64_t size : {(uint64_t{1} << 32) + 10, uint64_t{1} << 31, uint64_t{INT64_MAX}}) {
    SCOPED_TRACE(size);
    patchParts parts{{{10, 0, 0}}, bytes(10, 1), {}, size};
    expectRefused(applyPatch(buildPatch(parts), ordinaryRom), refused, ordinaryRom);
  }

  scratchDir dir;
  writeFileBytes(dir.file("patch.bsd"), buildPatch(ordinaryPatch()));
  writeFileBytes(dir.file("rom.bin"), {});
  setFileLength(dir.file("rom.bin"), uint64_t{1} << 31);  // sparse: costs no disk
  processResult r = runProcess(builtProgramPath("tollen"), {dir.file("patch.bsd"), dir.file("rom.bin")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, applying + dir.file("rom.bin") + ": files of 2 GiB or more are not supported\n");
  EXPECT_EQ(fs::file_size(dir.file("rom.bin")), uint64_t{1} << 31);
}

TEST(bsdiff, controlNumbersThatWouldWriteOutsideTheResult) {
  const uint64_t beyond32Bits = (uint64_t{1} << 32) + 1;  // reads as 1 in 32 bits
  const std::vector<triple> cases[] = {
      {{11, 0, 0}},  // diff run past the new size
      {{beyond32Bits, 0, 0}},
      {{4, 7, 0}},  // extra run past the new size
      {{0, beyond32Bits, 0}},
      {{0, uint64_t{1} << 62, 0}},
      {{negative(1), 0, 0}},  // negative lengths
      {{0, negative(3), 0}},
      {{5, 0, INT64_MAX}, {0, 0, INT64_MAX}, {5, 0, 0}},  // the old position overflows
      {{2, 0, negative(INT64_MAX)}, {0, 0, negative(INT64_MAX)}, {8, 0, 0}},
      {{4, 0, 0}},  // the control block ends before the new size
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    patchParts parts{cases[i], bytes(10, 3), bytes(10, 4), 10};
    expectRefused(applyPatch(buildPatch(parts), ordinaryRom), corruptWhilePatching, ordinaryRom);
  }
}

TEST(bsdiff, truncatedAndFlippedBlocks) {
  patchLayout layout = layOut(ordinaryPatch());
  ASSERT_EQ(applyPatch(layout.data, ordinaryRom).run.out, finished);  // sound before it is damaged

  const size_t middles[] = {(layout.controlStart + layout.diffStart) / 2, (layout.diffStart + layout.extraStart) / 2,
                            (layout.extraStart + layout.data.size()) / 2};
  for (size_t cut : {layout.controlStart, middles[0], layout.diffStart, middles[1], middles[2]}) {
    SCOPED_TRACE(cut);
    bytes truncated(layout.data.begin(), layout.data.begin() + static_cast<std::ptrdiff_t>(cut));
    expectRefused(applyPatch(truncated, ordinaryRom), corruptWhilePatching, ordinaryRom);
  }
  for (size_t at : middles) {
    SCOPED_TRACE(at);
    bytes flipped = layout.data;
    flipped[at] ^= 0x10;
    expectRefused(applyPatch(flipped, ordinaryRom), corruptWhilePatching, ordinaryRom);
  }
}

TEST(bsdiff, wrongArgumentCountPrintsUsage) {
  const std::string program = builtProgramPath("tollen");
  const std::string usage = "   BSD patch applying:\n   Usage: " + program + " patch_file rom_file \n";
  for (const auto& args : {std::vector<std::string>{"p.bsd"}, std::vector<std::string>{"p.bsd", "rom", "extra"}}) {
    processResult r = runProcess(program, args);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, usage);
  }
}

TEST(bsdiff, missingFilesAreNamed) {
  scratchDir dir;
  const std::string patch = dir.file("none.bsd");
  processResult r = runProcess(builtProgramPath("tollen"), {patch, dir.file("rom.bin")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.out.starts_with(applying)) << r.out;
  EXPECT_TRUE(r.out.ends_with("\nfopen(" + patch + ")")) << r.out;

  writeFileBytes(dir.file("patch.bsd"), buildPatch(ordinaryPatch()));
  const std::string rom = dir.file("absent.bin");
  r = runProcess(builtProgramPath("tollen"), {dir.file("patch.bsd"), rom});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.out.ends_with("\n" + rom)) << r.out;
  EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"patch.bsd"});
}

TEST(bsdiff, readOnlyRomIsRefused) {
  scratchDir dir;
  writeFileBytes(dir.file("rom.bin"), ordinaryRom);
  fs::permissions(dir.file("rom.bin"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  if (FILE* probe = std::fopen(dir.file("rom.bin").c_str(), "r+b")) {
    std::fclose(probe);
    GTEST_SKIP() << "this user may write read-only files";
  }
  writeFileBytes(dir.file("patch.bsd"), buildPatch(ordinaryPatch()));
  processResult r = runProcess(builtProgramPath("tollen"), {dir.file("patch.bsd"), dir.file("rom.bin")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.out.ends_with("\n" + dir.file("rom.bin"))) << r.out;
  EXPECT_EQ(readFileBytes(dir.file("rom.bin")), ordinaryRom);
  EXPECT_EQ(filesIn(dir.path()), patchAndRom);
}

TEST(bsdiff, resultThatCannotBeWrittenLeavesRomAsItWas) {
  // The result is written beside the ROM first; a folder in that place makes the write fail.
  scratchDir dir;
  fs::create_directory(dir.path() / "rom.bin.tollen.tmp");
  applied result = runIn(dir, buildPatch(ordinaryPatch()), ordinaryRom);
  EXPECT_EQ(result.run.exitCode, 1);
  EXPECT_TRUE(result.run.out.starts_with(applying + "   Patching...\n")) << result.run.out;
  EXPECT_TRUE(result.run.out.ends_with("\n" + dir.file("rom.bin.tollen.tmp"))) << result.run.out;
  EXPECT_EQ(result.rom, ordinaryRom);
  EXPECT_TRUE(fs::is_directory(dir.path() / "rom.bin.tollen.tmp"));
}
