#include "foreignInfo.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base64.h"
#include "engineTexts.h"
#include "textConvert.h"
#include "utf8Path.h"

namespace {

// The patch file on the patcher's stream for the time of one reader; closed again however
// the reader leaves. Every read and seek is checked against the file's real size.
class patchFile {
 public:
  patchFile(std::ifstream& stream, const std::string& path) : stream_(stream) {
    stream_.close();
    stream_.clear();
    stream_.open(utf8Path(path), std::ios::binary);
    if (!stream_.is_open()) return;
    stream_.seekg(0, std::ios::end);
    const std::streamoff end = stream_.tellg();
    stream_.seekg(0);
    if (stream_ && end >= 0) size_ = end;
  }
  ~patchFile() {
    stream_.close();
    stream_.clear();
  }
  patchFile(const patchFile&) = delete;
  patchFile& operator=(const patchFile&) = delete;

  bool isOpen() const { return size_ >= 0; }
  int64_t size() const { return size_; }
  int64_t position() { return stream_.tellg(); }

  bool seek(int64_t offset) {
    if (!isOpen() || offset < 0 || offset > size_) return false;
    stream_.clear();
    return bool(stream_.seekg(offset));
  }
  bool skip(uint64_t count) {
    const int64_t at = position();
    return at >= 0 && count <= uint64_t(size_ - at) && seek(at + int64_t(count));
  }
  // Exactly count bytes, or false.
  bool read(void* out, size_t count) {
    if (!isOpen()) return false;
    stream_.read(static_cast<char*>(out), std::streamsize(count));
    return stream_.gcount() == std::streamsize(count);
  }
  bool readAt(int64_t offset, void* out, size_t count) { return seek(offset) && read(out, count); }
  bool readByte(uint8_t& value) { return read(&value, 1); }

 private:
  std::ifstream& stream_;
  int64_t size_ = -1;
};

// A fixed-size text field: its bytes up to the first NUL, never past its end.
std::string fieldText(const char* field, size_t size) {
  return std::string(field, std::find(field, field + size, '\0'));
}

bool isBlankText(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return c != '\0' && std::strchr(" \t\n\v\f\r", c) != nullptr; });
}

// "Info: " and the 50-byte description, or "not available" when it says nothing.
void appendDescriptionLine(std::string& text, const char (&field)[50]) {
  const std::string description = fieldText(field, sizeof field);
  text += foreignInfoLabels[0] + ": ";
  text += isBlankText(description) ? foreignInfoLabels[2] : description;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// RFC 3284 integer, most significant group first. Values that do not fit 32 bits are damage.
bool readVcdiffInteger(patchFile& patch, uint32_t& value) {
  uint64_t result = 0;
  for (int i = 0; i < 5; ++i) {
    uint8_t byte = 0;
    if (!patch.readByte(byte)) return false;
    result = (result << 7) | (byte & 0x7F);
    if (result > UINT32_MAX) return false;
    if (!(byte & 0x80)) {
      value = uint32_t(result);
      return true;
    }
  }
  return false;
}

// Base64 text whose tail beyond the end of the file counts as zero bytes. Only the bytes
// present, plus one zero group at most, are held: the decoder stops at the first byte
// outside the alphabet or at "=", so what lies further on cannot change its result.
std::string decodeStoredBase64(const std::string& present, uint32_t length) {
  if (length == 0 || length % 4 != 0) return {};
  uint32_t held = length;
  if (present.size() < length) held = std::min<uint32_t>(length, (uint32_t(present.size()) / 4 + 1) * 4);
  std::string encoded(held, '\0');
  std::copy_n(present.begin(), std::min<size_t>(present.size(), held), encoded.begin());
  std::vector<uint8_t> decoded(held / 4 * 3);
  const uint32_t count = base64Decode(encoded.data(), held, decoded.data());
  return std::string(decoded.begin(), decoded.begin() + count);
}

// Every line of the description ends in CR LF, whichever line ends it was stored with.
std::string withCrLfLineEnds(std::string text) {
  text = replaceAll(std::move(text), "\r\n", "\n");
  std::replace(text.begin(), text.end(), '\r', '\n');
  return replaceAll(std::move(text), "\n", "\r\n");
}

}  // namespace

bool readApsInfo(std::ifstream& inputFile, const std::string& patchPath, std::string& text) {
  text = foreignInfoLabels[3] + ": ";
  patchFile patch(inputFile, patchPath);
  char magic[5];
  if (!patch.read(magic, sizeof magic) || std::memcmp(magic, "APS10", sizeof magic) != 0)
    return false;
  uint8_t type = 0;
  if (!patch.readByte(type)) return false;
  if (type == 0)
    text += foreignInfoLabels[4] + "\r\n";
  else if (type == 1)
    text += "N64\r\n";
  else
    return false;
  uint8_t encoding = 0;
  if (patch.readByte(encoding) && encoding != 0) text += foreignInfoLabels[5] + "\r\n";
  char description[50];
  if (!patch.read(description, sizeof description)) return false;
  appendDescriptionLine(text, description);
  return true;
}

bool readPpfInfo(std::ifstream& inputFile, const std::string& patchPath, std::string& text,
                 bool& undoAvailable, uint8_t& useFixedFont) {
  undoAvailable = false;
  patchFile patch(inputFile, patchPath);
  char magic[4];
  if (!patch.read(magic, sizeof magic)) return false;
  const std::string version = std::string(magic, 3) == "PPF" ? std::string(1, magic[3]) : "";
  if (version != "1" && version != "2" && version != "3") return false;
  text = foreignInfoLabels[6] + ": PPF " + version + ".0\r\n";
  if (version == "1") return true;

  if (version == "3") {
    uint8_t undo = 0;
    if (!patch.readAt(58, &undo, 1)) return false;
    text += foreignInfoLabels[7] + ": " + foreignInfoLabels[undo ? 1 : 2] + "\r\n";
    undoAvailable = undo != 0;
  }
  char description[50];
  if (!patch.readAt(6, description, sizeof description)) return false;
  appendDescriptionLine(text, description);

  // FILE_ID.DIZ: the text, then the 16-byte end marker ending in ".DIZ", then its length.
  const int lengthSize = version == "2" ? 4 : 2;
  char tail[4];
  if (!patch.readAt(patch.size() - lengthSize - 4, tail, sizeof tail)) return false;
  if (std::memcmp(tail, ".DIZ", sizeof tail) != 0) {
    text += "\r\n" + foreignInfoLabels[8] + ": " + foreignInfoLabels[2] + "\r\n";
    return true;
  }
  uint8_t lengthBytes[4] = {};
  if (!patch.read(lengthBytes, lengthSize)) return false;
  uint32_t length = 0;
  for (int i = lengthSize - 1; i >= 0; --i) length = length << 8 | lengthBytes[i];
  const uint32_t shown = std::min<uint32_t>(length, 3072);
  std::string diz(shown, '\0');
  if (!patch.readAt(patch.size() - lengthSize - 16 - shown, diz.data(), shown)) return false;
  text += "\r\n\r\n" + diz.substr(0, diz.find('\0'));
  useFixedFont = 1;
  return true;
}

bool readRupInfo(std::ifstream& inputFile, const std::string& patchPath, std::string& text) {
  text = foreignInfoLabels[9] + ": \r\n";
  patchFile patch(inputFile, patchPath);
  char magic[6];
  if (!patch.read(magic, sizeof magic) || std::memcmp(magic, "NINJA2", sizeof magic) != 0)
    return false;

  // Author, version, title, genre, language, date, website, description.
  constexpr size_t fieldSizes[8] = {84, 11, 256, 48, 48, 8, 512, 1074};
  std::string fields[8];
  if (!patch.seek(7)) return false;
  for (int i = 0; i < 8; ++i) {
    std::vector<char> raw(fieldSizes[i]);
    if (!patch.read(raw.data(), raw.size())) return false;
    fields[i] = fieldText(raw.data(), raw.size());
  }

  const std::string* labels[8] = {&foreignInfoKeys[1],   &foreignInfoKeys[0],   &foreignInfoKeys[2],
                                  &foreignInfoLabels[10], &foreignInfoLabels[11], &foreignInfoLabels[12],
                                  &foreignInfoLabels[14], &foreignInfoLabels[8]};
  for (int i = 0; i < 8; ++i) {
    const std::string& field = fields[i];
    if (field.empty()) continue;
    const std::string& label = *labels[i];
    if (i == 5 && field.size() == 8)
      text += label + ": " + field.substr(0, 4) + "." + field.substr(4, 2) + "." + field.substr(6, 2) +
              " " + foreignInfoLabels[13] + "\r\n";
    else if (i == 5)
      text += label + ": " + field + " [????????]\r\n";
    else if (i == 7)
      text += "\r\n" + label + ": \r\n" + replaceAll(field, "\\n", "\r\n");
    else
      text += label + ": " + field + "\r\n";
  }
  return true;
}

bool readXdeltaInfo(std::ifstream& inputFile, const std::string& patchPath, std::wstring& text) {
  std::string header;
  uint32_t headerLength = 0;
  {
    patchFile patch(inputFile, patchPath);
    uint8_t start[5];
    if (!patch.read(start, sizeof start)) return false;
    if (start[0] != 0xD6 || start[1] != 0xC3 || start[2] != 0xC4 || start[3] != 0) return false;
    const uint8_t indicator = start[4];
    if (!(indicator & 4)) return false;
    if ((indicator & 1) && !patch.skip(1)) return false;
    uint32_t codeTableLength = 0;
    if ((indicator & 2) && (!readVcdiffInteger(patch, codeTableLength) || !patch.skip(codeTableLength)))
      return false;
    if (!readVcdiffInteger(patch, headerLength) || headerLength < 2) return false;
    // A length beyond the end of the file: what is there is read, the rest counts as zeros.
    header.resize(size_t(std::min<int64_t>(headerLength, patch.size() - patch.position())));
    if (!patch.read(header.data(), header.size())) return false;
  }
  if (header.size() < 2 || header.compare(0, 2, "^*") != 0) return false;

  std::string description = decodeStoredBase64(header.substr(2), headerLength - 2);
  if (description.empty()) return false;
  description = withCrLfLineEnds(description.substr(0, description.find('\0')));
  text = fromUtf8(description);
  return true;
}
