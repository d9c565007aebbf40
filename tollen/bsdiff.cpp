#include <bzlib.h>

#include "tollen.h"
// The BSDiff applier is being written; the reference keeps libbzip2 linked.
int bsdiffMain(int, char**) { return BZ2_bzlibVersion() ? 0 : 1; }
void printBsdiffHelp() {}
