// Base64 with the standard alphabet of RFC 4648, "=" as padding and no line breaks.
#pragma once
#include <cstdint>

// Writes ((length + 2) / 3) * 4 characters and a NUL into output; returns the characters written.
uint32_t base64Encode(const uint8_t* input, uint32_t length, char* output);

// Decodes text of length characters into output, which holds (length / 4) * 3 bytes. Returns the
// bytes decoded, 0 on failure: a length of 0 or not a multiple of 4, or a character outside the
// alphabet before the first "=". The first "=" ends the text; of the characters of its group, two
// give one byte, three give two, a lone one gives none.
uint32_t base64Decode(const char* text, uint32_t length, uint8_t* output);
