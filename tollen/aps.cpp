// APS 1.0 applier, standard and N64 patches, applied to the ROM in place.
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform.h"
#include "tollen.h"

namespace {
enum apsError {
  unknownOption = 0,
  fileNotFound = 1,
  unknownPatchType = 2,
  notN64Patch = 3,
  wrongByteOrder = 4,
  wrongRom = 5,
  wrongPatch = 6,
  writeFailed = 7,
};

// The process ends with the error number plus 2; a failed write or resize gives 9.
const char* const apsErrors[] = {
    "contents a unknown option",           "not found",
    "is no known patch-type (APS)",        "is not a N64-specific APS-file",
    "has the wrong endianess (byte-swap)", "is not the right ROM",
    "is not the right Patch",              "could not be written",
};

const char* const apsUsageLine = "   Usage: tollen.exe patch_file rom_file";

constexpr int descriptionSize = 50;
// The N64 checks look at the ROM's first 64 bytes at most.
constexpr size_t n64HeadSize = 64;
// Offsets are signed 32-bit numbers, so no patch reaches a ROM of 2 GiB: a larger target size is
// damage, and would grow the ROM by gigabytes.
constexpr uint32_t targetSizeLimit = 0x80000000u;

struct apsFiles {
  FILE* patch;
  FILE* rom;
  char* patchName;
  char* romName;
};

struct apsRecord {
  uint32_t offset;
  uint8_t length;  // 0 is a run of runCount bytes runValue
  uint8_t data[255];
  uint8_t runValue;
  uint8_t runCount;
};

enum recordStatus { recordRead, recordsEnded, recordCut };

[[noreturn]] void apsFail(apsError error, char* fileName) {
  std::printf("- Error  : %s %s !\n\n", upperInPlace(fileName), apsErrors[error]);
  std::fflush(stdout);
  std::exit(error + 2);
}

[[noreturn]] void apsUsage() {
  std::puts(apsUsageLine);
  std::fflush(stdout);
  std::exit(1);
}

uint32_t readLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

bool readExactly(FILE* file, void* buffer, size_t count) { return std::fread(buffer, 1, count, file) == count; }

// A header that ends early is a damaged patch.
void readHeaderBytes(const apsFiles& files, void* buffer, size_t count) {
  if (!readExactly(files.patch, buffer, count)) apsFail(wrongPatch, files.patchName);
}

// From the last argument down to the third: one-character extras (a trailing "u") are
// passed over, "-?" asks for the usage line, anything else is refused.
void checkExtraArguments(int argc, char** argv) {
  for (int i = argc - 1; i >= 3; --i) {
    if (std::strlen(argv[i]) < 2) continue;
    if (std::tolower(static_cast<unsigned char>(argv[i][1])) == '?') apsUsage();
    apsFail(unknownOption, argv[i]);
  }
}

void checkMagic(const apsFiles& files) {
  char magic[5];
  if (!readExactly(files.patch, magic, sizeof magic) || std::memcmp(magic, "APS10", 5) != 0)
    apsFail(unknownPatchType, files.patchName);
}

void printDescription(const apsFiles& files) {
  char description[descriptionSize + 1] = {};
  readHeaderBytes(files, description, descriptionSize);
  std::printf("   Info: %s\n", description);
}

// The id (ROM bytes 60-62) and CRC (16-23) of the cartridge; a byte-swapped ROM holds
// each pair of bytes the other way round. A ROM too short to hold them does not match.
bool n64IdentityMatches(const uint8_t* romHead, size_t romHeadLength, const uint8_t* patchIdentity, bool swapped) {
  static const size_t positions[11] = {60, 61, 62, 16, 17, 18, 19, 20, 21, 22, 23};
  for (size_t i = 0; i < 11; ++i) {
    size_t at = swapped ? positions[i] ^ 1 : positions[i];
    if (at >= romHeadLength || romHead[at] != patchIdentity[i]) return false;
  }
  return true;
}

void checkN64Rom(const apsFiles& files) {
  uint8_t originalFormat;
  readHeaderBytes(files, &originalFormat, 1);
  bool swapped = originalFormat == 0;
  uint8_t romHead[n64HeadSize] = {};
  size_t romHeadLength = std::fread(romHead, 1, sizeof romHead, files.rom);
  if (romHeadLength == 0 || romHead[0] != (swapped ? 0x37 : 0x80)) apsFail(wrongByteOrder, files.romName);

  uint8_t identity[11];
  readHeaderBytes(files, identity, sizeof identity);
  if (!n64IdentityMatches(romHead, romHeadLength, identity, swapped)) apsFail(wrongRom, files.romName);
  uint8_t unused[5];
  readHeaderBytes(files, unused, sizeof unused);
}

// Checks the header against the ROM and returns the target size; the patch is left at
// the first record.
uint32_t apsReadHeader(const apsFiles& files) {
  uint8_t type;
  readHeaderBytes(files, &type, 1);
  std::puts("   APS patch information:\n");
  if (type > 1) apsFail(unknownPatchType, files.patchName);
  bool n64 = type == 1;
  std::puts(n64 ? "   Patch type: N64" : "   Patch type: Standard");
  uint8_t encoding;
  readHeaderBytes(files, &encoding, 1);
  if (encoding != 0) apsFail(notN64Patch, files.patchName);
  printDescription(files);
  if (n64) checkN64Rom(files);
  uint8_t size[4];
  readHeaderBytes(files, size, sizeof size);
  return readLe32(size);
}

// The next record whose offset does not pass the limit. The records end where the patch
// has no whole offset left or at the first offset beyond the limit; offsets are unsigned.
recordStatus nextRecord(FILE* patch, int64_t limit, apsRecord& record) {
  uint8_t offset[4];
  if (!readExactly(patch, offset, sizeof offset)) return recordsEnded;
  record.offset = readLe32(offset);
  if (record.offset > limit) return recordsEnded;
  if (!readExactly(patch, &record.length, 1)) return recordCut;
  if (record.length > 0) return readExactly(patch, record.data, record.length) ? recordRead : recordCut;
  uint8_t run[2];
  if (!readExactly(patch, run, sizeof run)) return recordCut;
  record.runValue = run[0];
  record.runCount = run[1];
  return recordRead;
}

// Reads the records once without writing, so that a patch cut inside a record is refused
// before the ROM is touched; leaves the patch at the first record again.
bool recordsComplete(FILE* patch, int64_t limit) {
  int64_t start = tellFile(patch);
  apsRecord record;
  recordStatus status;
  do status = nextRecord(patch, limit, record);
  while (status == recordRead);
  return start >= 0 && seekFile(patch, start, SEEK_SET) == 0 && status == recordsEnded;
}

void setRomSize(const apsFiles& files, uint32_t targetSize) {
  if (targetSize >= targetSizeLimit) apsFail(wrongPatch, files.patchName);
  int64_t romSize = fileSize(files.rom);
  if (romSize == targetSize) return;
  if (targetSize == 0) apsFail(wrongPatch, files.patchName);
  if (resizeFile(files.rom, targetSize) != 0) apsFail(writeFailed, files.romName);
}

bool writeRecord(FILE* rom, const apsRecord& record) {
  if (seekFile(rom, record.offset, SEEK_SET) != 0) return false;
  if (record.length > 0) return std::fwrite(record.data, 1, record.length, rom) == record.length;
  uint8_t run[255];
  std::memset(run, record.runValue, record.runCount);
  return std::fwrite(run, 1, record.runCount, rom) == record.runCount;
}

void apsApplyRecords(const apsFiles& files, int64_t limit) {
  std::puts("\n   Patching...");
  apsRecord record;
  while (nextRecord(files.patch, limit, record) == recordRead) {
    if (!writeRecord(files.rom, record)) apsFail(writeFailed, files.romName);
  }
}
}  // namespace

int apsMain(int argc, char** argv) {
  if (argc < 3) apsUsage();
  checkExtraArguments(argc, argv);
  apsFiles files{nullptr, nullptr, argv[1], argv[2]};
  files.rom = std::fopen(files.romName, "r+b");
  if (!files.rom) apsFail(fileNotFound, files.romName);
  files.patch = std::fopen(files.patchName, "rb");
  if (!files.patch) apsFail(fileNotFound, files.patchName);
  checkMagic(files);

  uint32_t targetSize = apsReadHeader(files);
  if (!recordsComplete(files.patch, targetSize)) apsFail(wrongPatch, files.patchName);
  setRomSize(files, targetSize);
  apsApplyRecords(files, targetSize);

  // Buffered writes fail only when flushed, and some runtimes' fclose loses a failed
  // flush: flush on its own, and only then tell of success.
  std::fclose(files.patch);
  bool written = std::fflush(files.rom) == 0;
  if (std::fclose(files.rom) != 0 || !written) apsFail(writeFailed, files.romName);
  std::puts("   Patching is successfully finished!");
  return 0;
}

void printApsHelp() {
  std::puts("   APS patch applier for standard and N64 APS 1.0 patches");
  std::puts("   by the Morlo developers\n");
  std::puts(apsUsageLine);
}
