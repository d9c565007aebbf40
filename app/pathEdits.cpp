#include "pathEdits.h"

#include "records.h"

pathEditRegistry thePathEdits;

const pathEdit* pathEditRegistry::find(HWND edit) const {
  const auto entry = edits_.find(edit);
  return entry == edits_.end() ? nullptr : &entry->second;
}

void pathEditRegistry::addPage(const std::array<HWND, 3>& edits,
                               const std::array<std::wstring*, 3>& fields, uint8_t& mask,
                               WNDPROC procedure) {
  const pathRole roles[3] = {pathRole::patch, pathRole::source, pathRole::target};
  const uint8_t bits[3] = {patchChosenBit, sourceChosenBit, targetChosenBit};
  for (size_t i = 0; i < 3; ++i) {
    edits_[edits[i]] = {roles[i], fields[i], &mask, bits[i]};
    const auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edits[i], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
    if (!original_) original_ = previous;
  }
}

LRESULT pathEditRegistry::callOriginal(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) const {
  return CallWindowProcW(original_, edit, message, wParam, lParam);
}

dropAction applyDropAction(pathRole role, int patchToFile, bool busy) {
  // A running worker uses the patcher and the engine that a dropped patch would take over.
  if (busy) return dropAction::refuse;
  if (role == pathRole::target && patchToFile == 3) return dropAction::autoOutput;
  if (role == pathRole::target && patchToFile == 1) return dropAction::ignore;
  return dropAction::take;
}
