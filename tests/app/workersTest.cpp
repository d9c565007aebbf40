#include "workers.h"

#include <gtest/gtest.h>

#include "errors.h"

namespace {

// What the steps did, in order.
struct stepLog {
  std::vector<std::wstring> events;

  workerSteps steps(std::function<void()> operation, std::function<void()> finish = [] {}) {
    workerSteps s;
    s.operation = std::move(operation);
    s.finish = [this, finish] {
      events.push_back(L"finish");
      finish();
    };
    s.sleep = [this](DWORD ms) { events.push_back(L"sleep " + std::to_wstring(ms)); };
    s.showWarning = [this](const std::wstring& text) { events.push_back(L"warning " + text); };
    s.showError = [this](const std::wstring& text) { events.push_back(L"error " + text); };
    return s;
  }
};

}  // namespace

TEST(workerSteps, finishAlwaysRunsAndOnlyASuccessCounts) {
  struct example {
    const char* name;
    std::function<void()> operation;
    bool succeeded;
    std::vector<std::wstring> events;
  };
  const example examples[] = {
      {"success", [] {}, true, {L"sleep 1500", L"finish"}},
      {"warning", [] { localWarning.raise(L"Patching is stopped"); }, false,
       {L"warning Patching is stopped", L"sleep 1500", L"finish"}},
      {"input", [] { localStrShow.raise(L"Paths are equivalent"); }, false,
       {L"error Paths are equivalent", L"finish"}},
      {"error", [] { localError.raiseJoined(L"Can't open file", L"game.bin"); }, false,
       {L"error Can't open file\ngame.bin", L"finish"}},
      {"anything else", [] { throw 42; }, false, {L"error Unknown error", L"finish"}},
  };
  for (const example& e : examples) {
    stepLog log;
    EXPECT_EQ(runWorkerSteps(log.steps(e.operation)), e.succeeded) << e.name;
    EXPECT_EQ(log.events, e.events) << e.name;
  }
  // Nothing that finish throws leaves the worker.
  stepLog log;
  EXPECT_TRUE(runWorkerSteps(log.steps([] {}, [] { localError.raise(L"late"); })));
  EXPECT_TRUE(runWorkerSteps(log.steps([] {}, [] { throw 1; })));
}
