#include "errors.h"

#include <gtest/gtest.h>

#include <thread>

TEST(errors, raiseThrowsTheObjectWithItsOwnType) {
  try {
    localWarning.raise(L"Patching is stopped");
    FAIL();
  } catch (warning* caught) {
    EXPECT_EQ(caught, &localWarning);
    EXPECT_EQ(caught->message, L"Patching is stopped");
  }
  try {
    localStrShow.raise(L"Game name field is empty");
    FAIL();
  } catch (warning*) {
    FAIL() << "an errorStrShow must not reach a warning handler";
  } catch (errorStrShow* caught) {
    EXPECT_EQ(caught->message, L"Game name field is empty");
  }
}

TEST(errors, raiseJoinedThrowsAsErrorBaseWithALineFeed) {
  try {
    localWarning.raiseJoined(L"Can't create file", L"\\config\\cnf.ini");
    FAIL();
  } catch (warning*) {
    FAIL() << "a joined raise is thrown as errorBase";
  } catch (errorBase* caught) {
    EXPECT_EQ(caught, static_cast<errorBase*>(&localWarning));
    EXPECT_EQ(caught->message, L"Can't create file\n\\config\\cnf.ini");
  }
}

TEST(errors, joiningTheObjectsOwnMessageKeepsIt) {
  localError.message = L"first";
  try {
    localError.raiseJoined(localError.message, L"second");
  } catch (errorBase* caught) {
    EXPECT_EQ(caught->message, L"first\nsecond");
  }
}

TEST(errors, eachThreadRaisesThroughItsOwnObject) {
  try {
    localError.raise(L"GUI thread");
  } catch (errorBase* guiError) {
    std::wstring workerText;
    errorBase* workerObject = nullptr;
    std::thread worker([&] {
      try {
        localError.raise(L"worker thread");
      } catch (errorBase* caught) {
        workerObject = caught;
        workerText = caught->message;
      }
    });
    worker.join();
    EXPECT_NE(workerObject, guiError);
    EXPECT_EQ(workerText, L"worker thread");
    EXPECT_EQ(guiError->message, L"GUI thread");
  }
}
