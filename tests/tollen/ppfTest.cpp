#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "processRunner.h"
#include "testFiles.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {
struct ppfRecord {
  uint64_t offset;
  bytes data;
};

constexpr size_t binCheckOffset = 0x9320;
constexpr size_t otherCheckOffset = 0x80A0;

void putHeader(bytes& p, char version, const std::string& description) {
  putText(p, std::string("PPF") + version + "0");
  p.push_back(version - '1');
  std::string field = description;
  field.resize(50, '\0');
  putText(p, field);
}

void putDiz(bytes& p, const std::string& text, int lengthWidth) {
  putText(p, "@BEGIN_FILE_ID.DIZ" + text + "@END_FILE_ID.DIZ");
  putLe(p, text.size(), lengthWidth);
}

// Records with 4-byte (PPF 1.0, 2.0) or 8-byte offsets; with `undoFrom`, each carries the
// original image's bytes after its new ones.
void putRecords(bytes& p, const std::vector<ppfRecord>& records, int offsetWidth, const bytes* undoFrom = nullptr) {
  for (const auto& r : records) {
    putLe(p, r.offset, offsetWidth);
    p.push_back(static_cast<uint8_t>(r.data.size()));
    p.insert(p.end(), r.data.begin(), r.data.end());
    if (undoFrom) p.insert(p.end(), undoFrom->begin() + r.offset, undoFrom->begin() + r.offset + r.data.size());
  }
}

bytes ppf1(const std::string& description, const std::vector<ppfRecord>& records) {
  bytes p;
  putHeader(p, '1', description);
  putRecords(p, records, 4);
  return p;
}

bytes ppf2(const std::string& description, uint32_t imageSize, const bytes& checkBlock,
           const std::vector<ppfRecord>& records, const std::string& diz = "") {
  bytes p;
  putHeader(p, '2', description);
  putLe(p, imageSize, 4);
  p.insert(p.end(), checkBlock.begin(), checkBlock.end());
  putRecords(p, records, 4);
  if (!diz.empty()) putDiz(p, diz, 4);
  return p;
}

struct ppf3Options {
  uint8_t imageType = 0;
  bytes checkBlock;  // empty: no block check
  const bytes* undoFrom = nullptr;
  std::string diz;
};

bytes ppf3(const std::string& description, const std::vector<ppfRecord>& records, const ppf3Options& o = {}) {
  bytes p;
  putHeader(p, '3', description);
  p.insert(p.end(), {o.imageType, uint8_t(o.checkBlock.empty() ? 0 : 1), uint8_t(o.undoFrom ? 1 : 0), 0});
  p.insert(p.end(), o.checkBlock.begin(), o.checkBlock.end());
  putRecords(p, records, 8, o.undoFrom);
  if (!o.diz.empty()) putDiz(p, o.diz, 2);
  return p;
}

bytes applied(bytes image, const std::vector<ppfRecord>& records) {
  for (const auto& r : records) std::copy(r.data.begin(), r.data.end(), image.begin() + r.offset);
  return image;
}

bytes blockAt(const bytes& image, size_t offset) { return bytes(image.begin() + offset, image.begin() + offset + 1024); }

std::string v3Header(const char* operation, const char* undo, const std::string& description) {
  return std::string("   Patch type: PPF 3.0\n   Operation: ") + operation + "\n   Undo operation: " + undo +
         "\n   Description: " + description + "\n";
}

const std::string information = "   Patch information:\n\n";
const std::string noDiz = "   File_id.diz: not available\n\n";
const std::string success = "   Progress: (100%) \r\n   Patching is successfully finished!\n";
const std::string smallSuccess = "   Progress: (100%) \r" + success;
const std::string binQuestion = "   Binblock/Patchvalidation failed. continue ? (y/n)\n";
const std::string aborted = "   Aborted...\n";

class ppfTest : public ::testing::Test {
 protected:
  scratchDir dir;
  std::string patch = dir.file("patch.ppf");
  std::string image = dir.file("game.bin");
  bytes original = randomBytes(40000, 7);

  void SetUp() override { writeFileBytes(image, original); }
  processResult run(const std::vector<std::string>& args, const std::string& input = "") {
    return runProcess(builtProgramPath("tollen"), args, input);
  }
  processResult apply(const bytes& patchBytes, const std::string& input = "", const char* command = nullptr) {
    writeFileBytes(patch, patchBytes);
    if (command) return run({patch, image, command}, input);
    return run({patch, image}, input);
  }
  bytes result() { return readFileBytes(image); }
};

const std::vector<ppfRecord> someRecords = {{0, {1, 2, 3}}, {39997, {4, 5, 6}}};

TEST_F(ppfTest, version1AppliesUpToTheImageEnd) {
  auto r = apply(ppf1("First", someRecords));
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, information + "   Patch type: PPF 1.0\n   Description: First\n\n" + smallSuccess);
  EXPECT_EQ(result(), applied(original, someRecords));

  writeFileBytes(image, original);
  EXPECT_EQ(run({patch, image, "a"}).out, r.out);
  EXPECT_EQ(result(), applied(original, someRecords));
}

TEST_F(ppfTest, patchesWithoutRecordsChangeNothing) {
  auto empty = apply(ppf1("Nothing", {}));
  EXPECT_EQ(empty.out, information + "   Patch type: PPF 1.0\n   Description: Nothing\n\n" +
                           "   Error: the patch contains no differences\n");
  auto v2 = apply(ppf2("", 40000, blockAt(original, binCheckOffset), {}, "diz"));
  EXPECT_NE(v2.out.find("\n   Error: the patch contains no differences\n"), std::string::npos) << v2.out;
  EXPECT_EQ(result(), original);
}

TEST_F(ppfTest, version2AsksAboutSizeAndCheckBlock) {
  const std::vector<ppfRecord> records = {{5, {9, 9}}, {binCheckOffset, {0xEE}}};
  auto good = apply(ppf2("Two", 40000, blockAt(original, binCheckOffset), records, "Hello from the group"));
  EXPECT_EQ(good.out, information + "   Patch type: PPF 2.0\n   Description: Two\n\nHello from the group\n" +
                          smallSuccess);
  EXPECT_EQ(result(), applied(original, records));

  writeFileBytes(image, original);
  const std::string sizeQuestion = "   The size of the bin file isn't correct, continue ? (y/n)\n";
  auto refused = apply(ppf2("Two", 39999, blockAt(original, binCheckOffset), records), "n");
  EXPECT_EQ(refused.out, information + "   Patch type: PPF 2.0\n   Description: Two\n" + noDiz + sizeQuestion + aborted);
  EXPECT_EQ(result(), original);
  EXPECT_NE(apply(ppf2("Two", 39999, blockAt(original, binCheckOffset), records), "Y").out.find(success),
            std::string::npos);
  EXPECT_EQ(result(), applied(original, records));
}

// An image too small for the check block must count as a mismatch, even for a zero block.
TEST_F(ppfTest, shortImageFailsTheCheckBlock) {
  const bytes small(2000, 0);
  writeFileBytes(image, small);
  const std::vector<ppfRecord> records = {{10, {1}}};
  const bytes patchBytes = ppf2("Small", 2000, bytes(1024, 0), records);
  auto endOfInput = apply(patchBytes);
  EXPECT_EQ(endOfInput.out, information + "   Patch type: PPF 2.0\n   Description: Small\n" + noDiz + binQuestion + aborted);
  EXPECT_EQ(result(), small);
  auto yes = apply(patchBytes, "y");
  EXPECT_EQ(yes.out, information + "   Patch type: PPF 2.0\n   Description: Small\n" + noDiz + binQuestion + smallSuccess);
  EXPECT_EQ(result(), applied(small, records));
}

TEST_F(ppfTest, version3AppliesAndUndoesBackToTheOriginal) {
  const std::vector<ppfRecord> records = {{0, bytes(255, 0x11)}, {20000, {1, 2, 3, 4}}, {39999, {0x7F}}};
  const std::string diz(5000, 'z');
  ppf3Options o;
  o.checkBlock = blockAt(original, binCheckOffset);
  o.undoFrom = &original;
  o.diz = "Kept out" + diz;  // longer than what is shown, all of it outside the records
  auto forward = apply(ppf3("Three", records, o));
  const std::string shownDiz = "\n" + diz.substr(diz.size() - 3072) + "\n";
  EXPECT_EQ(forward.out.substr(0, forward.out.find("   Progress")),
            information + v3Header("apply", "available", "Three") + shownDiz);
  EXPECT_EQ(forward.out.substr(forward.out.size() - success.size()), success);
  EXPECT_EQ(result(), applied(original, records));

  auto back = run({patch, image, "u"});
  EXPECT_EQ(back.out.substr(0, back.out.find("   Progress")), v3Header("undo patch", "available", "Three") + shownDiz);
  EXPECT_NE(back.out.find(success), std::string::npos);
  EXPECT_EQ(result(), original);
}

TEST_F(ppfTest, version3CheckBlockPlaceFollowsImageType) {
  const std::vector<ppfRecord> records = {{3, {3}}};
  ppf3Options o;
  o.imageType = 1;
  o.checkBlock = blockAt(original, otherCheckOffset);
  EXPECT_EQ(apply(ppf3("", records, o)).out, information + v3Header("apply", "not available", "") + noDiz + smallSuccess);
  EXPECT_EQ(result(), applied(original, records));

  writeFileBytes(image, original);
  o.imageType = 0;
  EXPECT_EQ(apply(ppf3("", records, o), "n").out,
            information + v3Header("apply", "not available", "") + noDiz + binQuestion + aborted);
  EXPECT_EQ(result(), original);
}

TEST_F(ppfTest, undoOnlyForVersion3WithUndoData) {
  auto noData = apply(ppf3("Plain", someRecords), "", "u");
  EXPECT_EQ(noData.out, v3Header("undo patch", "not available", "Plain") + noDiz + "   Error: no undo data available\n");
  EXPECT_EQ(apply(ppf1("One", someRecords), "", "u").out, "   Undo function is supported by PPF3 only\n");
  EXPECT_EQ(apply(bytes(100, 'x'), "", "u").out,
            "   Error: patchfile is no ppf patch\n   Undo function is supported by PPF3 only\n");
  EXPECT_EQ(result(), original);
}

TEST_F(ppfTest, progressStaysWithinHundredPercent) {
  std::vector<ppfRecord> records;
  for (uint64_t i = 0; i < 10; ++i) records.push_back({i * 100, bytes(6, static_cast<uint8_t>(i))});  // 150 bytes
  auto r = apply(ppf3("", records));
  std::vector<int> shown;
  const std::string mark = "   Progress: (";
  for (size_t at = r.out.find(mark); at != std::string::npos; at = r.out.find(mark, at + 1))
    shown.push_back(std::stoi(r.out.substr(at + mark.size())));
  EXPECT_EQ(shown, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 100}));
  EXPECT_EQ(result(), applied(original, records));
}

TEST_F(ppfTest, recordPastTheImageStopsAsForeignData) {
  const std::vector<ppfRecord> records = {{0, {1, 2}}, {39998, {3, 4, 5}}, {100, {6}}};
  auto r = apply(ppf1("", records));
  EXPECT_EQ(r.out.substr(r.out.find("   Progress")),
            "   Progress: (100%) \r   Progress: (100%) \n"
            "   Patching is finished, but foreign data was detected in the patch.\n");
  EXPECT_EQ(result(), applied(original, {records[0]}));

  writeFileBytes(image, original);
  auto wrapping = apply(ppf3("", {{UINT64_MAX - 1, {1, 2, 3}}}));
  EXPECT_NE(wrapping.out.find("foreign data was detected"), std::string::npos);
  EXPECT_EQ(result(), original);
}

// Cut or inconsistent patches are refused before the first write.
TEST_F(ppfTest, damagedPatchesLeaveTheImageAlone) {
  const bytes v1 = ppf1("", someRecords);
  const bytes v2 = ppf2("", 40000, blockAt(original, binCheckOffset), someRecords);
  ppf3Options undo;
  undo.undoFrom = &original;
  const bytes v3 = ppf3("", someRecords, undo);
  bytes hugeDiz2 = v2, hugeDiz3 = v3;
  putDiz(hugeDiz2, "text", 4);
  hugeDiz2.back() = 0xFF;  // top byte of the length
  putDiz(hugeDiz3, "text", 2);
  hugeDiz3[hugeDiz3.size() - 2] = 50;  // more than the record area, less than the file
  const std::vector<std::pair<const char*, bytes>> cases = {
      {"v1 cut in a record", bytes(v1.begin(), v1.end() - 1)},
      {"v1 cut in a record head", bytes(v1.begin(), v1.end() - 5)},
      {"v1 header only in part", bytes(v1.begin(), v1.begin() + 30)},
      {"v2 cut in a record", bytes(v2.begin(), v2.end() - 2)},
      {"v2 without its check block", bytes(v2.begin(), v2.begin() + 600)},
      {"v2 diz larger than the patch", hugeDiz2},
      {"v3 cut in the undo bytes", bytes(v3.begin(), v3.end() - 1)},
      {"v3 without its flags", bytes(v3.begin(), v3.begin() + 57)},
      {"v3 diz larger than the records", hugeDiz3},
      {"magic only", bytes{'P', 'P', 'F', '3'}},
  };
  for (const auto& [name, patchBytes] : cases) {
    SCOPED_TRACE(name);
    auto r = apply(patchBytes, "yy");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("   Error: "), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("successfully"), std::string::npos);
    EXPECT_EQ(result(), original);
  }
}

TEST_F(ppfTest, filesThatCannotBeUsed) {
  const std::string missing = dir.file("missing.bin");
  writeFileBytes(patch, ppf1("", someRecords));
  auto noImage = run({patch, missing, "a"});
  EXPECT_EQ(noImage.out, "   Error: cannot open file '" + missing + "': ");
  EXPECT_EQ(noImage.err, std::string(std::strerror(ENOENT)) + "\n");

  const std::string missingPatch = dir.file("none.ppf");
  auto noPatch = run({missingPatch, image});
  EXPECT_EQ(noPatch.out, "   Error: cannot open file '" + missingPatch + "': " + "   Error: patch file is not found\n");

  EXPECT_EQ(apply({}, "", "a").out, "   Error: patch file is empty");
  writeFileBytes(image, {});
  EXPECT_EQ(apply(ppf1("", someRecords), "", "a").out, "   Error: input file is empty");
  EXPECT_TRUE(result().empty());

  writeFileBytes(image, original);
  EXPECT_EQ(apply(bytes(60, 'Q')).out, information + "   Error: patchfile is no ppf patch\n   Unknown patchfile.\n");
  EXPECT_EQ(result(), original);
}

// Keeps a file from being opened for writing while it lives, also for an administrator
// (and Wine run by one), whom the read-only mark alone does not stop.
class writeProtection {
 public:
  explicit writeProtection(const std::string& path) {
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
#ifdef _WIN32
    handle_ = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    active_ = handle_ != INVALID_HANDLE_VALUE;
#else
    fd_ = open(path.c_str(), O_RDONLY);
    active_ = geteuid() != 0 || setImmutable(true);
#endif
  }
  ~writeProtection() {
#ifdef _WIN32
    if (active_) CloseHandle(handle_);
#else
    if (geteuid() == 0) setImmutable(false);
    close(fd_);
#endif
  }
  bool active() const { return active_; }

 private:
  bool active_;
#ifdef _WIN32
  HANDLE handle_;
#else
  int fd_;
  bool setImmutable(bool on) {
    int flags = 0;
    if (fd_ < 0 || ioctl(fd_, FS_IOC_GETFLAGS, &flags) != 0) return false;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    return ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0;
  }
#endif
};

TEST_F(ppfTest, readOnlyImageIsNotOpened) {
  writeFileBytes(patch, ppf1("", someRecords));
  processResult r;
  {
    writeProtection guard(image);
    if (!guard.active()) GTEST_SKIP() << "cannot protect the image from writes here";
    r = run({patch, image});
  }
  EXPECT_EQ(r.out, "   Error: cannot open file '" + image + "': " + "   Error: patch file is not found\n");
  EXPECT_FALSE(r.err.empty());
  EXPECT_EQ(result(), original);
}

#ifndef _WIN32
// A file-size limit below the record's offset makes the write fail (EFBIG).
TEST_F(ppfTest, failedWriteIsNotReportedAsSuccess) {
  writeFileBytes(patch, ppf1("", {{30000, {1, 2, 3}}}));
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit low = saved;
  low.rlim_cur = 4096;
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &low);
  auto r = run({patch, image});
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_NE(r.out.find("   Error: cannot write file '" + image + "'\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("successfully"), std::string::npos);
}
#endif

TEST_F(ppfTest, showInformation) {
  writeFileBytes(patch, ppf1("Old one", someRecords));
  EXPECT_EQ(run({patch, "s"}).out, information + "   Patch type: PPF 1.0\n   Description: Old one\n");

  writeFileBytes(patch, ppf2("%s%n%x", 40000, bytes(1024, 0), someRecords, std::string(5000, 'a') + "%n%s"));
  EXPECT_EQ(run({patch, "s"}).out, information + "   Patch type: PPF 2.0\n\n" + std::string(3068, 'a') +
                                       "%n%s\n   Description: %s%n%x\n");

  ppf3Options o;
  o.undoFrom = &original;
  writeFileBytes(patch, ppf3("Undoable", someRecords, o));
  EXPECT_EQ(run({patch, "s"}).out,
            information + "   Patch type: PPF 3.0\n   Undo operation: available\n" + noDiz + "   Description: Undoable\n");

  bytes badDiz = ppf3("Bad diz", someRecords);
  putDiz(badDiz, "tiny", 2);
  badDiz[badDiz.size() - 2] = 60;  // reaches back into the header
  writeFileBytes(patch, badDiz);
  EXPECT_EQ(run({patch, "s"}).out, information + "   Patch type: PPF 3.0\n   Undo operation: not available\n"
                                   "   Error: the file_id.diz block is larger than the patch\n   Description: Bad diz\n");

  writeFileBytes(patch, bytes{'P', 'P', 'F', '3', '0'});
  EXPECT_EQ(run({patch, "s"}).out, information + "   Patch type: PPF 3.0\n"
                                   "   Error: the patch is too short for its header\n   Description: \n");

  const std::string missing = dir.file("gone.ppf");
  auto gone = run({missing, "s"});
  EXPECT_EQ(gone.out, "   Error: cannot open file '" + missing + "': ");
  EXPECT_EQ(gone.err, std::string(std::strerror(ENOENT)) + "\n");
}

TEST_F(ppfTest, commandLineRules) {
  // Both names end in .ppf: the second is the patch, its ending lower-cased before the open.
  const std::string first = dir.file("first.PPF");
  writeFileBytes(first, original);
  writeFileBytes(dir.file("second.ppf"), ppf1("", someRecords));
  auto both = run({first, dir.file("second.PPF")});
  EXPECT_EQ(both.out, information + "   Patch type: PPF 1.0\n   Description: \n\n" + smallSuccess);
  EXPECT_EQ(readFileBytes(first), applied(original, someRecords));

  writeFileBytes(patch, ppf1("", someRecords));
  auto usage = run({patch});
  EXPECT_EQ(usage.out, run({"-h", "ppf"}).out);
  EXPECT_NE(usage.out.find("   Usage: tollen.exe <patchfile> <binfile>\n"
                           "          tollen.exe <patchfile> <binfile> <command>\n\n   <Commands>\n"),
            std::string::npos);
  EXPECT_EQ(run({patch, image, "x"}).out,
            "   Error: unknown command: \"x\"\n   Use h command to print help message.\n");
  EXPECT_EQ(run({patch, image, "ap"}).out, "");
  EXPECT_EQ(run({patch, image, "a", "more"}).out, "");
  EXPECT_EQ(result(), original);
}
}  // namespace
