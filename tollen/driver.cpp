#include <cctype>
#include <cstdio>
#include <cstring>

#include "tollen.h"

namespace {
const char* const formatWords[] = {"aps", "ppf", "rup", "bsd"};

// Position 1..4 of a word of at most three letters in the table, compared without case.
patchFormat formatOfWord(const char* word) {
  if (std::strlen(word) > 3) return unknownFormat;
  for (int i = 0; i < 4; ++i) {
    const char* w = formatWords[i];
    size_t k = 0;
    while (word[k] && w[k] && std::tolower(static_cast<unsigned char>(word[k])) == w[k]) ++k;
    if (word[k] == '\0' && w[k] == '\0') return static_cast<patchFormat>(i + 1);
  }
  return unknownFormat;
}

void printBanner() { std::printf("   Tollen\n\n"); }
}  // namespace

patchFormat patchFormatFromFileName(const char* fileName) {
  const char* dot = std::strrchr(fileName, '.');
  return dot ? formatOfWord(dot + 1) : unknownFormat;
}

patchFormat patchFormatFromHelpTopic(const char* topic) { return formatOfWord(topic); }

void printToolHelp() {
  const char* const lines[] = {"   Suported patch formats: APS, PPF, RUP, BSD",
                               "   Help for patch formats: -h patch_format",
                               "   Example: -h aps",
                               "            -h ppf",
                               "            -h bsd",
                               "            -h rup"};
  std::printf("   %s\n", "   Tollen v1.1");
  std::printf("   %s\n\n", "   Console patcher for APS, PPF, RUP and BSDiff patches, by the Morlo developers");
  for (const char* line : lines) std::printf("   %s\n", line);
}

void printFormatHelp(patchFormat format) {
  switch (format) {
    case apsFormat: printApsHelp(); break;
    case ppfFormat: printPpfHelp(); break;
    case rupFormat: printRupHelp(); break;
    case bsdFormat: printBsdiffHelp(); break;
    default: std::printf("   %s\n", "Unknown patch type"); break;
  }
}

int tollenMain(int argc, char** argv) {
  if (argc < 2) {
    printBanner();
    std::puts("   -h program keys help");
    return 0;
  }
  const char* first = argv[1];
  if (first[0] == '-' && first[1] != '\0') {
    if (first[1] == 'h') {
      if (argc == 2) printToolHelp();
      else printFormatHelp(patchFormatFromHelpTopic(argv[2]));
    }
    return 0;
  }
  switch (patchFormatFromFileName(first)) {
    case apsFormat: apsMain(argc, argv); break;
    case ppfFormat: ppfMain(argc, argv); break;
    case rupFormat: rupMain(argc, argv); break;
    case bsdFormat: bsdiffMain(argc, argv); break;
    default:
      printBanner();
      std::printf("   Error: %s\n", "Unknown patch extension");
      break;
  }
  return 0;
}
