// What a guarded step threw, sorted the way the windows show it: a warning in the status bar,
// any other error object in the "Error" box, anything else as "Unknown error".
#pragma once
#include <windows.h>

#include <functional>
#include <string>

enum class caughtKind { none, warning, userError, error, unknown };

struct caughtError {
  caughtKind kind = caughtKind::none;
  std::wstring text;  // the error's message; "Unknown error" for anything else

  explicit operator bool() const { return kind != caughtKind::none; }
};

// Runs the step and catches whatever it throws.
caughtError runCaught(const std::function<void()>& step);

// The "Error" box with the error icon, owned by the window.
void showErrorBox(HWND owner, const std::wstring& text);

// The system's text for an error code, without its line break; "Unknown error" when it has none.
std::wstring systemErrorText(DWORD code);
