// What a chosen Morlo patch tells the user: the information text of the Apply page and the
// output name that output-folder mode builds from it.
#include "morloEngine.h"
#include "morloTexts.h"
#include "textConvert.h"

void morloEngine::showPatchInfo() {
  readInfoLines();
  const bool withInfo = flags_ & flagWithInfo;
  auto label = [&](size_t i) -> const std::wstring& {
    return withInfo ? patchInfoLabels[i] : defaultInfoLabels[i];
  };
  std::wstring text;
  auto addLine = [&](const std::wstring& name, const std::string& value) {
    text += name + L": " + fromUtf8(value) + L"\r\n";
  };
  for (size_t i = 0; i < infoLines_.size(); ++i) addLine(label(i), infoLines_[i]);
  addLine(label(infoLines_.size()), formatCreationDate(creationDate_) + " " + foreignInfoKeys[3]);
  addLine(L"MD5", digestText_);
  infoText_ = std::move(text);
}

void morloEngine::readPatchInfo(const patchJob& job) {
  readHeader(job);
  showPatchInfo();
  patch_.close();
}

std::wstring morloEngine::outputNameFromInfo(const settingsValues& settings) const {
  auto line = [&](size_t i) { return i < infoLines_.size() ? infoLines_[i] : std::string(); };
  std::string name;
  if (settings.use_game_name) name += line(1);
  if (settings.use_game_name && settings.use_hack_name) name += " - ";
  if (settings.use_hack_name) name += line(2);
  if (settings.use_hack_ver && (flags_ & flagWithInfo)) name += " v" + line(3);
  return fromUtf8(name);
}
