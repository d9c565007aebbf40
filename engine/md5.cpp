#include "md5.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr uint32_t rotateLeft(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

// Per-step shift amounts and sine-derived constants of RFC 1321.
constexpr int shifts[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                            5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                            4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                            6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

constexpr uint32_t sines[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613,
    0xfd469501, 0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193,
    0xa679438e, 0x49b40821, 0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d,
    0x02441453, 0xd8a1e681, 0xe7d3fbc8, 0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed,
    0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a, 0xfffa3942, 0x8771f681, 0x6d9d6122,
    0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70, 0x289b7ec6, 0xeaa127fa,
    0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665, 0xf4292244,
    0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb,
    0xeb86d391};

void storeLittleEndian(uint8_t* out, const uint32_t* words, int count) {
  for (int i = 0; i < count; ++i) {
    for (int b = 0; b < 4; ++b) out[i * 4 + b] = static_cast<uint8_t>(words[i] >> (8 * b));
  }
}

}  // namespace

void md5::init() {
  finalized_ = 0;
  bitCount_[0] = bitCount_[1] = 0;
  state_[0] = 0x67452301;
  state_[1] = 0xefcdab89;
  state_[2] = 0x98badcfe;
  state_[3] = 0x10325476;
}

void md5::transform(const uint8_t block[64]) {
  uint32_t x[16];
  std::memcpy(x, block, sizeof x);  // the words are little-endian, as on every Windows machine
  uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
  // One step of a round; the four rounds differ in their function and word order only. Spelled
  // out as four loops without branches so that the compiler unrolls them completely.
  auto step = [&](auto roundFunction, int i, int g) {
    a += sines[i] + x[g];  // independent of b, so it runs ahead of the round function
    a += roundFunction();
    const uint32_t next = b + rotateLeft(a, shifts[i]);
    a = d;
    d = c;
    c = b;
    b = next;
  };
#pragma GCC unroll 16
  for (int i = 0; i < 16; ++i) step([&] { return d ^ (b & (c ^ d)); }, i, i);
#pragma GCC unroll 16
  for (int i = 16; i < 32; ++i) step([&] { return (~d & c) + (d & b); }, i, (5 * i + 1) % 16);
#pragma GCC unroll 16
  for (int i = 32; i < 48; ++i) step([&] { return b ^ c ^ d; }, i, (3 * i + 5) % 16);
#pragma GCC unroll 16
  for (int i = 48; i < 64; ++i) step([&] { return c ^ (b | ~d); }, i, (7 * i) % 16);
  state_[0] += a;
  state_[1] += b;
  state_[2] += c;
  state_[3] += d;
}

void md5::update(const uint8_t* data, int32_t count) {
  if (count <= 0) return;
  const uint32_t length = static_cast<uint32_t>(count);
  size_t used = (bitCount_[0] >> 3) & 63;
  const uint32_t bits = length << 3;
  bitCount_[0] += bits;
  if (bitCount_[0] < bits) ++bitCount_[1];
  bitCount_[1] += length >> 29;

  size_t offset = 0;
  if (used + length >= 64) {
    const size_t fill = 64 - used;
    std::memcpy(buffer_ + used, data, fill);
    transform(buffer_);
    for (offset = fill; offset + 64 <= length; offset += 64) transform(data + offset);
    used = 0;
  }
  std::memcpy(buffer_ + used, data + offset, length - offset);
}

void md5::finalize() {
  if (finalized_) return;
  uint8_t lengthBytes[8];
  storeLittleEndian(lengthBytes, bitCount_, 2);
  static const uint8_t padding[64] = {0x80};
  const uint32_t used = (bitCount_[0] >> 3) & 63;
  const int32_t padLength = used < 56 ? 56 - used : 120 - used;
  update(padding, padLength);
  update(lengthBytes, 8);
  storeLittleEndian(digest_, state_, 4);
  std::memset(buffer_, 0, sizeof buffer_);
  bitCount_[0] = bitCount_[1] = 0;
  finalized_ = 1;
}

void md5::digestWords(uint32_t out[4]) const {
  for (int i = 0; i < 4; ++i) out[i] = state_[i];
}

std::string md5::hexDigest() const {
  char text[33];
  for (int i = 0; i < 16; ++i) std::snprintf(text + i * 2, 3, "%02x", digest_[i]);
  return std::string(text, 32);
}

std::string md5::hexOfDigestWords(const uint32_t words[4]) {
  storeLittleEndian(digest_, words, 4);
  return hexDigest();
}
