// What APS, PPF, RUP and xdelta patches say about themselves, as the text of the Apply
// page's information box. Every reader opens the patch on the given stream and closes it
// again on every path; false means "no information" (the caller empties the box). A
// damaged or truncated file never gives more than that.
#pragma once
#include <cstdint>
#include <fstream>
#include <string>

bool readApsInfo(std::ifstream& inputFile, const std::string& patchPath, std::string& text);

// undoAvailable: a PPF 3.0 patch that carries undo data, so that restoring may be offered.
// useFixedFont is set to 1 when the text holds a FILE_ID.DIZ (never cleared here).
bool readPpfInfo(std::ifstream& inputFile, const std::string& patchPath, std::string& text,
                 bool& undoAvailable, uint8_t& useFixedFont);

bool readRupInfo(std::ifstream& inputFile, const std::string& patchPath, std::string& text);

// The description that the xdelta creation stores as the VCDIFF application header.
bool readXdeltaInfo(std::ifstream& inputFile, const std::string& patchPath, std::wstring& text);
