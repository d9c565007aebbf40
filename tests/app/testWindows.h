// Hidden windows with real common controls for the tests of the window code (under Wine, on the
// build's Xvfb display).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <shellapi.h>
#include <shlobj.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

// A hidden top-level window of 600 x 400 pixels; WM_APP messages run its onApp callback.
class hiddenWindow {
 public:
  hiddenWindow() {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_TAB_CLASSES};
    InitCommonControlsEx(&classes);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"morloTestWindow";
    RegisterClassW(&windowClass);  // fails harmlessly when already registered
    handle = CreateWindowExW(0, L"morloTestWindow", L"test", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400,
                             nullptr, nullptr, GetModuleHandleW(nullptr), this);
  }
  ~hiddenWindow() { DestroyWindow(handle); }
  hiddenWindow(const hiddenWindow&) = delete;
  hiddenWindow& operator=(const hiddenWindow&) = delete;

  // A child control of a common-control or system class.
  HWND child(const wchar_t* className, const wchar_t* text = L"", DWORD style = 0) const {
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 10, 10, 200, 24,
                           handle, nullptr, GetModuleHandleW(nullptr), nullptr);
  }

  HWND handle = nullptr;
  void (*onApp)(void* context) = nullptr;
  void* appContext = nullptr;

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* self = static_cast<hiddenWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<hiddenWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_APP && self && self->onApp) {
      self->onApp(self->appContext);
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }
};

// Dispatches this thread's messages until the condition holds; false after the time is up.
inline bool pumpUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds limit = std::chrono::seconds(20)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    Sleep(5);
  }
}

inline std::wstring windowText(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

inline std::wstring statusPartText(HWND statusBar, int part) {
  wchar_t text[512] = {};
  SendMessageW(statusBar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text));
  return text;
}

inline int progressPosition(HWND progressBar) {
  return static_cast<int>(SendMessageW(progressBar, PBM_GETPOS, 0, 0));
}

// A drop handle as the shell makes it for dropped files: DROPFILES and double-NUL-ended names.
inline HDROP makeDrop(const std::vector<std::wstring>& names) {
  std::wstring list;
  for (const auto& name : names) list += name + L'\0';
  list += L'\0';
  const size_t size = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GHND, size);
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  std::memcpy(header + 1, list.data(), list.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}
