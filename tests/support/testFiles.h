// Scratch folders and whole-file reads and writes for tests.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

using bytes = std::vector<uint8_t>;

// A fresh folder, removed again when the object goes.
class scratchDir {
 public:
  scratchDir();
  ~scratchDir();
  scratchDir(const scratchDir&) = delete;
  scratchDir& operator=(const scratchDir&) = delete;
  const std::filesystem::path& path() const { return dir_; }
  // A path inside the folder, as a narrow (UTF-8) string for command lines.
  std::string file(const std::string& name) const;

 private:
  std::filesystem::path dir_;
};

bytes readFileBytes(const std::filesystem::path& path);
void writeFileBytes(const std::filesystem::path& path, const bytes& data);
// Sets a file's length, growing it sparsely. MinGW's resize_file first compares the growth with
// the free disk space, which makes large sparse test files fail at random when disks are busy.
void setFileLength(const std::filesystem::path& path, uint64_t length);
// Deterministic pseudo-random bytes.
bytes randomBytes(size_t count, uint32_t seed);

// Little-endian appends for building patches byte by byte.
void putLe(bytes& out, uint64_t value, int width);
void putText(bytes& out, const std::string& text);
// UTF-16LE code units, as the application's text files hold them.
void putUtf16Le(bytes& out, std::u16string_view text);
