// The four patchers of morlo, one object each, and the choice among them by a patch file's
// extension. The one patcher set is built during static initialisation and lives to the end.
#pragma once
#include <string>

#include "modulePatchers.h"
#include "morloPatcher.h"
#include "patcher.h"
#include "records.h"

class patcherSet {
 public:
  patcherSet();
  patcherSet(const patcherSet&) = delete;
  patcherSet& operator=(const patcherSet&) = delete;

  patcherShared shared;  // built first: the module patchers keep a reference to it
  morloPatcher morlo;
  patcher1 module1;
  patcher2 module2;
  patcher3 module3;
};

extern patcherSet thePatcherSet;
// The patchers of the Apply and of the Create page; the Morlo patcher until a patch is chosen.
extern patcher* applyPatcher;
extern patcher* createPatcher;

patcher* defaultPatcher(patcherSet& set);

// 0 none, 1 ml, 2 ips, 3 bps, 4 ups, 5 aps, 6 ppf, 7 rup, 8 bsd, 9 xdelta; letter case is ignored.
int patchKindFromExtension(std::wstring extension);
// The patcher that applies the patch at the path; a module patcher gets its kind set.
patcher* patcherForApply(patcherSet& set, const std::wstring& patchPath);
// The patcher that creates a patch at the path: xdelta by module 3, anything else as Morlo patch.
patcher* patcherForCreate(patcherSet& set, const std::wstring& patchPath);

// Start-up: the windows every patcher reports to, and the module folder, programFolder followed
// by "Modules\".
void attachPatcherSet(patcherSet& set, guiHandles& gui, const std::wstring& programFolder);
