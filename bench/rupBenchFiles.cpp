// rup-bench-files: writes a source image, a target with scattered changed runs and the RUP patch
// between them, with the RUP tests' own writer. The runs are 1 to 40 bytes long and lie one in
// each equal slot of the image, apart from each other, so the patch has one XOR record a run.
#include <cstdio>
#include <cstdlib>
#include <random>

#include "rupPatchWriter.h"

int main(int argc, char** argv) {
  if (argc != 7) {
    std::fputs("usage: rup-bench-files MIB RUNS TYPE SOURCE TARGET PATCH\n", stderr);
    return 1;
  }
  const size_t size = size_t(std::strtoul(argv[1], nullptr, 10)) << 20;
  const size_t runs = std::strtoul(argv[2], nullptr, 10);
  const int type = std::atoi(argv[3]);
  const size_t slot = runs ? size / runs : 0;
  if (slot < 42) {
    std::fputs("the runs do not fit apart in the image\n", stderr);
    return 1;
  }
  bytes source = randomBytes(size, 1);
  bytes target = source;
  std::mt19937 random(2);
  for (size_t i = 0; i < runs; ++i) {
    const size_t length = 1 + random() % 40;
    const size_t at = i * slot + random() % (slot - length);
    for (size_t k = at; k < at + length; ++k) target[k] ^= uint8_t(1 + random() % 255);
  }
  writeFileBytes(argv[4], source);
  writeFileBytes(argv[5], target);
  writeFileBytes(argv[6], singleFilePatch(type, source, target));
  return 0;
}
