#include "appState.h"

patchJob theJob;
pathFields thePaths;
settingsValues theSettings;
guiHandles theGui;
std::atomic<uint8_t> workerBusy = 0;
