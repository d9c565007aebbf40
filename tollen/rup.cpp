#include "tollen.h"
// The RUP applier is being written.
int rupMain(int, char**) { return 0; }
void printRupHelp() {}
