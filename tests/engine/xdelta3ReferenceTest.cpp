// The Windows build of Debian's xdelta3 that tests install as Modules\3.m: it must carry a
// description as morlo stores it and give back the modified game byte for byte.
#include <gtest/gtest.h>

#include <fstream>

#include "foreignInfo.h"
#include "processRunner.h"
#include "testFiles.h"
#include "xdeltaCreate.h"

TEST(xdelta3Reference, roundTripWithDescriptionUnderWine) {
  scratchDir dir;
  const bytes original = randomBytes(300000, 7);
  bytes modified(original.begin(), original.begin() + 120000);
  putText(modified, "inserted by the hack");
  modified.insert(modified.end(), original.begin() + 150000, original.end());
  modified[200000] ^= 0x5A;
  writeFileBytes(dir.file("original.bin"), original);
  writeFileBytes(dir.file("modified.bin"), modified);
  const std::string description = "System: NES\nGame: Quest\nMD5: 0123456789abcdef0123456789abcdef";

  const std::string xdelta3 = builtProgramPath("xdelta3");
  const processResult encoded =
      runProcess(xdelta3, {"-9", "-S", "djw", "-A=^*" + xdeltaHeaderText(description), "-e", "-f", "-s",
                           dir.file("original.bin"), dir.file("modified.bin"), dir.file("hack.xdelta")});
  ASSERT_EQ(encoded.exitCode, 0) << encoded.err;
  const processResult decoded = runProcess(
      xdelta3, {"-d", "-f", "-s", dir.file("original.bin"), dir.file("hack.xdelta"), dir.file("out.bin")});
  ASSERT_EQ(decoded.exitCode, 0) << decoded.err;
  EXPECT_EQ(readFileBytes(dir.file("out.bin")), modified);

  std::ifstream stream;
  std::wstring shown;
  ASSERT_TRUE(readXdeltaInfo(stream, dir.file("hack.xdelta"), shown));
  EXPECT_EQ(shown, L"System: NES\r\nGame: Quest\r\nMD5: 0123456789abcdef0123456789abcdef");
}
