#include "tollen.h"
// The APS applier is being written.
int apsMain(int, char**) { return 0; }
void printApsHelp() {}
