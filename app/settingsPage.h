// The Settings page (dialog 108). Created last, its initialisation finishes the start-up of the
// whole window: settings, popup menus, patchers and a patch named on the command line.
#pragma once
#include <windows.h>

#include "records.h"

INT_PTR CALLBACK configTabProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Puts the settings into the page's controls.
void fillConfigPage(const guiHandles& gui, const settingsValues& settings);
// The output-name options are usable only in output-folder mode, where one of the game name and
// the hack name must be on.
void updateNameOptions(const guiHandles& gui, settingsValues& settings);
