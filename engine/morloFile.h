// The files of the Morlo engine: opened by UTF-8 path through the wide system calls (so any
// script works whatever the process code page), read and written at explicit positions, and
// every failure reported by the result, including the one a close reveals.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class morloFile {
 public:
  // replace opens or creates a file without cutting it; the writer sets the final size with
  // resize. (A file cut to nothing when opened makes the file system write it all out at close.)
  // createNew makes a file that must not exist yet.
  enum class access { read, replace, createNew, readWrite };

  morloFile() = default;
  ~morloFile();
  morloFile(const morloFile&) = delete;
  morloFile& operator=(const morloFile&) = delete;

  bool open(const std::string& utf8Path, access how);
  bool isOpen() const;
  bool size(uint64_t& out) const;
  // Exactly count bytes at position; false on an error or at the end of the file.
  bool readAt(uint64_t position, void* data, size_t count);
  // Up to count bytes at position; got is 0 at the end of the file.
  bool readSomeAt(uint64_t position, void* data, size_t count, size_t& got);
  bool writeAt(uint64_t position, const void* data, size_t count);
  bool resize(uint64_t newSize);
  // False when the system reports a failure of the close.
  bool close();

 private:
  void* handle_ = nullptr;
};

// Sequential reading through a buffer, with cheap forward seeks that stay inside it.
class morloReader {
 public:
  explicit morloReader(size_t chunkSize) : chunkSize_(chunkSize) {}
  void start(morloFile& file, uint64_t position);
  void release();  // drops the file and frees the buffer

  uint64_t position() const { return position_; }
  void seek(uint64_t position) { position_ = position; }
  bool read(void* data, size_t count);
  bool readByte(uint8_t& value);
  bool readNumber(uint64_t& value, int width);
  // Reads up to and without the next byte 0, or to the end of the file; false when not one byte
  // was left to read.
  bool readLine(std::string& line);

 private:
  bool fill();  // loads the chunk at position_; false on an error or at the end

  size_t chunkSize_;
  morloFile* file_ = nullptr;
  std::vector<uint8_t> buffer_;
  uint64_t bufferStart_ = 0;
  size_t bufferLength_ = 0;
  uint64_t position_ = 0;
};

// Writing through a buffer that joins writes which follow one another, so that neighbouring
// records or a header of many small fields cost one system call.
class morloWriter {
 public:
  explicit morloWriter(size_t capacity) : capacity_(capacity) {}
  void start(morloFile& file, uint64_t position);
  void release();

  uint64_t position() const { return pendingStart_ + pending_.size(); }
  bool writeAt(uint64_t position, const void* data, size_t count);
  bool append(const void* data, size_t count) { return writeAt(position(), data, count); }
  bool append(const std::string& data) { return append(data.data(), data.size()); }
  bool flush();

 private:
  size_t capacity_;
  morloFile* file_ = nullptr;
  std::vector<uint8_t> pending_;
  uint64_t pendingStart_ = 0;
};
