#include "guiTexts.h"

#include <gtest/gtest.h>

TEST(guiTexts, languageFileOrderHoldsEveryReplaceableLine) {
  EXPECT_EQ(languageTextSlots().size(), 178u);
}
