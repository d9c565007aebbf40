// Runs a program of this build as a child process, feeding its standard input and
// collecting what it prints, so tests see exactly what a user's console would.
#pragma once
#include <string>
#include <vector>

struct processResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

processResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input = "", const std::string& workingDir = "");

// A program built beside the running test executable ("tollen" gives tollen.exe on Windows).
std::string builtProgramPath(const std::string& name);

// Ends every process that this test program started, and what those started in turn: the
// consoles that "cmd.exe /k" keeps open.
void endDescendantProcesses();
