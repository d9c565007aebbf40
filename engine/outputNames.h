// The output path of output-folder mode ("Save to output folder"): the folder and a file name
// made from the chosen files or from the patch information.
#pragma once
#include <string>

#include "records.h"

// Whether a name is made at all: output-folder mode with the game or the hack name switched on.
bool outputNamesApply(const settingsValues& settings);

// The module patchers' file name: game only gives the original game's file name; game and hack
// "game - hack.ext"; hack only "hack.ext", with the extension of the original game.
std::wstring moduleOutputName(const std::wstring& sourcePath, const std::wstring& patchPath,
                              const settingsValues& settings);

// The name comes from untrusted patch information or file names: characters that cannot stand in
// a Windows file name become "_", so the path never leaves the folder or names a data stream.
std::wstring safeFileName(std::wstring name);
// folder + "\" + the safe name; a folder that already ends in "\" gets no second one.
std::wstring outputPathInFolder(const std::wstring& folder, const std::wstring& fileName);

// Stores folder\fileName as the Apply page's output, marks the output as chosen and shows it.
void setOutputPath(pathFields& paths, const settingsValues& settings, const guiHandles& gui,
                   const std::wstring& fileName);
