#include "workers.h"

#include "appState.h"
#include "caughtErrors.h"
#include "guiTexts.h"
#include "patchInfoEditor.h"
#include "patcherSet.h"
#include "statusDisplay.h"
#include "textConvert.h"
#include "windowHelpers.h"

bool runWorkerSteps(const workerSteps& steps) {
  const caughtError caught = runCaught(steps.operation);
  if (!caught || caught.kind == caughtKind::warning) {
    if (caught) steps.showWarning(caught.text);
    steps.sleep(workerPauseMilliseconds);
  } else {
    steps.showError(caught.text);
  }
  runCaught(steps.finish);  // finish reports nothing
  return !caught;
}

void fillApplyJob(patchJob& job, const pathFields& paths) {
  job.patchPath = toUtf8(paths.applyPatchPath);
  job.sourcePath = toUtf8(paths.applySourcePath);
  job.targetPath = toUtf8(paths.applyTargetPath);
}

void fillCreateJob(patchJob& job, const pathFields& paths) {
  job.patchPath = toUtf8(paths.createPatchPath);
  job.sourcePath = toUtf8(paths.createSourcePath);
  job.targetPath = toUtf8(paths.createModifiedPath);
}

namespace {

// The patch information as the Create page showed it when the run started.
patchInfoSnapshot createRunInfo;

workerSteps windowSteps(HWND mainWindow, patcher& used) {
  workerSteps steps;
  steps.finish = [&used] { used.finish(); };
  steps.sleep = Sleep;
  steps.showWarning = [](const std::wstring& text) {
    setStatusText(theGui.statusBar, 1, text);
    MessageBeep(MB_ICONEXCLAMATION);
  };
  steps.showError = [mainWindow](const std::wstring& text) { showErrorBox(mainWindow, text); };
  return steps;
}

}  // namespace

DWORD WINAPI applyWorker(LPVOID mainWindow) {
  // The worker keeps the patcher it started with, whatever the page chooses meanwhile.
  patcher& used = *applyPatcher;
  thePaths.applyFinished = 0;
  setApplyControlsEnabled(theGui, 0, 0, theSettings.patch_to_file);
  workerSteps steps = windowSteps(static_cast<HWND>(mainWindow), used);
  steps.operation = [&used] {
    fillApplyJob(theJob, thePaths);
    used.apply(theJob, thePaths.filesChosenMask);
    thePaths.applyFinished = 1;
  };
  runWorkerSteps(steps);
  workerBusy = 0;
  setApplyControlsEnabled(theGui, 1, thePaths.applyFinished, theSettings.patch_to_file);
  resetProgressDisplay(theGui);
  return 0;
}

DWORD WINAPI createWorker(LPVOID mainWindow) {
  patcher& used = *createPatcher;
  setCreateControlsEnabled(theGui, 0);
  workerSteps steps = windowSteps(static_cast<HWND>(mainWindow), used);
  steps.operation = [&used] {
    fillCreateJob(theJob, thePaths);
    used.create(theJob, createRunInfo, theSettings, theGui);
  };
  runWorkerSteps(steps);
  workerBusy = 0;
  setCreateControlsEnabled(theGui, 1);
  resetProgressDisplay(theGui);
  return 0;
}

void startWorker(LPTHREAD_START_ROUTINE worker, HWND mainWindow, const std::function<void()>& prepare) {
  if (workerBusy.exchange(1)) return;
  if (prepare) prepare();
  theGui.guiEnabled = 0;  // no tab switch before the worker's first step
  const HANDLE thread = CreateThread(nullptr, 0, worker, mainWindow, 0, nullptr);
  if (!thread) {
    theGui.guiEnabled = 1;
    workerBusy = 0;
    showErrorBox(mainWindow, guiErrorTexts[2]);
    return;
  }
  CloseHandle(thread);
}

void startCreateWorker(HWND mainWindow) {
  startWorker(createWorker, mainWindow, [] { createRunInfo = theInfoEditor.snapshot(); });
}
