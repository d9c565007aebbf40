// Named entries of the engine's text tables used by the Morlo engine, and the raise of an error
// entry through the objects of the source file that includes this.
#pragma once
#include "engineTexts.h"
#include "errors.h"

enum engineError : int {
  emptyOriginalError = 4,
  emptyModifiedError = 5,
  emptyPatchError = 6,
  loadOriginalError = 7,
  loadModifiedError = 8,
  loadPatchError = 9,
  patchTooShortError = 10,
  originalTooLargeError = 11,
  modifiedTooLargeError = 12,
  patchTooLargeError = 13,
  infoLineError = 14,
  noDifferencesError = 15,
  unknownFormatError = 16,
  copyCreateError = 17,
  patchCreateError = 18,
  originalReadError = 19,
  modifiedReadError = 20,
  patchReadError = 21,
  patchWriteError = 22,
  copyWriteError = 23,
  resizeError = 24,
  dataOutOfFileError = 25,
  outputLimitError = 26,
  checksumError = 27,
  oldVersionError = 28,
  advancedFeaturesError = 29,
};

enum engineProgress : int {
  checksumQuestionText = 0,
  fileProcessingText = 1,
  dataAnalysingText = 2,
  dataProcessingText = 3,
  patchCreationText = 4,
  patchCreatedText = 5,
  filePatchingText = 6,
  patchingFinishedText = 7,
};

enum engineWarning : int { notResizedWarning = 0, patchingStoppedWarning = 1 };

namespace {
[[noreturn]] inline void raiseEngineError(engineError entry) {
  localError.raise(engineErrorTexts[entry]);
  __builtin_unreachable();  // raise never returns; the compiler cannot see it through the override
}
[[noreturn]] inline void raiseEngineWarning(engineWarning entry) {
  localWarning.raise(engineWarningTexts[entry]);
  __builtin_unreachable();
}
}  // namespace
