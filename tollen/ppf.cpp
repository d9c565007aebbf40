#include "tollen.h"
// The PPF applier is being written.
int ppfMain(int, char**) { return 0; }
void printPpfHelp() {}
