// The Morlo patch file: its constants, flag bits, number widths, packed creation date and the
// names that the writer derives from paths. Pure functions, no files and no windows.
//
// Layout: "ML", version, flags, record count (N bytes), source MD5 (16), date (3), 3 or 7
// information lines (UTF-8, each ended by a byte 0), size fields by size mode, the records, and
// in size mode 1 the tail. Numbers are unsigned little-endian.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

constexpr char morloMagic[2] = {'M', 'L'};
constexpr uint8_t formatVersion = 4;
constexpr uint8_t highestRefusedVersion = 3;
constexpr uint64_t minPatchSize = 35;
constexpr int infoLinesWithInfo = 7;
constexpr int defaultInfoLineCount = 3;
constexpr uint64_t blockSize = 262144000;  // the unit of the block countdown
// A run adds at most 254 bytes after its first, so one that starts at least this far before the
// end of the bytes in hand still ends inside them.
constexpr uint64_t maxRunExtent = 254;
constexpr uint64_t maxFileSize = 5368709120;  // 5 GiB, for every file the engine touches
constexpr uint64_t largestNarrowSize = 0xFFFFFFFF;

constexpr uint8_t flagOffsetCodeMask = 0x07;
constexpr uint8_t flagWideSizes = 0x08;  // count and size fields take 8 bytes instead of 4
constexpr uint8_t flagSizeModeShift = 4;
constexpr uint8_t flagWithInfo = 0x40;  // 7 information lines from the editor
constexpr uint8_t flagAdvanced = 0x80;  // never written; refused when read

// Bits 4-5 of the flags: how the modified file's size relates to the source's.
enum class sizeMode : uint8_t { same = 0, longer = 1, shorter = 2 };
// Mode 3 is never written and reads like mode 0.
sizeMode sizeModeOfFlags(uint8_t flags);
uint8_t flagsWithSizeMode(uint8_t flags, sizeMode mode);

// Record fields: the gap code and, for a fill record, length 0.
constexpr uint8_t gapCodeExplicit = 0;  // a gap field of W bytes follows the length
constexpr uint8_t gapCodeAdjacent = 255;
constexpr uint8_t maxImplicitGap = 254;
constexpr uint8_t maxRecordLength = 255;
constexpr uint8_t fillLengthCode = 0;
constexpr uint8_t minFillRun = 3;

// The width code (flags bits 0-2) for the largest explicit gap; the gap field takes code + 1 bytes.
uint8_t offsetWidthCode(uint64_t gap);

// Unsigned little-endian numbers of 1 to 8 bytes.
uint64_t readLittleEndian(const uint8_t* data, int width);
void appendLittleEndian(std::string& out, uint64_t value, int width);

// The 24-bit creation date: year - 1900 in bits 0-14, day 1-31 in bits 15-19, month 0-11 in bits
// 20-23. The byte above is left as it was.
uint32_t packDate(uint32_t previous, int yearSince1900, int day, int month0);
// Packs today's local date into the field.
void packCreationDate(uint32_t& date);
// "DD.MM.YYYY", month counted from 1. Any packed value formats, a crafted one too.
std::string formatCreationDate(uint32_t packed);

// The text after the last point of the file name, or "unk" when there is none, when the name
// starts with its last point, or when a blank or nothing follows the point.
std::string narrowExtensionOfPath(std::string_view path);
// The file name up to the last point of the path; the whole name when that point lies in a folder.
std::string narrowBaseNameOfPath(std::string_view path);
// The file name without its ".ml" extension (any case); other extensions stay.
std::string patchBaseName(std::string_view path);
// Appends ".ml" unless the extension already is ml in any case.
void ensurePatchExtension(std::string& path);
// At most maxBytes of UTF-8 text, never ending inside a character.
std::string cutUtf8(std::string_view text, size_t maxBytes);
