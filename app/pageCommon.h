// What the three pages answer alike: their background, the middle button, the tab commands,
// Enter on a run button, and the "Error" box of a failed message.
#pragma once
#include <windows.h>

#include <functional>

// The brush with which the pages paint their background; made by the Apply page.
extern HBRUSH pageBrush;

// Answers the page's background, the middle button and the tab commands; false for any other
// message, which the page answers itself.
bool answerCommonPageMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

// Enter: the page's action when its run button is enabled, else the exclamation beep.
void runIfEnabled(HWND runButton, const std::function<void()>& start);

// The mouse's position on the screen, where a popup menu opens.
POINT cursorPosition();

// Runs one message's handling; whatever it throws is shown in the page's "Error" box.
void guarded(HWND page, const std::function<void()>& handling);
