#include "guiTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Gives every line of a language file its own text and puts the English texts back afterwards.
class languageLines : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const languageTextSlot& slot : languageTextSlots()) english_.push_back(slot.text());
    savedDefaults_ = defaultInfoLabels;
    savedKeys_ = foreignInfoKeys;
  }
  void TearDown() override {
    for (size_t i = 0; i < english_.size(); ++i) languageTextSlots()[i].assign(english_[i]);
    defaultInfoLabels = savedDefaults_;
    foreignInfoKeys = savedKeys_;
  }
  static void numberEveryLine() {
    for (size_t i = 0; i < languageTextSlots().size(); ++i) {
      languageTextSlots()[i].assign(L"line " + std::to_wstring(i));
    }
  }

  std::vector<std::wstring> english_;
  std::array<std::wstring, 4> savedDefaults_;
  std::array<std::string, 4> savedKeys_;
};

}  // namespace

TEST_F(languageLines, everyLineHasItsOwnEntryInFileOrder) {
  ASSERT_EQ(languageTextSlots().size(), languageTextLineCount);
  ASSERT_EQ(languageTextLineCount, 178u);
  // The first and last English text of each table, at the line where a language file has it.
  const std::pair<size_t, const wchar_t*> boundaries[] = {
      {0, L"Can't open language file"},
      {8, L"The language strings sum is not enough"},
      {9, L"Info"},
      {17, L"The path for this file will be automatically created."},
      {18, L"Error"},
      {20, L"Error of create Thread"},
      {21, L"That name already exists"},
      {28, L"Comment field is empty"},
      {29, L"Can't open file"},
      {34, L"File uses non-unicode format"},
      {35, L"System"},
      {43, L"[DD.MM.YYYY]"},
      {44, L"File type"},
      {45, L"Modified file is not resized"},
      {46, L"Patching is stopped"},
      {47, L"Checksum is not correct, continue?"},
      {54, L"Patching is successfully finished!"},
      {55, L"Original file is not selected"},
      {84, L"This patcher version does not support advanced features"},
      {85, L"External patcher is started"},
      {86, L"Xdelta can't patch to original file"},
      {87, L"The patch and input file paths are equivalent"},
      {95, L"Modified file is less than 30 MB"},
      {96, L"Info"},
      {110, L"Website"},
      {111, L"Apply patch"},
      {177, L"About..."}};
  for (const auto& [line, text] : boundaries) EXPECT_EQ(languageTextSlots()[line].text(), text) << line;

  numberEveryLine();
  for (size_t i = 0; i < languageTextSlots().size(); ++i) {
    EXPECT_EQ(languageTextSlots()[i].text(), L"line " + std::to_wstring(i)) << "entry taken twice";
  }
  EXPECT_EQ(guiMessageTexts[8], L"line 17");
  EXPECT_EQ(guiMessageTexts[9], L"About...");  // taken from the menu, not from the file
  EXPECT_EQ(defaultInfoLabels[0], L"line 44");
  EXPECT_EQ(modulePatcherErrors[8], L"line 95");
  EXPECT_EQ(foreignInfoLabels[0], "line 96");
  EXPECT_EQ(guiCaptionTexts[66], L"line 177");
}

TEST_F(languageLines, copiedLabelsFollowPatchInfoLabels) {
  numberEveryLine();
  EXPECT_EQ(defaultInfoLabels[1], L"Game");  // until the copies are refreshed
  refreshCopiedInfoLabels();
  EXPECT_EQ(defaultInfoLabels[0], L"line 44");
  EXPECT_EQ(defaultInfoLabels[1], L"line 36");
  EXPECT_EQ(defaultInfoLabels[2], L"line 37");
  EXPECT_EQ(defaultInfoLabels[3], L"line 42");
  EXPECT_EQ(foreignInfoKeys[3], "line 43");
  EXPECT_EQ(patchInfoKeys[0], "System");
  EXPECT_EQ(patchInfoKeys[8], " [DD.MM.YYYY]\n");
}

TEST_F(languageLines, narrowTablesKeepUtf8) {
  languageTextSlots()[110].assign(L"Webseite \u00FC\U0001F3AE");
  EXPECT_TRUE(languageTextSlots()[110].isNarrow());
  EXPECT_EQ(foreignInfoLabels[14], "Webseite \xC3\xBC\xF0\x9F\x8E\xAE");
  EXPECT_EQ(languageTextSlots()[110].text(), L"Webseite \u00FC\U0001F3AE");
}
