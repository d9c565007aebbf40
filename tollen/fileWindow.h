// One piece of a file held in memory, 64 KiB long. Reads are served from it and changes collect
// in it, so the small records that fall into one piece cost one read and one write, where a seek
// through a buffered file drops what the buffer held and costs system calls for each record
// (under Wine a call costs more than copying a few KiB). Larger pieces gain nothing on records
// in order and cost more on records out of order.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

class fileWindow {
 public:
  // Starts over on `file`, holding nothing; changes not yet written are dropped.
  void attach(FILE* file);
  // Up to `count` bytes from `offset`, fewer where the window ends. When `offset` lies outside
  // the window, its changes are written and the window is loaded from there. Bytes past the
  // file's end read as zeros. Null on failure (see failure()).
  uint8_t* bytesAt(int64_t offset, size_t& count);
  // Whether the file itself held these bytes of the window when they were loaded.
  bool heldByFile(int64_t offset, size_t count) const;
  // Marks bytes that bytesAt returned as changed.
  void changed(int64_t offset, size_t count);
  // Writes the changed bytes to the file.
  bool flush();
  // What the last failure was: "read" or "write".
  const char* failure() const { return failure_; }

 private:
  bool load(int64_t offset);

  FILE* file_ = nullptr;
  std::vector<uint8_t> bytes_;
  bool holding_ = false;
  int64_t start_ = 0;
  size_t fromFile_ = 0;  // bytes loaded from the file; the rest of the window are zeros
  size_t changedStart_ = 0;
  size_t changedEnd_ = 0;  // equal to changedStart_ when nothing changed
  const char* failure_ = "read";
};
