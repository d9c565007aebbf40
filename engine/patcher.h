// The one interface through which the pages run every kind of patch. The nine
// operations keep this order: the patcher set and the pages rely on it.
#pragma once
#include <cstdint>
#include <string>

struct patchJob;
struct pathFields;
struct settingsValues;
struct guiHandles;
class patchInfoEditor;

class patcher {
 public:
  virtual void attachGui(guiHandles& handles) = 0;
  virtual void setModulePath(const std::string& folderPrefix) = 0;
  virtual void setKind(int kind) = 0;
  // Refuses (errorStrShow) a run whose files would overwrite one another. A mask of 7
  // means the patch goes to a copy at target, so target is checked too.
  virtual void checkPaths(const std::wstring& patch, const std::wstring& source,
                          const std::wstring& target, uint8_t mask);
  virtual void apply(patchJob& job, uint8_t mask) = 0;
  virtual void create(patchJob& job, patchInfoEditor& editor, settingsValues& settings,
                      guiHandles& handles) = 0;
  virtual void patchChosen(patchJob& job, pathFields& paths, settingsValues& settings,
                           guiHandles& handles) = 0;
  virtual void sourceChosen(pathFields& paths, settingsValues& settings, guiHandles& handles) = 0;
  virtual void finish() = 0;

 protected:
  // The patchers live in the patcher set and are never deleted through this base.
  ~patcher() = default;
};
