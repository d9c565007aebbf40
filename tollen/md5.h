// MD5 message digest (RFC 1321), fed in pieces of any size.
#pragma once
#include <cstddef>
#include <cstdint>

struct md5Context {
  uint32_t state[4];
  uint64_t length;      // bytes fed so far
  uint8_t buffer[64];   // the unfinished block; length % 64 bytes of it are used
};

void md5ContextInit(md5Context* context);
void md5ContextUpdate(md5Context* context, const void* data, size_t size);
// Writes the 16 digest bytes; the context must be initialised again before reuse.
void md5ContextFinal(md5Context* context, uint8_t digest[16]);
