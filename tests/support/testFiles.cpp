#include "testFiles.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <random>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#include <process.h>
#define processId _getpid
#else
#include <unistd.h>
#define processId getpid
#endif

namespace fs = std::filesystem;

scratchDir::scratchDir() {
  // Tests run as parallel processes whose clocks may read alike: a random part keeps their
  // folders apart, and create_directory refuses a name that is already taken.
  static std::atomic<int> counter{0};
  static const auto processPart =
      std::to_string(processId()) + "-" + std::to_string(std::random_device{}());
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (;;) {
    dir_ = fs::temp_directory_path() / ("morlo-test-" + processPart + "-" +
                                        std::to_string(stamp) + "-" + std::to_string(counter++));
    if (fs::create_directory(dir_)) break;
  }
}

scratchDir::~scratchDir() {
  std::error_code ignored;
  fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
  for (auto& entry : fs::recursive_directory_iterator(dir_, ignored))
    fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(dir_, ignored);
}

std::string scratchDir::file(const std::string& name) const {
  auto p = (dir_ / fs::path(std::u8string(name.begin(), name.end()))).u8string();
  return std::string(p.begin(), p.end());
}

bytes readFileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return bytes(std::istreambuf_iterator<char>(in), {});
}

void writeFileBytes(const fs::path& path, const bytes& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void setFileLength(const fs::path& path, uint64_t length) {
#ifdef _WIN32
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path.string());
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(length);
  const bool done = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  CloseHandle(file);
  if (!done) throw std::runtime_error("cannot set the length of " + path.string());
#else
  fs::resize_file(path, length);
#endif
}

bytes randomBytes(size_t count, uint32_t seed) {
  std::mt19937 gen(seed);
  bytes out(count);
  for (auto& b : out) b = static_cast<uint8_t>(gen());
  return out;
}

void putLe(bytes& out, uint64_t value, int width) {
  for (int i = 0; i < width; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void putText(bytes& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }

void putUtf16Le(bytes& out, std::u16string_view text) {
  for (char16_t unit : text) putLe(out, unit, 2);
}
