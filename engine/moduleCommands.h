// The parameter texts that start the console modules through "cmd.exe /k". Pure text
// building, so every switch combination can be compared character for character.
#pragma once
#include <cstdint>
#include <string>

// Module 1 (IPS, BPS, UPS by kind 0, 1, 2) patches fileToPatch in place.
std::string module1Command(const std::string& modulePath, int kind, int checksumMode,
                           const std::string& patchPath, const std::string& fileToPatch);

// Module 2 (APS 3, PPF 4, RUP 5, BSDiff 8) patches fileToPatch in place; a PPF patch may
// be undone instead ("u").
std::string module2Command(const std::string& modulePath, int kind, int restoreOriginal,
                           const std::string& patchPath, const std::string& fileToPatch);

// Module 3 decodes an xdelta patch of sourcePath into targetPath.
std::string module3ApplyCommand(const std::string& modulePath, int checksumMode,
                                const std::string& sourcePath, const std::string& patchPath,
                                const std::string& targetPath);

struct xdeltaOptions {
  int level = 5;           // compress_lvl
  int secondary = 0;       // sec_compress: 0 none, 1 lzma, 2 djw, 3 fgk
  int sourceWindow = 0;    // src_wnd_size: 0 automatic, 1 to 8 give 2^23 to 2^30 bytes
};

// Module 3 encodes modifiedPath against sourcePath into patchPath, storing the Base64
// description as the application header.
std::string xdeltaCreateCommand(const std::string& modulePath, const xdeltaOptions& options,
                                const std::string& descriptionBase64, const std::string& sourcePath,
                                const std::string& modifiedPath, const std::string& patchPath);

// The secondary compressor's name, or empty for 0 and any value outside the table.
std::string secondaryCompressorName(int secondary);
// The source window in bytes, or 0 (automatic) for 0 and any value outside the table.
uint64_t sourceWindowBytes(int sourceWindow);

// What keeps a parameter text from reaching the module as built.
enum class commandProblem {
  none,
  // cmd.exe expands %NAME% even inside quotes: two "%" could name another file.
  percentPair,
  // Longer than the 8,191 characters that cmd.exe takes.
  tooLong,
};
commandProblem checkModuleCommand(const std::string& commandLine);
// The error shown instead of starting the module.
std::wstring commandProblemText(commandProblem problem);
