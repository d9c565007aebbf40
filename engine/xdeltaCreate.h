// The description that an xdelta patch made by morlo carries as its VCDIFF application header,
// read back for display by readXdeltaInfo.
#pragma once
#include <array>
#include <cstdint>
#include <string>

// Modified games below 30 MiB are refused: the Morlo patch serves them better.
constexpr uint64_t minXdeltaModifiedSize = 31457280;

// The description up to its last line: the information lines (the seven editor values, or the
// three default lines from the paths without information) and the date line, each ended by a
// line feed. labelMode is ptc_info_lang: 0 English keys, 1 the current language's labels, 2 the
// values alone (without information: English keys); with information and mode 2 there is no date
// line. Paths are UTF-8.
std::string xdeltaDescriptionLines(bool withInfo, int labelMode, const std::array<std::wstring, 8>& values,
                                   const std::string& dateText, const std::string& sourcePath,
                                   const std::string& patchPath);
// The last line, without a line feed.
std::string xdeltaDigestLine(const std::string& md5Hex);

// The Base64 text of a description, as it goes into "-A=^*".
std::string xdeltaHeaderText(const std::string& description);
