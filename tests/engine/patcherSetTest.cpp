#include <gtest/gtest.h>

#include "patcherTestWindows.h"

TEST(patcherSet, applyPatcherByExtension) {
  patcherSet set;
  struct expectation {
    const wchar_t* path;
    patcher* chosen;
    int kind;
  };
  const expectation cases[] = {
      {L"C:\\p\\a.IPS", &set.module1, 0}, {L"a.bps", &set.module1, 1},   {L"a.Ups", &set.module1, 2},
      {L"a.aps", &set.module2, 3},        {L"a.PPF", &set.module2, 4},   {L"a.rup", &set.module2, 5},
      {L"C:\\a.BsD", &set.module2, 8},    {L"a.XDELTA", &set.module3, 0}, {L"a.ml", &set.morlo, -1},
      {L"a.ML", &set.morlo, -1},          {L"a.txt", &set.morlo, -1},    {L"C:\\p\\noextension", &set.morlo, -1},
      {L"C:\\ips.d\\patch", &set.morlo, -1}, {L"a.ipsx", &set.morlo, -1}, {L"a.", &set.morlo, -1},
  };
  for (const expectation& c : cases) {
    patcher* chosen = patcherForApply(set, c.path);
    EXPECT_EQ(chosen, c.chosen) << toUtf8(c.path);
    if (c.kind >= 0) {
      EXPECT_EQ(static_cast<patcher0*>(chosen)->kind, c.kind) << toUtf8(c.path);
    }
  }
  EXPECT_EQ(defaultPatcher(set), &set.morlo);
}

TEST(patcherSet, createPatcherIsXdeltaOrMorlo) {
  patcherSet set;
  EXPECT_EQ(patcherForCreate(set, L"C:\\out\\hack.xdelta"), &set.module3);
  EXPECT_EQ(patcherForCreate(set, L"hack.XDelta"), &set.module3);
  for (const wchar_t* path : {L"hack.ml", L"hack.ips", L"hack.ppf", L"hack", L"hack.xdeltas"})
    EXPECT_EQ(patcherForCreate(set, path), &set.morlo) << toUtf8(path);
}

TEST(patcherSet, kindsFollowTheExtensionTable) {
  const wchar_t* extensions[] = {L"ml", L"ips", L"bps", L"ups", L"aps", L"ppf", L"rup", L"bsd", L"xdelta"};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(patchKindFromExtension(extensions[i]), i + 1);
  EXPECT_EQ(patchKindFromExtension(L"XdElTa"), 9);
  EXPECT_EQ(patchKindFromExtension(L""), 0);
  EXPECT_EQ(patchKindFromExtension(L"unc"), 0);
  EXPECT_EQ(patchKindFromExtension(L"ppf "), 0);
}

TEST(patcherSet, checkPathsComparesTheTextsInOrder) {
  patcherSet set;
  patcher& any = set.module2;
  EXPECT_EQ(thrownMessage<errorStrShow>([&] { any.checkPaths(L"X:\\a", L"X:\\a", L"X:\\a", 7); }),
            L"The patch and input file paths are equivalent");
  EXPECT_EQ(thrownMessage<errorStrShow>([&] { any.checkPaths(L"X:\\p", L"X:\\s", L"X:\\p", 7); }),
            L"The patch and output file paths are equivalent");
  EXPECT_EQ(thrownMessage<errorStrShow>([&] { any.checkPaths(L"X:\\p", L"X:\\s", L"X:\\s", 7); }),
            L"The input and output file paths are equivalent");
  // Without a copy the output is not looked at.
  EXPECT_NO_THROW(any.checkPaths(L"X:\\p", L"X:\\s", L"X:\\p", 3));
  EXPECT_NO_THROW(any.checkPaths(L"X:\\p", L"X:\\s", L"X:\\s", 3));
  EXPECT_NO_THROW(any.checkPaths(L"X:\\p", L"X:\\s", L"X:\\t", 7));
  EXPECT_EQ(thrownMessage<errorStrShow>([&] { any.checkPaths(L"", L"", L"X:\\t", 3); }),
            L"The patch and input file paths are equivalent");
}

class attachedPatchers : public patcherWindows {};

TEST_F(attachedPatchers, moduleFolderBesideTheProgram) {
  EXPECT_EQ(set.module1.modulePath, modulePath(1));
  EXPECT_EQ(set.module2.modulePath, modulePath(2));
  EXPECT_EQ(set.module3.modulePath, modulePath(3));
  EXPECT_EQ(set.shared.infoBox, gui.applyInfoEdit);
  EXPECT_EQ(set.shared.statusBar, gui.statusBar);
  EXPECT_EQ(set.shared.defaultInfoFont, defaultFont);
}
