// The same file can be named in many spellings (letter case, relative, 8.3, doubled
// backslashes). Before a copy or a module writes, the files of a run are compared by what they
// are on disk, not by how their paths are spelled.
#pragma once
#include <cstdint>
#include <string>

#include "records.h"

// Whether both UTF-8 paths name one existing file (same volume and file index).
bool isSameExistingFile(const std::string& first, const std::string& second);

// Refuses (errorStrShow, with the "... paths are equivalent" texts) a run in which the patch is
// the original game or, with a mask of 7, the output, or the original game is the output.
void refuseSameFiles(const patchJob& job, uint8_t mask);
