#include "xdeltaCreate.h"

#include <vector>

#include "base64.h"
#include "engineTexts.h"
#include "errors.h"
#include "md5.h"
#include "moduleCommands.h"
#include "modulePatchers.h"
#include "morloFormat.h"
#include "sameFileCheck.h"
#include "textConvert.h"
#include "utf8Path.h"
#include "windowHelpers.h"

namespace {

constexpr int englishKeys = 0;
constexpr int currentLanguage = 1;
constexpr int valuesOnly = 2;

std::string line(const std::string& label, const std::string& value) { return label + ": " + value + "\n"; }

std::string dateLine(int labelMode, const std::string& dateText) {
  if (labelMode == currentLanguage)
    return toUtf8(patchInfoLabels[7]) + ": " + dateText + " " + foreignInfoKeys[3] + "\n";
  return patchInfoKeys[7] + ": " + dateText + patchInfoKeys[8];
}

}  // namespace

std::string xdeltaDescriptionLines(bool withInfo, int labelMode, const std::array<std::wstring, 8>& values,
                                   const std::string& dateText, const std::string& sourcePath,
                                   const std::string& patchPath) {
  std::string text;
  if (withInfo) {
    for (int i = 0; i < 7; ++i) {
      const std::string value = toUtf8(values[i]);
      if (labelMode == valuesOnly)
        text += value + "\n";
      else
        text += line(labelMode == currentLanguage ? toUtf8(patchInfoLabels[i]) : patchInfoKeys[i], value);
    }
    if (labelMode == valuesOnly) return text;
  } else {
    const bool translated = labelMode == currentLanguage;
    text += line(translated ? toUtf8(defaultInfoLabels[0]) : "File type", narrowExtensionOfPath(sourcePath));
    text += line(translated ? toUtf8(defaultInfoLabels[1]) : patchInfoKeys[1], narrowBaseNameOfPath(sourcePath));
    text += line(translated ? toUtf8(defaultInfoLabels[2]) : patchInfoKeys[2], narrowBaseNameOfPath(patchPath));
  }
  return text + dateLine(labelMode, dateText);
}

std::string xdeltaDigestLine(const std::string& md5Hex) { return "MD5: " + md5Hex; }

std::string xdeltaHeaderText(const std::string& description) {
  std::vector<char> encoded((description.size() + 2) / 3 * 4 + 1);
  const uint32_t count = base64Encode(reinterpret_cast<const uint8_t*>(description.data()),
                                      uint32_t(description.size()), encoded.data());
  return std::string(encoded.data(), count);
}

void patcher3::create(patchJob& job, patchInfoEditor& editor, settingsValues& settings, guiHandles& gui) {
  description.clear();
  const bool withInfo = settings.withInfo != 0;
  if (!(withInfo && settings.ptc_info_lang == valuesOnly)) {
    uint32_t date = uint32_t(creationDate);
    packCreationDate(date);
    creationDate = int(date);
    dateText = formatCreationDate(date);
  }
  if (withInfo) {
    editor.readConsoleName();
    editor.readInfoFields();
  }
  description = xdeltaDescriptionLines(withInfo, settings.ptc_info_lang, editor.infoValues, dateText,
                                       job.sourcePath, job.patchPath);
  refuseSameFiles(job, applyToCopyMask);

  inputFile_.open(utf8Path(job.targetPath), std::ios::binary);
  if (!inputFile_.is_open()) {
    inputFile_.clear();
    localError.raise(engineErrorTexts[8]);
  }
  inputFile_.seekg(0, std::ios::end);
  const std::streamoff modifiedSize = inputFile_.tellg();
  inputFile_.close();
  inputFile_.clear();
  if (modifiedSize < std::streamoff(minXdeltaModifiedSize)) localWarning.raise(modulePatcherErrors[8]);

  description += xdeltaDigestLine(fileMd5Hex(job.sourcePath));
  settings.compress_lvl = readIntFromControl(gui.settingsLevelEdit);
  const xdeltaOptions options{settings.compress_lvl, settings.sec_compress, settings.src_wnd_size};
  commandLine = xdeltaCreateCommand(modulePath, options, xdeltaHeaderText(description), job.sourcePath,
                                    job.targetPath, job.patchPath);
  refuseUnsafeCommand();
  startModule();
}

std::string patcher3::fileMd5Hex(const std::string& path) {
  const int64_t size = openOriginalGame(path);
  md5 digest;
  readInBlocks(uint64_t(size), engineProgressTexts[3], [&digest](const char* data, size_t count) {
    digest.update(reinterpret_cast<const uint8_t*>(data), int32_t(count));
  });
  digest.finalize();
  return digest.hexDigest();
}
