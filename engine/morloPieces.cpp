#include "morloPieces.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// Buffers in the ring while a digest runs beside the reading: enough to ride out a slow read or a
// moment in which the digest's thread is not scheduled.
constexpr size_t ringSlots = 8;

// Digests the pieces handed to it, in order, on a thread of its own. Without a thread to be had,
// each piece is digested at once on the caller's.
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
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
  }
  digestThread(const digestThread&) = delete;
  digestThread& operator=(const digestThread&) = delete;

  // Waits until fewer than slots of the pieces handed over are waiting or being digested.
  void waitForRoom(size_t slots) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return handed_ - digested_ < slots; });
  }
  void hand(const uint8_t* data, size_t length) {
    if (!worker_.joinable()) {
      digest_->update(data, static_cast<int32_t>(length));
      return;
    }
    {
      std::lock_guard lock(mutex_);
      waiting_[handed_ % ringSlots] = {data, length};
      ++handed_;
    }
    changed_.notify_all();
  }
  // Waits until every piece handed over is digested.
  void finish() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return digested_ == handed_; });
  }

 private:
  void work() {
    std::unique_lock lock(mutex_);
    for (;;) {
      changed_.wait(lock, [&] { return stopping_ || digested_ < handed_; });
      if (stopping_) return;
      const handedPiece next = waiting_[digested_ % ringSlots];
      lock.unlock();
      digest_->update(next.data, static_cast<int32_t>(next.length));
      lock.lock();
      ++digested_;
      changed_.notify_all();
    }
  }

  struct handedPiece {
    const uint8_t* data;
    size_t length;
  };
  md5* digest_;
  std::mutex mutex_;
  std::condition_variable changed_;
  handedPiece waiting_[ringSlots] = {};
  uint64_t handed_ = 0, digested_ = 0;
  bool stopping_ = false;
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
  const size_t slots = digest ? ringSlots : 1;
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
