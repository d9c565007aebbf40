// The one instance of each shared record, and the flag that lets only one worker run.
#pragma once
#include <atomic>
#include <cstdint>

#include "records.h"

extern patchJob theJob;
extern pathFields thePaths;
extern settingsValues theSettings;
extern guiHandles theGui;

// 1 while an apply or create worker runs: set by the GUI thread before the worker starts, cleared
// by the worker after its patcher's finish.
extern std::atomic<uint8_t> workerBusy;
