// The two worker threads that run a patcher's apply or create operation while the window stays
// responsive, and the sequence they share.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "records.h"

// The steps of one run, so that the sequence is the same for both workers and tests can follow it.
struct workerSteps {
  std::function<void()> operation;  // fill the job and run the patcher
  std::function<void()> finish;     // the patcher's finish
  std::function<void(DWORD)> sleep;
  std::function<void(const std::wstring&)> showWarning;
  std::function<void(const std::wstring&)> showError;
};

// How long the last status text of a run, or a warning, stays in view.
constexpr DWORD workerPauseMilliseconds = 1500;

// Runs the operation; on success, or after a warning, pauses; any other error is shown. The
// finish step runs in every case and nothing it throws leaves. True when the operation returned.
bool runWorkerSteps(const workerSteps& steps);

// The job's three paths from the page's wide paths, as UTF-8.
void fillApplyJob(patchJob& job, const pathFields& paths);
void fillCreateJob(patchJob& job, const pathFields& paths);

DWORD WINAPI applyWorker(LPVOID mainWindow);
DWORD WINAPI createWorker(LPVOID mainWindow);

// Starts the worker unless one runs. workerBusy is set here, on the GUI thread, so that a second
// start (Enter held down, a double click) finds it set; then prepare, if given, hands the worker
// what it needs from the windows.
void startWorker(LPTHREAD_START_ROUTINE worker, HWND mainWindow, const std::function<void()>& prepare = {});
// The create worker, with the patch information taken from the page first.
void startCreateWorker(HWND mainWindow);
