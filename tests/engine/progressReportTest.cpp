#include "progressReport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Writes each report as one line, so a test compares the whole sequence.
class recordingSink final : public progressSink {
 public:
  std::vector<std::wstring> events;
  void statusText(int part, const std::wstring& text) override {
    events.push_back(L"part" + std::to_wstring(part) + L" " + text);
  }
  void progressPosition(int percent) override { events.push_back(L"bar " + std::to_wstring(percent)); }
  void taskbarProgress(int percent) override {
    events.push_back(L"taskbar " + std::to_wstring(percent));
  }
  void pause() override { events.push_back(L"pause"); }
};

using lines = std::vector<std::wstring>;

}  // namespace

TEST(progressReport, blockCounts) {
  EXPECT_EQ(progressBlockCount(1), 1u);
  EXPECT_EQ(progressBlockCount(progressBlockSize), 1u);
  EXPECT_EQ(progressBlockCount(progressBlockSize + 1), 2u);
  EXPECT_EQ(progressBlockCount(3 * progressBlockSize), 3u);
  // Single precision would make this 20 blocks.
  EXPECT_EQ(progressBlockCount(20 * progressBlockSize + 1), 21u);
  EXPECT_EQ(progressBlockCount(5368709120ull), 21u);
}

TEST(progressReport, stepAndBlockCountdown) {
  recordingSink sink;
  progressReport report(sink);
  report.showStep(L"File processing");
  report.startBlocks(2 * progressBlockSize + 5);
  for (int block = 0; block < 4; ++block) report.blockDone();  // one too many stays at 0
  EXPECT_EQ(sink.events, (lines{L"part1 File processing", L"part0 3", L"part0 2", L"part0 1",
                                L"part0 0"}));
  EXPECT_EQ(report.blocksLeft(), 0u);
}

TEST(progressReport, aSmallFileCountsOneThenZero) {
  recordingSink sink;
  progressReport report(sink);
  report.startBlocks(1000);
  report.blockDone();
  EXPECT_EQ(sink.events, (lines{L"part0 1", L"part0 0"}));
}

TEST(progressReport, onlyRisingPercentagesAreSent) {
  recordingSink sink;
  progressReport report(sink);
  report.startPercent();
  for (int percent : {0, 1, 1, 3, 2, 3, 250}) report.showPercent(percent);
  EXPECT_EQ(sink.events, (lines{L"bar 1", L"taskbar 1", L"bar 3", L"taskbar 3", L"bar 100",
                                L"taskbar 100"}));
  sink.events.clear();
  report.startPercent();
  report.showPercent(2);
  EXPECT_EQ(sink.events, (lines{L"bar 2", L"taskbar 2"}));
}

TEST(progressReport, endOfStageFillsTheBarPausesThenTheTaskbar) {
  recordingSink sink;
  progressReport report(sink);
  report.startPercent();
  report.showPercent(40);
  sink.events.clear();
  report.endStage();
  report.showPercent(100);
  EXPECT_EQ(sink.events, (lines{L"bar 100", L"pause", L"taskbar 100"}));
}
