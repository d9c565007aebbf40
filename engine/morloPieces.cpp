#include "morloPieces.h"

#include <windows.h>

#include <algorithm>
#include <system_error>
#include <thread>

namespace {

// Buffers in the ring while a digest runs beside the reading: enough to ride out a slow read or a
// moment in which the digest's thread is not scheduled.
constexpr uint64_t ringSlots = 8;
// A reader that found the ring full goes on once the digest has this many pieces left: each wake
// costs the digest's thread tens of microseconds under Wine, so it wakes the reader only now and
// then, and never lets itself run dry.
constexpr uint64_t refillBelow = ringSlots / 2;

// Digests the pieces handed to it, in order, on a thread of its own. Without a thread to be had,
// each piece is digested at once on the caller's. Windows' own lock and condition variables:
// under Wine they wait and wake several times faster than the threads library's.
class digestThread {
 public:
  explicit digestThread(md5* digest) : digest_(digest) {
    if (!digest_) return;
    try {
      worker_ = std::thread([this] { work(); });
    } catch (const std::system_error&) {
    }
  }
  // A pass that ends early leaves the rest undigested.
  ~digestThread() {
    AcquireSRWLockExclusive(&lock_);
    stopping_ = true;
    ReleaseSRWLockExclusive(&lock_);
    WakeConditionVariable(&handed_);
    if (worker_.joinable()) worker_.join();
  }
  digestThread(const digestThread&) = delete;
  digestThread& operator=(const digestThread&) = delete;

  // Returns once a buffer of the ring is free for the next piece.
  void waitForRoom(uint64_t slots) {
    AcquireSRWLockExclusive(&lock_);
    if (handedCount_ - digestedCount_ >= slots) {
      readerWaiting_ = true;
      while (handedCount_ - digestedCount_ > std::min(refillBelow, slots - 1))
        SleepConditionVariableSRW(&roomFreed_, &lock_, INFINITE, 0);
      readerWaiting_ = false;
    }
    ReleaseSRWLockExclusive(&lock_);
  }
  void hand(const uint8_t* data, size_t length) {
    if (!worker_.joinable()) {
      digest_->update(data, static_cast<int32_t>(length));
      return;
    }
    AcquireSRWLockExclusive(&lock_);
    waiting_[handedCount_ % ringSlots] = {data, length};
    ++handedCount_;
    const bool wake = digestWaiting_;
    ReleaseSRWLockExclusive(&lock_);
    if (wake) WakeConditionVariable(&handed_);
  }
  // Waits until every piece handed over is digested.
  void finish() { waitForRoom(1); }

 private:
  void work() {
    AcquireSRWLockExclusive(&lock_);
    for (;;) {
      while (!stopping_ && digestedCount_ == handedCount_) {
        digestWaiting_ = true;
        SleepConditionVariableSRW(&handed_, &lock_, INFINITE, 0);
        digestWaiting_ = false;
      }
      if (stopping_) break;
      const handedPiece next = waiting_[digestedCount_ % ringSlots];
      ReleaseSRWLockExclusive(&lock_);
      digest_->update(next.data, static_cast<int32_t>(next.length));
      AcquireSRWLockExclusive(&lock_);
      ++digestedCount_;
      if (readerWaiting_ && handedCount_ - digestedCount_ <= refillBelow) WakeConditionVariable(&roomFreed_);
    }
    ReleaseSRWLockExclusive(&lock_);
  }

  struct handedPiece {
    const uint8_t* data;
    size_t length;
  };
  md5* digest_;
  SRWLOCK lock_ = SRWLOCK_INIT;
  CONDITION_VARIABLE handed_ = CONDITION_VARIABLE_INIT, roomFreed_ = CONDITION_VARIABLE_INIT;
  handedPiece waiting_[ringSlots] = {};
  uint64_t handedCount_ = 0, digestedCount_ = 0;
  bool readerWaiting_ = false, digestWaiting_ = false, stopping_ = false;
  std::thread worker_;  // last, so that it starts after everything it uses
};

}  // namespace

void pieceRing::setPieces(size_t stride, size_t length) {
  stride_ = std::max<size_t>(stride, 1);
  length_ = std::max(length, stride_);
}

void pieceRing::release() {
  slots_.clear();
  slots_.shrink_to_fit();
  slotSize_ = 0;
}

void pieceRing::reserve(size_t count, size_t size) {
  if (size > slotSize_) {
    slots_.clear();  // the old buffers go before the larger ones are taken
    slotSize_ = size;
  }
  // Touched here: under Wine a read into memory that was never touched is several times slower.
  while (slots_.size() < count) slots_.emplace_back(new uint8_t[slotSize_]());
}

bool pieceRing::pass(morloFile& file, uint64_t from, uint64_t end, md5* digest, bool runOn,
                     const pieceUse& each) {
  if (from >= end) return true;
  // Never more buffers than the pieces of the pass: a small game takes little memory.
  const uint64_t pieces = (end - from - 1) / stride_ + 1;
  const size_t slots = static_cast<size_t>(digest ? std::min(ringSlots, pieces) : 1);
  reserve(slots, static_cast<size_t>(std::min<uint64_t>(runOn ? length_ : stride_, end - from)));
  digestThread digesting(digest);
  uint64_t index = 0;
  for (uint64_t position = from; position < end; position += stride_, ++index) {
    const size_t own = static_cast<size_t>(std::min<uint64_t>(stride_, end - position));
    const size_t read = runOn ? static_cast<size_t>(std::min<uint64_t>(length_, end - position)) : own;
    digesting.waitForRoom(slots);
    uint8_t* data = slots_[index % slots].get();
    if (!file.readAt(position, data, read)) return false;
    if (digest) digesting.hand(data, own);
    each({data, position, own, read});
  }
  digesting.finish();
  return true;
}
