#include "morloEngine.h"

#include <algorithm>
#include <cmath>
#include <system_error>
#include <thread>
#include <vector>

#include "morloTexts.h"

namespace {

// The first touch of fresh memory costs a fault per page, which is slow in a virtual machine and
// would be paid inside the first read; a few threads share the faults of a large new buffer.
void touchPages(uint8_t* data, size_t size) {
  constexpr size_t page = 4096, worthSharing = 64u << 20;
  const unsigned helpers = std::min(4u, std::thread::hardware_concurrency());
  if (size < worthSharing || helpers < 2) return;
  const size_t share = size / helpers;
  auto touch = [data](size_t from, size_t to) {
    for (size_t i = from; i < to; i += page) data[i] = 0;
  };
  std::vector<std::thread> threads;
  try {
    for (unsigned k = 1; k < helpers; ++k)
      threads.emplace_back(touch, k * share, k + 1 == helpers ? size : (k + 1) * share);
  } catch (const std::system_error&) {
    // Fewer helpers: the reads touch the rest.
  }
  touch(0, share);
  for (auto& thread : threads) thread.join();
}

}  // namespace

uint8_t* blockBuffer::take(size_t size) {
  if (size > size_ || !data_) {
    data_.reset();  // the old block goes before the new one is taken
    data_.reset(new uint8_t[std::max<size_t>(size, 1)]);
    size_ = size;
    touchPages(data_.get(), size);
  }
  return data_.get();
}

void blockBuffer::release() {
  data_.reset();
  size_ = 0;
}

morloEngine::morloEngine() { reset(); }

void morloEngine::setBlockSize(uint64_t size, uint64_t threshold) {
  blockSize_ = size;
  rereadThreshold_ = std::clamp<uint64_t>(threshold, 1, size > maxRunExtent ? size - maxRunExtent : 1);
}

namespace {

// Size checks shared by every role: missing, empty and over the limit, in this order.
uint64_t checkedSize(morloFile& file, engineError emptyError, engineError limitError,
                     engineError openError) {
  uint64_t size = 0;
  if (!file.size(size)) raiseEngineError(openError);
  if (size == 0) raiseEngineError(emptyError);
  if (size > maxFileSize) raiseEngineError(limitError);
  return size;
}

}  // namespace

uint64_t morloEngine::openSource(const std::string& path) {
  if (!source_.open(path, morloFile::access::read)) raiseEngineError(loadOriginalError);
  sourceSize_ = checkedSize(source_, emptyOriginalError, originalTooLargeError, loadOriginalError);
  return sourceSize_;
}

uint64_t morloEngine::openModified(const std::string& path) {
  if (!modified_.open(path, morloFile::access::read)) raiseEngineError(loadModifiedError);
  return checkedSize(modified_, emptyModifiedError, modifiedTooLargeError, loadModifiedError);
}

uint64_t morloEngine::openFileToPatch(const std::string& path) {
  if (!output_.open(path, morloFile::access::readWrite)) raiseEngineError(loadOriginalError);
  return checkedSize(output_, emptyOriginalError, originalTooLargeError, loadOriginalError);
}

uint64_t morloEngine::openPatch(const patchJob& job) {
  if (!patch_.open(job.patchPath, morloFile::access::read)) raiseEngineError(loadPatchError);
  uint64_t size = 0;
  if (!patch_.size(size)) raiseEngineError(loadPatchError);
  if (size == 0) raiseEngineError(emptyPatchError);
  if (size < minPatchSize) raiseEngineError(patchTooShortError);
  if (size > maxFileSize) raiseEngineError(patchTooLargeError);
  patchSize_ = size;
  patchReader_.start(patch_, 0);
  return size;
}

void morloEngine::readHeader(const patchJob& job) {
  openPatch(job);
  // A patch has at least minPatchSize bytes, so these fields are always there.
  uint8_t head[4];
  if (!patchReader_.read(head, sizeof head)) raiseEngineError(patchReadError);
  if (head[0] != morloMagic[0] || head[1] != morloMagic[1]) raiseEngineError(unknownFormatError);
  version_ = head[2];
  if (version_ <= highestRefusedVersion) raiseEngineError(oldVersionError);
  flags_ = head[3];
  if (flags_ & flagAdvanced) raiseEngineError(advancedFeaturesError);
  sizeWidth_ = (flags_ & flagWideSizes) ? 8 : 4;
  const uint8_t code = flags_ & flagOffsetCodeMask;
  offsetWidth_ = code ? code + 1 : 0;
  uint8_t date[3];
  if (!patchReader_.readNumber(recordCount_, sizeWidth_) ||
      !patchReader_.read(storedDigest_, sizeof storedDigest_) || !patchReader_.read(date, sizeof date))
    raiseEngineError(patchReadError);
  creationDate_ = static_cast<uint32_t>(readLittleEndian(date, 3));
  uint32_t words[4];
  for (int i = 0; i < 4; ++i) words[i] = static_cast<uint32_t>(readLittleEndian(storedDigest_ + 4 * i, 4));
  md5 hex;
  digestText_ = hex.hexOfDigestWords(words);
}

int morloEngine::infoLineCountOfFlags() const {
  return (flags_ & flagWithInfo) ? infoLinesWithInfo : defaultInfoLineCount;
}

void morloEngine::readInfoLines() {
  const int count = infoLineCountOfFlags();
  infoLines_.assign(count, std::string());
  for (auto& line : infoLines_)
    if (!patchReader_.readLine(line)) raiseEngineError(infoLineError);
}

void morloEngine::keepComputedDigest() {
  digest_.finalize();
  uint32_t words[4];
  digest_.digestWords(words);
  for (int i = 0; i < 16; ++i) computedDigest_[i] = static_cast<uint8_t>(words[i / 4] >> (8 * (i % 4)));
}

void morloEngine::reset() {
  version_ = formatVersion;
  flags_ = 0;
  sizeWidth_ = 4;
  offsetWidth_ = 0;
  recordCount_ = firstSize_ = secondSize_ = 0;
  sourceSize_ = patchSize_ = 0;
  largestGap_ = 0;
  progressDivisor_ = tailStep_ = progressBase_ = 0;
  sourceBlock_.release();
  modifiedBlock_.release();
  patchReader_.release();
  std::vector<std::string>().swap(infoLines_);
  std::vector<morloRecord>().swap(records_);
  std::vector<uint64_t>().swap(explicitGaps_);
  digestText_.clear();
  for (morloFile* file : {&source_, &modified_, &patch_, &output_}) file->close();
}

void morloEngine::readInBlocks(morloFile& file, uint64_t position, uint64_t length, int readError,
                               const blockConsumer& each) {
  const size_t block = static_cast<size_t>(std::min(length, blockSize_));
  uint8_t* buffer = sourceBlock_.take(block);
  for (uint64_t done = 0; done < length;) {
    const size_t part = static_cast<size_t>(std::min<uint64_t>(length - done, block));
    if (!file.readAt(position + done, buffer, part)) raiseEngineError(static_cast<engineError>(readError));
    each(buffer, part);
    done += part;
  }
}

void morloEngine::countedBlockPass(int stepText, morloFile& file, uint64_t length, int readError,
                                   const blockConsumer& each) {
  report_.showStep(engineProgressTexts[stepText]);
  report_.startBlocks(length);
  readInBlocks(file, 0, length, readError, [&](const uint8_t* data, size_t part) {
    each(data, part);
    report_.blockDone();
  });
}

void morloEngine::startRecordProgress(uint64_t count) {
  report_.startPercent();
  progressBase_ = 0;
  const float hundredth = static_cast<float>(count) / 100.0f;
  progressDivisor_ = hundredth;
  if (sizeModeOfFlags(flags_) == sizeMode::longer) {
    // The records take the first part of the bar, the tail the rest.
    progressDivisor_ = hundredth / 10.0f + hundredth;
    tailStep_ = static_cast<float>(count / 10);
  }
}

void morloEngine::stepProgress(float value) {
  if (!(progressDivisor_ > 0)) return;
  const float position = std::min(std::trunc(value / progressDivisor_), 100.0f);
  report_.showPercent(static_cast<int>(position));
}

void morloEngine::endProgress() { report_.endStage(); }

void morloEngine::copyTail(morloFile& in, uint64_t from, uint64_t length, const blockConsumer& write) {
  stepProgress(progressBase_);
  const float blocks = std::ceil(static_cast<float>(length) / static_cast<float>(blockSize_));
  const float step = length <= blockSize_ ? tailStep_ : tailStep_ / blocks;
  float reached = progressBase_;
  readInBlocks(in, from, length, originalReadError, [&](const uint8_t* data, size_t part) {
    write(data, part);
    reached += step;
    stepProgress(reached);
  });
}
