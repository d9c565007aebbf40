#include "morloDriver.h"

#include <commctrl.h>

#include <fstream>
#include <thread>

#include "processRunner.h"

namespace fs = std::filesystem;

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

std::wstring windowText(HWND window) {
  // GetWindowTextW does not reach the text of another process's controls; the message does.
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 5000, &copied);
  text.resize(copied);
  return text;
}

void makeProgramFolder(const fs::path& folder) {
  const fs::path dist = fs::path(builtProgramPath("morlo")).parent_path().parent_path() / "dist";
  fs::copy(dist, folder, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  fs::remove(folder / "tollen.exe");
}

namespace {

// A message whose answer is a structure: the structure is lent from the other process's memory.
template <typename answer>
answer askInOtherProcess(DWORD processId, HWND window, UINT message, WPARAM wParam) {
  answer result{};
  const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, processId);
  void* remote = VirtualAllocEx(process, nullptr, sizeof result, MEM_COMMIT, PAGE_READWRITE);
  SendMessageW(window, message, wParam, reinterpret_cast<LPARAM>(remote));
  ReadProcessMemory(process, remote, &result, sizeof result, nullptr);
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return result;
}

struct windowSearch {
  DWORD process = 0;
  std::wstring caption;
  HWND found = nullptr;
};

// A window's caption, read without a message: the window's thread may be busy.
std::wstring caption(HWND window) {
  wchar_t text[256] = {};
  InternalGetWindowText(window, text, 256);
  return text;
}

BOOL CALLBACK matchTopLevel(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<windowSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search.process || !IsWindowVisible(window) || caption(window) != search.caption)
    return TRUE;
  search.found = window;
  return FALSE;
}

struct pageSearch {
  int controlId;
  HWND found = nullptr;
};

BOOL CALLBACK matchPage(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<pageSearch*>(context);
  if (GetDlgItem(window, search.controlId) && GetDlgCtrlID(window) != search.controlId) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK collectStaticText(HWND window, LPARAM context) {
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  auto& text = *reinterpret_cast<std::wstring*>(context);
  const std::wstring own = windowText(window);
  if (_wcsicmp(className, L"Static") == 0 && own.size() > text.size()) text = own;
  return TRUE;
}

}  // namespace

morloProcess::morloProcess(const fs::path& folder, const std::wstring& arguments,
                           const fs::path& workingFolder) {
  const fs::path program = folder / "morlo.exe";
  std::wstring line = L"\"" + program.wstring() + L"\"";
  if (!arguments.empty()) line += L" " + arguments;
  const fs::path cwd = workingFolder.empty() ? folder : workingFolder;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      cwd.c_str(), &startup, &process_)) {
    return;
  }
  waitUntil([this] { return (main_ = findWindow(L"morlo")) || findWindow(L"Error") || !running(); });
  if (!main_) return;
  // The pages are the children of the tab control that hold a control of their own.
  const int ownControls[3] = {1007, 1001, 1028};
  for (int i = 0; i < 3; ++i) {
    pageSearch search{ownControls[i]};
    EnumChildWindows(tabs(), matchPage, reinterpret_cast<LPARAM>(&search));
    pages_[i] = search.found;
  }
}

morloProcess::~morloProcess() {
  if (!process_.hProcess) return;
  if (running()) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 10000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

HWND morloProcess::tabs() const { return GetDlgItem(main_, 1000); }

namespace {

// The text of a tab or tree item (TCITEMW or TVITEMW): the item and its text buffer are lent
// from the other process's memory, which the control writes into.
template <typename item>
std::wstring itemText(DWORD processId, HWND control, UINT message, WPARAM wParam, item request) {
  struct itemWithText {
    item asked;
    wchar_t text[256];
  };
  const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  auto* remote = static_cast<itemWithText*>(
      VirtualAllocEx(process, nullptr, sizeof(itemWithText), MEM_COMMIT, PAGE_READWRITE));
  itemWithText local{request, {}};
  local.asked.pszText = remote->text;
  local.asked.cchTextMax = 256;
  WriteProcessMemory(process, remote, &local, sizeof local, nullptr);
  SendMessageW(control, message, wParam, reinterpret_cast<LPARAM>(remote));
  ReadProcessMemory(process, remote, &local, sizeof local, nullptr);
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  local.text[255] = L'\0';
  return local.text;
}

}  // namespace

std::wstring morloProcess::tabCaption(int index) const {
  TCITEMW request{};
  request.mask = TCIF_TEXT;
  return itemText(process_.dwProcessId, tabs(), TCM_GETITEMW, WPARAM(index), request);
}

void morloProcess::chooseInFolderDialog(const std::wstring& caption, const std::wstring& folderName) const {
  const HWND dialog = waitForWindow(caption);
  const HWND tree = FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
  const auto root = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
  auto child = reinterpret_cast<HTREEITEM>(
      SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(root)));
  for (; child; child = reinterpret_cast<HTREEITEM>(
                    SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)))) {
    TVITEMW request{};
    request.mask = TVIF_TEXT;
    request.hItem = child;
    if (itemText(process_.dwProcessId, tree, TVM_GETITEMW, 0, request) == folderName) break;
  }
  if (child) SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(child));
  dismiss(dialog, IDOK);
}

int morloProcess::selectedTab() const {
  return int(SendMessageW(tabs(), TCM_GETCURSEL, 0, 0));
}

int morloProcess::visiblePage() const {
  int shown = -1;
  for (int i = 0; i < 3; ++i) {
    if (!IsWindowVisible(pages_[i])) continue;
    if (shown != -1) return -1;
    shown = i;
  }
  return shown;
}

void morloProcess::click(HWND button) const { PostMessageW(button, BM_CLICK, 0, 0); }

namespace {

struct menuSearch {
  DWORD process = 0;
  HWND found = nullptr;
};

BOOL CALLBACK matchMenu(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<menuSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (owner != search.process || !IsWindowVisible(window) || wcscmp(className, L"#32768") != 0)
    return TRUE;
  search.found = window;
  return FALSE;
}

}  // namespace

void morloProcess::setText(HWND edit, const std::wstring& text) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                      5000, &result);
}

void morloProcess::pickComboItem(int pageIndex, int comboId, int index) const {
  const HWND combo = control(pageIndex, comboId);
  SendMessageW(combo, CB_SETCURSEL, WPARAM(index), 0);
  SendMessageW(pages_[pageIndex], WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
}

std::vector<std::wstring> morloProcess::comboItems(HWND combo) const {
  std::vector<std::wstring> items;
  const int count = int(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  // The system marshals the text of a combo item between processes, as it does a window's text.
  for (int i = 0; i < count; ++i) {
    std::wstring item(size_t(SendMessageW(combo, CB_GETLBTEXTLEN, WPARAM(i), 0)) + 1, L'\0');
    item.resize(size_t(SendMessageW(combo, CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(item.data()))));
    items.push_back(item);
  }
  return items;
}

void morloProcess::menuCommand(int pageIndex, int commandId) const {
  PostMessageW(pages_[pageIndex], WM_COMMAND, MAKEWPARAM(commandId, 0), 0);
}

void morloProcess::clickTab(int index) const {
  const RECT item = askInOtherProcess<RECT>(process_.dwProcessId, tabs(), TCM_GETITEMRECT,
                                            WPARAM(index));
  const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  PostMessageW(tabs(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(tabs(), WM_LBUTTONUP, 0, at);
}

HWND morloProcess::openPopupMenu(int pageIndex) const {
  RECT page{};
  GetWindowRect(pages_[pageIndex], &page);
  // An empty spot between the first two group boxes, near the page's left edge.
  const POINT at{page.left + 4, page.top + 4};
  SetCursorPos(at.x, at.y);
  PostMessageW(pages_[pageIndex], WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(4, 4));
  menuSearch search{process_.dwProcessId};
  waitUntil(
      [&] {
        EnumWindows(matchMenu, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      std::chrono::seconds(3));
  return search.found;
}

void morloProcess::closePopupMenu() const {
  PostMessageW(main_, WM_KEYDOWN, VK_ESCAPE, 0);
  waitUntil([this] {
    menuSearch search{process_.dwProcessId};
    EnumWindows(matchMenu, reinterpret_cast<LPARAM>(&search));
    return search.found == nullptr;
  });
}

HWND morloProcess::findWindow(const std::wstring& caption) const {
  windowSearch search{process_.dwProcessId, caption};
  EnumWindows(matchTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND morloProcess::waitForWindow(const std::wstring& caption) const {
  HWND found = nullptr;
  waitUntil([&] { return (found = findWindow(caption)) != nullptr; });
  return found;
}

void morloProcess::chooseInFileDialog(const std::wstring& caption, const fs::path& file) const {
  const HWND dialog = waitForWindow(caption);
  if (!dialog) return;
  // The file name box: a combo box (cmb13) in the newer dialog, an edit (edt1) in the older.
  HWND name = GetDlgItem(dialog, 0x47c);
  if (!name) name = GetDlgItem(dialog, 0x480);
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  waitUntil([dialog] { return !IsWindow(dialog); });
}

std::wstring morloProcess::messageText(HWND box) {
  std::wstring text;
  EnumChildWindows(box, collectStaticText, reinterpret_cast<LPARAM>(&text));
  return text;
}

void morloProcess::dismiss(HWND box, int buttonId) {
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, buttonId)));
  waitUntil([box] { return !IsWindow(box); });
}

void morloProcess::pressKeys(const std::vector<WORD>& chord) const {
  SetForegroundWindow(main_);
  waitUntil([this] { return GetForegroundWindow() == main_; }, std::chrono::seconds(5));
  std::vector<INPUT> inputs;
  for (WORD key : chord) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    inputs.push_back(input);
  }
  for (auto key = chord.rbegin(); key != chord.rend(); ++key) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = *key;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool morloProcess::close(std::chrono::milliseconds limit) {
  PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
  return waitUntil([this] { return !running(); }, limit);
}

bool morloProcess::running() const {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD morloProcess::exitCode(std::chrono::milliseconds limit) const {
  DWORD code = STILL_ACTIVE;
  if (waitUntil([this] { return !running(); }, limit)) GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

void saveScreenPicture(const RECT& rect, const fs::path& file) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP picture = CreateCompatibleBitmap(screen, width, height);
  const HGDIOBJ previous = SelectObject(memory, picture);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, previous);

  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const int rowBytes = (width * 3 + 3) & ~3;
  std::vector<char> pixels(size_t(rowBytes) * size_t(height));
  GetDIBits(memory, picture, 0, UINT(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
            DIB_RGB_COLORS);
  BITMAPFILEHEADER fileHeader{};
  fileHeader.bfType = 0x4D42;
  fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
  fileHeader.bfSize = DWORD(fileHeader.bfOffBits + pixels.size());
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&fileHeader), sizeof fileHeader);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(pixels.data(), std::streamsize(pixels.size()));

  DeleteObject(picture);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}
