// PPF 1.0, 2.0 and 3.0 patches applied to a disc image in place, the undo of PPF 3.0
// patches that carry undo data, and the display of a patch's information.
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform.h"
#include "tollen.h"

namespace {
constexpr int64_t descriptionOffset = 6;
constexpr size_t descriptionSize = 50;
constexpr int64_t version1RecordStart = 56;
constexpr int64_t imageSizeFieldOffset = 56;
constexpr int64_t version3FlagsOffset = 56;
constexpr int64_t version3HeaderEnd = 60;
constexpr int64_t checkBlockOffset = 60;
constexpr size_t checkBlockSize = 1024;
constexpr int64_t checkedRecordStart = 1084;
constexpr int64_t binImageCheckOffset = 0x9320;
constexpr int64_t otherImageCheckOffset = 0x80A0;
constexpr int64_t dizEndMarkerSize = 16;
constexpr size_t dizShownMax = 3072;
constexpr uint64_t offsetLimit32 = 0xFFFFFFFFu;

const char* const noDifferences = "   Error: the patch contains no differences";
const char* const cannotReadPatch = "   Error: cannot read the patch file";
const char* const patchTooShort = "   Error: the patch is too short for its header";

// One run: the open files, their sizes and the patch's description.
struct ppfSession {
  FILE* patch = nullptr;
  FILE* image = nullptr;
  const char* imageName = "";
  int64_t patchSize = 0;
  int64_t imageSize = 0;
  char description[descriptionSize + 1] = {};
};

// How the records of one version are laid out and which bytes a run writes.
struct recordLayout {
  int offsetWidth;  // 4 bytes in PPF 1.0 and 2.0, 8 in PPF 3.0
  bool carriesUndo;  // every record holds the image's old bytes after the new ones
  bool undo;         // write the old bytes back instead of the new ones
};

struct recordHead {
  uint64_t offset;
  size_t length;
};

// The file_id.diz block at the end of a PPF 2.0 or 3.0 patch.
struct dizBlock {
  bool fits = true;
  int64_t size = 0;  // bytes kept out of the record area
};

uint64_t littleEndian(const uint8_t* data, int width) {
  uint64_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = (value << 8) | data[i];
  return value;
}

bool readAt(FILE* file, int64_t offset, void* buffer, size_t count) {
  return seekFile(file, offset, SEEK_SET) == 0 && std::fread(buffer, 1, count, file) == count;
}

bool readExact(FILE* file, void* buffer, size_t count) {
  return count == 0 || std::fread(buffer, 1, count, file) == count;
}

// The system's text goes to standard error after the line's start on standard output.
void printOpenError(const char* name) {
  const int code = errno;
  std::printf("   Error: cannot open file '%s': ", name);
  std::fflush(stdout);
  errno = code;
  std::perror("");
}

void printProgress(int percent, const char* end) { std::printf("   Progress: (%02d%%) %s", percent, end); }

int progressPercent(int64_t done, int64_t total) { return static_cast<int>(done * 100 / total); }

bool askToContinue(const char* question) {
  std::puts(question);
  int key = readAnswerKey();
  if (key != EOF && std::tolower(key) == 'y') return true;
  std::puts("   Aborted...");
  return false;
}

void closeFiles(ppfSession& s) {
  if (s.patch) std::fclose(s.patch);
  if (s.image) std::fclose(s.image);
  s.patch = s.image = nullptr;
}

// These messages are printed without a line break.
int failOpen(ppfSession& s, const char* message, int number) {
  std::fputs(message, stdout);
  closeFiles(s);
  return number;
}

// 0 when both files are open and not empty, else the number of the failure.
int ppfOpenFiles(ppfSession& s, const char* imageName, const char* patchName) {
  s.patch = std::fopen(patchName, "rb");
  if (!s.patch) {
    printOpenError(patchName);
    return 1;
  }
  s.patchSize = fileSize(s.patch);
  if (s.patchSize == 0) return failOpen(s, "   Error: patch file is empty", 2);
  if (s.patchSize < 0) return failOpen(s, "   Error: unknown patch size", 3);
  s.image = std::fopen(imageName, "r+b");
  if (!s.image) {
    printOpenError(imageName);
    closeFiles(s);
    return 4;
  }
  // Unbuffered, so that a failed write is seen by the write itself.
  std::setvbuf(s.image, nullptr, _IONBF, 0);
  s.imageSize = fileSize(s.image);
  if (s.imageSize == 0) return failOpen(s, "   Error: input file is empty", 5);
  if (s.imageSize < 0) return failOpen(s, "   Error: unknown file size", 6);
  s.imageName = imageName;
  return 0;
}

int ppfVersion(FILE* patch) {
  char magic[4];
  if (readAt(patch, 0, magic, 4) && std::memcmp(magic, "PPF", 3) == 0 && magic[3] >= '1' && magic[3] <= '3')
    return magic[3] - '0';
  std::puts("   Error: patchfile is no ppf patch");
  return 0;
}

// A patch too short for the field leaves the rest of the description empty.
void readDescription(ppfSession& s) {
  std::memset(s.description, 0, sizeof s.description);
  if (seekFile(s.patch, descriptionOffset, SEEK_SET) == 0) std::fread(s.description, 1, descriptionSize, s.patch);
}

// Shows the block's text (at most its last 3072 bytes). A block that would reach into the
// header or before the file's start is reported and marked as not fitting.
dizBlock ppfReadFileIdDiz(ppfSession& s, int version, int64_t recordStart) {
  const int lengthWidth = version == 2 ? 4 : 2;
  const int64_t overhead = version == 2 ? 38 : 36;
  dizBlock block;
  char marker[4];
  if (s.patchSize < lengthWidth + 4 || !readAt(s.patch, s.patchSize - lengthWidth - 4, marker, 4) ||
      std::memcmp(marker, ".DIZ", 4) != 0) {
    std::puts("   File_id.diz: not available\n");
    return block;
  }
  uint8_t field[4];
  int64_t length = readAt(s.patch, s.patchSize - lengthWidth, field, lengthWidth)
                       ? static_cast<int64_t>(littleEndian(field, lengthWidth))
                       : -1;
  block.size = length + overhead;
  block.fits = length >= 0 && block.size <= s.patchSize - recordStart;
  if (!block.fits) {
    std::puts("   Error: the file_id.diz block is larger than the patch");
    return block;
  }
  char text[dizShownMax + 1] = {};
  size_t shown = length < static_cast<int64_t>(dizShownMax) ? static_cast<size_t>(length) : dizShownMax;
  int64_t textEnd = s.patchSize - lengthWidth - dizEndMarkerSize;
  if (!readAt(s.patch, textEnd - static_cast<int64_t>(shown), text, shown)) text[0] = '\0';
  std::printf("\n%s\n", text);
  return block;
}

size_t recordBytes(const recordLayout& layout, size_t length) {
  return static_cast<size_t>(layout.offsetWidth) + 1 + (layout.carriesUndo ? 2 * length : length);
}

bool readRecordHead(FILE* patch, const recordLayout& layout, recordHead& head) {
  uint8_t field[9];
  if (!readExact(patch, field, static_cast<size_t>(layout.offsetWidth) + 1)) return false;
  head.offset = littleEndian(field, layout.offsetWidth);
  head.length = field[layout.offsetWidth];
  return true;
}

// Reads the whole record area once without writing, so that a cut or damaged patch is
// refused before the image is touched: the records must fill the area exactly.
bool recordsFillArea(FILE* patch, int64_t start, int64_t total, const recordLayout& layout) {
  if (seekFile(patch, start, SEEK_SET) != 0) return false;
  const int64_t headBytes = layout.offsetWidth + 1;
  uint8_t skipped[512];
  int64_t remaining = total;
  recordHead head;
  while (remaining > 0) {
    if (remaining < headBytes || !readRecordHead(patch, layout, head)) return false;
    const int64_t size = static_cast<int64_t>(recordBytes(layout, head.length));
    if (size > remaining || !readExact(patch, skipped, static_cast<size_t>(size - headBytes))) return false;
    remaining -= size;
  }
  return true;
}

bool outsideImage(const ppfSession& s, const recordLayout& layout, const recordHead& head) {
  const uint64_t limit = layout.offsetWidth == 4 ? offsetLimit32 : UINT64_MAX;
  if (head.offset > limit - head.length) return true;
  return head.offset + head.length > static_cast<uint64_t>(s.imageSize);
}

void printWriteError(const ppfSession& s) { std::printf("\n   Error: cannot write file '%s'\n", s.imageName); }

// Reads one record's bytes and writes the new (or, when undoing, the old) ones to the image.
bool copyRecord(ppfSession& s, const recordLayout& layout, const recordHead& head) {
  uint8_t buffer[512];
  const size_t n = head.length;
  if (!readExact(s.patch, buffer, n) || (layout.carriesUndo && !readExact(s.patch, buffer + n, n))) {
    std::printf("\n%s\n", cannotReadPatch);
    return false;
  }
  if (n == 0) return true;
  const uint8_t* source = layout.undo ? buffer + n : buffer;
  if (seekFile(s.image, static_cast<int64_t>(head.offset), SEEK_SET) != 0 ||
      std::fwrite(source, 1, n, s.image) != n) {
    printWriteError(s);
    return false;
  }
  return true;
}

// The run is a success only when the image file was closed cleanly.
bool finishImage(ppfSession& s) {
  bool flushed = std::fflush(s.image) == 0;
  bool closed = std::fclose(s.image) == 0;
  s.image = nullptr;
  if (!flushed || !closed) printWriteError(s);
  return flushed && closed;
}

void applyRecords(ppfSession& s, int64_t start, int64_t total, const recordLayout& layout) {
  if (!recordsFillArea(s.patch, start, total, layout) || seekFile(s.patch, start, SEEK_SET) != 0) {
    std::puts("   Error: the patch is damaged: a record runs past the end of the patch data");
    return;
  }
  if (total < 100) printProgress(100, "\r");
  int shown = 0;
  int64_t remaining = total;
  recordHead head;
  while (remaining > 0) {
    if (!readRecordHead(s.patch, layout, head)) {
      std::printf("\n%s\n", cannotReadPatch);
      return;
    }
    if (outsideImage(s, layout, head)) {
      printProgress(100, "\n");
      std::puts("   Patching is finished, but foreign data was detected in the patch.");
      return;
    }
    if (!copyRecord(s, layout, head)) return;
    remaining -= static_cast<int64_t>(recordBytes(layout, head.length));
    if (total >= 100) {
      int percent = progressPercent(total - remaining, total);
      if (percent != shown) printProgress(percent, "\r");
      shown = percent;
    }
  }
  printProgress(100, "\r");
  if (finishImage(s)) std::puts("\n   Patching is successfully finished!");
}

// A short read from a small image counts as a difference.
bool checkBlockMatches(ppfSession& s, int64_t imageOffset) {
  uint8_t expected[checkBlockSize];
  uint8_t found[checkBlockSize];
  return readAt(s.patch, checkBlockOffset, expected, checkBlockSize) &&
         readAt(s.image, imageOffset, found, checkBlockSize) && std::memcmp(expected, found, checkBlockSize) == 0;
}

bool confirmCheckBlock(ppfSession& s, int64_t imageOffset) {
  discardPendingInput();
  return checkBlockMatches(s, imageOffset) || askToContinue("   Binblock/Patchvalidation failed. continue ? (y/n)");
}

// Size of the record area; negative (and reported) when the header and the diz leave none.
int64_t recordAreaSize(const ppfSession& s, int64_t start, const dizBlock& diz) {
  int64_t total = s.patchSize - start - diz.size;
  if (total < 0) std::puts(patchTooShort);
  return total;
}

void applyVersion1(ppfSession& s) {
  std::puts("   Patch type: PPF 1.0");
  std::printf("   Description: %s\n\n", s.description);
  int64_t total = recordAreaSize(s, version1RecordStart, dizBlock{});
  if (total < 0) return;
  if (total == 0) {
    std::puts(noDifferences);
    return;
  }
  applyRecords(s, version1RecordStart, total, recordLayout{4, false, false});
}

void applyVersion2(ppfSession& s) {
  std::puts("   Patch type: PPF 2.0");
  std::printf("   Description: %s\n", s.description);
  dizBlock diz = ppfReadFileIdDiz(s, 2, checkedRecordStart);
  if (!diz.fits) return;
  int64_t total = recordAreaSize(s, checkedRecordStart, diz);
  if (total < 0) return;
  uint8_t field[4];
  if (!readAt(s.patch, imageSizeFieldOffset, field, 4)) {
    std::puts(cannotReadPatch);
    return;
  }
  if (static_cast<int64_t>(littleEndian(field, 4)) != s.imageSize &&
      !askToContinue("   The size of the bin file isn't correct, continue ? (y/n)"))
    return;
  if (!confirmCheckBlock(s, binImageCheckOffset)) return;
  if (total == 0) {
    std::puts(noDifferences);
    return;
  }
  applyRecords(s, checkedRecordStart, total, recordLayout{4, false, false});
}

const char* undoLine(bool undoData) {
  return undoData ? "   Undo operation: available" : "   Undo operation: not available";
}

// Image type, block-check flag and undo flag; false (and reported) for a cut header.
bool readVersion3Flags(ppfSession& s, uint8_t* flags) {
  if (s.patchSize >= version3HeaderEnd && readAt(s.patch, version3FlagsOffset, flags, 3)) return true;
  std::puts(patchTooShort);
  return false;
}

void applyVersion3(ppfSession& s, bool undo) {
  std::puts("   Patch type: PPF 3.0");
  std::puts(undo ? "   Operation: undo patch" : "   Operation: apply");
  uint8_t flags[3];
  if (!readVersion3Flags(s, flags)) return;
  const bool binImage = flags[0] == 0, blockCheck = flags[1] != 0, undoData = flags[2] != 0;
  const int64_t start = blockCheck ? checkedRecordStart : version3HeaderEnd;
  std::puts(undoLine(undoData));
  std::printf("   Description: %s\n", s.description);
  dizBlock diz = ppfReadFileIdDiz(s, 3, start);
  if (!diz.fits) return;
  if (undo && !undoData) {
    std::puts("   Error: no undo data available");
    return;
  }
  int64_t total = recordAreaSize(s, start, diz);
  if (total < 0) return;
  if (blockCheck && !confirmCheckBlock(s, binImage ? binImageCheckOffset : otherImageCheckOffset)) return;
  if (total == 0) {
    std::puts(noDifferences);
    return;
  }
  applyRecords(s, start, total, recordLayout{8, undoData, undo});
}

void ppfApply(ppfSession& s) {
  readDescription(s);
  std::puts("   Patch information:\n");
  switch (ppfVersion(s.patch)) {
    case 1: applyVersion1(s); break;
    case 2: applyVersion2(s); break;
    case 3: applyVersion3(s, false); break;
    default: std::puts("   Unknown patchfile."); break;
  }
}

void ppfUndo(ppfSession& s) {
  if (ppfVersion(s.patch) != 3) {
    std::puts("   Undo function is supported by PPF3 only");
    return;
  }
  readDescription(s);
  applyVersion3(s, true);
}

void showVersion3(ppfSession& s) {
  std::puts("   Patch type: PPF 3.0");
  uint8_t flags[3];
  if (!readVersion3Flags(s, flags)) return;
  std::puts(undoLine(flags[2] != 0));
  ppfReadFileIdDiz(s, 3, flags[1] ? checkedRecordStart : version3HeaderEnd);
}

void ppfShowInfo(ppfSession& s) {
  s.patchSize = fileSize(s.patch);
  readDescription(s);
  std::puts("   Patch information:\n");
  switch (ppfVersion(s.patch)) {
    case 1: std::puts("   Patch type: PPF 1.0"); break;
    case 2:
      std::puts("   Patch type: PPF 2.0");
      ppfReadFileIdDiz(s, 2, checkedRecordStart);
      break;
    case 3: showVersion3(s); break;
    default: std::puts("   Unknown patchfile."); break;
  }
  std::printf("   Description: %s\n", s.description);
}

void showCommand(ppfSession& s, const char* patchName) {
  s.patch = std::fopen(patchName, "rb");
  if (!s.patch) {
    printOpenError(patchName);
    return;
  }
  ppfShowInfo(s);
}

// Lower-cases the last three characters of a name longer than four in place and tells
// whether it then ends in ".ppf".
bool endsInPpf(char* name) {
  size_t length = std::strlen(name);
  if (length <= 4) return false;
  for (char* p = name + length - 3; *p; ++p) *p = static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
  return std::strcmp(name + length - 4, ".ppf") == 0;
}

// With two names, the second is tried as the patch first.
void ppfChoosePatch(ppfSession& s, char* first, char* second) {
  if ((endsInPpf(second) && ppfOpenFiles(s, first, second) == 0) ||
      (endsInPpf(first) && ppfOpenFiles(s, second, first) == 0)) {
    ppfApply(s);
    return;
  }
  std::puts("   Error: patch file is not found");
}

void runCommand(ppfSession& s, const char* patchName, const char* imageName, const char* command) {
  switch (command[0]) {
    case 'a':
      if (ppfOpenFiles(s, imageName, patchName) == 0) ppfApply(s);
      break;
    case 'u':
      if (ppfOpenFiles(s, imageName, patchName) == 0) ppfUndo(s);
      break;
    default:
      std::printf("   Error: unknown command: \"%s\"\n", command);
      std::puts("   Use h command to print help message.");
      break;
  }
}
}  // namespace

int ppfMain(int argc, char** argv) {
  ppfSession s;
  if (argc <= 2) printPpfHelp();  // a patch without an image: show how to call
  else if (argc == 3 && std::strcmp(argv[2], "s") == 0) showCommand(s, argv[1]);
  else if (argc == 3) ppfChoosePatch(s, argv[1], argv[2]);
  else if (argc == 4 && std::strlen(argv[3]) == 1) runCommand(s, argv[1], argv[2], argv[3]);
  closeFiles(s);
  return 0;
}

void printPpfHelp() {
  const char* const lines[] = {"   PPF patcher for PPF 1.0, 2.0 and 3.0 patches",
                               "   Part of Tollen, by the Morlo developers\n",
                               "   Usage: tollen.exe <patchfile> <binfile>",
                               "          tollen.exe <patchfile> <binfile> <command>\n",
                               "   <Commands>",
                               "             a : apply PPF1/2/3 patch",
                               "             u : undo patch (PPF3 only)",
                               "             s : show patch info\n",
                               "   Example: tollen.exe patch.ppf game.bin",
                               "            tollen.exe patch.ppf game.bin u"};
  for (const char* line : lines) std::puts(line);
}
