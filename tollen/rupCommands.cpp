#include "rupCommands.h"

#include <algorithm>
#include <cstring>

namespace {
const int64_t commandStreamStart = 2048;
const uint64_t nameLengthLimit = 4096;

bool skipPatchBytes(patchReader& reader, uint64_t count) {
  if (count > uint64_t(reader.size - reader.position)) return false;
  reader.position += int64_t(count);
  return true;
}

bool readPatchBytes(patchReader& reader, void* out, uint64_t count) {
  uint8_t* to = static_cast<uint8_t*>(out);
  int64_t from = reader.position;
  if (!skipPatchBytes(reader, count)) return false;
  for (size_t done = 0; done < count;) {
    size_t piece = size_t(count) - done;
    const uint8_t* bytes = patchBytesAt(reader, from + int64_t(done), piece);
    if (!bytes) return false;
    std::memcpy(to + done, bytes, piece);
    done += piece;
  }
  return true;
}

// A length byte n and n value bytes, least significant first; values beyond 32 bits are refused.
bool readNumber(patchReader& reader, uint32_t& value) {
  uint8_t length;
  uint8_t digits[255];
  if (!readPatchBytes(reader, &length, 1) || !readPatchBytes(reader, digits, length)) return false;
  value = 0;
  for (int i = 0; i < length; ++i) {
    if (i >= 4 && digits[i] != 0) return false;
    if (i < 4) value |= uint32_t(digits[i]) << (8 * i);
  }
  return true;
}

bool readOpenFile(patchReader& reader, rupCommand& command) {
  uint32_t nameLength;
  uint8_t type;
  if (!readNumber(reader, nameLength) || nameLength > nameLengthLimit) return false;
  command.name.assign(nameLength, '\0');
  if (!readPatchBytes(reader, command.name.data(), nameLength) || !readPatchBytes(reader, &type, 1)) return false;
  command.type = type;
  return readNumber(reader, command.sourceSize) && readNumber(reader, command.targetSize) &&
         readPatchBytes(reader, command.sourceMd5, 16) && readPatchBytes(reader, command.targetMd5, 16);
}

// The data stays in the patch; the command keeps where it lies.
bool readDataBlock(patchReader& reader, rupCommand& command) {
  command.dataOffset = reader.position;
  return skipPatchBytes(reader, command.size);
}

// Names come from the patch: nothing may lead outside the folder given on the command line.
bool nameIsSafe(const std::string& name) {
  if (name.empty()) return true;
  if (name[0] == '/' || name[0] == '\\' || name.find(':') != std::string::npos ||
      name.find('\0') != std::string::npos)
    return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of("/\\", start);
    if (end == std::string::npos) end = name.size();
    if (name.compare(start, end - start, "..") == 0) return false;
    start = end + 1;
  }
  return true;
}
}  // namespace

bool readCommand(patchReader& reader, rupCommand& command) {
  uint8_t code = 0;
  if (reader.position < reader.size && !readPatchBytes(reader, &code, 1)) return false;
  switch (code) {
    case 0x00: command.kind = endCommand; return true;
    case 0x01: command.kind = openFileCommand; return readOpenFile(reader, command);
    case 0x02:
      command.kind = xorCommand;
      return readNumber(reader, command.offset) && readNumber(reader, command.size) && readDataBlock(reader, command);
    case 'A':
    case 'M': command.kind = overflowCommand; return readNumber(reader, command.size) && readDataBlock(reader, command);
    default: return false;
  }
}

bool commandIsSound(streamCheck& check, const rupCommand& command) {
  switch (command.kind) {
    case openFileCommand:
      check.fileOpen = true;
      check.largerSize = std::max(command.sourceSize, command.targetSize);
      return nameIsSafe(command.name);
    case xorCommand: return check.fileOpen && uint64_t(command.offset) + command.size <= check.largerSize;
    case overflowCommand: return check.fileOpen;
    default: return true;
  }
}

bool startCommandStream(patchReader& reader) {
  reader.position = commandStreamStart;
  reader.window.attach(reader.file);
  return reader.size >= commandStreamStart;
}

bool commandStreamIsSound(patchReader& reader) {
  if (!startCommandStream(reader)) return false;
  streamCheck check;
  rupCommand command;
  do {
    if (!readCommand(reader, command) || !commandIsSound(check, command)) return false;
  } while (command.kind != endCommand);
  return true;
}

const uint8_t* patchBytesAt(patchReader& reader, int64_t offset, size_t& count) {
  const uint8_t* bytes = reader.window.bytesAt(offset, count);
  return bytes && reader.window.heldByFile(offset, count) ? bytes : nullptr;
}
