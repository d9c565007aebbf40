// The few runtime calls that differ between Windows and the host build, so that the
// appliers build and are tested natively (with sanitizers) as well as for Windows.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

// Switches the console to UTF-8 and clears it ("chcp 65001", "cls"). Skipped when
// standard output is not a console: a pipe's reader wants the output, not a cleared screen.
void consoleStart();

// One answer key: read without echo on a console, else the next character of standard
// input (pipes and scripted use). Returns -1 at the end of input.
int readAnswerKey();

// Throws away keys typed ahead on a console; nothing for a pipe.
void discardPendingInput();

// Upper-cases an ASCII string in place and returns it.
char* upperInPlace(char* text);

// 64-bit positions on buffered files. seekFile returns 0 on success.
int seekFile(FILE* file, int64_t offset, int origin);
int64_t tellFile(FILE* file);
// Size of an open file, -1 when it cannot be told. Leaves the position at the start.
int64_t fileSize(FILE* file);
// Sets the length of an open file (growing with zeros); 0 on success. Flushes first.
int resizeFile(FILE* file, int64_t length);

// The system's text for the last error of a file call (errno natively, GetLastError on
// Windows), without a trailing line break.
std::string lastSystemErrorText();

// Moves `from` over `to` in one step where the system allows it; 0 on success.
int replaceFile(const char* from, const char* to);

// Opens a file that must not exist yet for binary writing (never clobbers one that does);
// null on failure.
FILE* createNewFile(const char* path);
