#include "fileDialogs.h"

#include <gtest/gtest.h>

#include "guiTexts.h"
#include "realWindow.h"
#include "resources/resourceIds.h"

// Wine's own dialog refuses such paths before it returns, so the dialog's answer is put in.
TEST_F(realWindow, aPathTooLongForTheDialogIsAnErrorAndKeepsTheEarlierChoice) {
  thePaths.applyPatchPath = L"C:\\earlier.ml";
  thePaths.templatePath = L"C:\\earlier.txt";
  theFileDialog.show = [](OPENFILENAMEW&, bool) { return dialogResult{false, FNERR_BUFFERTOOSMALL}; };
  boxAnswerer answerer;
  SendMessageW(tabPages[0], WM_COMMAND, IDC_SELECT_PATCH, 0);
  SendMessageW(tabPages[1], WM_COMMAND, IDM_LOAD_TEMPLATE, 0);
  theFileDialog.show = showSystemDialog;
  EXPECT_EQ(answerer.texts(), guiErrorTexts[3] + guiErrorTexts[3]);
  EXPECT_EQ(thePaths.applyPatchPath, L"C:\\earlier.ml");
  EXPECT_EQ(thePaths.filesChosenMask, 0);
  EXPECT_EQ(windowText(theGui.applyPatchEdit), L"");
  EXPECT_EQ(thePaths.templatePath, L"C:\\earlier.txt");
}
