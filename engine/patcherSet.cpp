#include "patcherSet.h"

#include <array>

#include "pathHelpers.h"
#include "textConvert.h"

namespace {

enum patchKind { noKind, mlKind, ipsKind, bpsKind, upsKind, apsKind, ppfKind, rupKind, bsdKind, xdeltaKind };

// The kind codes of module 2 for APS, PPF, RUP and BSDiff.
constexpr int module2Kinds[] = {3, 4, 5, 8};

}  // namespace

patcherSet::patcherSet() : module1(shared), module2(shared), module3(shared) {}

patcherSet thePatcherSet;
patcher* applyPatcher = &thePatcherSet.morlo;
patcher* createPatcher = &thePatcherSet.morlo;

patcher* defaultPatcher(patcherSet& set) { return &set.morlo; }

int patchKindFromExtension(std::wstring extension) {
  static const std::array<std::wstring, 9> extensions = {L"ml",  L"ips", L"bps", L"ups",   L"aps",
                                                         L"ppf", L"rup", L"bsd", L"xdelta"};
  for (wchar_t& c : extension)
    if (c >= L'A' && c <= L'Z') c = wchar_t(c - L'A' + L'a');
  for (size_t i = 0; i < extensions.size(); ++i)
    if (extension == extensions[i]) return int(i) + 1;
  return noKind;
}

patcher* patcherForApply(patcherSet& set, const std::wstring& patchPath) {
  const int kind = patchKindFromExtension(extensionOfPath(patchPath));
  if (kind >= ipsKind && kind <= upsKind) {
    set.module1.kind = kind - ipsKind;
    return &set.module1;
  }
  if (kind >= apsKind && kind <= bsdKind) {
    set.module2.kind = module2Kinds[kind - apsKind];
    return &set.module2;
  }
  if (kind == xdeltaKind) return &set.module3;
  return defaultPatcher(set);
}

patcher* patcherForCreate(patcherSet& set, const std::wstring& patchPath) {
  if (patchKindFromExtension(extensionOfPath(patchPath)) == xdeltaKind) return &set.module3;
  return defaultPatcher(set);
}

void attachPatcherSet(patcherSet& set, guiHandles& gui, const std::wstring& programFolder) {
  set.morlo.attachGui(gui);
  set.module1.attachGui(gui);
  const std::string modules = toUtf8(programFolder + L"Modules\\");
  set.module1.setModulePath(modules);
  set.module2.setModulePath(modules);
  set.module3.setModulePath(modules);
}
