#include "pageCommon.h"

#include "caughtErrors.h"
#include "mainWindow.h"
#include "resources/resourceIds.h"

HBRUSH pageBrush = nullptr;

bool answerCommonPageMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
  result = FALSE;
  switch (message) {
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      result = reinterpret_cast<INT_PTR>(pageBrush);
      return true;
    case WM_CTLCOLORDLG:
      result = reinterpret_cast<INT_PTR>(pageBrush);
      return true;
    case WM_MBUTTONDOWN:
      nextTab();
      return true;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDM_NEXT_TAB) nextTab();
      if (LOWORD(wParam) == IDM_PREVIOUS_TAB) previousTab();
      return LOWORD(wParam) == IDM_NEXT_TAB || LOWORD(wParam) == IDM_PREVIOUS_TAB;
    default:
      return false;
  }
}

void runIfEnabled(HWND runButton, const std::function<void()>& start) {
  if (IsWindowEnabled(runButton)) {
    start();
  } else {
    MessageBeep(MB_ICONEXCLAMATION);
  }
}

POINT cursorPosition() {
  POINT at{};
  GetCursorPos(&at);
  return at;
}

void guarded(HWND page, const std::function<void()>& handling) {
  if (const caughtError caught = runCaught(handling)) showErrorBox(page, caught.text);
}
