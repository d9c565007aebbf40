// morlo-bench: runs the Morlo patch engine on files with no window and prints the seconds it
// took, then one line for each stage the engine reported (its status text and milliseconds).
//   create ORIGINAL MODIFIED PATCH   makes a patch with the three default information lines
//   apply PATCH ORIGINAL OUTPUT      applies to a copy, refusing a wrong original ("Show error")
//   apply PATCH ORIGINAL             applies to the original in place, the same way
//   idle                             starts and gives the beep that ends every run, nothing else:
//                                    the start that Wine adds to every run (its first beep loads
//                                    Wine's display driver), which a Windows user does not pay
//   passes ORIGINAL MODIFIED COPY    times each pass of the work alone, in the engine's pieces:
//                                    reading both files, the MD5 of the original, the comparison
//                                    of the common range, and writing the original to COPY
// Status 1 and the error's text on failure.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "errors.h"
#include "md5.h"
#include "morloCompare.h"
#include "morloPatcher.h"
#include "morloPieces.h"
#include "textConvert.h"

namespace {

using benchClock = std::chrono::steady_clock;

double millisecondsSince(benchClock::time_point start) {
  return std::chrono::duration<double, std::milli>(benchClock::now() - start).count();
}

// Notes when each stage's status text appears, so that the time of every stage can be told.
class stageTimes final : public progressSink {
 public:
  void statusText(int part, const std::wstring& text) override {
    if (part == 1) marks_.push_back({text, benchClock::now()});
  }
  void progressPosition(int) override {}
  void taskbarProgress(int) override {}
  void pause() override {}

  void print(benchClock::time_point end) const {
    for (size_t i = 0; i < marks_.size(); ++i) {
      const auto until = i + 1 < marks_.size() ? marks_[i + 1].second : end;
      const std::chrono::duration<double, std::milli> took = until - marks_[i].second;
      std::printf("  %-36s %8.1f ms\n", toUtf8(marks_[i].first).c_str(), took.count());
    }
  }

 private:
  std::vector<std::pair<std::wstring, benchClock::time_point>> marks_;
};

// Creation without information never reads the editor.
class noEditor final : public patchInfoEditor {
 public:
  void readConsoleName() override {}
  void readInfoFields() override {}
};

std::vector<std::string> arguments() {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> out;
  for (int i = 1; i < count; ++i) out.push_back(toUtf8(wide[i]));
  LocalFree(wide);
  return out;
}

void run(morloPatcher& patcher, const std::vector<std::string>& args) {
  settingsValues settings;
  settings.resetToDefaults();
  guiHandles handles;
  if (args[0] == "create") {
    settings.withInfo = 0;
    patchJob job{args[3], args[1], args[2]};
    noEditor editor;
    patcher.create(job, editor, settings, handles);
  } else {
    const bool toCopy = args.size() == 4;
    patchJob job{args[1], args[2], toCopy ? args[3] : std::string(), 1};
    patcher.apply(job, toCopy ? applyToCopyMask : patchChosenBit | sourceChosenBit);
  }
}

int timedRun(const std::vector<std::string>& args) {
  static morloPatcher patcher;  // as large as in the program, where it is a static object
  stageTimes stages;
  patcher.engine().reportTo(stages);
  const auto start = benchClock::now();
  int status = 0;
  try {
    run(patcher, args);
  } catch (errorBase* error) {
    std::fprintf(stderr, "%s\n", toUtf8(error->message).c_str());
    status = 1;
  }
  patcher.finish();
  const auto end = benchClock::now();
  const std::chrono::duration<double> elapsed = end - start;
  if (status == 0) std::printf("%.3f\n", elapsed.count());
  stages.print(end);
  return status;
}

// The bytes of a file of this size that a piece at this position holds.
size_t bytesInPiece(uint64_t size, uint64_t at, size_t piece) {
  return at >= size ? 0 : static_cast<size_t>(std::min<uint64_t>(piece, size - at));
}

// The passes one after another over the same pieces, each timed on its own.
int timedPasses(const std::string& originalPath, const std::string& modifiedPath,
                const std::string& copyPath) {
  morloFile original, modified, copy;
  uint64_t originalSize = 0, modifiedSize = 0;
  if (!original.open(originalPath, morloFile::access::read) || !original.size(originalSize) ||
      !modified.open(modifiedPath, morloFile::access::read) || !modified.size(modifiedSize) ||
      !copy.open(copyPath, morloFile::access::createNew)) {
    std::fputs("cannot open the files (the copy must not exist yet)\n", stderr);
    return 1;
  }
  const size_t piece = defaultPieceStride;
  std::vector<uint8_t> a(piece), b(piece);
  md5 digest;
  double readOriginal = 0, readModified = 0, hash = 0, compare = 0, write = 0;
  auto timed = [](double& total, auto&& work) {
    const auto start = benchClock::now();
    const bool done = work();
    total += millisecondsSince(start);
    return done;
  };
  for (uint64_t at = 0; at < std::max(originalSize, modifiedSize); at += piece) {
    const size_t inOriginal = bytesInPiece(originalSize, at, piece);
    const size_t inModified = bytesInPiece(modifiedSize, at, piece);
    const size_t common = std::min(inOriginal, inModified);
    const bool read = timed(readOriginal, [&] { return original.readAt(at, a.data(), inOriginal); }) &&
                      timed(readModified, [&] { return modified.readAt(at, b.data(), inModified); });
    if (!read) return 1;
    timed(hash, [&] { return digest.update(a.data(), static_cast<int32_t>(inOriginal)), true; });
    timed(compare, [&] {
      for (size_t i = 0; i < common; ++i) {  // skips each differing run as the search does
        i += firstDifference(a.data() + i, b.data() + i, common - i);
        while (i < common && a[i] != b[i]) ++i;
      }
      return true;
    });
    if (!timed(write, [&] { return copy.writeAt(at, a.data(), inOriginal); })) return 1;
  }
  std::printf("passes over %llu and %llu bytes in pieces of %zu KiB, each alone:\n",
              static_cast<unsigned long long>(originalSize), static_cast<unsigned long long>(modifiedSize),
              piece >> 10);
  std::printf("  read original %8.1f ms\n  read modified %8.1f ms\n  MD5 original  %8.1f ms\n"
              "  compare       %8.1f ms\n  write a copy  %8.1f ms\n",
              readOriginal, readModified, hash, compare, write);
  return copy.close() ? 0 : 1;
}

}  // namespace

int main() {
  const std::vector<std::string> args = arguments();
  const size_t count = args.size();
  const std::string command = count ? args[0] : std::string();
  if (command == "idle" && count == 1) {
    static morloPatcher patcher;
    MessageBeep(MB_ICONASTERISK);
    return 0;
  }
  if (command == "passes" && count == 4) return timedPasses(args[1], args[2], args[3]);
  if ((command == "create" && count == 4) || (command == "apply" && (count == 3 || count == 4)))
    return timedRun(args);
  std::fputs("usage: morlo-bench create ORIGINAL MODIFIED PATCH\n"
             "       morlo-bench apply PATCH ORIGINAL [OUTPUT]\n"
             "       morlo-bench idle\n"
             "       morlo-bench passes ORIGINAL MODIFIED COPY\n", stderr);
  return 1;
}
