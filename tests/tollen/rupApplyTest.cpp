#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

#include "rupPatchWriter.h"

namespace fs = std::filesystem;

namespace {
const std::string badPatch = rupPatching + "   Error: Bad patch\n";
const std::string badChecksum = rupPatching + "   Error: Checksum is not correct\n";

bytes changed(bytes data, size_t size, uint32_t seed) {
  bytes noise = randomBytes(data.size(), seed);
  for (size_t i = 0; i < data.size(); i += 97) data[i] ^= noise[i] | 1;
  size_t old = data.size();
  data.resize(size);
  if (size > old) {
    bytes tail = randomBytes(size - old, seed + 1);
    std::copy(tail.begin(), tail.end(), data.begin() + std::ptrdiff_t(old));
  }
  return data;
}

// Applies the patch forward and then once more, which undoes it.
void expectRoundTrip(const bytes& patch, const bytes& source, const bytes& target) {
  rupFolder f;
  auto r = f.apply(patch, source);
  EXPECT_EQ(r.out, rupPatching + rupSuccessLine);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(f.imageNow(), target);
  r = f.run({f.patch, f.image});
  EXPECT_EQ(r.out, rupPatching + rupSuccessLine);
  EXPECT_EQ(f.imageNow(), source);
  EXPECT_FALSE(f.tempLeft());
}

bool canWrite(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "r+b");
  if (file) std::fclose(file);
  return file != nullptr;
}

// Keeps others from writing a file while it lives: a handle that denies write sharing on
// Windows (an administrator may write read-only files), the permission bits elsewhere.
class writeBlocker {
 public:
  explicit writeBlocker(const std::string& path) : path_(path) {
#ifdef _WIN32
    handle_ = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
#else
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
#endif
  }
  ~writeBlocker() {
#ifdef _WIN32
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
#else
    fs::permissions(path_, fs::perms::owner_write, fs::perm_options::add);
#endif
  }
  writeBlocker(const writeBlocker&) = delete;
  writeBlocker& operator=(const writeBlocker&) = delete;

 private:
  std::string path_;
#ifdef _WIN32
  HANDLE handle_;
#endif
};
}  // namespace

TEST(rupApply, longerAndShorterTargetsAreAppliedAndUndone) {
  bytes source = randomBytes(3000, 1);
  bytes longer = changed(source, 3500, 2);
  expectRoundTrip(singleFilePatch(0, source, longer), source, longer);
  bytes shorter = changed(source, 1200, 3);
  expectRoundTrip(singleFilePatch(2, source, shorter), source, shorter);
  bytes same = changed(source, 3000, 4);
  expectRoundTrip(singleFilePatch(10, source, same), source, same);
}

TEST(rupApply, largeXorRecordsAndRecordsPastTheEnd) {
  // One record far larger than any buffer of the applier.
  bytes source = randomBytes(200000, 5);
  bytes target = changed(source, 200000, 6);
  bytes patch = rupHeader();
  putOpenFile(patch, "", 0, source, target);
  bytes change(source.size());
  for (size_t i = 0; i < source.size(); ++i) change[i] = source[i] ^ target[i];
  putXor(patch, 0, change);
  patch.push_back(0x00);
  expectRoundTrip(patch, source, target);

  // A record that runs past the file's end combines with zeros there; undo cuts back.
  bytes small = randomBytes(100, 7);
  bytes grown = randomBytes(150, 8);
  patch = rupHeader();
  putOpenFile(patch, "", 0, small, grown);
  change = grown;
  for (size_t i = 0; i < small.size(); ++i) change[i] ^= small[i];
  putXor(patch, 0, change);
  expectRoundTrip(patch, small, grown);  // no end byte: the patch's end closes the file
}

TEST(rupApply, numbersMayCarryZeroBytesBeyondTheFourth) {
  bytes source = randomBytes(64, 9), target = source;
  target[40] ^= 0x55;
  bytes patch = rupHeader();
  putOpenFile(patch, "", 0, source, target);
  patch.insert(patch.end(), {0x02, 6, 40, 0, 0, 0, 0, 0, 1, 1, 0x55, 0x00});
  expectRoundTrip(patch, source, target);
}

TEST(rupApply, metadataIsShownWithDateAndDescriptionLines) {
  rupMetadata meta;
  meta.author = "Someone";
  meta.version = "12345678901";  // fills its field: no terminating zero in the patch
  meta.title = "Hack";
  meta.language = "English";
  meta.date = "20240131";
  meta.website = "http://example.org";
  meta.description = "First\\nSecond";
  const std::string shown =
      "   RUP patch information:\n"
      "   Author: Someone\n"
      "   Version: 12345678901\n"
      "   Title: Hack\n"
      "   Language: English\n"
      "   Date: 2024.01.31 (YYYYMMDD)\n"
      "   Website: http://example.org\n"
      "\n   Description:\n   First\n   Second\n";
  rupFolder f;
  bytes source = randomBytes(50, 10);
  bytes target = changed(source, 50, 11);
  writeFileBytes(f.patch, singleFilePatch(0, source, target, meta));
  writeFileBytes(f.image, source);
  auto r = f.run({f.patch, "s"});
  EXPECT_EQ(r.out, shown);
  EXPECT_EQ(f.imageNow(), source);

  r = f.run({f.patch, f.image});
  EXPECT_EQ(r.out, shown + "\n   Patching...\n" + rupSuccessLine);

  rupMetadata other;
  other.date = "2024";
  writeFileBytes(f.patch, rupHeader(other));
  EXPECT_EQ(f.run({f.patch, "s"}).out, "   RUP patch information:\n   Date: 2024\n");
  // A cut header shows the fields that are whole.
  bytes cut = rupHeader(meta);
  cut.resize(110);
  writeFileBytes(f.patch, cut);
  EXPECT_EQ(f.run({f.patch, "s"}).out, "   RUP patch information:\n   Author: Someone\n   Version: 12345678901\n");
}

TEST(rupApply, patchesThatCannotBeRead) {
  rupFolder f;
  writeFileBytes(f.image, bytes(10, 1));
  auto r = f.run({f.dir.file("missing.rup"), f.image});
  EXPECT_EQ(r.out, "   Error: Unreadable patch file\n");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(f.run({f.dir.file("missing.rup"), "s"}).out, "");
  bytes wrong = rupHeader();
  wrong[5] = '1';
  writeFileBytes(f.patch, wrong);
  EXPECT_EQ(f.run({f.patch, f.image}).out, "   Error: Rup wrong format\n");
  EXPECT_EQ(f.run({f.patch, "s"}).out, "");
  writeFileBytes(f.patch, bytes{'N', 'I', 'N'});
  EXPECT_EQ(f.run({f.patch, f.image}).out, "   Error: Rup wrong format\n");
  // Only "patch rom" and "patch s" do anything.
  writeFileBytes(f.patch, singleFilePatch(0, bytes(10, 1), bytes(10, 2)));
  EXPECT_EQ(f.run({f.patch}).out, "");
  EXPECT_EQ(f.run({f.patch, f.image, "x"}).out, "");
  EXPECT_EQ(f.imageNow(), bytes(10, 1));
}

TEST(rupApply, emptyCommandStreamChangesNothing) {
  rupFolder f;
  bytes patch = rupHeader();
  patch.push_back(0x00);
  patch.push_back(0x07);  // after the end: never read
  auto r = f.apply(patch, bytes(20, 3));
  EXPECT_EQ(r.out, rupPatching + rupSuccessLine);
  EXPECT_EQ(f.imageNow(), bytes(20, 3));
}

TEST(rupApply, wrongImageIsRefusedUntouched) {
  rupFolder f;
  bytes source = randomBytes(500, 12);
  bytes patch = singleFilePatch(0, source, changed(source, 600, 13));
  bytes other = changed(source, 500, 14);
  auto r = f.apply(patch, other);
  EXPECT_EQ(r.out, badChecksum);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(f.imageNow(), other);
  EXPECT_FALSE(f.tempLeft());
}

// Every damage is found before the file is touched, even after records that would apply.
TEST(rupApply, damagedPatchesChangeNothing) {
  bytes source = randomBytes(400, 15);
  bytes target = changed(source, 450, 16);
  bytes good = singleFilePatch(0, source, target);
  bytes records = rupHeader();
  putOpenFile(records, "", 0, source, target);
  putChanges(records, source, target);
  auto openedWith = [&](const std::string& name) {
    bytes p = rupHeader();
    putOpenFile(p, name, 0, source, target);
    return p;
  };
  auto plus = [](bytes p, const bytes& more) {
    p.insert(p.end(), more.begin(), more.end());
    return p;
  };

  std::vector<std::pair<std::string, bytes>> damaged = {
      {"unknown command", plus(records, {0x07})},
      {"cut in XOR data", bytes(good.begin(), good.end() - 20)},
      {"cut in a digest", bytes(good.begin(), good.begin() + 2048 + 10)},
      {"cut in a number", plus(records, {0x02, 4, 1, 2})},
      {"number beyond 32 bits", plus(records, {0x02, 5, 0, 0, 0, 0, 1, 1, 1, 0xFF})},
      {"XOR past both sizes", plus(records, {0x02, 2, 0xC2, 0x01, 1, 1, 0xFF})},
      {"XOR before a file", plus(rupHeader(), {0x02, 1, 0, 1, 1, 0xFF})},
      {"block before a file", plus(rupHeader(), {'A', 1, 1, 0xFF})},
      {"block longer than the patch", plus(records, {'A', 2, 0xFF, 0xFF, 0})},
      {"name longer than the patch", plus(rupHeader(), {0x01, 1, 0x20, 'a', 'b'})},
      {"parent folder", openedWith("../game.bin")},
      {"inner parent folder", openedWith("sub\\..\\..\\game.bin")},
      {"absolute name", openedWith("/game.bin")},
      {"drive letter", openedWith("C:game.bin")},
      {"header cut short", bytes(good.begin(), good.begin() + 1000)},
  };
  for (const auto& [what, patch] : damaged) {
    rupFolder f;
    auto r = f.apply(patch, source);
    EXPECT_EQ(r.out, badPatch) << what;
    EXPECT_EQ(r.exitCode, 0) << what;
    EXPECT_EQ(f.imageNow(), source) << what;
    EXPECT_FALSE(f.tempLeft()) << what;
  }
}

TEST(rupApply, missingTargetIsReported) {
  rupFolder f;
  bytes source = randomBytes(100, 17);
  writeFileBytes(f.patch, singleFilePatch(0, source, changed(source, 120, 18)));
  auto r = f.run({f.patch, f.dir.file("missing.bin")});
  EXPECT_EQ(r.out.rfind(rupPatching + "   Error: Can't open ", 0), 0u) << r.out;
  EXPECT_EQ(r.out.find("successfully"), std::string::npos);

  // A name in the record makes the ROM argument a folder; a file there is no folder.
  bytes named = rupHeader();
  putOpenFile(named, "game.bin", 0, source, source);
  writeFileBytes(f.patch, named);
  writeFileBytes(f.image, source);
  r = f.run({f.patch, f.image});
  EXPECT_EQ(r.out.rfind(rupPatching + "   Error: Can't open ", 0), 0u) << r.out;
}

TEST(rupApply, unwritableTargetIsLeftAlone) {
  rupFolder f;
  bytes source = randomBytes(100, 17);
  writeFileBytes(f.image, source);
  for (int type : {0, 9}) {
    writeFileBytes(f.patch, singleFilePatch(type, source, changed(source, 120, 18)));
    writeBlocker blocked(f.image);
    if (canWrite(f.image)) GTEST_SKIP() << "this user may write read-only files";
    auto r = f.run({f.patch, f.image});
    EXPECT_EQ(r.out.rfind(rupPatching + "   Error: Can't open ", 0), 0u) << r.out;
    EXPECT_EQ(f.imageNow(), source);
    EXPECT_FALSE(f.tempLeft());
  }
}

// A device that takes no byte: the failed write is reported and never called a success.
TEST(rupApply, failedWriteIsReported) {
#ifdef _WIN32
  const std::string full = "Z:\\dev\\full";
#else
  const std::string full = "/dev/full";
#endif
  rupFolder f;
  bytes patch = rupHeader();
  putOpenFile(patch, "", 0, {}, {1, 2, 3});
  putXor(patch, 0, {1, 2, 3});
  writeFileBytes(f.patch, patch);
  auto r = f.run({f.patch, full});
  EXPECT_EQ(r.out.rfind(rupPatching + "   Error: Can't write ", 0), 0u) << r.out;
  EXPECT_EQ(r.out.find("successfully"), std::string::npos);
}

// Sizes in a patch are 32-bit, so a file of 4 GiB is refused before it is read. The file
// is sparse: it takes no room on the disk.
TEST(rupApply, filesOfFourGibibytesAreRefusedUnread) {
  rupFolder f;
  writeFileBytes(f.image, {});
  const uintmax_t size = uintmax_t(1) << 32;
  setFileLength(f.image, size);
  for (int type : {0, 3}) {
    writeFileBytes(f.patch, singleFilePatch(type, bytes(10, 1), bytes(10, 2)));
    auto r = f.run({f.patch, f.image});
    EXPECT_EQ(r.out.rfind(rupPatching + "   Error: ", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("too big"), std::string::npos) << r.out;
    EXPECT_EQ(fs::file_size(f.image), size);
    EXPECT_FALSE(f.tempLeft());
  }
}

TEST(rupApply, leftoverTemporaryImageIsNeitherUsedNorKept) {
  bytes source = randomBytes(700, 19);
  bytes target = changed(source, 650, 20);
  for (int type : {0, 4}) {
    rupFolder f;
    writeFileBytes(f.dir.path() / "ninja.src", target);
    auto r = f.apply(singleFilePatch(type, source, target), source);
    EXPECT_EQ(r.out, rupPatching + rupSuccessLine) << type;
    EXPECT_EQ(f.imageNow(), target) << type;
    EXPECT_FALSE(f.tempLeft()) << type;
  }
  rupFolder f;
  writeFileBytes(f.dir.path() / "ninja.src", source);
  EXPECT_EQ(f.apply(singleFilePatch(4, source, target), changed(source, 700, 21)).out, badChecksum);
  EXPECT_FALSE(f.tempLeft());
}

TEST(rupApply, multiFilePatchAddressesFilesInTheFolder) {
  rupFolder f;
  fs::path roms = f.dir.path() / "roms";
  fs::create_directories(roms / "sub");
  bytes a = randomBytes(300, 22), b = randomBytes(200, 23);
  bytes a2 = changed(a, 350, 24), b2 = changed(b, 100, 25);
  bytes patch = rupHeader();
  putOpenFile(patch, "a.bin", 0, a, a2);
  putChanges(patch, a, a2);
  putOpenFile(patch, "sub/b.bin", 0, b, b2);
  putChanges(patch, b, b2);
  patch.push_back(0x00);
  writeFileBytes(f.patch, patch);
  writeFileBytes(roms / "a.bin", a);
  writeFileBytes(roms / "sub" / "b.bin", b);
  std::string folder = f.dir.file("roms");
  EXPECT_EQ(f.run({f.patch, folder}).out, rupPatching + rupSuccessLine);
  EXPECT_EQ(readFileBytes(roms / "a.bin"), a2);
  EXPECT_EQ(readFileBytes(roms / "sub" / "b.bin"), b2);
  EXPECT_EQ(f.run({f.patch, folder}).out, rupPatching + rupSuccessLine);
  EXPECT_EQ(readFileBytes(roms / "a.bin"), a);
  EXPECT_EQ(readFileBytes(roms / "sub" / "b.bin"), b);

  // A later file that does not match stops the run; the earlier one keeps its change.
  bytes wrongB = changed(b, 200, 26);
  writeFileBytes(roms / "sub" / "b.bin", wrongB);
  EXPECT_EQ(f.run({f.patch, folder}).out, badChecksum);
  EXPECT_EQ(readFileBytes(roms / "a.bin"), a2);
  EXPECT_EQ(readFileBytes(roms / "sub" / "b.bin"), wrongB);
}

// Records in any order, overlapping or crossing each other, over images far larger than what the
// applier holds of a file at once: each record must see the bytes that the ones before it left.
// The second case puts the image behind a 64-byte header.
TEST(rupApply, recordsInAnyOrderOverLargeImages) {
  const size_t sourceSize = 700000, targetSize = 850000;
  const bytes source = randomBytes(sourceSize, 31);
  const std::vector<std::pair<size_t, size_t>> records = {  // offset and size
      {699000, 10}, {660000, 10}, {650000, 30}, {10, 5}, {65530, 20},
      {10, 5}, {100000, 300000}, {200000, 100}, {sourceSize - 10, 25}};
  bytes target = source;
  target.resize(targetSize);
  bytes changes;
  uint32_t seed = 40;
  for (auto [offset, size] : records) {
    bytes data = randomBytes(size, seed++);
    for (size_t i = 0; i < size; ++i) target[offset + i] ^= data[i];
    putXor(changes, offset, data);
  }
  // The tail is written at the source's end at close, over what the last record put there.
  bytes tail = randomBytes(targetSize - sourceSize, seed);
  std::copy(tail.begin(), tail.end(), target.begin() + std::ptrdiff_t(sourceSize));
  putOverflow(changes, 'A', tail);

  bytes lynx(64, 0);
  std::copy_n("LYNX", 4, lynx.begin());
  for (const auto& [type, header] : {std::pair{0, bytes()}, std::pair{9, lynx}}) {
    bytes patch = rupHeader();
    putOpenFile(patch, "", type, source, target);
    SCOPED_TRACE(type);
    expectRoundTrip(concat(patch, changes), concat(header, source), concat(header, target));
  }
}
