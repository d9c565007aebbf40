// The path edits of the Apply and Create pages: which path field and mask bit each edit stands
// for, and what a file dropped on one of them does.
#pragma once
#include <windows.h>

#include <cstdint>
#include <array>
#include <map>
#include <string>

enum class pathRole { patch, source, target };

struct pathEdit {
  pathRole role = pathRole::patch;
  std::wstring* field = nullptr;  // in pathFields
  uint8_t* mask = nullptr;        // the page's files-chosen mask
  uint8_t bit = 0;
};

// The edits by window; the original window procedure of the edit class is kept once, since all
// path edits share it.
class pathEditRegistry {
 public:
  const pathEdit* find(HWND edit) const;
  // A page's three path edits in the order patch, original game, output (Create page: modified
  // game) with their fields and the page's mask, subclassed with procedure.
  void addPage(const std::array<HWND, 3>& edits, const std::array<std::wstring*, 3>& fields,
               uint8_t& mask, WNDPROC procedure);
  LRESULT callOriginal(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) const;

 private:
  std::map<HWND, pathEdit> edits_;
  WNDPROC original_ = nullptr;
};

extern pathEditRegistry thePathEdits;

enum class dropAction {
  take,           // the file becomes the edit's path
  refuse,         // exclamation beep: a worker runs, or the name is too long
  autoOutput,     // output-folder mode: the edit says the name will be made
  ignore,         // patching the original game needs no output
};

// What a file dropped on an Apply page path (or the information box, as the patch) does.
dropAction applyDropAction(pathRole role, int patchToFile, bool busy);
