// morlo-bench: runs the Morlo patch engine on files with no window and prints the seconds it
// took. create ORIGINAL MODIFIED PATCH makes a patch with the three default information lines;
// apply PATCH ORIGINAL OUTPUT applies to a copy, apply PATCH ORIGINAL to the original in place,
// both refusing a wrong original ("Show error"). Status 1 and the error's text on failure.
#include <windows.h>
#include <shellapi.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "errors.h"
#include "morloPatcher.h"
#include "textConvert.h"

namespace {

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

}  // namespace

int main() {
  const std::vector<std::string> args = arguments();
  const bool known = (args.size() == 4 && args[0] == "create") ||
                     (args.size() >= 3 && args.size() <= 4 && args[0] == "apply");
  if (!known) {
    std::fputs("usage: morlo-bench create ORIGINAL MODIFIED PATCH\n"
               "       morlo-bench apply PATCH ORIGINAL [OUTPUT]\n", stderr);
    return 1;
  }
  static morloPatcher patcher;  // as large as in the program, where it is a static object
  const auto start = std::chrono::steady_clock::now();
  int status = 0;
  try {
    run(patcher, args);
  } catch (errorBase* error) {
    std::fprintf(stderr, "%s\n", toUtf8(error->message).c_str());
    status = 1;
  }
  patcher.finish();
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  if (status == 0) std::printf("%.3f\n", elapsed.count());
  return status;
}
