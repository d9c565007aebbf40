#include "base64.h"

namespace {

constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The 6-bit value of a character of the alphabet, -1 for any other.
int sextet(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

uint32_t base64Encode(const uint8_t* input, uint32_t length, char* output) {
  uint32_t written = 0;
  for (uint32_t i = 0; i < length; i += 3) {
    const uint32_t left = length - i;
    const uint32_t group = uint32_t(input[i]) << 16 | (left > 1 ? uint32_t(input[i + 1]) << 8 : 0) |
                           (left > 2 ? input[i + 2] : 0);
    output[written++] = alphabet[group >> 18];
    output[written++] = alphabet[(group >> 12) & 63];
    output[written++] = left > 1 ? alphabet[(group >> 6) & 63] : '=';
    output[written++] = left > 2 ? alphabet[group & 63] : '=';
  }
  output[written] = '\0';
  return written;
}

uint32_t base64Decode(const char* text, uint32_t length, uint8_t* output) {
  if (length == 0 || length % 4 != 0) return 0;
  uint32_t decoded = 0;
  for (uint32_t group = 0; group < length; group += 4) {
    uint32_t bits = 0;
    int taken = 0;
    for (; taken < 4; ++taken) {
      const char c = text[group + taken];
      if (c == '=') break;
      const int value = sextet(c);
      if (value < 0) return 0;
      bits = bits << 6 | uint32_t(value);
    }
    bits <<= 6 * (4 - taken);
    // Of a group, every character after the first completes one more byte.
    for (int b = 0; b + 1 < taken; ++b) output[decoded++] = static_cast<uint8_t>(bits >> (16 - 8 * b));
    if (taken < 4) break;  // the first "=" ends the text
  }
  return decoded;
}
