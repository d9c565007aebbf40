#include "platform.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <windows.h>
#include <conio.h>
#include <io.h>
#else
#include <sys/types.h>
#include <unistd.h>
#endif

#ifdef _WIN32
namespace {
bool inputIsConsole() { return _isatty(_fileno(stdin)) != 0; }
}  // namespace
#endif

void consoleStart() {
#ifdef _WIN32
  if (_isatty(_fileno(stdout))) {
    std::system("chcp 65001");
    std::system("cls");
  }
#endif
}

int readAnswerKey() {
  std::fflush(stdout);
#ifdef _WIN32
  if (inputIsConsole()) return _getch();
#endif
  return std::getchar();
}

void discardPendingInput() {
#ifdef _WIN32
  if (inputIsConsole()) {
    while (_kbhit()) _getch();
  }
#endif
}

char* upperInPlace(char* text) {
  for (char* p = text; *p; ++p) *p = static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
  return text;
}

int seekFile(FILE* file, int64_t offset, int origin) {
#ifdef _WIN32
  return _fseeki64(file, offset, origin);
#else
  return fseeko(file, static_cast<off_t>(offset), origin);
#endif
}

int64_t tellFile(FILE* file) {
#ifdef _WIN32
  return _ftelli64(file);
#else
  return static_cast<int64_t>(ftello(file));
#endif
}

int64_t fileSize(FILE* file) {
  if (seekFile(file, 0, SEEK_END) != 0) return -1;
  int64_t size = tellFile(file);
  if (seekFile(file, 0, SEEK_SET) != 0) return -1;
  return size;
}

int resizeFile(FILE* file, int64_t length) {
  if (length < 0 || std::fflush(file) != 0) return -1;
#ifdef _WIN32
  return _chsize_s(_fileno(file), length) == 0 ? 0 : -1;
#else
  return ftruncate(fileno(file), static_cast<off_t>(length)) == 0 ? 0 : -1;
#endif
}

std::string lastSystemErrorText() {
#ifdef _WIN32
  DWORD code = GetLastError();
  char* buffer = nullptr;
  DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                    FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = length && buffer ? std::string(buffer, length) : std::strerror(errno);
  if (buffer) LocalFree(buffer);
#else
  std::string text = std::strerror(errno);
#endif
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

int replaceFile(const char* from, const char* to) {
#ifdef _WIN32
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) ? 0 : -1;
#else
  return std::rename(from, to) == 0 ? 0 : -1;
#endif
}

FILE* createNewFile(const char* path) {
#ifdef _WIN32
  int fd = _open(path, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
  FILE* file = fd < 0 ? nullptr : _fdopen(fd, "wb");
  if (fd >= 0 && !file) _close(fd);
#else
  int fd = open(path, O_WRONLY | O_CREAT | O_EXCL, 0666);
  FILE* file = fd < 0 ? nullptr : fdopen(fd, "wb");
  if (fd >= 0 && !file) close(fd);
#endif
  return file;
}
