// The Apply page (dialog 102): choose a patch, the original game and the output, read the
// patch's information, and start the apply worker.
#pragma once
#include <windows.h>

INT_PTR CALLBACK applyTabProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Shows a patch as chosen: its path in the patch edit, then the patcher's information. Used for
// a patch given on the command line.
void showChosenPatch();
