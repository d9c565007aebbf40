#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "processRunner.h"
#include "testFiles.h"

namespace {
const std::string usageLine = "   Usage: tollen.exe patch_file rom_file\n";
const std::string finished = "\n   Patching...\n   Patching is successfully finished!\n";

bytes apsHeader(uint8_t type, const std::string& description = "test") {
  bytes p;
  putText(p, "APS10");
  p.push_back(type);
  p.push_back(0);
  bytes text(50, 0);
  std::copy_n(description.begin(), std::min<size_t>(description.size(), 50), text.begin());
  p.insert(p.end(), text.begin(), text.end());
  return p;
}

bytes standardPatch(uint32_t targetSize, const bytes& records, const std::string& description = "test") {
  bytes p = apsHeader(0, description);
  putLe(p, targetSize, 4);
  p.insert(p.end(), records.begin(), records.end());
  return p;
}

// An N64 ROM in its native order: 80 37 12 40, CRC at 16-23, cartridge id at 60-62.
bytes nativeN64Rom(size_t size = 128) {
  bytes rom = randomBytes(size, 64);
  const uint8_t start[] = {0x80, 0x37, 0x12, 0x40};
  std::copy(std::begin(start), std::end(start), rom.begin());
  return rom;
}

bytes byteSwapped(bytes rom) {
  for (size_t i = 0; i + 1 < rom.size(); i += 2) std::swap(rom[i], rom[i + 1]);
  return rom;
}

// The id and CRC as an N64 patch stores them: read from a ROM in native order.
bytes n64Identity(const bytes& nativeRom) {
  bytes id;
  for (size_t at : {60, 61, 62, 16, 17, 18, 19, 20, 21, 22, 23}) id.push_back(nativeRom[at]);
  return id;
}

bytes n64Patch(uint8_t originalFormat, const bytes& identity, uint32_t targetSize, const bytes& records) {
  bytes p = apsHeader(1);
  p.push_back(originalFormat);
  p.insert(p.end(), identity.begin(), identity.end());
  putText(p, "xxxxx");
  putLe(p, targetSize, 4);
  p.insert(p.end(), records.begin(), records.end());
  return p;
}

void putDataRecord(bytes& p, uint32_t offset, const bytes& data) {
  putLe(p, offset, 4);
  p.push_back(static_cast<uint8_t>(data.size()));
  p.insert(p.end(), data.begin(), data.end());
}

void putRunRecord(bytes& p, uint32_t offset, uint8_t value, uint8_t count) {
  putLe(p, offset, 4);
  p.push_back(0);
  p.push_back(value);
  p.push_back(count);
}

struct apsResult {
  processResult run;
  bytes rom;  // left empty when the ROM grew beyond what a test ever asks for
  uintmax_t romSize;
};

// Runs tollen in a scratch folder on patch.aps and game.z64, so messages name them as given.
apsResult applyAps(const bytes& patch, const bytes& rom, const std::vector<std::string>& extra = {}) {
  scratchDir dir;
  writeFileBytes(dir.file("patch.aps"), patch);
  writeFileBytes(dir.file("game.z64"), rom);
  std::vector<std::string> args{"patch.aps", "game.z64"};
  args.insert(args.end(), extra.begin(), extra.end());
  apsResult result{runProcess(builtProgramPath("tollen"), args, "", dir.file("")), {}, 0};
  const auto romPath = dir.path() / "game.z64";
  result.romSize = std::filesystem::file_size(romPath);
  if (result.romSize <= (1u << 20)) result.rom = readFileBytes(romPath);
  return result;
}

// A refused patch names the file and leaves the ROM byte for byte as it was.
void expectRefused(const apsResult& r, const bytes& rom, int status, const std::string& errorLine) {
  EXPECT_EQ(r.run.exitCode, status) << r.run.out;
  EXPECT_NE(r.run.out.find(errorLine + "\n\n"), std::string::npos) << r.run.out;
  EXPECT_EQ(r.run.out.find("successfully"), std::string::npos) << r.run.out;
  EXPECT_EQ(r.romSize, rom.size());
  EXPECT_EQ(r.rom, rom);
}
}  // namespace

TEST(aps, standardPatchWritesDataAndRuns) {
  bytes rom = randomBytes(32, 1);
  bytes records;
  putDataRecord(records, 2, {0xA1, 0xA2, 0xA3});
  putRunRecord(records, 10, 0xFF, 3);
  putRunRecord(records, 20, 0x11, 0);
  const std::string description(50, 'D');  // no NUL to end it
  auto r = applyAps(standardPatch(32, records, description), rom);
  EXPECT_EQ(r.run.exitCode, 0);
  EXPECT_EQ(r.run.out, "   APS patch information:\n\n   Patch type: Standard\n   Info: " + description + "\n" + finished);
  bytes expected = rom;
  std::copy_n(bytes{0xA1, 0xA2, 0xA3}.begin(), 3, expected.begin() + 2);
  std::fill_n(expected.begin() + 10, 3, 0xFF);
  EXPECT_EQ(r.rom, expected);
}

TEST(aps, targetSizeGrowsOrCutsTheRomBeforeTheRecords) {
  bytes rom = randomBytes(16, 2);
  bytes appended;  // an offset equal to the size appends
  putDataRecord(appended, 20, {0x01, 0x02});
  auto grown = applyAps(standardPatch(20, appended), rom);
  EXPECT_EQ(grown.run.exitCode, 0) << grown.run.out;
  bytes expected = rom;
  expected.resize(20, 0);
  expected.insert(expected.end(), {0x01, 0x02});
  EXPECT_EQ(grown.rom, expected);

  bytes records;
  putDataRecord(records, 3, {0xEE});
  putDataRecord(records, 7, {0xDD});  // beyond the new size: the records end here
  putDataRecord(records, 0, {0xCC});
  auto cut = applyAps(standardPatch(6, records), rom);
  EXPECT_EQ(cut.run.exitCode, 0) << cut.run.out;
  expected.assign(rom.begin(), rom.begin() + 6);
  expected[3] = 0xEE;
  EXPECT_EQ(cut.rom, expected);
}

TEST(aps, n64PatchMatchesNativeAndByteSwappedRoms) {
  bytes native = nativeN64Rom();
  bytes swapped = byteSwapped(native);
  bytes records;
  putDataRecord(records, 100, {0x55, 0x66});

  auto plain = applyAps(n64Patch(1, n64Identity(native), 128, records), native);
  EXPECT_EQ(plain.run.exitCode, 0) << plain.run.out;
  EXPECT_EQ(plain.run.out, "   APS patch information:\n\n   Patch type: N64\n   Info: test\n" + finished);
  bytes expected = native;
  expected[100] = 0x55;
  expected[101] = 0x66;
  EXPECT_EQ(plain.rom, expected);

  bytes grown;
  putRunRecord(grown, 130, 0x77, 2);
  auto swap = applyAps(n64Patch(0, n64Identity(native), 132, grown), swapped);
  EXPECT_EQ(swap.run.exitCode, 0) << swap.run.out;
  expected = swapped;
  expected.resize(130, 0);
  expected.insert(expected.end(), {0x77, 0x77});
  EXPECT_EQ(swap.rom, expected);
}

TEST(aps, n64PatchRefusesRomOfWrongOrderOrIdentity) {
  bytes native = nativeN64Rom();
  bytes swapped = byteSwapped(native);
  bytes identity = n64Identity(native);
  const std::string wrongOrder = "- Error  : GAME.Z64 has the wrong endianess (byte-swap) !";
  const std::string wrongRom = "- Error  : GAME.Z64 is not the right ROM !";

  expectRefused(applyAps(n64Patch(0, identity, 128, {}), native), native, 6, wrongOrder);
  expectRefused(applyAps(n64Patch(1, identity, 128, {}), swapped), swapped, 6, wrongOrder);
  // The swapped ROM's own bytes are the wrong answer for a byte-swapped patch.
  expectRefused(applyAps(n64Patch(0, n64Identity(swapped), 128, {}), swapped), swapped, 7, wrongRom);
  for (size_t i : {0u, 2u, 10u}) {
    bytes other = identity;
    other[i] ^= 0x01;
    expectRefused(applyAps(n64Patch(1, other, 128, {}), native), native, 7, wrongRom);
  }
}

TEST(aps, n64RomTooShortForTheChecksDoesNotMatch) {
  bytes native = nativeN64Rom();
  native[62] = 0;  // the byte cut off below: zero, like a cleared buffer, must not match
  bytes identity = n64Identity(native);
  expectRefused(applyAps(n64Patch(1, identity, 128, {}), {}), {}, 6,
                "- Error  : GAME.Z64 has the wrong endianess (byte-swap) !");
  // A native ROM needs bytes up to 62, a byte-swapped one up to 63.
  bytes native62(native.begin(), native.begin() + 62);
  expectRefused(applyAps(n64Patch(1, identity, 128, {}), native62), native62, 7,
                "- Error  : GAME.Z64 is not the right ROM !");
  bytes swapped63 = byteSwapped(native);
  swapped63.resize(63);
  expectRefused(applyAps(n64Patch(0, identity, 128, {}), swapped63), swapped63, 7,
                "- Error  : GAME.Z64 is not the right ROM !");
  bytes native63(native.begin(), native.begin() + 63);
  EXPECT_EQ(applyAps(n64Patch(1, identity, 63, {}), native63).run.exitCode, 0);
}

TEST(aps, wrongMagicTypeEncodingOrSizeIsRefused) {
  bytes rom = randomBytes(16, 4);
  const std::string unknownType = "- Error  : PATCH.APS is no known patch-type (APS) !";
  for (size_t at : {0u, 3u, 4u}) {
    bytes patch = standardPatch(16, {});
    patch[at] ^= 0x20;
    expectRefused(applyAps(patch, rom), rom, 4, unknownType);
  }
  bytes badType = standardPatch(16, {});
  badType[5] = 2;
  expectRefused(applyAps(badType, rom), rom, 4, unknownType);
  bytes badEncoding = standardPatch(16, {});
  badEncoding[6] = 1;
  expectRefused(applyAps(badEncoding, rom), rom, 5, "- Error  : PATCH.APS is not a N64-specific APS-file !");
  expectRefused(applyAps({}, rom), rom, 4, unknownType);
  for (uint32_t size : {0u, 0x80000000u, 0xFFFFFFF0u})
    expectRefused(applyAps(standardPatch(size, {}), rom), rom, 8, "- Error  : PATCH.APS is not the right Patch !");
  EXPECT_EQ(applyAps(standardPatch(0, {}), {}).run.exitCode, 0);  // size 0 is right for an empty ROM
}

TEST(aps, headerCutShortIsADamagedPatch) {
  bytes rom = nativeN64Rom();
  bytes standard = standardPatch(64, {});
  bytes n64 = n64Patch(1, n64Identity(rom), 128, {});
  // Cut inside each field: type, encoding, description, size; format, id, CRC, unread part.
  const std::pair<const bytes*, std::vector<size_t>> cuts[] = {{&standard, {5, 6, 30, 57, 60}},
                                                                {&n64, {57, 58, 65, 70, 74, 77}}};
  for (const auto& [whole, lengths] : cuts) {
    for (size_t length : lengths) {
      SCOPED_TRACE(length);
      bytes cut(whole->begin(), whole->begin() + static_cast<std::ptrdiff_t>(length));
      expectRefused(applyAps(cut, rom), rom, 8, "- Error  : PATCH.APS is not the right Patch !");
    }
  }
}

TEST(aps, recordCutShortLeavesTheRomAsItWas) {
  bytes rom = randomBytes(16, 6);
  bytes complete;
  putDataRecord(complete, 0, {0x42});
  bytes data = complete, run = complete;
  putDataRecord(data, 4, {1, 2, 3, 4});
  putRunRecord(run, 4, 0x99, 5);
  for (auto [records, drop] : {std::pair{data, 1}, {data, 4}, {data, 5}, {run, 1}, {run, 2}, {run, 3}}) {
    SCOPED_TRACE(drop);
    records.resize(records.size() - drop);
    // The huge target size must not be set either: the patch is refused first.
    expectRefused(applyAps(standardPatch(0xFFFFFFFF, records), rom), rom, 8,
                  "- Error  : PATCH.APS is not the right Patch !");
  }
}

TEST(aps, offsetsBeyondTheLimitEndTheRecords) {
  bytes rom = randomBytes(16, 7);
  bytes partOfAnOffset;  // no record: the patch just ends
  putDataRecord(partOfAnOffset, 1, {0x42});
  partOfAnOffset.insert(partOfAnOffset.end(), {0x00, 0x00, 0x00});
  auto ended = applyAps(standardPatch(16, partOfAnOffset), rom);
  EXPECT_EQ(ended.run.exitCode, 0) << ended.run.out;
  EXPECT_EQ(ended.rom[1], 0x42);

  for (uint32_t huge : {0x80000000u, 0xFFFFFFFFu, 0xFFFFFF00u, 17u}) {
    SCOPED_TRACE(huge);
    bytes records;
    putDataRecord(records, 5, {0xAB});
    putDataRecord(records, huge, {0xCD, 0xCD});
    putDataRecord(records, 6, {0xEF});
    records.push_back(0x01);  // a cut record after the end marks no damage: it is never read
    auto r = applyAps(standardPatch(16, records), rom);
    EXPECT_EQ(r.run.exitCode, 0) << r.run.out;
    EXPECT_EQ(r.romSize, rom.size());
    bytes expected = rom;
    expected[5] = 0xAB;
    EXPECT_EQ(r.rom, expected);
  }
}

TEST(aps, extraArgumentsAreCheckedFromTheLast) {
  bytes rom = randomBytes(16, 9);
  bytes records;
  putDataRecord(records, 0, {0x42});
  bytes patch = standardPatch(16, records);

  auto usage = applyAps(patch, rom, {"-x", "-?"});
  EXPECT_EQ(usage.run.exitCode, 1);
  EXPECT_EQ(usage.run.out, usageLine);
  EXPECT_EQ(usage.rom, rom);
  EXPECT_EQ(applyAps(patch, rom, {"x?"}).run.exitCode, 1);

  auto unknown = applyAps(patch, rom, {"-?", "-x"});
  EXPECT_EQ(unknown.run.exitCode, 2);
  EXPECT_EQ(unknown.run.out, "- Error  : -X contents a unknown option !\n\n");
  EXPECT_EQ(unknown.rom, rom);

  auto ignored = applyAps(patch, rom, {"u"});
  EXPECT_EQ(ignored.run.exitCode, 0) << ignored.run.out;
  EXPECT_EQ(ignored.rom[0], 0x42);
}

TEST(aps, missingFilesAndArguments) {
  scratchDir dir;
  writeFileBytes(dir.file("patch.aps"), standardPatch(4, {}));
  writeFileBytes(dir.file("game.z64"), bytes(4, 0));
  auto run = [&](const std::vector<std::string>& args) {
    return runProcess(builtProgramPath("tollen"), args, "", dir.file(""));
  };
  auto noRom = run({"patch.aps", "none.z64"});
  EXPECT_EQ(noRom.exitCode, 3);
  EXPECT_EQ(noRom.out, "- Error  : NONE.Z64 not found !\n\n");
  auto noPatch = run({"none.aps", "game.z64"});
  EXPECT_EQ(noPatch.exitCode, 3);
  EXPECT_EQ(noPatch.out, "- Error  : NONE.APS not found !\n\n");
  auto patchOnly = run({"patch.aps"});
  EXPECT_EQ(patchOnly.exitCode, 1);
  EXPECT_EQ(patchOnly.out, usageLine);
}

TEST(aps, failedWriteIsNoSuccess) {
  // A device that takes no data: the resize and the flushed record both fail.
  const std::string full = "/dev/full";
  FILE* probe = std::fopen(full.c_str(), "r+b");
  if (!probe) GTEST_SKIP() << "no " << full << " here";
  std::fclose(probe);
  bytes records;
  putDataRecord(records, 0, {0x42});
  scratchDir dir;
  writeFileBytes(dir.file("grow.aps"), standardPatch(16, {}));
  writeFileBytes(dir.file("write.aps"), standardPatch(0, records));
  // tollen runs in the test's own folder, so that it finds the device by the same name.
  for (const char* patch : {"grow.aps", "write.aps"}) {
    auto r = runProcess(builtProgramPath("tollen"), {dir.file(patch), full});
    EXPECT_EQ(r.exitCode, 9) << patch;
    EXPECT_NE(r.out.find("- Error  : /DEV/FULL could not be written !\n\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("successfully"), std::string::npos) << r.out;
  }
}

TEST(aps, helpTopic) {
  auto r = runProcess(builtProgramPath("tollen"), {"-h", "aps"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out,
            "   APS patch applier for standard and N64 APS 1.0 patches\n"
            "   by the Morlo developers\n\n" + usageLine);
}
