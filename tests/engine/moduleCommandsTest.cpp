#include <gtest/gtest.h>

#include "moduleCommands.h"

namespace {
const std::string module = "C:\\morlo\\Modules\\1.m";
}

TEST(moduleCommands, module1ForEachKindAndChecksumMode) {
  EXPECT_EQ(module1Command(module, 0, 0, "C:\\p\\a.ips", "D:\\g\\game.sfc"),
            "/k \"echo IPS patch applying: && echo; && echo Patching... && \"C:\\morlo\\Modules\\1.m\" -a "
            "\"C:\\p\\a.ips\" \"D:\\g\\game.sfc\" \"D:\\g\\game.sfc\"\"");
  // Only BPS carries a checksum that can be ignored.
  EXPECT_EQ(module1Command(module, 1, 2, "p.bps", "g.bin"),
            "/k \"echo BPS patch applying: && echo; && echo Patching... && \"C:\\morlo\\Modules\\1.m\" -a "
            "--ignore-checksum \"p.bps\" \"g.bin\" \"g.bin\"\"");
  EXPECT_EQ(module1Command(module, 1, 1, "p.bps", "g.bin"),
            "/k \"echo BPS patch applying: && echo; && echo Patching... && \"C:\\morlo\\Modules\\1.m\" -a "
            "\"p.bps\" \"g.bin\" \"g.bin\"\"");
  EXPECT_EQ(module1Command(module, 2, 2, "p.ups", "g.bin"),
            "/k \"echo UPS patch applying: && echo; && echo Patching... && \"C:\\morlo\\Modules\\1.m\" -a "
            "\"p.ups\" \"g.bin\" \"g.bin\"\"");
  EXPECT_EQ(module1Command(module, 0, 2, "p.ips", "g.bin"),
            "/k \"echo IPS patch applying: && echo; && echo Patching... && \"C:\\morlo\\Modules\\1.m\" -a "
            "\"p.ips\" \"g.bin\" \"g.bin\"\"");
}

TEST(moduleCommands, module2UndoesOnlyPpf) {
  EXPECT_EQ(module2Command("M\\2.m", 4, 0, "C:\\p x\\a.ppf", "C:\\g & h\\game.bin"),
            "/k \"\"M\\2.m\" \"C:\\p x\\a.ppf\" \"C:\\g & h\\game.bin\"\"");
  EXPECT_EQ(module2Command("M\\2.m", 4, 1, "a.ppf", "g.bin"), "/k \"\"M\\2.m\" \"a.ppf\" \"g.bin\" \"u\"\"");
  for (int kind : {3, 5, 8})
    EXPECT_EQ(module2Command("M\\2.m", kind, 1, "a", "g.bin"), "/k \"\"M\\2.m\" \"a\" \"g.bin\"\"") << kind;
}

TEST(moduleCommands, module3Apply) {
  EXPECT_EQ(module3ApplyCommand("M\\3.m", 0, "s.bin", "p.xdelta", "t.bin"),
            "/k \"echo    Xdelta patch applying: && echo; && echo    Patching... && \"M\\3.m\" -d -f -s "
            "\"s.bin\" \"p.xdelta\" \"t.bin\" && echo    Patching is successfully finished!\"");
  EXPECT_EQ(module3ApplyCommand("M\\3.m", 2, "s.bin", "p.xdelta", "t.bin"),
            "/k \"echo    Xdelta patch applying: && echo; && echo    Patching... && \"M\\3.m\" -d -n -f -s "
            "\"s.bin\" \"p.xdelta\" \"t.bin\" && echo    Patching is successfully finished!\"");
}

TEST(moduleCommands, xdeltaCreateOptions) {
  const std::string head = "/k \"echo Xdelta patcher: && echo; && echo Patch creating... && \"M\\3.m\"";
  const std::string tail = " \"-A=^*QUJD\" -e -f -s \"o.bin\" \"m.bin\" \"p.xdelta\" && echo Patch is successfully created!\"";
  EXPECT_EQ(xdeltaCreateCommand("M\\3.m", {5, 0, 0}, "QUJD", "o.bin", "m.bin", "p.xdelta"), head + " -5" + tail);
  EXPECT_EQ(xdeltaCreateCommand("M\\3.m", {9, 1, 1}, "QUJD", "o.bin", "m.bin", "p.xdelta"),
            head + " -9 -S lzma -B 8388608" + tail);
  EXPECT_EQ(xdeltaCreateCommand("M\\3.m", {0, 2, 8}, "QUJD", "o.bin", "m.bin", "p.xdelta"),
            head + " -0 -S djw -B 1073741824" + tail);
  EXPECT_EQ(xdeltaCreateCommand("M\\3.m", {3, 3, 4}, "QUJD", "o.bin", "m.bin", "p.xdelta"),
            head + " -3 -S fgk -B 67108864" + tail);
  // Values from a damaged settings file never reach outside the tables.
  EXPECT_EQ(xdeltaCreateCommand("M\\3.m", {5, 4, 9}, "QUJD", "o.bin", "m.bin", "p.xdelta"), head + " -5" + tail);
  EXPECT_EQ(xdeltaCreateCommand("M\\3.m", {5, -1, -1}, "QUJD", "o.bin", "m.bin", "p.xdelta"), head + " -5" + tail);
}

TEST(moduleCommands, commandsThatCmdWouldChangeAreRefused) {
  EXPECT_EQ(checkModuleCommand(module2Command("M\\2.m", 4, 0, "C:\\100% hack.ppf", "g.bin")), commandProblem::none);
  EXPECT_EQ(checkModuleCommand(module2Command("M\\2.m", 4, 0, "C:\\%TEMP%\\a.ppf", "g.bin")),
            commandProblem::percentPair);
  // One "%" in each of two paths pairs up across them just the same.
  EXPECT_EQ(checkModuleCommand(module2Command("M\\2.m", 4, 0, "C:\\a%b.ppf", "C:\\c%d.bin")),
            commandProblem::percentPair);

  const std::string prefix = "/k \"\"M\\2.m\" \"";
  const std::string suffix = "\"\"";
  const size_t room = 8191 - prefix.size() - suffix.size();
  EXPECT_EQ(checkModuleCommand(prefix + std::string(room, 'a') + suffix), commandProblem::none);
  EXPECT_EQ(checkModuleCommand(prefix + std::string(room + 1, 'a') + suffix), commandProblem::tooLong);
  // cmd.exe counts characters, not UTF-8 bytes: "é" is one, a character beyond U+FFFF two.
  std::string accents;
  for (size_t i = 0; i < room; ++i) accents += "\xC3\xA9";
  EXPECT_EQ(checkModuleCommand(prefix + accents + suffix), commandProblem::none);
  std::string emoji;
  for (size_t i = 0; i < room / 2 + 1; ++i) emoji += "\xF0\x9F\x98\x80";
  EXPECT_EQ(checkModuleCommand(prefix + emoji + suffix), commandProblem::tooLong);
  EXPECT_NE(commandProblemText(commandProblem::tooLong), commandProblemText(commandProblem::percentPair));
}
