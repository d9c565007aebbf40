// Drives the Morlo patcher on files without windows: the jobs of apply and create, a recorded
// progress display, an editor with fixed values, and the text of a raised error.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "errors.h"
#include "md5.h"
#include "morloPatcher.h"
#include "testFiles.h"
#include "textConvert.h"

// The MD5 digest of the data as a patch stores it.
inline bytes digestOf(const bytes& data) {
  md5 digest;
  digest.update(data.data(), static_cast<int32_t>(data.size()));
  digest.finalize();
  uint32_t words[4];
  digest.digestWords(words);
  bytes out;
  for (uint32_t word : words) putLe(out, word, 4);
  return out;
}

// A hand-built patch: magic, version, flags, count, digest, date and the information lines.
inline bytes patchHead(uint8_t flags, uint64_t count, const bytes& original,
                       std::vector<std::string> lines = {"bin", "game", "hack"}, uint8_t version = 4,
                       uint32_t date = 0) {
  bytes out;
  putText(out, "ML");
  out.push_back(version);
  out.push_back(flags);
  putLe(out, count, (flags & 0x08) ? 8 : 4);
  const bytes digest = digestOf(original);
  out.insert(out.end(), digest.begin(), digest.end());
  putLe(out, date, 3);
  for (const auto& line : lines) {
    putText(out, line);
    out.push_back(0);
  }
  return out;
}

// Everything the engine reports, in order.
class recordingSink final : public progressSink {
 public:
  std::vector<std::wstring> steps;   // status part 1
  std::vector<std::wstring> counts;  // status part 0
  std::vector<int> positions;
  int pauses = 0;

  void statusText(int part, const std::wstring& text) override {
    (part == 1 ? steps : counts).push_back(text);
  }
  void progressPosition(int percent) override { positions.push_back(percent); }
  void taskbarProgress(int) override {}
  void pause() override { ++pauses; }
};

// The Create page's editor with values set by the test; an empty value is refused as the page does.
class fixedEditor final : public patchInfoEditor {
 public:
  explicit fixedEditor(std::array<std::wstring, 8> values) { infoValues = std::move(values); }
  void readConsoleName() override {
    if (infoValues[0].empty()) localStrShow.raise(L"Console name field is empty");
  }
  void readInfoFields() override {}
};

// The text of the error an operation raised; empty when it returned normally. The kind tells
// which class was caught: "warning", "input" (errorStrShow) or "error".
struct raised {
  std::wstring text;
  std::string kind;
};

inline raised raisedBy(const std::function<void()>& operation) {
  try {
    operation();
  } catch (warning* stop) {
    return {stop->message, "warning"};
  } catch (errorStrShow* input) {
    return {input->message, "input"};
  } catch (errorBase* error) {
    return {error->message, "error"};
  }
  return {};
}

inline void add(bytes& out, std::initializer_list<uint8_t> values) { out.insert(out.end(), values); }

// A UTF-8 path as the wide path of the pages.
inline std::wstring widePath(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end())).wstring();
}

// Pieces as large as a block, each running on by the longest run into the next.
constexpr uint64_t rereadThreshold = blockSize - maxRunExtent;

// One patcher with the windows replaced by a recorder, as the worker uses it.
class morloRun {
 public:
  // The engine reads in its own pieces; smaller ones make small files cross many piece ends.
  morloRun() {
    patcher.engine().reportTo(sink);
    settings.resetToDefaults();
  }
  morloRun(uint64_t block, uint64_t threshold) : morloRun() { patcher.engine().setBlockSize(block, threshold); }

  raised create(const std::string& original, const std::string& modified, const std::string& patch,
                bool withInfo = false) {
    patchJob job{patch, original, modified};
    settings.withInfo = withInfo;
    return finished([&] { patcher.create(job, editor, settings, handles); });
  }

  raised apply(const std::string& patch, const std::string& original, const std::string& output = "",
               uint8_t mask = 3, int checksumMode = 1) {
    patchJob job{patch, original, output, checksumMode};
    return finished([&] { patcher.apply(job, mask); });
  }

  morloPatcher patcher;
  recordingSink sink;
  settingsValues settings;
  guiHandles handles;
  pathFields paths;
  fixedEditor editor{{L"SNES", L"Game", L"Hack", L"1.0", L"Author", L"Contact", L"Comment", L""}};

 private:
  // Like the worker: finish runs after every operation.
  raised finished(const std::function<void()>& operation) {
    raised result = raisedBy(operation);
    patcher.finish();
    return result;
  }
};
