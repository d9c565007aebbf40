// The patchers that hand a patch to a console module through "cmd.exe /k": module 1 (IPS, BPS,
// UPS), module 2 (tollen: APS, PPF, RUP, BSDiff) and module 3 (xdelta, also for creating).
#pragma once
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "patcher.h"
#include "records.h"

// What the module patchers share, set once at start-up by attachPatcherSet.
struct patcherShared {
  HWND infoBox = nullptr;    // the Apply page's patch information
  HWND statusBar = nullptr;
  HFONT defaultInfoFont = nullptr;  // the information box's font at start-up
};

// Starts cmd.exe with the parameter text and does not wait; false when it could not be started.
// Tests put a recorder in its place.
using moduleStarter = bool (*)(const std::string& parameters);
bool startCmdExe(const std::string& parameters);
extern moduleStarter startModuleProcess;

class patcher0 : public patcher {
 public:
  explicit patcher0(patcherShared& shared) : shared_(shared) {}

  void setKind(int newKind) override { kind = newKind; }
  // Output-folder mode: with the patch chosen, the output name is made from both files.
  void sourceChosen(pathFields& paths, settingsValues& settings, guiHandles& gui) override;
  // Releases what a run or an information display left open.
  void finish() override;

  int kind = 0;
  std::string modulePath;
  std::string commandLine;  // the parameter text last built for cmd.exe

 protected:
  ~patcher0() = default;
  // The output-name step that every module patcher takes first when a patch is chosen.
  void outputNameOnPatchChosen(pathFields& paths, settingsValues& settings, guiHandles& gui);
  // Copies the original game to the output, in blocks through one buffer.
  void modulePatcherCopy(const std::string& sourcePath, const std::string& targetPath);
  // Opens the original game on inputFile_ and returns its length; refuses a missing or empty one.
  int64_t openOriginalGame(const std::string& path);
  // Reads the open inputFile_ block by block through copyBuffer_, with the step's text and the
  // block countdown in the status bar, and hands each block on.
  void readInBlocks(uint64_t size, const std::wstring& step, const std::function<void(const char*, size_t)>& use);
  // Modules 1 and 2 patch in place: the original game, or with a mask of 7 a copy of it
  // written to the output first.
  static const std::string& fileToPatch(const patchJob& job, uint8_t mask);
  // Runs commandLine for a module that patches in place.
  void runInPlace(const patchJob& job, uint8_t mask);
  // Refuses (errorStrShow) a commandLine that cmd.exe would not pass on as built.
  void refuseUnsafeCommand() const;
  void startModule();
  void setInfoText(const std::wstring& text);
  void putFont(HFONT font);

  patcherShared& shared_;
  std::unique_ptr<uint8_t[]> copyBuffer_;
  std::ifstream inputFile_;
  std::ofstream outputFile_;
};

// Module 1: IPS (kind 0), BPS (1), UPS (2).
class patcher1 final : public patcher0 {
 public:
  using patcher0::patcher0;
  void attachGui(guiHandles& gui) override;
  void setModulePath(const std::string& folderPrefix) override { modulePath = folderPrefix + "1.m"; }
  void apply(patchJob& job, uint8_t mask) override;
  void create(patchJob&, patchInfoEditor&, settingsValues&, guiHandles&) override {}
  void patchChosen(patchJob& job, pathFields& paths, settingsValues& settings, guiHandles& gui) override;
};

// Module 2: APS (kind 3), PPF (4), RUP (5), BSDiff (8).
class patcher2 final : public patcher0 {
 public:
  explicit patcher2(patcherShared& shared);
  ~patcher2();
  patcher2(const patcher2&) = delete;
  patcher2& operator=(const patcher2&) = delete;
  void attachGui(guiHandles&) override {}
  void setModulePath(const std::string& folderPrefix) override { modulePath = folderPrefix + "2.m"; }
  void apply(patchJob& job, uint8_t mask) override;
  void create(patchJob&, patchInfoEditor&, settingsValues&, guiHandles&) override {}
  void patchChosen(patchJob& job, pathFields& paths, settingsValues& settings, guiHandles& gui) override;

  std::string infoText;
  HFONT infoFont = nullptr;  // fixed pitch, for a FILE_ID.DIZ
  uint8_t useFixedFont = 0;

 private:
  void showPpfInfo(patchJob& job, guiHandles& gui);
};

// Module 3: xdelta. It reads the original game and writes the output itself, so it never
// patches in place; it also creates xdelta patches.
class patcher3 final : public patcher0 {
 public:
  using patcher0::patcher0;
  void attachGui(guiHandles&) override {}
  void setModulePath(const std::string& folderPrefix) override { modulePath = folderPrefix + "3.m"; }
  void apply(patchJob& job, uint8_t mask) override;
  void create(patchJob& job, patchInfoEditor& editor, settingsValues& settings, guiHandles& gui) override;
  void patchChosen(patchJob& job, pathFields& paths, settingsValues& settings, guiHandles& gui) override;

  int creationDate = 0;  // packed as in a Morlo patch
  std::wstring infoText;
  std::string description;  // stored in the patch as the application header
  std::string dateText;

 private:
  // The MD5 digest of a whole file as 32 hexadecimal digits, in blocks through one buffer.
  std::string fileMd5Hex(const std::string& path);
};
