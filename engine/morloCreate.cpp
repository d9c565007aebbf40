// Creating a Morlo patch: the information lines, the difference search over the common range
// of the two files (the source's MD5 taken in the same pass), and the writer.
#include <algorithm>
#include <cstring>

#include "morloCompare.h"
#include "morloEngine.h"
#include "morloTexts.h"
#include "textConvert.h"

namespace {

constexpr size_t defaultLineLimit = 512;
constexpr size_t patchWriteBuffer = 1u << 20;
constexpr size_t recordReadChunk = 4u << 10;
// The search reports progress at least this often.
constexpr size_t progressSpan = 1u << 20;

}  // namespace

void morloEngine::infoLinesFromRecord(const patchInfoEditor& editor) {
  flags_ |= flagWithInfo;
  infoLines_.clear();
  for (int i = 0; i < infoLinesWithInfo; ++i) infoLines_.push_back(toUtf8(editor.infoValues[i]));
}

void morloEngine::defaultInfoLines(const std::string& sourcePath, const std::string& patchPath) {
  flags_ &= ~flagWithInfo;
  infoLines_ = {cutUtf8(narrowExtensionOfPath(sourcePath), defaultLineLimit),
                cutUtf8(narrowBaseNameOfPath(sourcePath), defaultLineLimit),
                cutUtf8(patchBaseName(patchPath), defaultLineLimit)};
}

void morloEngine::compareFiles(const std::string& sourcePath, const std::string& modifiedPath) {
  const uint64_t sourceSize = openSource(sourcePath);
  const uint64_t modifiedSize = openModified(modifiedPath);
  sizeMode mode = sizeMode::same;
  uint64_t common = sourceSize;
  firstSize_ = sourceSize;
  secondSize_ = modifiedSize;
  if (sourceSize > modifiedSize) {
    mode = sizeMode::shorter;
    common = modifiedSize;
  } else if (modifiedSize > sourceSize) {
    mode = sizeMode::longer;
    secondSize_ = modifiedSize - sourceSize;
  }
  flags_ = flagsWithSizeMode(flags_, mode);

  report_.showStep(engineProgressTexts[dataAnalysingText]);
  report_.startPercent();
  progressDivisor_ = static_cast<float>(sourceSize) / 100.0f;
  progressBase_ = 0;
  digest_.init();
  compareAndDigest(common, sourceSize);
  keepComputedDigest();
  endProgress();

  const uint8_t code = offsetWidthCode(largestGap_);
  offsetWidth_ = code + 1;
  flags_ = static_cast<uint8_t>((flags_ & ~flagOffsetCodeMask) | code);
  recordCount_ = records_.size();
  if (records_.empty() && mode == sizeMode::same) raiseEngineError(noDifferencesError);
  source_.close();
  std::vector<uint8_t>().swap(modifiedPiece_);
  if (sourceSize > largestNarrowSize || modifiedSize > largestNarrowSize) flags_ |= flagWideSizes;
}

void morloEngine::compareAndDigest(uint64_t common, uint64_t sourceSize) {
  // One read of the source, in pieces that run on far enough for a run that starts in them; the
  // modified file is read alongside over the common range.
  modifiedPiece_.resize(static_cast<size_t>(std::min<uint64_t>(common, pieces_.length())));
  uint64_t next = 0, previousEnd = 0;  // where the search goes on; the end of the last record
  auto compare = [&](const pieceRing::piece& piece) {
    if (piece.position < common) {
      const size_t inHand = static_cast<size_t>(std::min<uint64_t>(piece.read, common - piece.position));
      if (!modified_.readAt(piece.position, modifiedPiece_.data(), inHand))
        raiseEngineError(modifiedReadError);
      next = searchPiece(piece, modifiedPiece_.data(), common, next, previousEnd);
    }
    stepProgress(static_cast<float>(piece.position + piece.own));
  };
  const bool read = pieces_.pass(source_, 0, sourceSize, &digest_, true, compare);
  if (!read) raiseEngineError(originalReadError);
}

uint64_t morloEngine::searchPiece(const pieceRing::piece& piece, const uint8_t* mod, uint64_t common,
                                  uint64_t from, uint64_t& previousEnd) {
  const uint8_t* src = piece.data;
  const uint64_t base = piece.position;
  // Runs may start up to the piece's own end and run on into the bytes read beyond it.
  const size_t limit = static_cast<size_t>(std::min<uint64_t>(piece.own, common - base));
  size_t index = static_cast<size_t>(from - base);
  while (index < limit) {
    const size_t scanEnd = std::min(limit, index + progressSpan);
    const size_t start = index + firstDifference(src + index, mod + index, scanEnd - index);
    if (start == scanEnd) {
      index = scanEnd;
      stepProgress(static_cast<float>(base + index));
      continue;
    }
    // The run ends at the first equal pair, after 255 bytes or at the end of the common range.
    const size_t available =
        static_cast<size_t>(std::min<uint64_t>(maxRecordLength, common - base - start));
    size_t run = 1;
    while (run < available && src[start + run] != mod[start + run]) ++run;
    const bool fill = run >= minFillRun &&
                      std::all_of(mod + start + 1, mod + start + run, [&](uint8_t b) { return b == mod[start]; });
    addRecord(base + start, previousEnd, run, fill);
    previousEnd = base + start + run;
    index = start + run;
    stepProgress(static_cast<float>(previousEnd));
  }
  return base + index;
}

void morloEngine::addRecord(uint64_t start, uint64_t previousEnd, uint64_t length, bool fill) {
  const uint64_t gap = start - previousEnd;
  uint8_t code = gapCodeAdjacent;
  if (gap > maxImplicitGap) {
    code = gapCodeExplicit;
    explicitGaps_.push_back(gap);
    largestGap_ = std::max(largestGap_, gap);
  } else if (gap > 0) {
    code = static_cast<uint8_t>(gap);
  }
  records_.push_back({code, static_cast<uint8_t>(length), fill});
}

void morloEngine::writePatch(std::string& patchPath) {
  sizeWidth_ = (flags_ & flagWideSizes) ? 8 : 4;
  ensurePatchExtension(patchPath);
  if (!patch_.open(patchPath, morloFile::access::replace)) raiseEngineError(patchCreateError);
  report_.showStep(engineProgressTexts[patchCreationText]);

  std::string head(morloMagic, sizeof morloMagic);
  head.push_back(static_cast<char>(formatVersion));
  head.push_back(static_cast<char>(flags_));
  appendLittleEndian(head, recordCount_, sizeWidth_);
  head.append(reinterpret_cast<const char*>(computedDigest_), sizeof computedDigest_);
  packCreationDate(creationDate_);
  appendLittleEndian(head, creationDate_, 3);
  for (const auto& line : infoLines_) head.append(line).push_back('\0');
  const sizeMode mode = sizeModeOfFlags(flags_);
  if (mode == sizeMode::longer) appendLittleEndian(head, firstSize_, sizeWidth_);
  if (mode != sizeMode::same) appendLittleEndian(head, secondSize_, sizeWidth_);

  morloWriter out(patchWriteBuffer);
  out.start(patch_, 0);
  if (!out.append(head)) raiseEngineError(patchWriteError);
  if (recordCount_ > 0) startRecordProgress(recordCount_);
  writeRecordData(out);
  progressBase_ += static_cast<float>(recordCount_);
  if (mode == sizeMode::longer) writeTail(out);
  if (!out.flush() || !patch_.resize(out.position())) raiseEngineError(patchWriteError);
  endProgress();
  modified_.close();
  if (!patch_.close()) raiseEngineError(patchWriteError);
  report_.showStep(engineProgressTexts[patchCreatedText]);
}

void morloEngine::writeRecordData(morloWriter& out) {
  morloReader modified(recordReadChunk);
  modified.start(modified_, 0);
  uint8_t data[maxRecordLength];
  uint64_t end = 0;
  size_t nextGap = 0;
  std::string fields;
  for (size_t i = 0; i < records_.size(); ++i) {
    const morloRecord& record = records_[i];
    fields.assign(1, static_cast<char>(record.gapCode));
    fields.push_back(static_cast<char>(record.fill ? fillLengthCode : record.length));
    uint64_t start = end;
    if (record.gapCode == gapCodeExplicit) {
      appendLittleEndian(fields, explicitGaps_[nextGap], offsetWidth_);
      start += explicitGaps_[nextGap++];
    } else if (record.gapCode != gapCodeAdjacent) {
      start += record.gapCode;
    }
    modified.seek(start);
    if (!modified.read(data, record.fill ? 1 : record.length)) raiseEngineError(modifiedReadError);
    if (record.fill) fields.push_back(static_cast<char>(record.length));
    fields.append(reinterpret_cast<const char*>(data), record.fill ? 1 : record.length);
    if (!out.append(fields)) raiseEngineError(patchWriteError);
    stepProgress(static_cast<float>(i) + progressBase_);
    end = start + record.length;
  }
}

void morloEngine::writeTail(morloWriter& out) {
  if (recordCount_ == 0) {
    report_.startPercent();
    progressDivisor_ = 1.1f;
    tailStep_ = 10;
    progressBase_ = 100;
  }
  if (!out.flush()) raiseEngineError(patchWriteError);
  copyTail(modified_, firstSize_, secondSize_, [&](const uint8_t* data, size_t length) {
    if (!out.append(data, length)) raiseEngineError(copyWriteError);
  });
}
