// The patcher of the system's own format: creates and applies Morlo patches in process and shows
// a chosen patch's information. The one object lives in the patcher set for the whole run.
#pragma once
#include <windows.h>

#include <string>

#include "morloEngine.h"
#include "patcher.h"
#include "statusDisplay.h"

class morloPatcher final : public patcher {
 public:
  morloPatcher();

  // The engine gets the information box and the status display; the box's font now is the one
  // that patchChosen puts back after another patcher changed it.
  void attachGui(guiHandles& handles) override;
  void setModulePath(const std::string&) override {}
  void setKind(int) override {}
  void apply(patchJob& job, uint8_t mask) override;
  void create(patchJob& job, patchInfoEditor& editor, settingsValues& settings,
              guiHandles& handles) override;
  void patchChosen(patchJob& job, pathFields& paths, settingsValues& settings,
                   guiHandles& handles) override;
  void sourceChosen(pathFields& paths, settingsValues& settings, guiHandles& handles) override;
  void finish() override;

  morloEngine& engine() { return engine_; }

  std::wstring outputBaseName;   // built from a chosen patch's information
  std::wstring sourceExtension;  // "." and the extension of the chosen original game

 private:
  morloEngine engine_;
  windowProgressSink sink_;
  HWND infoBox_ = nullptr;  // owns the checksum question
  HFONT defaultInfoFont_ = nullptr;
};
