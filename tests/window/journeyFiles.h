// Games and patches for the journeys through the window, made without the window.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "testFiles.h"

// An original game and a modified one that differs in scattered bytes and is longer.
struct gamePair {
  std::filesystem::path original;
  std::filesystem::path modified;
};
gamePair makeGamePair(const std::filesystem::path& folder, size_t size = 200000);

// A Morlo patch with the information System "SNES", Game "Game", Hack "Hack", Version "1.0",
// Author "Author", Contact "Contact", Comment "Comment".
void makeMorloPatch(const gamePair& games, const std::filesystem::path& patch);

// The application's text files: UTF-16LE after the mark FF FE, lines joined by CR LF. A file
// without the mark reads as no lines.
void writeTextFileLines(const std::filesystem::path& file, const std::vector<std::wstring>& lines);
std::vector<std::wstring> readTextFileLines(const std::filesystem::path& file);

// Config\cnf.ini of the program folder with these lines.
void writeSettingsFile(const std::filesystem::path& programFolder, const std::vector<std::wstring>& lines);
