// One piece of work on a second thread, so that the engine reads the next block while the
// block before is digested or written. The work reports failure by its result: an error object
// raised on that thread would not outlive it.
#pragma once
#include <functional>
#include <system_error>
#include <thread>

class backgroundTask {
 public:
  backgroundTask() = default;
  ~backgroundTask() { wait(); }
  backgroundTask(const backgroundTask&) = delete;
  backgroundTask& operator=(const backgroundTask&) = delete;

  void start(std::function<bool()> work) {
    try {
      worker_ = std::thread([this, work = std::move(work)] { succeeded_ = work(); });
    } catch (const std::system_error&) {
      succeeded_ = work();  // no thread to be had: the work is done here
    }
  }
  // Waits for the work started last; false when it failed.
  bool wait() {
    if (worker_.joinable()) worker_.join();
    return succeeded_;
  }

 private:
  std::thread worker_;
  bool succeeded_ = true;
};
