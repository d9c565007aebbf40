// Entry points of the appliers and the help texts they print.
#pragma once

enum patchFormat { unknownFormat = 0, apsFormat = 1, ppfFormat = 2, rupFormat = 3, bsdFormat = 4 };

patchFormat patchFormatFromFileName(const char* fileName);
patchFormat patchFormatFromHelpTopic(const char* topic);
void printToolHelp();
void printFormatHelp(patchFormat format);
// Dispatch of one command line; what main does after the console is set up.
int tollenMain(int argc, char** argv);

int apsMain(int argc, char** argv);
int ppfMain(int argc, char** argv);
int rupMain(int argc, char** argv);
int bsdiffMain(int argc, char** argv);

void printApsHelp();
void printPpfHelp();
void printRupHelp();
void printBsdiffHelp();
