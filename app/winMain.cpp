// morlo's entry point: common controls, COM with the taskbar object, the main window and the
// message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shobjidl.h>

#include "caughtErrors.h"
#include "commandLine.h"
#include "mainWindow.h"
#include "resources/resourceIds.h"
#include "statusDisplay.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&classes);
  comStarted = SUCCEEDED(CoInitialize(nullptr));
  if (comStarted) {
    // Without it the program runs without taskbar progress.
    CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                     reinterpret_cast<void**>(&taskbarList));
  }
  const HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_MAIN));
  const HWND mainWindow = createMainWindow(instance, programArguments());
  if (!mainWindow) {
    // Without its window the program could only wait for messages that never come.
    showErrorBox(nullptr, systemErrorText(GetLastError()));
    return 1;
  }
  ShowWindow(mainWindow, SW_SHOWNORMAL);

  MSG message{};
  int result = 0;
  while ((result = GetMessageW(&message, nullptr, 0, 0)) != 0) {
    if (result == -1) break;
    if (TranslateAcceleratorW(mainWindow, accelerators, &message)) continue;
    if (IsDialogMessageW(mainWindow, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  DestroyAcceleratorTable(accelerators);
  return result == -1 ? 1 : int(message.wParam);
}
