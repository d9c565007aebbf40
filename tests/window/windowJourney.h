// The fixture of the journeys: a program folder as a user gets it in a scratch folder, and the
// processes a journey started (morlo, and the consoles of its modules) ended afterwards.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <system_error>

#include "journeyFiles.h"
#include "morloDriver.h"
#include "processRunner.h"

class windowJourney : public ::testing::Test {
 protected:
  void SetUp() override {
    program = folder.path() / "morlo";
    makeProgramFolder(program);
  }
  void TearDown() override { endDescendantProcesses(); }

  static bool fileBecomes(const std::filesystem::path& file, const bytes& expected) {
    return waitUntil([&] {
      std::error_code missing;
      return std::filesystem::file_size(file, missing) == expected.size() && readFileBytes(file) == expected;
    });
  }
  static bool enabledSoon(HWND window) {
    return waitUntil([window] { return IsWindowEnabled(window) != FALSE; });
  }

  scratchDir folder;
  std::filesystem::path program;
};
