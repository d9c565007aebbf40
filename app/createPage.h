// The Create page (dialog 103): the patch-information editor, the three files of a new patch and
// the create worker.
#pragma once
#include <windows.h>

INT_PTR CALLBACK createTabProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
