// The application's text tables, built with their English texts at start-up, and the order in
// which a language file replaces the entries of all fifteen tables (these and the engine's).
#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "engineTexts.h"

extern std::array<std::wstring, 9> languageErrorTexts;
extern std::array<std::wstring, 10> guiMessageTexts;  // entry 9 is not read from a language file
extern std::array<std::wstring, 4> guiErrorTexts;  // entry 3 is not read from a language file
extern std::array<std::wstring, 8> editorMessageTexts;
extern std::array<std::wstring, 6> fileErrorTexts;
// Captions of tabs, group boxes, labels, buttons, check boxes, combo items and menu items;
// entries 0 to 2 are the tab captions and the idle status text of each tab.
extern std::array<std::wstring, 67> guiCaptionTexts;

// One table entry that a language-file line replaces; a narrow entry keeps the UTF-8 form.
class languageTextSlot {
 public:
  explicit languageTextSlot(std::wstring& entry) : wide_(&entry) {}
  explicit languageTextSlot(std::string& entry) : narrow_(&entry) {}
  void assign(const std::wstring& text) const;
  std::wstring text() const;
  bool isNarrow() const { return narrow_ != nullptr; }

 private:
  std::wstring* wide_ = nullptr;
  std::string* narrow_ = nullptr;
};

// Lines of a language file that go to the tables (the display name follows them).
constexpr size_t languageTextLineCount = 178;
// The entries that the text lines of a language file replace, in file order.
const std::vector<languageTextSlot>& languageTextSlots();
