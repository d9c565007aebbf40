#include "outputNames.h"

#include "pathHelpers.h"
#include "windowHelpers.h"

bool outputNamesApply(const settingsValues& settings) {
  return settings.patch_to_file == 3 && (settings.use_game_name || settings.use_hack_name);
}

std::wstring moduleOutputName(const std::wstring& sourcePath, const std::wstring& patchPath,
                              const settingsValues& settings) {
  const std::wstring extension = L"." + extensionOfPath(sourcePath);
  if (!settings.use_hack_name) return fileNameOfPath(sourcePath);
  if (!settings.use_game_name) return baseNameOfPath(patchPath) + extension;
  return baseNameOfPath(sourcePath) + L" - " + baseNameOfPath(patchPath) + extension;
}

std::wstring safeFileName(std::wstring name) {
  for (wchar_t& c : name)
    if (c < 0x20 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) c = L'_';
  return name;
}

std::wstring outputPathInFolder(const std::wstring& folder, const std::wstring& fileName) {
  const bool hasSeparator = !folder.empty() && folder.back() == L'\\';
  return folder + (hasSeparator ? L"" : L"\\") + safeFileName(fileName);
}

void setOutputPath(pathFields& paths, const settingsValues& settings, const guiHandles& gui,
                   const std::wstring& fileName) {
  paths.applyTargetPath = outputPathInFolder(paths.outputFolder, fileName);
  paths.filesChosenMask |= targetChosenBit;
  showPathInEdit(gui.applyTargetEdit, paths.applyTargetPath, settings.path_reverse);
}
