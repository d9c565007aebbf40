// The captions of the pages' controls and of the popup menus, taken from guiCaptionTexts after a
// language was applied.
#pragma once
#include <windows.h>

#include <cstddef>

#include "records.h"

// Sets the captions of the three pages' controls (the Apply page's third button by the patching
// mode) and, when the popup menu is loaded, of its three submenus; the About box title then
// follows the last item of the Settings page's submenu.
void applyTextsToControls(const guiHandles& gui, int patchToFile);
// Gives the items of the submenu that are not separators the captions from firstEntry on, in
// order; returns how many it named.
size_t applyMenuCaptions(HMENU submenu, size_t firstEntry);
// Replaces the last item of the Create page's console combo by "Other Console" in the current
// language and keeps the selection.
void refreshOtherConsoleItem(HWND consoleCombo);
