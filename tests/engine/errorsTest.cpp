#include "errors.h"

#include <windows.h>

#include <gtest/gtest.h>

TEST(errors, raiseThrowsTheObjectWithItsOwnType) {
  try {
    localWarning.raise(L"Patching is stopped");
    FAIL();
  } catch (warning* caught) {
    EXPECT_EQ(caught, &localWarning.object());
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
    EXPECT_EQ(caught, static_cast<errorBase*>(&localWarning.object()));
    EXPECT_EQ(caught->message, L"Can't create file\n\\config\\cnf.ini");
  }
}

TEST(errors, aLaterRaiseReusesTheObject) {
  errorBase* first = nullptr;
  try {
    localError.raise(L"first");
  } catch (errorBase* caught) {
    first = caught;
  }
  try {
    localError.raiseJoined(first->message, L"second");
  } catch (errorBase* caught) {
    EXPECT_EQ(caught, first);
    EXPECT_EQ(caught->message, L"first\nsecond");
  }
}

namespace {

struct workerResult {
  errorBase* object = nullptr;
  std::wstring text;
};

DWORD WINAPI raiseOnWorker(void* parameter) {
  auto* result = static_cast<workerResult*>(parameter);
  try {
    localError.raise(L"worker thread");
  } catch (errorBase* caught) {
    result->object = caught;
    result->text = caught->message;
  }
  return 0;
}

}  // namespace

TEST(errors, aWorkerRaisesThroughItsOwnObjects) {
  try {
    localError.raise(L"GUI thread");
  } catch (errorBase* guiError) {
    // Two workers one after the other, as the program runs them; the first one's objects are
    // freed when it ends.
    for (int run = 0; run < 2; ++run) {
      workerResult result;
      HANDLE worker = CreateThread(nullptr, 0, raiseOnWorker, &result, 0, nullptr);
      ASSERT_NE(worker, nullptr);
      WaitForSingleObject(worker, INFINITE);
      CloseHandle(worker);
      EXPECT_NE(result.object, guiError);
      EXPECT_EQ(result.text, L"worker thread");
    }
    EXPECT_EQ(guiError->message, L"GUI thread");
  }
}
