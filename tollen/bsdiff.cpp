// BSDIFF40 applier: a 32-byte header, then three bzip2 streams (control triples, diff bytes,
// extra bytes). Old and new file are held whole; the ROM is replaced only once the result
// stands complete on disk beside it.
#include <bzlib.h>

#include <cinttypes>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform.h"
#include "tollen.h"

namespace {
const int errorStatus = 1;
const int headerSize = 32;
// Both files live in memory whole; a patch may name any size, so keep allocations sane.
const int64_t sizeLimit = int64_t{1} << 31;
// Reads and writes go in pieces: no call hands the runtime more than it can count, and
// Wine moves 1 MiB pieces much faster than a few huge ones.
const size_t ioPiece = size_t{1} << 20;

struct patchBlock {
  FILE* file;
  BZFILE* reader;
};

[[noreturn]] void failWithMessage(int status, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  std::exit(status);
}

void printSystemText(const std::string& text) { std::printf("%s\n", text.c_str()); }

// The system's text for the last error, then the message if there is one.
[[noreturn]] void failWithSystemError(int status, const char* format = nullptr, ...) {
  printSystemText(lastSystemErrorText());
  if (format) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
  }
  std::exit(status);
}

[[noreturn]] void failCorrupt() { failWithMessage(errorStatus, "Corrupt patch\n"); }

// Sign-magnitude: 63 bits little-endian, the sign in the top bit of the last byte.
int64_t decodeNumber(const unsigned char* bytes) {
  uint64_t raw = 0;
  for (int i = 7; i >= 0; --i) raw = raw << 8 | bytes[i];
  int64_t magnitude = static_cast<int64_t>(raw & ~(uint64_t{1} << 63));
  return raw >> 63 ? -magnitude : magnitude;
}

bool readExactly(BZFILE* reader, unsigned char* to, int64_t count) {
  int error = BZ_OK;
  int got = BZ2_bzRead(&error, reader, to, static_cast<int>(count));
  return got == count && (error == BZ_OK || error == BZ_STREAM_END);
}

int64_t readControlNumber(BZFILE* control) {
  unsigned char bytes[8];
  if (!readExactly(control, bytes, sizeof bytes)) failCorrupt();
  return decodeNumber(bytes);
}

struct patchHeader {
  int64_t controlLength;
  int64_t diffLength;
  int64_t newSize;
};

patchHeader readHeader(const char* path) {
  FILE* file = std::fopen(path, "rb");
  if (!file) failWithSystemError(errorStatus, "fopen(%s)", path);
  unsigned char bytes[headerSize];
  if (std::fread(bytes, 1, headerSize, file) < headerSize) {
    if (std::feof(file)) failCorrupt();
    failWithSystemError(errorStatus, "fread(%s)", path);
  }
  if (std::memcmp(bytes, "BSDIFF40", 8) != 0) failCorrupt();
  patchHeader header{decodeNumber(bytes + 8), decodeNumber(bytes + 16), decodeNumber(bytes + 24)};
  if (header.controlLength < 0 || header.diffLength < 0 || header.newSize < 0) failCorrupt();
  // The extra block's offset must be representable.
  if (header.controlLength > INT64_MAX - headerSize - header.diffLength) failCorrupt();
  if (header.newSize >= sizeLimit) failWithMessage(errorStatus, "New file of 2 GiB or more is not supported\n");
  if (std::fclose(file) != 0) failWithSystemError(errorStatus, "fclose(%s)", path);
  return header;
}

patchBlock openBlock(const char* path, int64_t offset) {
  FILE* file = std::fopen(path, "rb");
  if (!file) failWithSystemError(errorStatus, "fopen(%s)", path);
  if (seekFile(file, offset, SEEK_SET) != 0)
    failWithSystemError(errorStatus, "fseeko(%s, %" PRId64 ")", path, offset);
  int error = BZ_OK;
  BZFILE* reader = BZ2_bzReadOpen(&error, file, 0, 0, nullptr, 0);
  if (error != BZ_OK) failWithMessage(errorStatus, "BZ2_bzReadOpen, bz2err = %d", error);
  return {file, reader};
}

void closeBlocks(patchBlock (&blocks)[3], const char* path) {
  for (patchBlock& block : blocks) {
    int error = BZ_OK;
    BZ2_bzReadClose(&error, block.reader);
  }
  for (patchBlock& block : blocks)
    if (std::fclose(block.file) != 0) failWithSystemError(errorStatus, "fclose(%s)", path);
}

// The whole file in a buffer one byte longer, so that even an empty file has one.
unsigned char* readWholeFile(const char* path, int64_t& size) {
  FILE* file = std::fopen(path, "rb");
  if (!file) failWithSystemError(errorStatus, "%s", path);
  size = fileSize(file);
  if (size < 0) failWithSystemError(errorStatus, "%s", path);
  if (size >= sizeLimit) failWithMessage(errorStatus, "%s: files of 2 GiB or more are not supported\n", path);
  auto* data = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(size) + 1));
  if (!data) failWithSystemError(errorStatus, "%s", path);
  int64_t done = 0;
  while (done < size) {
    size_t want = static_cast<size_t>(size - done) < ioPiece ? static_cast<size_t>(size - done) : ioPiece;
    size_t got = std::fread(data + done, 1, want, file);
    if (got == 0) failWithSystemError(errorStatus, "%s", path);
    done += static_cast<int64_t>(got);
  }
  if (std::fclose(file) != 0) failWithSystemError(errorStatus, "%s", path);
  return data;
}

// Adds the old bytes under [oldPos, oldPos + length) to `to`, skipping what lies outside the
// old file. Written so that no sum can overflow whatever oldPos a patch produces.
void addOldBytes(unsigned char* to, int64_t length, const unsigned char* old, int64_t oldSize, int64_t oldPos) {
  if (oldPos >= oldSize || oldPos <= -length) return;
  int64_t first = oldPos < 0 ? -oldPos : 0;
  int64_t end = oldSize - oldPos < length ? oldSize - oldPos : length;
  for (int64_t i = first; i < end; ++i) to[i] = static_cast<unsigned char>(to[i] + old[oldPos + i]);
}

void applyTriples(patchBlock (&blocks)[3], const unsigned char* old, int64_t oldSize, unsigned char* out,
                  int64_t newSize) {
  BZFILE* control = blocks[0].reader;
  int64_t newPos = 0;
  int64_t oldPos = 0;
  while (newPos < newSize) {
    int64_t diffLength = readControlNumber(control);
    int64_t extraLength = readControlNumber(control);
    int64_t seek = readControlNumber(control);
    if (diffLength < 0 || diffLength > newSize - newPos) failCorrupt();
    if (!readExactly(blocks[1].reader, out + newPos, diffLength)) failCorrupt();
    addOldBytes(out + newPos, diffLength, old, oldSize, oldPos);
    newPos += diffLength;
    if (__builtin_add_overflow(oldPos, diffLength, &oldPos)) failCorrupt();
    if (extraLength < 0 || extraLength > newSize - newPos) failCorrupt();
    if (!readExactly(blocks[2].reader, out + newPos, extraLength)) failCorrupt();
    newPos += extraLength;
    if (__builtin_add_overflow(oldPos, seek, &oldPos)) failCorrupt();
  }
}

// Drops the unfinished result, then reports the error that stopped it.
[[noreturn]] void failWritingResult(FILE* out, const std::string& temporary, const char* shownPath) {
  std::string reason = lastSystemErrorText();
  if (out) std::fclose(out);
  std::remove(temporary.c_str());
  printSystemText(reason);
  failWithMessage(errorStatus, "%s", shownPath);
}

// Writes the result beside the ROM and moves it over the ROM only when all of it is written
// and closed, so that a failure (a full disk, say) leaves the ROM as it was.
void replaceRom(const char* rom, const unsigned char* data, int64_t size) {
  FILE* probe = std::fopen(rom, "r+b");
  if (!probe) failWithSystemError(errorStatus, "%s", rom);
  std::fclose(probe);

  std::string temporary = std::string(rom) + ".tollen.tmp";
  FILE* out = createNewFile(temporary.c_str());
  if (!out) failWithSystemError(errorStatus, "%s", temporary.c_str());
  int64_t done = 0;
  while (done < size) {
    size_t want = static_cast<size_t>(size - done) < ioPiece ? static_cast<size_t>(size - done) : ioPiece;
    size_t put = std::fwrite(data + done, 1, want, out);
    if (put == 0) failWritingResult(out, temporary, rom);
    done += static_cast<int64_t>(put);
  }
  if (std::fclose(out) != 0) failWritingResult(nullptr, temporary, rom);
  if (replaceFile(temporary.c_str(), rom) != 0) failWritingResult(nullptr, temporary, rom);
}
}  // namespace

int bsdiffMain(int argc, char** argv) {
  std::printf("   BSD patch applying:\n");
  if (argc != 3) failWithMessage(errorStatus, "   Usage: %s patch_file rom_file \n", argv[0]);
  std::printf("\n");
  const char* patchPath = argv[1];
  const char* romPath = argv[2];

  patchHeader header = readHeader(patchPath);
  patchBlock blocks[3] = {openBlock(patchPath, headerSize),
                          openBlock(patchPath, headerSize + header.controlLength),
                          openBlock(patchPath, headerSize + header.controlLength + header.diffLength)};
  int64_t oldSize = 0;
  unsigned char* old = readWholeFile(romPath, oldSize);
  auto* result = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(header.newSize) + 1));
  if (!result) failWithSystemError(errorStatus);
  std::printf("   Patching...\n");

  applyTriples(blocks, old, oldSize, result, header.newSize);
  closeBlocks(blocks, patchPath);
  replaceRom(romPath, result, header.newSize);

  std::printf("   Patching is successfully finished!\n");
  std::free(old);
  std::free(result);
  return 0;
}

void printBsdiffHelp() {
  std::printf("   BSDiff patcher v1.0.4\n");
  std::printf("   Applies BSDIFF40 patches to a ROM file in place\n\n");
  std::printf("   Usage: tollen.exe patch_file rom_file\n");
}
