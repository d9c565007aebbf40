#include "stagedFile.h"

#include <windows.h>

#include <cstdio>

#include "textConvert.h"

namespace {

// Names that another program or an earlier run may hold are skipped.
constexpr int namesTried = 16;

// A device such as NUL or a port, which takes data but has nothing to be moved over.
bool namesDevice(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool device = GetFileType(h) != FILE_TYPE_DISK;
  CloseHandle(h);
  return device;
}

// A short suffix, so that a path near the length limit still has room for it.
std::string temporaryName(const std::string& finalPath, int attempt) {
  const unsigned tag = static_cast<unsigned>(GetCurrentProcessId() * 65536u + GetTickCount() + attempt);
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, ".%08x.tmp", tag);
  return finalPath + suffix;
}

}  // namespace

bool stagedFile::create(const std::string& finalPath, morloFile& file) {
  discard();
  finalPath_ = finalPath;
  if (namesDevice(fromUtf8(finalPath))) {
    writtenPath_ = finalPath;
    return file.open(finalPath, morloFile::access::replace);
  }
  for (int attempt = 0; attempt < namesTried; ++attempt) {
    writtenPath_ = temporaryName(finalPath, attempt);
    if (file.open(writtenPath_, morloFile::access::createNew)) {
      temporary_ = true;
      return true;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) break;
  }
  writtenPath_.clear();
  return false;
}

bool stagedFile::place() {
  if (!temporary_) return true;
  if (!MoveFileExW(fromUtf8(writtenPath_).c_str(), fromUtf8(finalPath_).c_str(),
                   MOVEFILE_REPLACE_EXISTING))
    return false;
  temporary_ = false;
  return true;
}

void stagedFile::discard() {
  if (temporary_) DeleteFileW(fromUtf8(writtenPath_).c_str());
  temporary_ = false;
}
