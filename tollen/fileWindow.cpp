#include "fileWindow.h"

#include <algorithm>
#include <cstring>

#include "platform.h"

namespace {
const size_t windowSize = size_t(1) << 16;
}  // namespace

void fileWindow::attach(FILE* file) {
  file_ = file;
  holding_ = false;
  changedStart_ = changedEnd_ = 0;
}

bool fileWindow::load(int64_t offset) {
  if (!flush()) return false;
  holding_ = false;
  failure_ = "read";
  bytes_.resize(windowSize);
  if (seekFile(file_, offset, SEEK_SET) != 0) return false;
  fromFile_ = std::fread(bytes_.data(), 1, windowSize, file_);
  if (std::ferror(file_)) return false;
  std::memset(bytes_.data() + fromFile_, 0, windowSize - fromFile_);
  start_ = offset;
  holding_ = true;
  return true;
}

uint8_t* fileWindow::bytesAt(int64_t offset, size_t& count) {
  bool inside = holding_ && offset >= start_ && offset - start_ < int64_t(windowSize);
  if (!inside && !load(offset)) return nullptr;
  size_t at = size_t(offset - start_);
  count = std::min(count, windowSize - at);
  return bytes_.data() + at;
}

bool fileWindow::heldByFile(int64_t offset, size_t count) const {
  return holding_ && offset >= start_ && uint64_t(offset - start_) + count <= fromFile_;
}

void fileWindow::changed(int64_t offset, size_t count) {
  size_t at = size_t(offset - start_);
  if (changedStart_ == changedEnd_) {
    changedStart_ = at;
    changedEnd_ = at + count;
  } else {
    changedStart_ = std::min(changedStart_, at);
    changedEnd_ = std::max(changedEnd_, at + count);
  }
}

bool fileWindow::flush() {
  if (changedStart_ == changedEnd_) return true;
  failure_ = "write";
  size_t count = changedEnd_ - changedStart_;
  if (seekFile(file_, start_ + int64_t(changedStart_), SEEK_SET) != 0 ||
      std::fwrite(bytes_.data() + changedStart_, 1, count, file_) != count || std::fflush(file_) != 0)
    return false;
  changedStart_ = changedEnd_ = 0;
  return true;
}
