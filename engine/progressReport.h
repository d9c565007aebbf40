// What a running operation reports: the step text (status part 1), the countdown of blocks still
// to be processed (status part 0), the percentage (progress bar and taskbar button) and the end of
// a stage. The decisions live here; a progressSink carries them to the windows (or to a test).
#pragma once
#include <cstdint>
#include <string>

// Files are worked through in blocks of this size.
constexpr uint64_t progressBlockSize = 262144000;
// The number of blocks a file of this length takes (1 for a length up to one block).
uint32_t progressBlockCount(uint64_t length);

class progressSink {
 public:
  virtual void statusText(int part, const std::wstring& text) = 0;
  virtual void progressPosition(int percent) = 0;  // the progress bar
  virtual void taskbarProgress(int percent) = 0;   // the taskbar button, of 100
  virtual void pause() = 0;                        // let the windows catch up

 protected:
  ~progressSink() = default;
};

// A sink that shows nothing, for runs without windows.
progressSink& silentProgressSink();

class progressReport {
 public:
  explicit progressReport(progressSink& sink) : sink_(&sink) {}
  void setSink(progressSink& sink) { sink_ = &sink; }

  // Status part 1 = the step's text.
  void showStep(const std::wstring& text);
  // Status part 0 = the number of blocks of the length.
  void startBlocks(uint64_t length);
  // After each block: the countdown goes down by one while it is above 0.
  void blockDone();
  // A new percentage range: the last position shown goes back to 0.
  void startPercent();
  // Shows the percentage (held to 100) when it is greater than the last one shown.
  void showPercent(int percent);
  // End of a stage: progress bar 100, a pause for the windows, taskbar 100.
  void endStage();

  uint32_t blocksLeft() const { return blocksLeft_; }
  int lastPercent() const { return lastPercent_; }

 private:
  void showBlocks();

  progressSink* sink_;
  uint32_t blocksLeft_ = 0;
  int lastPercent_ = 0;
};
