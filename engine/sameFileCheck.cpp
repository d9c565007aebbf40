#include "sameFileCheck.h"

#include <windows.h>

#include "engineTexts.h"
#include "errors.h"
#include "textConvert.h"

namespace {

struct fileIdentity {
  DWORD volume = 0;
  DWORD indexHigh = 0;
  DWORD indexLow = 0;
};

bool identify(const std::string& path, fileIdentity& identity) {
  if (path.empty()) return false;  // fromUtf8 would make "Error" of it
  // No access asked for and every sharing allowed: opening never disturbs another user.
  HANDLE file = CreateFileW(fromUtf8(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION information;
  const bool known = GetFileInformationByHandle(file, &information) != 0;
  CloseHandle(file);
  if (!known) return false;
  identity = {information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
  return true;
}

}  // namespace

bool isSameExistingFile(const std::string& first, const std::string& second) {
  fileIdentity a, b;
  return identify(first, a) && identify(second, b) && a.volume == b.volume &&
         a.indexHigh == b.indexHigh && a.indexLow == b.indexLow;
}

void refuseSameFiles(const patchJob& job, uint8_t mask) {
  if (isSameExistingFile(job.patchPath, job.sourcePath)) localStrShow.raise(modulePatcherErrors[0]);
  if (mask != applyToCopyMask) return;
  if (isSameExistingFile(job.patchPath, job.targetPath)) localStrShow.raise(modulePatcherErrors[1]);
  if (isSameExistingFile(job.sourcePath, job.targetPath)) localStrShow.raise(modulePatcherErrors[2]);
}
