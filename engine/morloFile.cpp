#include "morloFile.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "textConvert.h"

namespace {

// One system call moves at most this much, well inside the 32-bit count of the calls. Writes
// go in smaller pieces: under Wine writes of 1 MiB and more are many times slower.
constexpr size_t maxRead = 64u << 20;
constexpr size_t maxWrite = 256u << 10;

// Seeking and then reading or writing is cheaper under Wine than a call with an offset.
bool seekTo(HANDLE file, uint64_t position) {
  LARGE_INTEGER place;
  place.QuadPart = static_cast<LONGLONG>(position);
  return SetFilePointerEx(file, place, nullptr, FILE_BEGIN);
}

}  // namespace

morloFile::~morloFile() { close(); }

bool morloFile::open(const std::string& utf8Path, access how) {
  close();
  if (utf8Path.empty()) return false;
  DWORD rights = GENERIC_READ, share = FILE_SHARE_READ, disposition = OPEN_EXISTING;
  DWORD attributes = FILE_ATTRIBUTE_NORMAL;
  switch (how) {
    case access::read:
      share |= FILE_SHARE_WRITE;
      attributes |= FILE_FLAG_SEQUENTIAL_SCAN;
      break;
    case access::replace:
      rights = GENERIC_WRITE;
      disposition = OPEN_ALWAYS;
      break;
    case access::createNew:
      rights = GENERIC_WRITE;
      disposition = CREATE_NEW;
      break;
    case access::readWrite:
      rights |= GENERIC_WRITE;
      break;
  }
  HANDLE h = CreateFileW(fromUtf8(utf8Path).c_str(), rights, share, nullptr, disposition,
                         attributes, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  handle_ = h;
  return true;
}

bool morloFile::isOpen() const { return handle_ != nullptr; }

bool morloFile::size(uint64_t& out) const {
  LARGE_INTEGER value;
  if (!handle_ || !GetFileSizeEx(handle_, &value)) return false;
  out = static_cast<uint64_t>(value.QuadPart);
  return true;
}

bool morloFile::readSomeAt(uint64_t position, void* data, size_t count, size_t& got) {
  got = 0;
  if (!handle_) return false;
  if (!seekTo(handle_, position)) return false;
  auto* out = static_cast<uint8_t*>(data);
  while (got < count) {
    DWORD done = 0;
    const DWORD want = static_cast<DWORD>(std::min(count - got, maxRead));
    if (!ReadFile(handle_, out + got, want, &done, nullptr)) return false;
    if (done == 0) break;  // the end of the file
    got += done;
  }
  return true;
}

bool morloFile::readAt(uint64_t position, void* data, size_t count) {
  size_t got = 0;
  return readSomeAt(position, data, count, got) && got == count;
}

bool morloFile::writeAt(uint64_t position, const void* data, size_t count) {
  if (!handle_ || !seekTo(handle_, position)) return false;
  const auto* in = static_cast<const uint8_t*>(data);
  for (size_t written = 0; written < count;) {
    DWORD done = 0;
    const DWORD want = static_cast<DWORD>(std::min(count - written, maxWrite));
    if (!WriteFile(handle_, in + written, want, &done, nullptr) || done == 0) return false;
    written += done;
  }
  return true;
}

bool morloFile::resize(uint64_t newSize) {
  return handle_ && seekTo(handle_, newSize) && SetEndOfFile(handle_);
}

bool morloFile::close() {
  if (!handle_) return true;
  const bool closed = CloseHandle(handle_);
  handle_ = nullptr;
  return closed;
}

void morloReader::start(morloFile& file, uint64_t position) {
  file_ = &file;
  bufferStart_ = position;
  bufferLength_ = 0;
  position_ = position;
}

void morloReader::release() {
  file_ = nullptr;
  bufferLength_ = 0;
  std::vector<uint8_t>().swap(buffer_);
}

bool morloReader::fill() {
  if (!file_) return false;
  if (buffer_.size() != chunkSize_) buffer_.resize(chunkSize_);
  bufferStart_ = position_;
  bufferLength_ = 0;
  return file_->readSomeAt(position_, buffer_.data(), buffer_.size(), bufferLength_) &&
         bufferLength_ > 0;
}

bool morloReader::read(void* data, size_t count) {
  auto* out = static_cast<uint8_t*>(data);
  while (count > 0) {
    if (position_ < bufferStart_ || position_ >= bufferStart_ + bufferLength_) {
      // A request larger than the buffer goes straight to the file.
      if (count >= chunkSize_) {
        if (!file_ || !file_->readAt(position_, out, count)) return false;
        position_ += count;
        return true;
      }
      if (!fill()) return false;
    }
    const size_t offset = static_cast<size_t>(position_ - bufferStart_);
    const size_t take = std::min(count, bufferLength_ - offset);
    std::memcpy(out, buffer_.data() + offset, take);
    out += take;
    count -= take;
    position_ += take;
  }
  return true;
}

bool morloReader::readByte(uint8_t& value) { return read(&value, 1); }

bool morloReader::readNumber(uint64_t& value, int width) {
  uint8_t raw[8] = {};
  if (!read(raw, static_cast<size_t>(width))) return false;
  value = 0;
  for (int i = width - 1; i >= 0; --i) value = (value << 8) | raw[i];
  return true;
}

bool morloReader::readLine(std::string& line) {
  line.clear();
  bool any = false;
  uint8_t byte = 0;
  while (readByte(byte)) {
    any = true;
    if (byte == 0) break;
    line.push_back(static_cast<char>(byte));
  }
  return any;
}

void morloWriter::start(morloFile& file, uint64_t position) {
  file_ = &file;
  pending_.clear();
  pending_.reserve(capacity_);
  pendingStart_ = position;
}

void morloWriter::release() {
  file_ = nullptr;
  std::vector<uint8_t>().swap(pending_);
}

bool morloWriter::flush() {
  if (pending_.empty()) return true;
  if (!file_ || !file_->writeAt(pendingStart_, pending_.data(), pending_.size())) return false;
  pendingStart_ += pending_.size();
  pending_.clear();
  return true;
}

bool morloWriter::writeAt(uint64_t position, const void* data, size_t count) {
  if (position != this->position() || pending_.size() + count > capacity_) {
    if (!flush()) return false;
    pendingStart_ = position;
  }
  if (count >= capacity_) {
    if (!file_ || !file_->writeAt(position, data, count)) return false;
    pendingStart_ = position + count;
    return true;
  }
  const auto* in = static_cast<const uint8_t*>(data);
  pending_.insert(pending_.end(), in, in + count);
  return true;
}
