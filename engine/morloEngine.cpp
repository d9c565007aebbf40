#include "morloEngine.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "morloTexts.h"

namespace {

// Counts the blocks of a pass that its bytes complete as they come; the last block, which may be
// shorter, is complete when the whole length has come.
class blockCounter {
 public:
  explicit blockCounter(uint64_t length) : length_(length) {}
  // The number of blocks that these further bytes complete.
  uint32_t add(uint64_t bytes) {
    done_ += bytes;
    const uint32_t complete =
        done_ >= length_ ? progressBlockCount(length_) : static_cast<uint32_t>(done_ / blockSize);
    const uint32_t added = complete - counted_;
    counted_ = complete;
    return added;
  }

 private:
  uint64_t length_, done_ = 0;
  uint32_t counted_ = 0;
};

}  // namespace

morloEngine::morloEngine() {
  pieces_.setPieces(defaultPieceStride, defaultPieceStride + maxRunExtent);
  reset();
}

void morloEngine::setBlockSize(uint64_t size, uint64_t threshold) {
  const uint64_t stride = std::clamp<uint64_t>(threshold, 1, size > maxRunExtent ? size - maxRunExtent : 1);
  pieces_.setPieces(static_cast<size_t>(stride), static_cast<size_t>(std::max(size, stride + maxRunExtent)));
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
  pieces_.release();
  std::vector<uint8_t>().swap(modifiedPiece_);
  patchReader_.release();
  std::vector<std::string>().swap(infoLines_);
  std::vector<morloRecord>().swap(records_);
  std::vector<uint64_t>().swap(explicitGaps_);
  digestText_.clear();
  for (morloFile* file : {&source_, &modified_, &patch_, &output_}) file->close();
  copy_.discard();  // a copy that was not put in place when the run ended
  copyState_ = copyState::none;
}

void morloEngine::countedPass(int stepText, uint64_t length, md5* digest,
                              const pieceRing::pieceUse& each) {
  report_.showStep(engineProgressTexts[stepText]);
  report_.startBlocks(length);
  blockCounter blocks(length);
  if (!pieces_.pass(source_, 0, length, digest, false, [&](const pieceRing::piece& piece) {
        each(piece);
        for (uint32_t n = blocks.add(piece.own); n > 0; --n) report_.blockDone();
      }))
    raiseEngineError(originalReadError);
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

void morloEngine::copyTail(morloFile& in, uint64_t from, uint64_t length, const pieceWrite& write) {
  stepProgress(progressBase_);
  const float blocks = std::ceil(static_cast<float>(length) / static_cast<float>(blockSize));
  const float step = length <= blockSize ? tailStep_ : tailStep_ / blocks;
  float reached = progressBase_;
  blockCounter counted(length);
  if (!pieces_.pass(in, from, from + length, nullptr, false, [&](const pieceRing::piece& piece) {
        write(piece.data, piece.own);
        for (uint32_t n = counted.add(piece.own); n > 0; --n) stepProgress(reached += step);
      }))
    raiseEngineError(originalReadError);
}
