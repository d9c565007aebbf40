// morlo's command line: the program's own path and a patch file to preselect. Later tokens are
// never looked at.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A token, or a path made absolute, must fit 259 characters and a terminating zero.
constexpr size_t commandLineSlotUnits = 260;

// The first `wanted` tokens of the line. A quoted token, or one that begins with "-", is taken as
// written without its quotes or its "-"; any other token is made absolute against the current
// folder. The split stops at the first token that fails (no closing quote, a quote inside an
// unquoted token, too long), so the result may hold fewer tokens.
std::vector<std::wstring> splitCommandLine(std::wstring_view line, size_t wanted);

// The tokens of this process's command line: min(2, the argument count) of them at most.
std::vector<std::wstring> programArguments();

// The folder of the running program, ending in a backslash; from the module itself, since the
// first token may be a name found through PATH or relative to another folder.
std::wstring programFolderOfModule();
