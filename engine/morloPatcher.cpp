#include "morloPatcher.h"

#include <new>

#include "engineTexts.h"
#include "errors.h"
#include "guiTexts.h"
#include "outputNames.h"
#include "pathHelpers.h"
#include "sameFileCheck.h"
#include "textConvert.h"
#include "windowHelpers.h"

namespace {

// Running out of memory on a pathological input ends the operation with an error box.
template <class operation>
void withoutMemoryCrash(operation&& run) {
  try {
    run();
  } catch (const std::bad_alloc&) {
    localError.raise(guiErrorTexts[1]);
  }
}

bool askToContinue(HWND owner) {
  MessageBeep(0);
  return MessageBoxW(owner, engineProgressTexts[0].c_str(), guiMessageTexts[1].c_str(),
                     MB_YESNO | MB_ICONQUESTION) != IDNO;
}

// Leaves no file open behind a display, whether it succeeded or not.
struct resetWhenDone {
  morloEngine& engine;
  ~resetWhenDone() { engine.reset(); }
};

}  // namespace

morloPatcher::morloPatcher() {
  engine_.setChecksumQuestion([this] { return askToContinue(infoBox_); });
}

void morloPatcher::attachGui(guiHandles& handles) {
  sink_ = windowProgressSink(handles);
  engine_.reportTo(sink_);
  infoBox_ = handles.applyInfoEdit;
  defaultInfoFont_ = reinterpret_cast<HFONT>(SendMessageW(handles.applyInfoEdit, WM_GETFONT, 0, 0));
}

void morloPatcher::apply(patchJob& job, uint8_t mask) {
  engine_.reset();
  refuseSameFiles(job, mask);
  withoutMemoryCrash([&] { engine_.apply(job, mask); });
  MessageBeep(MB_ICONASTERISK);
}

void morloPatcher::create(patchJob& job, patchInfoEditor& editor, settingsValues& settings,
                          guiHandles&) {
  engine_.reset();
  if (settings.withInfo) {
    editor.readConsoleName();
    editor.readInfoFields();
    engine_.infoLinesFromRecord(editor);
  } else {
    engine_.defaultInfoLines(job.sourcePath, job.patchPath);
  }
  // The patch is written under its final name, which must not be one of the two games.
  patchJob written = job;
  ensurePatchExtension(written.patchPath);
  refuseSameFiles(written, applyToCopyMask);
  withoutMemoryCrash([&] {
    engine_.compareFiles(job.sourcePath, job.targetPath);
    engine_.writePatch(job.patchPath);
  });
  MessageBeep(MB_ICONASTERISK);
}

void morloPatcher::patchChosen(patchJob& job, pathFields& paths, settingsValues& settings,
                               guiHandles& handles) {
  job.patchPath = toUtf8(paths.applyPatchPath);
  HWND box = handles.applyInfoEdit;
  if (box && reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)) != defaultInfoFont_)
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(defaultInfoFont_), TRUE);
  resetWhenDone reset{engine_};
  withoutMemoryCrash([&] { engine_.readPatchInfo(job); });
  SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(engine_.infoText().c_str()));
  if (settings.patch_to_file != 3) return;
  if (outputNamesApply(settings)) {
    outputBaseName = engine_.outputNameFromInfo(settings);
    if (paths.filesChosenMask & sourceChosenBit)
      setOutputPath(paths, settings, handles, outputBaseName + sourceExtension);
  }
  paths.applyFinished = 0;
  setOutputButtonMode(handles.applyOutputButton, settings);
}

void morloPatcher::sourceChosen(pathFields& paths, settingsValues& settings, guiHandles& handles) {
  if (!outputNamesApply(settings)) return;
  sourceExtension = L"." + extensionOfPath(paths.applySourcePath);
  if (paths.filesChosenMask & patchChosenBit)
    setOutputPath(paths, settings, handles, outputBaseName + sourceExtension);
}

void morloPatcher::finish() { engine_.reset(); }

