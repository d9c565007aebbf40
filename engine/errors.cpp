#include "errors.h"

#include <windows.h>

#include <deque>

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

namespace {

// The error objects of one thread; a deque keeps every object where it was made.
struct threadErrorObjects {
  std::deque<errorBase> errors;
  std::deque<errorStrShow> strShows;
  std::deque<warning> warnings;
};

void WINAPI freeThreadErrorObjects(void* objects) { delete static_cast<threadErrorObjects*>(objects); }

// A fiber-local slot, whose callback frees a thread's objects when the thread ends.
threadErrorObjects& objectsOfThisThread() {
  static const DWORD slot = FlsAlloc(freeThreadErrorObjects);
  auto* objects = static_cast<threadErrorObjects*>(FlsGetValue(slot));
  if (!objects) {
    objects = new threadErrorObjects;
    FlsSetValue(slot, objects);
  }
  return *objects;
}

}  // namespace

template <>
errorBase* newThreadErrorObject<errorBase>() {
  return &objectsOfThisThread().errors.emplace_back();
}

template <>
errorStrShow* newThreadErrorObject<errorStrShow>() {
  return &objectsOfThisThread().strShows.emplace_back();
}

template <>
warning* newThreadErrorObject<warning>() {
  return &objectsOfThisThread().warnings.emplace_back();
}
