#include <gtest/gtest.h>

#include "morloDriver.h"
#include "testFiles.h"

TEST(morloStartup, showsItsWindowWithoutAnySettingsFiles) {
  scratchDir folder;
  makeProgramFolder(folder.path());
  morloProcess morlo(folder.path());
  ASSERT_TRUE(morlo.mainWindow());
  EXPECT_EQ(morlo.visiblePage(), 0);
  EXPECT_FALSE(IsWindowEnabled(morlo.control(0, 1011)));
  EXPECT_TRUE(morlo.close());
}
