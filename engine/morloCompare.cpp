#include "morloCompare.h"

#include <cstring>

namespace {

uint64_t loadWord(const uint8_t* data) {
  uint64_t word;
  std::memcpy(&word, data, sizeof word);
  return word;
}

}  // namespace

size_t firstDifference(const uint8_t* a, const uint8_t* b, size_t count) {
  size_t i = 0;
  for (; i + 32 <= count; i += 32) {
    const uint64_t any = (loadWord(a + i) ^ loadWord(b + i)) | (loadWord(a + i + 8) ^ loadWord(b + i + 8)) |
                         (loadWord(a + i + 16) ^ loadWord(b + i + 16)) |
                         (loadWord(a + i + 24) ^ loadWord(b + i + 24));
    if (any) break;
  }
  for (; i + 8 <= count; i += 8) {
    const uint64_t diff = loadWord(a + i) ^ loadWord(b + i);
    if (diff) return i + static_cast<size_t>(__builtin_ctzll(diff)) / 8;
  }
  for (; i < count; ++i)
    if (a[i] != b[i]) return i;
  return count;
}
