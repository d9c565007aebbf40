// Language files as the tests make them (UTF-16LE after the mark FF FE), and a record of every
// text that applying a language can change.
#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "guiTexts.h"
#include "testFiles.h"

inline bytes markedWide(std::wstring_view text) {
  bytes out = {0xFF, 0xFE};
  putUtf16Le(out, std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
  return out;
}

// The version line, the 178 table lines (line n is prefix followed by n) and the display name,
// joined by CR LF, with no break after the name.
inline std::wstring languageText(std::wstring_view name, std::wstring_view prefix = L"T") {
  std::wstring text = L"v1.1\r\n";
  for (size_t n = 0; n < languageTextLineCount; ++n) {
    text += std::wstring(prefix) + std::to_wstring(n) + L"\r\n";
  }
  return text + std::wstring(name);
}

// The texts of the tables as they stand; the constructor's are put back when the object goes.
class tableTexts {
 public:
  tableTexts() {
    for (const languageTextSlot& slot : languageTextSlots()) slots_.push_back(slot.text());
    defaults_ = defaultInfoLabels;
    keys_ = foreignInfoKeys;
    aboutTitle_ = guiMessageTexts[9];
  }
  ~tableTexts() {
    for (size_t i = 0; i < slots_.size(); ++i) languageTextSlots()[i].assign(slots_[i]);
    defaultInfoLabels = defaults_;
    foreignInfoKeys = keys_;
    guiMessageTexts[9] = aboutTitle_;
  }
  tableTexts(const tableTexts&) = delete;
  tableTexts& operator=(const tableTexts&) = delete;

  bool operator==(const tableTexts& other) const {
    return slots_ == other.slots_ && defaults_ == other.defaults_ && keys_ == other.keys_ &&
           aboutTitle_ == other.aboutTitle_;
  }

 private:
  std::vector<std::wstring> slots_;
  std::array<std::wstring, 4> defaults_;
  std::array<std::string, 4> keys_;
  std::wstring aboutTitle_;
};
