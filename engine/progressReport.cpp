#include "progressReport.h"

uint32_t progressBlockCount(uint64_t length) {
  // Exact: a single-precision quotient loses the last block of a length just over a multiple.
  if (length <= progressBlockSize) return 1;
  return static_cast<uint32_t>((length + progressBlockSize - 1) / progressBlockSize);
}

namespace {

class silentSink final : public progressSink {
 public:
  void statusText(int, const std::wstring&) override {}
  void progressPosition(int) override {}
  void taskbarProgress(int) override {}
  void pause() override {}
};

}  // namespace

progressSink& silentProgressSink() {
  static silentSink sink;
  return sink;
}

void progressReport::showStep(const std::wstring& text) { sink_->statusText(1, text); }

void progressReport::startBlocks(uint64_t length) {
  blocksLeft_ = progressBlockCount(length);
  showBlocks();
}

void progressReport::blockDone() {
  if (blocksLeft_ == 0) return;
  --blocksLeft_;
  showBlocks();
}

void progressReport::showBlocks() { sink_->statusText(0, std::to_wstring(blocksLeft_)); }

void progressReport::startPercent() { lastPercent_ = 0; }

void progressReport::showPercent(int percent) {
  if (percent > 100) percent = 100;
  if (percent <= lastPercent_) return;
  lastPercent_ = percent;
  sink_->progressPosition(percent);
  sink_->taskbarProgress(percent);
}

void progressReport::endStage() {
  lastPercent_ = 100;
  sink_->progressPosition(100);
  sink_->pause();
  sink_->taskbarProgress(100);
}
