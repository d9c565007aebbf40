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
