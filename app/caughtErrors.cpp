#include "caughtErrors.h"

#include "errors.h"
#include "guiTexts.h"

caughtError runCaught(const std::function<void()>& step) {
  try {
    step();
    return {};
  } catch (warning* caught) {
    return {caughtKind::warning, caught->message};
  } catch (errorStrShow* caught) {
    return {caughtKind::userError, caught->message};
  } catch (errorBase* caught) {
    return {caughtKind::error, caught->message};
  } catch (...) {
    return {caughtKind::unknown, guiErrorTexts[1]};
  }
}

void showErrorBox(HWND owner, const std::wstring& text) {
  MessageBoxW(owner, text.c_str(), guiErrorTexts[0].c_str(), MB_ICONERROR);
}

std::wstring systemErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
  return text.empty() ? guiErrorTexts[1] : text;
}
