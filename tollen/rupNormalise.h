// Puts a console file into the plain image that NINJA2 digests and offsets refer to:
// copier headers off, interleaved layouts in order, N64 byte pairs in big-endian order.
#pragma once
#include <cstdint>
#include <vector>

struct romImage {
  std::vector<uint8_t> image;
  // Put back in front of the patched image; empty when none is kept. The 4 bytes "UNIF"
  // mark a UNIF file, whose chunks take the patched image back instead.
  std::vector<uint8_t> header;
};

// Types 1 and 3 to 9 have normalisers; the others are patched as they stand.
bool rupTypeIsNormalised(int type);
// The plain image of a file of that type. Reads only bytes the file has.
romImage rupNormaliseImage(int type, const std::vector<uint8_t>& file);
bool rupIsUnif(const romImage& image);
// Replaces the PRG/CHR chunk data of a UNIF file, in file order, with the patched image.
// Refuses (false, file unchanged) when the chunks hold other than image.size() bytes.
bool rupWriteBackUnif(std::vector<uint8_t>& unifFile, const std::vector<uint8_t>& image);
