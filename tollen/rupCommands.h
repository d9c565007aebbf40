// The command stream of a NINJA2 patch: reading one command at a time and the checks that
// every command must pass before it is carried out.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "fileWindow.h"

enum commandKind { endCommand, openFileCommand, xorCommand, overflowCommand };

struct rupCommand {
  commandKind kind = endCommand;
  std::string name;
  int type = 0;
  uint32_t sourceSize = 0;
  uint32_t targetSize = 0;
  uint8_t sourceMd5[16] = {};
  uint8_t targetMd5[16] = {};
  uint32_t offset = 0;     // XOR record
  uint32_t size = 0;       // XOR record and overflow block
  int64_t dataOffset = 0;  // where their bytes lie in the patch; they are not read here
};

struct patchReader {
  FILE* file;
  int64_t size;
  int64_t position;  // of the next command byte
  fileWindow window;
};

// What the checks remember between commands.
struct streamCheck {
  bool fileOpen = false;
  uint64_t largerSize = 0;
};

// Positions the reader at the first command; false when the patch ends inside its header.
bool startCommandStream(patchReader& reader);
// False for an unknown command byte or a record that does not fit in the patch. The end
// of the patch reads as the end command.
bool readCommand(patchReader& reader, rupCommand& command);
// Refuses names that lead outside the ROM folder, XOR records beyond both sizes of their
// file, and records that need a file before the first open-file record.
bool commandIsSound(streamCheck& check, const rupCommand& command);
// One pass over the whole stream, to be made before any file is touched.
bool commandStreamIsSound(patchReader& reader);
// Points at up to `count` patch bytes from `offset`, fewer where the reader's window ends;
// null when they cannot be read.
const uint8_t* patchBytesAt(patchReader& reader, int64_t offset, size_t& count);
