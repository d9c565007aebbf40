// Reading a file once, front to back, in pieces far smaller than a block, with its MD5 taken on a
// second thread. The pieces pass through a ring of a few buffers that stay from one pass to the
// next: the reading runs ahead of the digest while a buffer is free, so the digest never waits for
// a read, and the caller's own use of each piece (a comparison, a copy) never waits for the digest.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "md5.h"
#include "morloFile.h"

// Large enough that one system call moves a lot (Wine's calls cost more than Windows'), small
// enough that the ring stays a few MiB.
constexpr size_t defaultPieceStride = 1u << 20;

class pieceRing {
 public:
  // Pieces start stride bytes apart and are read up to length bytes long (length >= stride), so a
  // piece may run on into the next one: a run of bytes that starts in it also ends in it.
  void setPieces(size_t stride, size_t length);
  size_t length() const { return length_; }  // the most bytes a piece holds
  // Frees the buffers.
  void release();

  struct piece {
    const uint8_t* data;
    uint64_t position;  // in the file
    size_t own;         // the bytes up to the next piece's start
    size_t read;        // own and the bytes read on beyond them
  };
  using pieceUse = std::function<void(const piece&)>;
  // Reads [from, end) of the file. Each piece's own bytes go to the digest, when there is one, and
  // then every piece goes to each, in order, on the calling thread. With runOn the pieces also
  // carry the bytes up to length, never beyond end. False when a read failed.
  bool pass(morloFile& file, uint64_t from, uint64_t end, md5* digest, bool runOn,
            const pieceUse& each);

 private:
  // At least count buffers of at least size bytes.
  void reserve(size_t count, size_t size);

  size_t stride_ = defaultPieceStride;
  size_t length_ = defaultPieceStride;
  std::vector<std::unique_ptr<uint8_t[]>> slots_;
  size_t slotSize_ = 0;
};
