#include "textFile.h"

#include <windows.h>

#include <algorithm>
#include <string_view>

#include "errors.h"
#include "guiTexts.h"

textFile sharedTextFile;

namespace {

enum fileError : size_t {
  cantOpen = 0,
  cantCreate = 1,
  tooSmall = 2,
  outOfLimit = 3,
  cantRead = 4,
  notUnicode = 5,
};

void raiseFileError(fileError entry, const std::wstring& label) {
  localError.raiseJoined(fileErrorTexts[entry], label);
}

// Closes the reader's file on every way out and clears the handle in the shared state.
class openReadFile {
 public:
  explicit openReadFile(textFile& file) : file_(file) {}
  ~openReadFile() {
    CloseHandle(file_.handle);
    file_.handle = nullptr;
  }
  openReadFile(const openReadFile&) = delete;
  openReadFile& operator=(const openReadFile&) = delete;

 private:
  textFile& file_;
};

bool readExactly(HANDLE handle, void* buffer, DWORD count) {
  DWORD got = 0;
  return ReadFile(handle, buffer, count, &got, nullptr) && got == count;
}

// The text of the file after its mark, followed by at least one zero unit whatever the size, so
// an odd last byte makes a unit of its own and the text always ends inside the buffer.
std::vector<wchar_t> readTextUnits(HANDLE handle, uint64_t fileSize) {
  const DWORD dataBytes = static_cast<DWORD>(fileSize - 2);
  std::vector<wchar_t> units(dataBytes / 2 + 2, L'\0');
  if (!readExactly(handle, units.data(), dataBytes)) throw markedTextFault::cantRead;
  return units;
}

class createdFile {
 public:
  createdFile(const std::wstring& path, const std::wstring& label) : label_(label) {
    handle_ = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) raiseFileError(cantCreate, label);
  }
  ~createdFile() { CloseHandle(handle_); }
  createdFile(const createdFile&) = delete;
  createdFile& operator=(const createdFile&) = delete;

  void write(const void* data, size_t count) {
    DWORD written = 0;
    if (!WriteFile(handle_, data, static_cast<DWORD>(count), &written, nullptr) || written != count)
      raiseFileError(outOfLimit, label_);
  }
  void write(const std::wstring& text) { write(text.data(), text.size() * sizeof(wchar_t)); }

 private:
  HANDLE handle_;
  const std::wstring& label_;
};

const uint8_t byteOrderMark[2] = {0xFF, 0xFE};
const std::wstring lineBreak = L"\r\n";

// The entry of each markedTextFault, in its order: an empty file is one too small.
const fileError faultEntries[] = {cantOpen, tooSmall, tooSmall, outOfLimit, cantRead, notUnicode};

}  // namespace

std::wstring readMarkedText(textFile& file, const std::wstring& path, uint64_t minimumSize) {
  file.handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file.handle == INVALID_HANDLE_VALUE) {
    file.handle = nullptr;
    throw markedTextFault::cantOpen;
  }
  std::vector<wchar_t> units;
  {
    const openReadFile closer(file);
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.handle, &size)) throw markedTextFault::cantRead;
    // All 64 bits count: a file of 4 GiB and more must not pass as a small one.
    file.size = static_cast<uint64_t>(size.QuadPart);
    if (file.size == 0) throw markedTextFault::empty;
    if (file.size < std::max(minimumSize, smallestTextFile)) throw markedTextFault::tooSmall;
    if (file.size > largestTextFile) throw markedTextFault::outOfLimit;
    uint8_t mark[2];
    if (!readExactly(file.handle, mark, sizeof mark)) throw markedTextFault::cantRead;
    if (mark[0] != byteOrderMark[0] || mark[1] != byteOrderMark[1])
      throw markedTextFault::notUnicode;
    units = readTextUnits(file.handle, file.size);
  }
  // A NUL unit in the file ends the text there.
  return std::wstring(units.data());
}

void cutTextLines(std::wstring_view text, std::vector<std::wstring>& lines, size_t lineLimit,
                  size_t mostLines) {
  size_t taken = 0;
  for (;;) {
    const size_t cr = text.find(L'\r');
    if (cr == std::wstring_view::npos) {
      lines.emplace_back(text);
      return;
    }
    if (cr > 0) {
      lines.emplace_back(text.substr(0, std::min(cr, lineLimit)));
      ++taken;
    }
    // A CR at the very end has no unit behind it to drop.
    text.remove_prefix(std::min(cr + 2, text.size()));
    if (taken == mostLines) return;
  }
}

void readTextLines(textFile& file, std::vector<std::wstring>& lines, const std::wstring& path,
                   const std::wstring& label, size_t lineLimit) {
  std::wstring text;
  try {
    text = readMarkedText(file, path, smallestTextFile);
  } catch (markedTextFault fault) {
    raiseFileError(faultEntries[static_cast<size_t>(fault)], label);
  }
  cutTextLines(text, lines, lineLimit, mostTextLines);
}

void writeTextLines(textFile&, const std::vector<std::wstring>& lines, const std::wstring& path,
                    const std::wstring& label) {
  createdFile out(path, label);
  out.write(byteOrderMark, sizeof byteOrderMark);
  for (size_t i = 0; i < lines.size(); ++i) {
    out.write(lines[i]);
    if (i + 1 < lines.size()) out.write(lineBreak);
  }
}

void writeTextBuffer(textFile& file,
                     const std::vector<std::pair<std::wstring, std::wstring>>& pairs,
                     const std::wstring& path, const std::wstring& label) {
  std::vector<std::wstring> lines;
  lines.reserve(pairs.size() * 2);
  for (const auto& [first, second] : pairs) {
    lines.push_back(first);
    lines.push_back(second);
  }
  writeTextLines(file, lines, path, label);
}
