#include "errors.h"

void errorBase::raise(const std::wstring& text) {
  message = text;
  throw this;
}

void errorBase::raiseJoined(const std::wstring& first, const std::wstring& second) {
  // Built apart first: either text may be this object's own message.
  std::wstring joined = first + L'\n' + second;
  message = std::move(joined);
  throw static_cast<errorBase*>(this);
}

void errorStrShow::raise(const std::wstring& text) {
  message = text;
  throw this;
}

void warning::raise(const std::wstring& text) {
  message = text;
  throw this;
}
