// Writes NINJA2 patches byte by byte for the RUP tests, and runs tollen on them in a
// scratch folder that is also its working directory (where "ninja.src" goes).
#pragma once
#include <algorithm>
#include <filesystem>
#include <string>

#include "md5.h"
#include "processRunner.h"
#include "testFiles.h"

struct rupMetadata {
  std::string author, version, title, genre, language, date, website, description;
};

inline bytes concat(const bytes& a, const bytes& b) {
  bytes out(a);
  out.insert(out.end(), b.begin(), b.end());
  return out;
}

inline bytes md5Of(const bytes& data) {
  md5Context context;
  md5ContextInit(&context);
  md5ContextUpdate(&context, data.data(), data.size());
  bytes digest(16);
  md5ContextFinal(&context, digest.data());
  return digest;
}

inline bytes rupHeader(const rupMetadata& meta = {}) {
  bytes header(2048, 0);
  std::copy_n("NINJA2", 6, header.begin());
  header[6] = '1';
  auto put = [&](size_t offset, const std::string& text) { std::copy(text.begin(), text.end(), header.begin() + offset); };
  put(7, meta.author);
  put(91, meta.version);
  put(102, meta.title);
  put(358, meta.genre);
  put(406, meta.language);
  put(454, meta.date);
  put(462, meta.website);
  put(974, meta.description);
  return header;
}

// Length byte and the fewest value bytes.
inline void putRupNumber(bytes& out, uint64_t value) {
  int length = 0;
  while (length < 8 && (value >> (8 * length)) != 0) ++length;
  out.push_back(static_cast<uint8_t>(length));
  putLe(out, value, length);
}

inline void putOpenFile(bytes& out, const std::string& name, int type, const bytes& source, const bytes& target) {
  out.push_back(0x01);
  putRupNumber(out, name.size());
  putText(out, name);
  out.push_back(static_cast<uint8_t>(type));
  putRupNumber(out, source.size());
  putRupNumber(out, target.size());
  bytes digest = md5Of(source);
  out.insert(out.end(), digest.begin(), digest.end());
  digest = md5Of(target);
  out.insert(out.end(), digest.begin(), digest.end());
}

inline void putXor(bytes& out, uint64_t offset, const bytes& data) {
  out.push_back(0x02);
  putRupNumber(out, offset);
  putRupNumber(out, data.size());
  out.insert(out.end(), data.begin(), data.end());
}

inline void putOverflow(bytes& out, char kind, const bytes& data) {
  out.push_back(static_cast<uint8_t>(kind));
  putRupNumber(out, data.size());
  for (uint8_t b : data) out.push_back(static_cast<uint8_t>(~b));
}

// The records that turn one image into the other: an XOR record for each run of differing
// bytes of the common part, then the tail as an 'A' (longer) or 'M' (shorter) block.
inline void putChanges(bytes& out, const bytes& source, const bytes& target) {
  size_t common = std::min(source.size(), target.size());
  for (size_t i = 0; i < common;) {
    if (source[i] == target[i]) { ++i; continue; }
    size_t end = i;
    bytes change;
    while (end < common && source[end] != target[end]) change.push_back(source[end] ^ target[end]), ++end;
    putXor(out, i, change);
    i = end;
  }
  if (target.size() > source.size()) putOverflow(out, 'A', bytes(target.begin() + common, target.end()));
  if (source.size() > target.size()) putOverflow(out, 'M', bytes(source.begin() + common, source.end()));
}

// A single-file patch from one plain image to another, for a file of the given type.
inline bytes singleFilePatch(int type, const bytes& source, const bytes& target, const rupMetadata& meta = {}) {
  bytes patch = rupHeader(meta);
  putOpenFile(patch, "", type, source, target);
  putChanges(patch, source, target);
  patch.push_back(0x00);
  return patch;
}

inline std::string withoutCarriageReturns(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

const std::string rupPatching = "   RUP patch information:\n\n   Patching...\n";
const std::string rupSuccessLine = "   Patching is successfully finished!\n";

struct rupFolder {
  scratchDir dir;
  std::string patch = dir.file("patch.rup");
  std::string image = dir.file("game.bin");

  processResult run(const std::vector<std::string>& args) {
    processResult r = runProcess(builtProgramPath("tollen"), args, "", dir.path().string());
    r.out = withoutCarriageReturns(r.out);
    return r;
  }
  // Writes both files and applies the patch to the image.
  processResult apply(const bytes& patchBytes, const bytes& imageBytes) {
    writeFileBytes(patch, patchBytes);
    writeFileBytes(image, imageBytes);
    return run({patch, image});
  }
  bytes imageNow() const { return readFileBytes(image); }
  bool tempLeft() const { return std::filesystem::exists(dir.path() / "ninja.src"); }
};
