// Real starts through cmd.exe: the stand-in module writes down what reached it, and module 2
// is the real tollen. "/k" keeps each console open, so the test ends the cmd.exe processes it
// started itself once the module has done its work.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "patcherTestWindows.h"
#include "processRunner.h"

namespace {

std::filesystem::path fsPath(const std::string& utf8) { return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())); }

// Waits up to 20 seconds for the condition.
template <class condition>
bool waitFor(condition done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

std::vector<std::string> lines(const bytes& data) {
  std::vector<std::string> out;
  std::istringstream in(std::string(data.begin(), data.end()));
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

class moduleStart : public patcherWindows {
 protected:
  void SetUp() override {
    // A program folder whose path needs the quoting: blanks, "&" and a non-ASCII letter.
    std::filesystem::create_directories(fsPath(dir.file("Prog & Co \u00e9")) / "Modules");
    patcherWindows::SetUp();
    programFolder = wide(dir.file("Prog & Co \u00e9")) + L"\\";
    attachPatcherSet(set, gui, programFolder);
    startModuleProcess = startCmdExe;
  }
  void TearDown() override {
    endDescendantProcesses();
    patcherWindows::TearDown();
  }
  void install(const std::string& program, const std::string& asModule) {
    std::filesystem::copy_file(fsPath(program), fsPath(asModule), std::filesystem::copy_options::overwrite_existing);
  }
};

}  // namespace

TEST_F(moduleStart, quotedPathsSurviveCmdExe) {
  install(builtProgramPath("standinModule"), set.module1.modulePath);
  const std::string patch = makeFile("h\u00e4ck & more 100%.bps", {'B', 'P', 'S', '1'});
  const std::string game = makeFile("G\u00e4me (Europe) & co.sfc", {1, 2, 3});
  patchJob run{patch, game, "", 2, 0};
  set.module1.kind = 1;
  set.module1.apply(run, 3);

  const std::string report = set.module1.modulePath + ".args";
  ASSERT_TRUE(waitFor([&] { return std::filesystem::exists(fsPath(report)); })) << set.module1.commandLine;
  const std::vector<std::string> received = lines(readFileBytes(fsPath(report)));
  ASSERT_EQ(received.size(), 6u);
  EXPECT_EQ(received[0], "\"" + set.module1.modulePath + "\" -a --ignore-checksum \"" + patch + "\" \"" + game +
                             "\" \"" + game + "\"");
  EXPECT_EQ(received[1], "-a");
  EXPECT_EQ(received[2], "--ignore-checksum");
  EXPECT_EQ(received[3], patch);
  EXPECT_EQ(received[4], game);
  EXPECT_EQ(received[5], game);
}

TEST_F(moduleStart, tollenAppliesAPpfPatchAsModule2) {
  install(std::filesystem::path(builtProgramPath("tollen")).parent_path().parent_path().string() + "/dist/Modules/2.m",
          set.module2.modulePath);
  bytes ppf;
  putText(ppf, "PPF10");
  ppf.push_back(0);
  putText(ppf, "End to end");
  ppf.resize(56, 0);
  putLe(ppf, 10, 4);  // offset
  ppf.push_back(5);   // length
  putText(ppf, "HELLO");
  const std::string patch = makeFile("\u00e9 & hack.ppf", ppf);
  const bytes original(64, 0x11);
  const std::string game = makeFile("G\u00e4me & co.bin", original);
  const std::string copy = dir.file("G\u00e4me & co (patched).bin");

  paths.applyPatchPath = wide(patch);
  set.module2.kind = 4;
  set.module2.patchChosen(job, paths, settings, gui);
  EXPECT_EQ(windowText(gui.applyInfoEdit), L"Patch type: PPF 1.0\r\n");
  patchJob run{patch, game, copy, 0, 0};
  set.module2.apply(run, 7);

  bytes expected = original;
  std::copy_n("HELLO", 5, expected.begin() + 10);
  ASSERT_TRUE(waitFor([&] {
    std::error_code missing;
    return std::filesystem::file_size(fsPath(copy), missing) == expected.size() && readFileBytes(fsPath(copy)) == expected;
  })) << set.module2.commandLine;
  EXPECT_EQ(readFileBytes(fsPath(game)), original);
}
