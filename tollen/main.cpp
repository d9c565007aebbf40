#include "platform.h"
#include "tollen.h"

int main(int argc, char** argv) {
  consoleStart();
  tollenMain(argc, argv);
  std::fflush(stdout);
  return 0;
}
