#include "pathEdits.h"

#include <gtest/gtest.h>

#include "fileDialogs.h"

TEST(pathEdits, dropsFollowTheEditAndThePatchingMode) {
  struct example {
    pathRole role;
    int patchToFile;
    bool busy;
    dropAction action;
  };
  const example examples[] = {
      {pathRole::patch, 1, false, dropAction::take},        {pathRole::source, 3, false, dropAction::take},
      {pathRole::target, 2, false, dropAction::take},       {pathRole::target, 1, false, dropAction::ignore},
      {pathRole::target, 3, false, dropAction::autoOutput}, {pathRole::patch, 2, true, dropAction::refuse},
      {pathRole::source, 2, true, dropAction::refuse},      {pathRole::target, 3, true, dropAction::refuse},
  };
  for (const example& e : examples)
    EXPECT_EQ(applyDropAction(e.role, e.patchToFile, e.busy), e.action)
        << int(e.role) << " mode " << e.patchToFile << " busy " << e.busy;
}

TEST(fileDialogs, filtersAreZeroSeparatedAndEndTwice) {
  using namespace std::string_literals;
  EXPECT_EQ(filterString({{L"A (*.a)", L"*.a"}, {L"B", L"*.b;*.c"}}),
            L"A (*.a)\0*.a\0B\0*.b;*.c\0\0"s);
  EXPECT_EQ(createPatchFilter, L"Morlo patch (*.ml)\0*.ml\0Xdelta patch (*.xdelta)\0*.xdelta\0\0"s);
  // The first entry offers every kind that a patcher takes.
  const std::wstring first = applyPatchFilter.substr(0, applyPatchFilter.find(L'\0'));
  EXPECT_EQ(first, L"All supported files (*.ml, *.xdelta, *.ips, *.ups, *.aps, *.bps, *.bsd, *.ppf, *.rup)");
  EXPECT_EQ(std::count(gameFileFilter.begin(), gameFileFilter.end(), L'\0'), 2 * 14 + 1);
  EXPECT_EQ(std::count(templateFileFilter.begin(), templateFileFilter.end(), L'\0'), 2 * 2 + 1);
}
