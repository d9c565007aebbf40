// Applying a Morlo patch: the checksum test, the optional copy, and the records, tail or cut.
// Everything the patch says is checked before the first byte of the game file changes.
#include <algorithm>

#include "morloEngine.h"
#include "morloTexts.h"

namespace {
constexpr size_t recordWriteBuffer = 64u << 10;
}  // namespace

void morloEngine::apply(const patchJob& job, uint8_t mask) {
  readHeader(job);
  const bool toCopy = mask == applyToCopyMask;
  if (job.checksumMode != 2) {
    if (toCopy) startCopy(job.targetPath);  // one read of the original serves digest and copy
    sourceDigest(job.sourcePath);
    testChecksum(job.checksumMode);
  }
  if (toCopy) copySourceToTarget(job.sourcePath, job.targetPath);
  applyRecords(toCopy ? copy_.path() : job.sourcePath);
  if (toCopy && !copy_.place()) raiseEngineError(copyCreateError);
  endProgress();
  patch_.close();
  source_.close();
  report_.showStep(engineProgressTexts[patchingFinishedText]);
}

void morloEngine::sourceDigest(const std::string& sourcePath) {
  digest_.init();
  openSource(sourcePath);
  countedPass(dataProcessingText, sourceSize_, &digest_,
              [&](const pieceRing::piece& piece) { copyPiece(piece); });
  source_.close();
  keepComputedDigest();
}

void morloEngine::testChecksum(int checksumMode) {
  if (std::equal(computedDigest_, computedDigest_ + 16, storedDigest_)) return;
  if (checksumMode != 0) raiseEngineError(checksumError);
  if (!askContinue_ || !askContinue_()) raiseEngineWarning(patchingStoppedWarning);
}

void morloEngine::startCopy(const std::string& targetPath) {
  copyState_ = copy_.create(targetPath, output_) ? copyState::writing : copyState::createFailed;
}

void morloEngine::copyPiece(const pieceRing::piece& piece) {
  if (copyState_ == copyState::writing && !output_.writeAt(piece.position, piece.data, piece.own))
    copyState_ = copyState::writeFailed;
}

void morloEngine::copySourceToTarget(const std::string& sourcePath, const std::string& targetPath) {
  if (copyState_ == copyState::none) {
    openSource(sourcePath);
    startCopy(targetPath);
    if (copyState_ == copyState::createFailed) raiseEngineError(copyCreateError);
    countedPass(fileProcessingText, sourceSize_, nullptr,
                [&](const pieceRing::piece& piece) { copyPiece(piece); });
    source_.close();
  } else {
    // Written by the digest's read: the step is shown all the same.
    if (copyState_ == copyState::createFailed) raiseEngineError(copyCreateError);
    report_.showStep(engineProgressTexts[fileProcessingText]);
    report_.startBlocks(sourceSize_);
    while (report_.blocksLeft() > 0) report_.blockDone();
  }
  if (copyState_ == copyState::writeFailed || !output_.resize(sourceSize_) || !output_.close())
    raiseEngineError(copyWriteError);
}

void morloEngine::applyRecords(const std::string& path) {
  const uint64_t fileSize = openFileToPatch(path);
  report_.showStep(engineProgressTexts[filePatchingText]);
  readInfoLines();
  readSizeFields();
  checkPatchLength();
  const uint64_t recordsStart = patchReader_.position();
  checkRecords(fileSize);
  if (sizeModeOfFlags(flags_) == sizeMode::shorter && fileSize < secondSize_) {
    // A file that cannot be cut to the modified size gets none of the records either.
    endProgress();
    raiseEngineWarning(notResizedWarning);
  }
  patchReader_.seek(recordsStart);
  writeRecords(fileSize);
  if (sizeModeOfFlags(flags_) == sizeMode::longer) {
    uint64_t tailEnd = firstSize_;
    copyTail(patch_, patchReader_.position(), secondSize_, [&](const uint8_t* data, size_t length) {
      if (!output_.writeAt(tailEnd, data, length)) raiseEngineError(copyWriteError);
      tailEnd += length;
    });
  }
  if (sizeModeOfFlags(flags_) == sizeMode::shorter) cutToModifiedSize(fileSize);
  if (!output_.close()) raiseEngineError(patchWriteError);
}

void morloEngine::readSizeFields() {
  const sizeMode mode = sizeModeOfFlags(flags_);
  const uint64_t fields = mode == sizeMode::longer ? 2 : mode == sizeMode::shorter ? 1 : 0;
  if (patchSize_ - patchReader_.position() < fields * sizeWidth_) raiseEngineError(patchTooShortError);
  if (fields > 0 && !patchReader_.readNumber(firstSize_, sizeWidth_)) raiseEngineError(patchReadError);
  if (mode == sizeMode::longer && !patchReader_.readNumber(secondSize_, sizeWidth_))
    raiseEngineError(patchReadError);
  if (mode == sizeMode::shorter) secondSize_ = firstSize_;
}

void morloEngine::checkPatchLength() {
  // Every record takes at least two bytes; the tail follows them.
  const bool longer = sizeModeOfFlags(flags_) == sizeMode::longer;
  const uint64_t rest = patchSize_ - patchReader_.position();
  const uint64_t tail = longer ? secondSize_ : 0;
  if (tail > rest || (rest - tail) / 2 < recordCount_) raiseEngineError(patchTooShortError);
  if (longer && (firstSize_ > maxFileSize || secondSize_ > maxFileSize - firstSize_))
    raiseEngineError(outputLimitError);
}

namespace {

// One record as the patch stores it.
struct storedRecord {
  uint64_t gap = 0;
  uint64_t length = 0;
  bool fill = false;
  uint8_t fillValue = 0;
};

// Reads a record's fields; the data of a data record is left in the patch for the caller.
void readRecordFields(morloReader& patch, int offsetWidth, storedRecord& record) {
  uint8_t code = 0, length = 0;
  if (!patch.readByte(code) || !patch.readByte(length)) raiseEngineError(patchReadError);
  record.gap = code == gapCodeAdjacent ? 0 : code;
  if (code == gapCodeExplicit && offsetWidth > 0 && !patch.readNumber(record.gap, offsetWidth))
    raiseEngineError(patchReadError);
  record.fill = length == fillLengthCode;
  record.length = length;
  if (record.fill) {
    uint8_t run = 0;
    if (!patch.readByte(run) || !patch.readByte(record.fillValue)) raiseEngineError(patchReadError);
    record.length = run;
  }
}

// The record starts gap bytes after end and must end inside the file; written without overflow.
void checkRecordInFile(const storedRecord& record, uint64_t end, uint64_t fileSize) {
  if (record.gap > fileSize - end || record.length > fileSize - end - record.gap)
    raiseEngineError(dataOutOfFileError);
}

}  // namespace

void morloEngine::checkRecords(uint64_t fileSize) {
  uint64_t end = 0;
  storedRecord record;
  for (uint64_t i = 0; i < recordCount_; ++i) {
    readRecordFields(patchReader_, offsetWidth_, record);
    if (!record.fill) {
      if (record.length > patchSize_ - patchReader_.position()) raiseEngineError(patchReadError);
      patchReader_.seek(patchReader_.position() + record.length);
    }
    checkRecordInFile(record, end, fileSize);
    end += record.gap + record.length;
  }
  if (sizeModeOfFlags(flags_) == sizeMode::longer &&
      secondSize_ > patchSize_ - patchReader_.position())
    raiseEngineError(patchTooShortError);
}

void morloEngine::writeRecords(uint64_t fileSize) {
  if (recordCount_ > 0) {
    startRecordProgress(recordCount_);
  } else if (sizeModeOfFlags(flags_) == sizeMode::longer) {
    report_.startPercent();
    progressDivisor_ = 1.1f;
    tailStep_ = 10;
    progressBase_ = 100;
  }
  morloWriter file(recordWriteBuffer);
  file.start(output_, 0);
  uint8_t data[maxRecordLength];
  uint64_t end = 0;
  storedRecord record;
  for (uint64_t i = 0; i < recordCount_; ++i) {
    readRecordFields(patchReader_, offsetWidth_, record);
    if (record.fill)
      std::fill(data, data + record.length, record.fillValue);
    else if (!patchReader_.read(data, record.length))
      raiseEngineError(patchReadError);
    checkRecordInFile(record, end, fileSize);
    const uint64_t start = end + record.gap;
    if (!file.writeAt(start, data, record.length)) raiseEngineError(patchWriteError);
    stepProgress(static_cast<float>(i) + progressBase_);
    end = start + record.length;
  }
  if (!file.flush()) raiseEngineError(patchWriteError);
  progressBase_ += static_cast<float>(recordCount_);
}

void morloEngine::cutToModifiedSize(uint64_t fileSize) {
  const uint64_t modifiedSize = secondSize_;
  if (fileSize > modifiedSize && !output_.resize(modifiedSize)) {
    output_.close();
    raiseEngineError(resizeError);
  }
}
