// The three error classes through which every failure of morlo travels. A failure is thrown as a
// pointer to one of the error objects below; the catcher reads the message and never frees it.
#pragma once
#include <string>

class errorBase {
 public:
  std::wstring message;

  // Stores the text and throws a pointer typed as the object's own class.
  [[noreturn]] virtual void raise(const std::wstring& text);
  // Stores first, a line feed and second, and throws the pointer typed errorBase*.
  [[noreturn]] virtual void raiseJoined(const std::wstring& first, const std::wstring& second);
};

// A failure caused by the user's input (two equal paths, an empty field).
class errorStrShow : public errorBase {
 public:
  [[noreturn]] void raise(const std::wstring& text) override;
};

// A stop that is not a failure ("Patching is stopped"): shown in the status bar, not in a box.
class warning : public errorBase {
 public:
  [[noreturn]] void raise(const std::wstring& text) override;
};

// A new error object owned by the calling thread; it lives until the thread ends.
template <typename error>
error* newThreadErrorObject();

// One source file's error object of one class for the calling thread, made on first use. The
// holder itself is trivially destructible: MinGW's emulated TLS runs the destructors of
// thread_local objects after it has freed their memory, so the objects live elsewhere.
template <typename error>
class localErrorObject {
 public:
  error& object() { return object_ ? *object_ : *(object_ = newThreadErrorObject<error>()); }
  // Qualified calls: the object is exactly of this class, and the compiler sees they never return.
  [[noreturn]] void raise(const std::wstring& text) { object().error::raise(text); }
  [[noreturn]] void raiseJoined(const std::wstring& first, const std::wstring& second) {
    object().errorBase::raiseJoined(first, second);
  }

 private:
  error* object_ = nullptr;
};

// Every source file that includes this header owns one object of each class, and each thread its
// own, so a worker's raise never overwrites a message that the GUI thread is reading. Code raises
// through the objects of its own source file.
namespace {
thread_local localErrorObject<errorBase> localError;
thread_local localErrorObject<errorStrShow> localStrShow;
thread_local localErrorObject<warning> localWarning;
}  // namespace
