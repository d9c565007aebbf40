#include "patcher.h"

#include "engineTexts.h"
#include "errors.h"

// Paths are compared as written; two spellings of one file are caught by file identity once a
// run starts (refuseSameFiles), before anything is written.
void patcher::checkPaths(const std::wstring& patch, const std::wstring& source,
                         const std::wstring& target, uint8_t mask) {
  if (patch == source) localStrShow.raise(modulePatcherErrors[0]);
  if (mask != 7) return;
  if (patch == target) localStrShow.raise(modulePatcherErrors[1]);
  if (source == target) localStrShow.raise(modulePatcherErrors[2]);
}
