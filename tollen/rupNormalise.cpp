#include "rupNormalise.h"

#include <algorithm>
#include <cstring>

namespace {
using bytes = std::vector<uint8_t>;

const size_t snesBlock = 0x8000;
const size_t segaBlock = 0x4000;

// Bytes beyond the file read as 0, so short files fail every test instead of being overrun.
uint8_t byteAt(const bytes& data, size_t offset) { return offset < data.size() ? data[offset] : 0; }

bool hasText(const bytes& data, size_t offset, const char* text) {
  size_t length = std::strlen(text);
  return offset + length <= data.size() && std::memcmp(data.data() + offset, text, length) == 0;
}

bytes tail(const bytes& data, size_t from) {
  return from < data.size() ? bytes(data.begin() + static_cast<std::ptrdiff_t>(from), data.end()) : bytes();
}

bytes head(const bytes& data, size_t length) {
  return bytes(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(std::min(length, data.size())));
}

bool hasCopierMark(const bytes& file) { return byteAt(file, 8) == 0xAA && byteAt(file, 9) == 0xBB; }

struct unifSpan {
  size_t offset;
  size_t length;
};

bool isPrgOrChr(const bytes& file, size_t id) {
  uint8_t digit = file[id + 3];
  bool hex = (digit >= '0' && digit <= '9') || (digit >= 'A' && digit <= 'F');
  return hex && (std::memcmp(&file[id], "PRG", 3) == 0 || std::memcmp(&file[id], "CHR", 3) == 0);
}

// The data of the PRG/CHR chunks in file order. A chunk cut off by the file's end
// counts with the bytes it has, and ends the walk.
std::vector<unifSpan> unifDataSpans(const bytes& file) {
  std::vector<unifSpan> spans;
  size_t position = 32;
  while (position + 8 <= file.size()) {
    uint32_t length = uint32_t(file[position + 4]) | uint32_t(file[position + 5]) << 8 |
                      uint32_t(file[position + 6]) << 16 | uint32_t(file[position + 7]) << 24;
    size_t data = position + 8;
    size_t present = std::min<size_t>(length, file.size() - data);
    if (isPrgOrChr(file, position)) spans.push_back({data, present});
    position = data + present;
    if (present < length) break;
  }
  return spans;
}

bytes unifImage(const bytes& file) {
  bytes image;
  for (const unifSpan& span : unifDataSpans(file))
    image.insert(image.end(), file.begin() + static_cast<std::ptrdiff_t>(span.offset),
                 file.begin() + static_cast<std::ptrdiff_t>(span.offset + span.length));
  return image;
}

romImage withHeader(const bytes& file, size_t headerLength) { return {tail(file, headerLength), head(file, headerLength)}; }

romImage nesImage(const bytes& file) {
  if (hasText(file, 0, "NES")) return withHeader(file, 16);
  if (hasCopierMark(file)) return withHeader(file, 512);
  if (hasText(file, 0, "UNIF")) return {unifImage(file), bytes{'U', 'N', 'I', 'F'}};
  return {};
}

// Destination block of source block i in the three copier layouts of fixed size.
size_t snesTableBlock(size_t blocks, size_t i) {
  if (blocks == 80) {
    if (i < 40) return 2 * i + 1;
    if (i < 48) return 64 + 2 * (i - 40);
    if (i < 64) return 32 + 2 * (i - 48);
    return 2 * (i - 64);
  }
  if (blocks == 96) {
    if (i < 48) return 2 * i + 1;
    if (i < 64) return 64 + 2 * (i - 48);
    return 2 * (i - 64);
  }
  if (i < 32) return 129 + 2 * i;
  if (i < 64) return 128 + 2 * (i - 32);
  if (i < 128) return 1 + 2 * (i - 64);
  return 2 * (i - 128);
}

void copyBlock(const bytes& from, size_t fromBlock, bytes& to, size_t toBlock) {
  std::memcpy(to.data() + toBlock * snesBlock, from.data() + fromBlock * snesBlock, snesBlock);
}

// Starts from a copy so that bytes no source block lands on keep their value.
bytes deinterleaveSnes(const bytes& image, bool superUfo) {
  bytes out(image);
  size_t size = image.size();
  if (!superUfo && (size == 0x280000 || size == 0x300000 || size == 0x600000)) {
    size_t blocks = size / snesBlock;
    for (size_t i = 0; i < blocks; ++i) copyBlock(image, i, out, snesTableBlock(blocks, i));
    return out;
  }
  size_t halves = size / (2 * snesBlock);
  for (size_t i = 0; i < halves; ++i) {
    copyBlock(image, halves + i, out, 2 * i);
    copyBlock(image, i, out, 2 * i + 1);
  }
  return out;
}

bool passesLoRomTest(const bytes& image) {
  if (image.size() < 0x7FE0) return false;
  unsigned complement = image[0x7FDC] | image[0x7FDD] << 8;
  unsigned checksum = image[0x7FDE] | image[0x7FDF] << 8;
  return complement + checksum == 0xFFFF;
}

romImage snesImage(const bytes& file) {
  romImage result;
  if (file.size() % 0x8000 != 0) {
    result.image = tail(file, 512);
    // Only a dropped header is put back; one left in the image would appear twice.
    if (hasText(file, 488, "NSRT")) result.header = head(file, 512);
  } else {
    result.image = file;
  }
  if (passesLoRomTest(result.image)) {
    if (byteAt(result.image, 0x7FD5) & 1) result.image = deinterleaveSnes(result.image, hasText(file, 8, "SUPERUFO"));
  } else if (!(byteAt(result.image, 0xFFD5) & 1)) {
    result.image.clear();
  }
  return result;
}

bytes byteSwapped(const bytes& file) {
  bytes out(file);
  for (size_t i = 0; i + 1 < out.size(); i += 2) std::swap(out[i], out[i + 1]);
  return out;
}

// Each whole 16 KiB block holds the odd bytes in its first half and the even ones in its
// second; a shorter remainder stays as it is.
bytes deinterleaveSega(const bytes& image) {
  bytes out(image);
  const size_t half = segaBlock / 2;
  for (size_t block = 0; block + segaBlock <= image.size(); block += segaBlock)
    for (size_t k = 0; k < half; ++k) {
      out[block + 2 * k] = image[block + half + k];
      out[block + 2 * k + 1] = image[block + k];
    }
  return out;
}

romImage segaImage(const bytes& file, size_t markOffset) {
  if (hasText(file, markOffset, "SEGA")) return {file, {}};
  if (hasCopierMark(file)) return {deinterleaveSega(tail(file, 512)), {}};
  return {file, {}};
}

bytes withoutHeaderUnlessMultiple(const bytes& file, size_t unit) {
  return file.size() % unit != 0 ? tail(file, 512) : file;
}
}  // namespace

bool rupTypeIsNormalised(int type) { return type == 1 || (type >= 3 && type <= 9); }

romImage rupNormaliseImage(int type, const std::vector<uint8_t>& file) {
  switch (type) {
    case 1: return nesImage(file);
    case 3: return snesImage(file);
    case 4: return {hasText(file, 0, "\x37\x80\x40\x12") ? byteSwapped(file) : file, {}};
    case 5: return {withoutHeaderUnlessMultiple(file, 0x4000), {}};
    case 6: return segaImage(file, 0x7FF4);
    case 7: return segaImage(file, 0x100);
    case 8: return {withoutHeaderUnlessMultiple(file, 0x1000), {}};
    case 9: return hasText(file, 0, "LYNX") ? withHeader(file, 64) : romImage{file, {}};
    default: return {file, {}};
  }
}

bool rupIsUnif(const romImage& image) { return image.header.size() == 4 && hasText(image.header, 0, "UNIF"); }

bool rupWriteBackUnif(std::vector<uint8_t>& unifFile, const std::vector<uint8_t>& image) {
  std::vector<unifSpan> spans = unifDataSpans(unifFile);
  size_t total = 0;
  for (const unifSpan& span : spans) total += span.length;
  if (total != image.size()) return false;
  size_t next = 0;
  for (const unifSpan& span : spans) {
    std::memcpy(unifFile.data() + span.offset, image.data() + next, span.length);
    next += span.length;
  }
  return true;
}
