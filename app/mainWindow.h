// The main window (dialog 104): its tab control with the three pages, the commands it passes on
// to the current page, and closing.
#pragma once
#include <windows.h>

#include <array>
#include <string>
#include <vector>

// The page windows in tab order: apply, create, settings.
extern std::array<HWND, 3> tabPages;
extern int currentTab;
// Whether COM was started, so that closing ends it only then.
extern bool comStarted;

// Creates the main dialog; its initialisation builds the pages. The arguments are the program's
// command line split into the program and a patch to preselect (programArguments).
HWND createMainWindow(HINSTANCE instance, const std::vector<std::wstring>& arguments);
INT_PTR CALLBACK mainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The neighbouring tab, wrapping around.
int nextTabIndex(int current, int count);
int previousTabIndex(int current, int count);

void showPage(int index);
// Ctrl+Tab, Ctrl+Right, Ctrl+Left and the middle button: refused with a beep while a worker runs.
void nextTab();
void previousTab();
// The tab captions again, after a language change.
void renameTabs();
// The program's name and version; F1 while one is open shows no second one.
void showAboutBox(HWND owner);
