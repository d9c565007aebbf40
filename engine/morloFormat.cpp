#include "morloFormat.h"

#include <cstdio>
#include <ctime>

sizeMode sizeModeOfFlags(uint8_t flags) {
  const uint8_t mode = (flags >> flagSizeModeShift) & 3;
  return mode == 3 ? sizeMode::same : static_cast<sizeMode>(mode);
}

uint8_t flagsWithSizeMode(uint8_t flags, sizeMode mode) {
  return static_cast<uint8_t>((flags & ~(3 << flagSizeModeShift)) |
                              (static_cast<uint8_t>(mode) << flagSizeModeShift));
}

uint8_t offsetWidthCode(uint64_t gap) {
  if (gap <= maxImplicitGap) return 0;
  uint8_t code = 1;
  // Code c holds gaps below 2^(8(c+1)); code 7 holds all the rest.
  while (code < 7 && (gap >> (8 * (code + 1))) != 0) ++code;
  return code;
}

uint64_t readLittleEndian(const uint8_t* data, int width) {
  uint64_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = (value << 8) | data[i];
  return value;
}

void appendLittleEndian(std::string& out, uint64_t value, int width) {
  for (int i = 0; i < width; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

uint32_t packDate(uint32_t previous, int yearSince1900, int day, int month0) {
  return (previous & 0xFF000000u) | (static_cast<uint32_t>(yearSince1900) & 0x7FFFu) |
         (static_cast<uint32_t>(day) & 0x1Fu) << 15 | (static_cast<uint32_t>(month0) & 0xFu) << 20;
}

void packCreationDate(uint32_t& date) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_s(&local, &now);
  date = packDate(date, local.tm_year, local.tm_mday, local.tm_mon);
}

std::string formatCreationDate(uint32_t packed) {
  // Plain numbers: a crafted month of 12 to 15 or day 0 must not reach the runtime's date
  // formatting, which ends the process on such values.
  const unsigned year = (packed & 0x7FFFu) + 1900;
  const unsigned day = (packed >> 15) & 0x1Fu;
  const unsigned month = ((packed >> 20) & 0xFu) + 1;
  char text[16];
  std::snprintf(text, sizeof text, "%02u.%02u.%04u", day, month, year);
  return text;
}

namespace {

std::string_view fileNameOf(std::string_view path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool isMorloExtension(std::string_view extension) {
  return extension.size() == 2 && (extension[0] == 'm' || extension[0] == 'M') &&
         (extension[1] == 'l' || extension[1] == 'L');
}

}  // namespace

std::string narrowExtensionOfPath(std::string_view path) {
  const std::string_view name = fileNameOf(path);
  const size_t point = name.rfind('.');
  if (point == std::string_view::npos || point == 0 || point + 1 == name.size() ||
      name[point + 1] == ' ')
    return "unk";
  return std::string(name.substr(point + 1));
}

std::string narrowBaseNameOfPath(std::string_view path) {
  const size_t slash = path.rfind('\\');
  const size_t start = slash == std::string_view::npos ? 0 : slash + 1;
  const size_t point = path.rfind('.');
  if (point == std::string_view::npos || (slash != std::string_view::npos && point < slash))
    return std::string(path.substr(start));
  return std::string(path.substr(start, point - start));
}

std::string patchBaseName(std::string_view path) {
  const std::string_view name = fileNameOf(path);
  if (isMorloExtension(narrowExtensionOfPath(name))) return std::string(name.substr(0, name.rfind('.')));
  return std::string(name);
}

void ensurePatchExtension(std::string& path) {
  if (!isMorloExtension(narrowExtensionOfPath(path))) path += ".ml";
}

std::string cutUtf8(std::string_view text, size_t maxBytes) {
  if (text.size() <= maxBytes) return std::string(text);
  size_t cut = maxBytes;
  // Back up over continuation bytes to the lead byte of the character that would be split.
  while (cut > 0 && (static_cast<uint8_t>(text[cut]) & 0xC0) == 0x80) --cut;
  return std::string(text.substr(0, cut));
}
