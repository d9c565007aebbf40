#include "modulePatchers.h"

#include <shellapi.h>

#include <algorithm>

#include "engineTexts.h"
#include "errors.h"
#include "foreignInfo.h"
#include "moduleCommands.h"
#include "outputNames.h"
#include "progressReport.h"
#include "sameFileCheck.h"
#include "statusDisplay.h"
#include "textConvert.h"
#include "utf8Path.h"
#include "windowHelpers.h"

namespace {

constexpr int64_t maxCopySize = 10737418240;  // 10 GiB

constexpr int kindPpf = 4;
constexpr int kindAps = 3;
constexpr int kindRup = 5;

HFONT fontOf(HWND window) { return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)); }

// The information texts of the foreign readers are UTF-8.
std::wstring wideText(const std::string& text) { return text.empty() ? std::wstring() : fromUtf8(text); }

}  // namespace

bool startCmdExe(const std::string& parameters) {
  // The process code page is UTF-8, so the paths in the parameters arrive intact. A module that
  // fails is reported by cmd.exe in its own window; only cmd.exe itself failing is seen here.
  const auto result =
      ShellExecuteA(nullptr, nullptr, "cmd.exe", parameters.c_str(), nullptr, SW_SHOW);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

moduleStarter startModuleProcess = startCmdExe;

// patcher0

void patcher0::sourceChosen(pathFields& paths, settingsValues& settings, guiHandles& gui) {
  if ((paths.filesChosenMask & patchChosenBit) && outputNamesApply(settings))
    setOutputPath(paths, settings, gui, moduleOutputName(paths.applySourcePath, paths.applyPatchPath, settings));
}

void patcher0::outputNameOnPatchChosen(pathFields& paths, settingsValues& settings, guiHandles& gui) {
  if (settings.patch_to_file != 3) return;
  if ((paths.filesChosenMask & sourceChosenBit) && outputNamesApply(settings))
    setOutputPath(paths, settings, gui, moduleOutputName(paths.applySourcePath, paths.applyPatchPath, settings));
  paths.applyFinished = 0;
  setOutputButtonMode(gui.applyOutputButton, settings);
}

void patcher0::finish() {
  copyBuffer_.reset();
  if (inputFile_.is_open()) inputFile_.close();
  if (outputFile_.is_open()) outputFile_.close();
  inputFile_.clear();
  outputFile_.clear();
}

int64_t patcher0::openOriginalGame(const std::string& path) {
  inputFile_.open(utf8Path(path), std::ios::binary);
  if (!inputFile_.is_open()) localError.raise(engineErrorTexts[7]);
  inputFile_.seekg(0, std::ios::end);
  const int64_t size = inputFile_.tellg();
  inputFile_.seekg(0);
  if (!inputFile_) localError.raise(engineErrorTexts[19]);
  if (size == 0) localError.raise(engineErrorTexts[4]);
  return size;
}

void patcher0::readInBlocks(uint64_t size, const std::wstring& step,
                            const std::function<void(const char*, size_t)>& use) {
  windowProgressSink sink(shared_.statusBar, nullptr, nullptr);
  progressReport report(sink);
  report.showStep(step);
  const uint64_t chunk = std::min<uint64_t>(size, progressBlockSize);
  copyBuffer_ = std::make_unique_for_overwrite<uint8_t[]>(chunk);
  auto* data = reinterpret_cast<char*>(copyBuffer_.get());
  report.startBlocks(size);
  for (uint64_t left = size; left > 0;) {
    const uint64_t count = std::min(left, chunk);
    if (!inputFile_.read(data, std::streamsize(count))) localError.raise(engineErrorTexts[19]);
    use(data, size_t(count));
    left -= count;
    report.blockDone();
  }
  inputFile_.close();
  inputFile_.clear();
  copyBuffer_.reset();
}

void patcher0::modulePatcherCopy(const std::string& sourcePath, const std::string& targetPath) {
  const int64_t size = openOriginalGame(sourcePath);
  if (size > maxCopySize) localError.raise(engineErrorTexts[11]);
  outputFile_.open(utf8Path(targetPath), std::ios::binary | std::ios::trunc);
  if (!outputFile_.is_open()) localError.raise(engineErrorTexts[17]);
  readInBlocks(uint64_t(size), engineProgressTexts[1], [this](const char* data, size_t count) {
    if (!outputFile_.write(data, std::streamsize(count))) localError.raise(engineErrorTexts[23]);
  });
  // The module would patch whatever reached the disk: a copy that could not be written out
  // whole is a failed copy, not a finished one.
  outputFile_.close();
  if (!outputFile_) localError.raise(engineErrorTexts[23]);
}

const std::string& patcher0::fileToPatch(const patchJob& job, uint8_t mask) {
  return mask == applyToCopyMask ? job.targetPath : job.sourcePath;
}

void patcher0::runInPlace(const patchJob& job, uint8_t mask) {
  refuseSameFiles(job, mask);
  refuseUnsafeCommand();
  if (mask == applyToCopyMask) modulePatcherCopy(job.sourcePath, job.targetPath);
  startModule();
}

void patcher0::refuseUnsafeCommand() const {
  const commandProblem problem = checkModuleCommand(commandLine);
  if (problem != commandProblem::none) localStrShow.raise(commandProblemText(problem));
}

void patcher0::startModule() {
  setStatusText(shared_.statusBar, 1, modulePatcherTexts[0]);
  if (!startModuleProcess(commandLine))
    localError.raise(L"The patcher can't be started: cmd.exe did not start");
}

void patcher0::setInfoText(const std::wstring& text) {
  SendMessageW(shared_.infoBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void patcher0::putFont(HFONT font) {
  if (fontOf(shared_.infoBox) != font) SendMessageW(shared_.infoBox, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

// patcher1

void patcher1::attachGui(guiHandles& gui) {
  shared_.infoBox = gui.applyInfoEdit;
  shared_.statusBar = gui.statusBar;
  shared_.defaultInfoFont = fontOf(gui.applyInfoEdit);
}

void patcher1::apply(patchJob& job, uint8_t mask) {
  commandLine = module1Command(modulePath, kind, job.checksumMode, job.patchPath, fileToPatch(job, mask));
  runInPlace(job, mask);
}

void patcher1::patchChosen(patchJob& job, pathFields& paths, settingsValues& settings, guiHandles& gui) {
  outputNameOnPatchChosen(paths, settings, gui);
  clearAndDisableCheckbox(gui.settingsRestoreCheck, job.restoreOriginal);
  setInfoText(L"");
}

// patcher2

patcher2::patcher2(patcherShared& shared) : patcher0(shared) {
  infoFont = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_MODERN, L"Consolas");
}

patcher2::~patcher2() {
  if (infoFont) DeleteObject(infoFont);
}

void patcher2::apply(patchJob& job, uint8_t mask) {
  commandLine = module2Command(modulePath, kind, job.restoreOriginal, job.patchPath, fileToPatch(job, mask));
  runInPlace(job, mask);
}

void patcher2::patchChosen(patchJob& job, pathFields& paths, settingsValues& settings, guiHandles& gui) {
  outputNameOnPatchChosen(paths, settings, gui);
  job.patchPath = toUtf8(paths.applyPatchPath);
  if (kind == kindPpf) {
    showPpfInfo(job, gui);
    return;
  }
  bool known = false;
  if (kind == kindAps) known = readApsInfo(inputFile_, job.patchPath, infoText);
  if (kind == kindRup) known = readRupInfo(inputFile_, job.patchPath, infoText);
  setInfoText(known ? wideText(infoText) : L"");
  clearAndDisableCheckbox(gui.settingsRestoreCheck, job.restoreOriginal);
}

void patcher2::showPpfInfo(patchJob& job, guiHandles& gui) {
  bool undoAvailable = false;
  const bool known = readPpfInfo(inputFile_, job.patchPath, infoText, undoAvailable, useFixedFont);
  // Only undo data makes restoring possible; a tick left from an earlier patch must not
  // reach a patch without it.
  if (known && undoAvailable)
    EnableWindow(gui.settingsRestoreCheck, TRUE);
  else
    clearAndDisableCheckbox(gui.settingsRestoreCheck, job.restoreOriginal);
  if (!known) {
    setInfoText(L"");
    return;
  }
  if (useFixedFont && fontOf(shared_.infoBox) == shared_.defaultInfoFont) putFont(infoFont);
  setInfoText(wideText(infoText));
  useFixedFont = 0;
}

// patcher3

void patcher3::apply(patchJob& job, uint8_t mask) {
  if (mask != applyToCopyMask) localWarning.raise(modulePatcherTexts[1]);
  refuseSameFiles(job, mask);
  commandLine = module3ApplyCommand(modulePath, job.checksumMode, job.sourcePath, job.patchPath, job.targetPath);
  refuseUnsafeCommand();
  startModule();
}

void patcher3::patchChosen(patchJob& job, pathFields& paths, settingsValues& settings, guiHandles& gui) {
  outputNameOnPatchChosen(paths, settings, gui);
  job.patchPath = toUtf8(paths.applyPatchPath);
  if (readXdeltaInfo(inputFile_, job.patchPath, infoText)) {
    putFont(shared_.defaultInfoFont);
    setInfoText(infoText);
  } else {
    setInfoText(L"");
  }
  clearAndDisableCheckbox(gui.settingsRestoreCheck, job.restoreOriginal);
}
