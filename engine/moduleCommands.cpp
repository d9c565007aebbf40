#include "moduleCommands.h"

#include <algorithm>
#include <array>

namespace {

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// cmd.exe counts UTF-16 units: a UTF-8 lead byte starts one, a four-byte sequence two.
size_t utf16Length(const std::string& text) {
  size_t units = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) ++units;
    if (c >= 0xF0) ++units;
  }
  return units;
}

constexpr size_t cmdLineLimit = 8191;

}  // namespace

std::string module1Command(const std::string& modulePath, int kind, int checksumMode,
                           const std::string& patchPath, const std::string& fileToPatch) {
  static const char* const kindNames[] = {"IPS", "BPS", "UPS"};
  const char* name = kind >= 0 && kind <= 2 ? kindNames[kind] : kindNames[0];
  std::string command = "/k \"echo ";
  command += name;
  command += " patch applying: && echo; && echo Patching... && ";
  command += quoted(modulePath) + " -a ";
  if (kind == 1 && checksumMode == 2) command += "--ignore-checksum ";
  command += quoted(patchPath) + " " + quoted(fileToPatch) + " " + quoted(fileToPatch);
  return command + "\"";
}

std::string module2Command(const std::string& modulePath, int kind, int restoreOriginal,
                           const std::string& patchPath, const std::string& fileToPatch) {
  std::string command = "/k \"" + quoted(modulePath) + " " + quoted(patchPath) + " " + quoted(fileToPatch);
  if (restoreOriginal != 0 && kind == 4) command += " \"u\"";
  return command + "\"";
}

std::string module3ApplyCommand(const std::string& modulePath, int checksumMode,
                                const std::string& sourcePath, const std::string& patchPath,
                                const std::string& targetPath) {
  std::string command = "/k \"echo    Xdelta patch applying: && echo; && echo    Patching... && ";
  command += quoted(modulePath) + " -d ";
  if (checksumMode == 2) command += "-n ";
  command += "-f -s " + quoted(sourcePath) + " " + quoted(patchPath) + " " + quoted(targetPath);
  return command + " && echo    Patching is successfully finished!\"";
}

std::string secondaryCompressorName(int secondary) {
  static const std::array<const char*, 4> names = {"", "lzma", "djw", "fgk"};
  return secondary >= 0 && size_t(secondary) < names.size() ? names[secondary] : "";
}

uint64_t sourceWindowBytes(int sourceWindow) {
  return sourceWindow >= 1 && sourceWindow <= 8 ? uint64_t(1) << (22 + sourceWindow) : 0;
}

std::string xdeltaCreateCommand(const std::string& modulePath, const xdeltaOptions& options,
                                const std::string& descriptionBase64, const std::string& sourcePath,
                                const std::string& modifiedPath, const std::string& patchPath) {
  std::string command = "/k \"echo Xdelta patcher: && echo; && echo Patch creating... && ";
  command += quoted(modulePath) + " -" + std::to_string(options.level);
  const std::string secondary = secondaryCompressorName(options.secondary);
  if (!secondary.empty()) command += " -S " + secondary;
  if (const uint64_t window = sourceWindowBytes(options.sourceWindow)) command += " -B " + std::to_string(window);
  command += " \"-A=^*";
  command += descriptionBase64;
  command += "\" -e -f -s ";
  command += quoted(sourcePath) + " " + quoted(modifiedPath) + " " + quoted(patchPath);
  return command + " && echo Patch is successfully created!\"";
}

commandProblem checkModuleCommand(const std::string& commandLine) {
  if (std::count(commandLine.begin(), commandLine.end(), '%') >= 2) return commandProblem::percentPair;
  if (utf16Length(commandLine) > cmdLineLimit) return commandProblem::tooLong;
  return commandProblem::none;
}

std::wstring commandProblemText(commandProblem problem) {
  switch (problem) {
    case commandProblem::percentPair:
      return L"The patcher can't be started: cmd.exe would take the text between two \"%\" "
             L"characters of the paths for a variable. Rename the file or folder.";
    case commandProblem::tooLong:
      return L"The patcher can't be started: its command line is longer than the 8191 characters "
             L"that cmd.exe accepts. Use shorter paths or patch information.";
    case commandProblem::none:
      break;
  }
  return {};
}
