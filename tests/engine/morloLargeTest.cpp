// Large: a round trip over 4 GiB, where counts and sizes take 8 bytes (flags bit 3) and a gap
// needs 5 bytes. The files are sparse, but the test asks for the room they could take.
#include <filesystem>
#include <fstream>

#include "morloTestHelpers.h"

namespace {

namespace fs = std::filesystem;

constexpr uint64_t overFourGiB = (4ull << 30) + 4096;

void writeAt(const fs::path& path, uint64_t offset, const bytes& data) {
  std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
  file.seekp(static_cast<std::streamoff>(offset));
  file.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  ASSERT_TRUE(file.good());
}

fs::path sparseFile(const scratchDir& dir, const std::string& name, uint64_t size) {
  const fs::path path = widePath(dir.file(name));
  std::ofstream(path, std::ios::binary).put('\0');
  setFileLength(path, size);
  return path;
}

bool sameContent(const fs::path& a, const fs::path& b) {
  if (fs::file_size(a) != fs::file_size(b)) return false;
  std::ifstream first(a, std::ios::binary), second(b, std::ios::binary);
  std::vector<char> x(16 << 20), y(16 << 20);
  while (first && second) {
    first.read(x.data(), static_cast<std::streamsize>(x.size()));
    second.read(y.data(), static_cast<std::streamsize>(y.size()));
    if (first.gcount() != second.gcount() || !std::equal(x.begin(), x.begin() + first.gcount(), y.begin()))
      return false;
  }
  return true;
}

}  // namespace

TEST(morloLarge, roundTripOverFourGiB) {
  if (fs::space(fs::temp_directory_path()).available < (20ull << 30))
    GTEST_SKIP() << "needs 20 GiB of free disk";
  scratchDir dir;
  const fs::path original = sparseFile(dir, "original.bin", overFourGiB);
  const fs::path modified = sparseFile(dir, "modified.bin", overFourGiB + 1000);
  writeAt(original, 7, randomBytes(300, 51));
  writeAt(modified, 7, randomBytes(300, 52));
  writeAt(modified, (1ull << 32) + 600, randomBytes(20, 53));  // a gap over 2^32
  writeAt(modified, overFourGiB, randomBytes(1000, 54));       // the tail

  morloRun run;
  const std::string patch = dir.file("large.ml");
  ASSERT_EQ(run.create(dir.file("original.bin"), dir.file("modified.bin"), patch).text, L"");
  const bytes written = readFileBytes(widePath(patch));
  ASSERT_GT(written.size(), 4u);
  EXPECT_EQ(written[3], 0x08 | 0x10 | 4);  // 8-byte fields, tail, 5-byte gaps

  ASSERT_EQ(run.apply(patch, dir.file("original.bin")).text, L"");
  EXPECT_TRUE(sameContent(original, modified));
}
