#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "fileWindow.h"
#include "md5.h"
#include "platform.h"
#include "rupCommands.h"
#include "rupNormalise.h"
#include "tollen.h"

namespace {
using bytes = std::vector<uint8_t>;

// Holds the normalised image of the current file; moved over the file when it is closed.
const char* const tempImagePath = "ninja.src";
// Sizes in the patch are 32-bit, so no larger file can be a patch's source or target.
const int64_t fileSizeLimit = int64_t(1) << 32;
// Whole images move in pieces: Wine moves 1 MiB pieces faster than one huge one, and evenly.
const size_t ioPiece = size_t(1) << 20;

enum rupResult {
  rupSuccess = 0,
  rupWrongFormat = -1,
  rupUnreadable = -2,
  rupBadChecksum = -3,
  rupBadPatch = -4,
  rupReported = -5,  // the message has been printed where the failure happened
};

void reportFileError(const char* action, const std::string& path) {
  std::printf("   Error: Can't %s %s: %s\n", action, path.c_str(), lastSystemErrorText().c_str());
}

bool writeAll(FILE* file, const void* data, size_t count) {
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  for (size_t done = 0; done < count;) {
    size_t piece = std::min(ioPiece, count - done);
    if (std::fwrite(bytes + done, 1, piece, file) != piece) return false;
    done += piece;
  }
  return true;
}

bool readWholeFile(FILE* file, int64_t size, bytes& out) {
  out.resize(size_t(size));
  if (seekFile(file, 0, SEEK_SET) != 0) return false;
  for (size_t done = 0; done < out.size();) {
    size_t piece = std::min(ioPiece, out.size() - done);
    if (std::fread(out.data() + done, 1, piece, file) != piece) return false;
    done += piece;
  }
  return true;
}

void digestOfBytes(const bytes& data, uint8_t digest[16]) {
  md5Context context;
  md5ContextInit(&context);
  for (size_t at = 0; at < data.size(); at += 4096)
    md5ContextUpdate(&context, data.data() + at, std::min<size_t>(4096, data.size() - at));
  md5ContextFinal(&context, digest);
}

struct rupRun {
  patchReader patch;
  std::string romArgument;
  FILE* file = nullptr;      // the current file, or its image in "ninja.src"
  std::string targetPath;
  std::string filePath;      // what `file` is: the target or "ninja.src"
  uint32_t sourceSize = 0;
  uint32_t targetSize = 0;
  bool undo = false;
  int64_t base = 0;          // header bytes ahead of the image in the working file
  bool overflowKept = false;
  uint32_t overflowSize = 0;
  int64_t overflowOffset = 0;
  bool tempCreated = false;  // this run made "ninja.src"; nothing else is ever renamed
  bool unif = false;
  bytes unifFile;            // the UNIF file as read, to take the patched chunks
  fileWindow window;         // over `file`
};

// Reads the size told beforehand, not to the end: a device never ends.
bool digestOfFile(rupRun& run, int64_t size, uint8_t digest[16]) {
  md5Context context;
  md5ContextInit(&context);
  for (int64_t done = 0; done < size;) {
    size_t count = size_t(size - done);
    const uint8_t* bytes = run.window.bytesAt(done, count);
    if (!bytes || !run.window.heldByFile(done, count)) return false;
    md5ContextUpdate(&context, bytes, count);
    done += int64_t(count);
  }
  md5ContextFinal(&context, digest);
  return true;
}

int failWrite(rupRun& run) {
  reportFileError("write", run.filePath);
  return rupReported;
}

int failWindow(rupRun& run) {
  reportFileError(run.window.failure(), run.filePath);
  return rupReported;
}

// Sets `count` bytes of the image from `at` to `combine(file byte, patch byte)`, for the
// patch's bytes from `dataOffset`.
template <typename combination>
int changeImage(rupRun& run, int64_t at, int64_t dataOffset, uint32_t count, combination combine) {
  for (uint32_t done = 0; done < count;) {
    size_t piece = count - done;
    const uint8_t* data = patchBytesAt(run.patch, dataOffset + done, piece);
    if (!data) return rupUnreadable;
    uint8_t* image = run.window.bytesAt(at + done, piece);
    if (!image) return failWindow(run);
    for (size_t i = 0; i < piece; ++i) image[i] = combine(image[i], data[i]);
    run.window.changed(at + done, piece);
    done += uint32_t(piece);
  }
  return rupSuccess;
}

// Bytes past the file's end combine with zeros.
int applyXor(rupRun& run, const rupCommand& command) {
  return changeImage(run, run.base + command.offset, command.dataOffset, command.size,
                     [](uint8_t file, uint8_t patch) { return uint8_t(file ^ patch); });
}

int writeOverflowBlock(rupRun& run) {
  run.overflowKept = false;
  int64_t at = run.base + (run.undo ? std::min(run.sourceSize, run.targetSize) : run.sourceSize);
  return changeImage(run, at, run.overflowOffset, run.overflowSize,
                     [](uint8_t, uint8_t patch) { return uint8_t(~patch); });
}

int cutToSize(rupRun& run) {
  bool shrinks = run.undo ? run.targetSize > run.sourceSize : run.targetSize < run.sourceSize;
  if (!shrinks) return rupSuccess;
  int64_t length = run.base + (run.undo ? run.sourceSize : run.targetSize);
  return resizeFile(run.file, length) == 0 ? rupSuccess : failWrite(run);
}

int writeBackUnif(rupRun& run) {
  int64_t size = fileSize(run.file);
  bytes image;
  if (size < 0 || size >= fileSizeLimit || !readWholeFile(run.file, size, image)) {
    reportFileError("read", run.filePath);
    return rupReported;
  }
  if (!rupWriteBackUnif(run.unifFile, image)) {
    std::printf("   Error: The patched image does not fit the UNIF chunks of %s\n", run.targetPath.c_str());
    return rupReported;
  }
  if (seekFile(run.file, 0, SEEK_SET) != 0 || !writeAll(run.file, run.unifFile.data(), run.unifFile.size()) ||
      resizeFile(run.file, int64_t(run.unifFile.size())) != 0)
    return failWrite(run);
  return rupSuccess;
}

int closeWorkingFile(rupRun& run) {
  bool flushed = std::fflush(run.file) == 0;
  bool closed = std::fclose(run.file) == 0;
  run.file = nullptr;
  return flushed && closed ? rupSuccess : failWrite(run);
}

// The closing steps: overflow block, size, UNIF chunks, then the image replaces the target.
int closeCurrentFile(rupRun& run) {
  int result = run.overflowKept ? writeOverflowBlock(run) : rupSuccess;
  if (result == rupSuccess && !run.window.flush()) result = failWindow(run);
  if (result == rupSuccess) result = cutToSize(run);
  if (result == rupSuccess && run.unif) result = writeBackUnif(run);
  if (result == rupSuccess) result = closeWorkingFile(run);
  if (result != rupSuccess || !run.tempCreated) return result;
  if (replaceFile(tempImagePath, run.targetPath.c_str()) != 0) {
    reportFileError("replace", run.targetPath);
    return rupReported;
  }
  run.tempCreated = false;
  return rupSuccess;
}

// After a failure: the current file stays as it stands and this run's image goes.
void abandonCurrentFile(rupRun& run) {
  if (run.file) {
    run.window.flush();  // the file keeps the records applied so far
    std::fclose(run.file);
  }
  run.file = nullptr;
  if (run.tempCreated) std::remove(tempImagePath);
  run.tempCreated = false;
}

// Forward when the file is the source, undo when it is the target.
bool chooseDirection(rupRun& run, const rupCommand& command, const uint8_t digest[16]) {
  if (std::memcmp(digest, command.sourceMd5, 16) == 0) run.undo = false;
  else if (std::memcmp(digest, command.targetMd5, 16) == 0) run.undo = true;
  else return false;
  return true;
}

// Reads the whole file and normalises it; the one place that holds whole images, so the
// one place where memory can run out.
bool readNormalised(rupRun& run, const rupCommand& command, FILE* target, int64_t size, bytes& contents,
                    romImage& normalised) {
  try {
    if (!readWholeFile(target, size, contents)) {
      reportFileError("read", run.targetPath);
      return false;
    }
    normalised = rupNormaliseImage(command.type, contents);
    return true;
  } catch (const std::bad_alloc&) {
    std::printf("   Error: Not enough memory for %s\n", run.targetPath.c_str());
    return false;
  }
}

int startNormalisedImage(rupRun& run, const rupCommand& command, FILE* target, int64_t size) {
  bytes contents;
  romImage normalised;
  bool read = readNormalised(run, command, target, size, contents, normalised);
  std::fclose(target);
  if (!read) return rupReported;
  uint8_t digest[16];
  digestOfBytes(normalised.image, digest);
  if (!chooseDirection(run, command, digest)) return rupBadChecksum;
  run.unif = rupIsUnif(normalised);
  if (run.unif) run.unifFile = std::move(contents);
  run.base = run.unif ? 0 : int64_t(normalised.header.size());
  run.filePath = tempImagePath;
  run.file = std::fopen(tempImagePath, "w+b");
  if (!run.file) {
    reportFileError("create", tempImagePath);
    return rupReported;
  }
  run.tempCreated = true;
  run.window.attach(run.file);
  // The header goes ahead of the image at once, so the patched file needs no rewrite.
  if ((!run.unif && !writeAll(run.file, normalised.header.data(), normalised.header.size())) ||
      !writeAll(run.file, normalised.image.data(), normalised.image.size()) || std::fflush(run.file) != 0)
    return failWrite(run);
  return rupSuccess;
}

int startPlainFile(rupRun& run, const rupCommand& command, FILE* target, int64_t size) {
  uint8_t digest[16];
  run.file = target;
  run.window.attach(target);
  run.filePath = run.targetPath;
  run.base = 0;
  if (!digestOfFile(run, size, digest)) {
    reportFileError("read", run.targetPath);
    return rupReported;
  }
  return chooseDirection(run, command, digest) ? rupSuccess : rupBadChecksum;
}

int openFileRecord(rupRun& run, const rupCommand& command) {
  if (run.file) {
    int closed = closeCurrentFile(run);
    if (closed != rupSuccess) return closed;
  }
  run.targetPath = command.name.empty() ? run.romArgument : run.romArgument + "/" + command.name;
  run.sourceSize = command.sourceSize;
  run.targetSize = command.targetSize;
  run.overflowKept = false;
  run.unif = false;
  run.unifFile.clear();
  FILE* target = std::fopen(run.targetPath.c_str(), "r+b");
  if (!target) {
    reportFileError("open", run.targetPath);
    return rupReported;
  }
  int64_t size = fileSize(target);
  if (size < 0 || size >= fileSizeLimit) {
    if (size < 0) reportFileError("read", run.targetPath);
    else std::printf("   Error: %s is too big (4 GiB or more)\n", run.targetPath.c_str());
    std::fclose(target);
    return rupReported;
  }
  if (rupTypeIsNormalised(command.type)) return startNormalisedImage(run, command, target, size);
  return startPlainFile(run, command, target, size);
}

int runCommand(rupRun& run, const rupCommand& command) {
  switch (command.kind) {
    case openFileCommand: return openFileRecord(run, command);
    case xorCommand: return applyXor(run, command);
    case overflowCommand:
      run.overflowKept = true;
      run.overflowSize = command.size;
      run.overflowOffset = command.dataOffset;
      return rupSuccess;
    default: return run.file ? closeCurrentFile(run) : rupSuccess;
  }
}

int runCommandStream(rupRun& run) {
  if (!commandStreamIsSound(run.patch) || !startCommandStream(run.patch)) return rupBadPatch;

  std::remove(tempImagePath);  // a leftover of an interrupted run is no image of ours
  streamCheck check;
  rupCommand command;
  do {
    if (!readCommand(run.patch, command) || !commandIsSound(check, command)) return rupBadPatch;
    int result = runCommand(run, command);
    if (result != rupSuccess) return result;
  } while (command.kind != endCommand);
  return rupSuccess;
}

int rupOpenPatch(const char* path, FILE*& patch) {
  patch = std::fopen(path, "rb");
  if (!patch) return rupUnreadable;
  char magic[6];
  if (seekFile(patch, 0, SEEK_SET) != 0) {
    std::fclose(patch);
    return rupUnreadable;
  }
  if (std::fread(magic, 1, 6, patch) != 6 || std::memcmp(magic, "NINJA2", 6) != 0) {
    std::fclose(patch);
    return rupWrongFormat;
  }
  return rupSuccess;
}

void printDescription(const char* text) {
  std::string shown;
  for (const char* p = text; *p; ++p) {
    if (p[0] == '\\' && p[1] == 'n') {
      shown += "\r\n   ";
      ++p;
    } else {
      shown += *p;
    }
  }
  std::printf("\r\n   %s:\r\n   %s\n", "Description", shown.c_str());
}

void printDate(const char* date) {
  if (std::strlen(date) != 8) {
    std::printf("   %s: %s\n", "Date", date);
    return;
  }
  char shown[16];
  std::snprintf(shown, sizeof shown, "%4.4s.%2.2s.%2.2s", date, date + 4, date + 6);
  std::printf("   %s: %s (YYYYMMDD)\n", "Date", shown);
}

struct metadataField {
  const char* name;
  size_t size;
};

const metadataField metadataFields[] = {{"Author", 84},   {"Version", 11}, {"Title", 256},   {"Genre", 48},
                                        {"Language", 48}, {"Date", 8},     {"Website", 512}, {"Description", 1074}};

void rupShowMetadata(FILE* patch) {
  std::printf("   RUP patch information:\n");
  if (seekFile(patch, 7, SEEK_SET) != 0) return;
  char text[1075];
  for (const metadataField& field : metadataFields) {
    if (std::fread(text, 1, field.size, patch) != field.size) return;
    text[field.size] = '\0';
    if (text[0] == '\0') continue;
    if (std::strcmp(field.name, "Date") == 0) printDate(text);
    else if (std::strcmp(field.name, "Description") == 0) printDescription(text);
    else std::printf("   %s: %s\n", field.name, text);
  }
}

int rupShowInfo(const char* patchPath) {
  FILE* patch;
  int result = rupOpenPatch(patchPath, patch);
  if (result != rupSuccess) return result;
  rupShowMetadata(patch);
  std::fclose(patch);
  return rupSuccess;
}

int rupApply(const char* patchPath, const char* romArgument) {
  rupRun run;
  int result = rupOpenPatch(patchPath, run.patch.file);
  if (result != rupSuccess) return result;
  rupShowMetadata(run.patch.file);
  std::puts("\n   Patching...");
  run.patch.size = fileSize(run.patch.file);
  run.romArgument = romArgument;
  result = run.patch.size < 0 ? rupUnreadable : runCommandStream(run);
  if (result != rupSuccess) abandonCurrentFile(run);
  std::fclose(run.patch.file);
  return result;
}

const char* resultText(int result) {
  switch (result) {
    case rupSuccess: return "   Patching is successfully finished!";
    case rupWrongFormat: return "   Error: Rup wrong format";
    case rupUnreadable: return "   Error: Unreadable patch file";
    case rupBadChecksum: return "   Error: Checksum is not correct";
    case rupBadPatch: return "   Error: Bad patch";
    default: return nullptr;
  }
}
}  // namespace

int rupMain(int argc, char** argv) {
  if (argc != 3) return 0;
  if (std::strcmp(argv[2], "s") == 0) {
    rupShowInfo(argv[1]);
    return 0;
  }
  if (const char* line = resultText(rupApply(argv[1], argv[2]))) std::puts(line);
  return 0;
}

void printRupHelp() {
  std::puts("   RUP patcher");
  std::puts("   NINJA2 patches, applied or undone as the file's MD5 digest shows");
  std::puts("   by the Morlo developers\n");
  std::puts("   Command: s - show patch info");
  std::puts("   Usage: tollen.exe patch_file rom_file");
  std::puts("          tollen.exe patch_file s");
}
