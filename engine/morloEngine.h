// The engine that reads, applies and creates Morlo patches (layout in morloFormat.h). One object
// serves one use at a time: an information display, an apply or a create, each followed by reset.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "md5.h"
#include "morloFile.h"
#include "morloFormat.h"
#include "morloPieces.h"
#include "progressReport.h"
#include "records.h"
#include "stagedFile.h"

// One change record as the difference search finds it; its bytes stay in the modified file.
struct morloRecord {
  uint8_t gapCode;
  uint8_t length;
  bool fill;
};

class morloEngine {
 public:
  morloEngine();

  // Where the steps and the progress go: the status display, or a test's recorder.
  void reportTo(progressSink& sink) { report_.setSink(sink); }
  // Answers "Checksum is not correct, continue?" (checksum mode 0): true goes on. Without an
  // answer the run stops.
  void setChecksumQuestion(std::function<bool()> ask) { askContinue_ = std::move(ask); }
  // The files are read in pieces that start threshold bytes apart and run on to size bytes, so
  // that a run of differing bytes that starts in a piece also ends in it (the threshold is at most
  // size - 254). Tests set small pieces to cross many piece ends with small files.
  void setBlockSize(uint64_t size, uint64_t threshold);

  // Information display.
  void readHeader(const patchJob& job);
  void readInfoLines();
  void showPatchInfo();
  // Header and information text of a patch; the caller resets afterwards.
  void readPatchInfo(const patchJob& job);
  const std::wstring& infoText() const { return infoText_; }
  // The output file name that output-folder mode builds from the information lines.
  std::wstring outputNameFromInfo(const settingsValues& settings) const;

  // Applies the patch of the job to its original game, or to a copy at the target for mask 7.
  void apply(const patchJob& job, uint8_t mask);

  // Creation, in this order: one of the two information sources, compareFiles, writePatch.
  void infoLinesFromRecord(const patchInfoEditor& editor);
  void defaultInfoLines(const std::string& sourcePath, const std::string& patchPath);
  void compareFiles(const std::string& sourcePath, const std::string& modifiedPath);
  // Appends ".ml" to the path when needed and writes the patch there.
  void writePatch(std::string& patchPath);

  // Back to the state after construction: files closed, buffers freed, lists emptied.
  void reset();

  const std::vector<std::string>& infoLines() const { return infoLines_; }

 private:
  // Opening, with the size checks of each role.
  uint64_t openSource(const std::string& path);
  uint64_t openModified(const std::string& path);
  uint64_t openPatch(const patchJob& job);
  uint64_t openFileToPatch(const std::string& path);
  int infoLineCountOfFlags() const;
  // Finishes the MD5 and keeps its 16 bytes as the computed digest.
  void keepComputedDigest();

  // Application steps.
  void sourceDigest(const std::string& sourcePath);
  void testChecksum(int checksumMode);
  // The copy of mask 7 goes to a staged file beside the target. When the digest is taken, the same
  // read of the original writes the copy; its failures are raised only when the copy's turn comes.
  void startCopy(const std::string& targetPath);
  void copyPiece(const pieceRing::piece& piece);
  void copySourceToTarget(const std::string& sourcePath, const std::string& targetPath);
  void applyRecords(const std::string& path);
  void readSizeFields();
  void checkPatchLength();
  void checkRecords(uint64_t fileSize);
  void writeRecords(uint64_t fileSize);
  void cutToModifiedSize(uint64_t fileSize);

  // Creation steps.
  void compareAndDigest(uint64_t commonLength, uint64_t sourceSize);
  uint64_t searchPiece(const pieceRing::piece& source, const uint8_t* modified, uint64_t commonLength,
                       uint64_t from, uint64_t& previousEnd);
  void addRecord(uint64_t start, uint64_t previousEnd, uint64_t length, bool fill);
  void writeRecordData(morloWriter& patch);
  void writeTail(morloWriter& patch);

  // Progress shared by both directions.
  void startRecordProgress(uint64_t count);
  void stepProgress(float value);
  void endProgress();

  // A pass over the first length bytes of the source with the block countdown in status part 0;
  // a failed read raises "Can't read data from original file".
  void countedPass(int stepText, uint64_t length, md5* digest, const pieceRing::pieceUse& each);
  // Copies a tail in pieces, stepping the progress from the base by the tail step for each block.
  using pieceWrite = std::function<void(const uint8_t* data, size_t length)>;
  void copyTail(morloFile& in, uint64_t from, uint64_t length, const pieceWrite& write);

  uint8_t version_ = formatVersion;
  uint8_t flags_ = 0;
  int sizeWidth_ = 4;
  int offsetWidth_ = 0;
  uint64_t recordCount_ = 0;
  uint64_t firstSize_ = 0;   // tail offset (size mode 1)
  uint64_t secondSize_ = 0;  // tail length (size mode 1) or modified size (size mode 2)
  uint32_t creationDate_ = 0;
  uint64_t sourceSize_ = 0;
  uint64_t patchSize_ = 0;

  std::vector<std::string> infoLines_;  // without their byte 0
  std::vector<morloRecord> records_;
  std::vector<uint64_t> explicitGaps_;
  uint64_t largestGap_ = 0;

  // Before the files: a staged copy is removed after its file is closed.
  stagedFile copy_;
  enum class copyState { none, writing, createFailed, writeFailed } copyState_ = copyState::none;
  morloFile source_, modified_, patch_, output_;
  morloReader patchReader_{1u << 20};
  pieceRing pieces_;
  std::vector<uint8_t> modifiedPiece_;

  md5 digest_;
  uint8_t computedDigest_[16] = {};
  uint8_t storedDigest_[16] = {};
  std::string digestText_;
  std::wstring infoText_;

  float progressDivisor_ = 0;
  float tailStep_ = 0;
  float progressBase_ = 0;
  progressReport report_{silentProgressSink()};
  std::function<bool()> askContinue_;
};
