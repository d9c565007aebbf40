#include <gtest/gtest.h>

#include "base64.h"
#include "engineTexts.h"
#include "foreignInfo.h"
#include "md5.h"
#include "morloFormat.h"
#include "patcherTestWindows.h"
#include "xdeltaCreate.h"

namespace {

const std::array<std::wstring, 8> nesValues = {L"NES", L"Quest", L"Hard mode", L"1.1", L"Ann", L"ann@x.example",
                                               L"Caf\u00e9", L""};

// The editor of the Create page, filled from fixed values; it can refuse the game name.
class fixedEditor final : public patchInfoEditor {
 public:
  explicit fixedEditor(const std::array<std::wstring, 8>& values) : values_(values) {}
  void readConsoleName() override { infoValues[0] = values_[0]; }
  void readInfoFields() override {
    if (values_[1].empty()) localStrShow.raise(L"Game name field is empty");
    std::copy(values_.begin() + 1, values_.begin() + 7, infoValues.begin() + 1);
  }

 private:
  std::array<std::wstring, 8> values_;
};

// A text table entry changed for the time of a test, as a language file would.
template <class text>
class swappedEntry {
 public:
  swappedEntry(text& entry, text replacement) : entry_(entry), saved_(entry) { entry_ = std::move(replacement); }
  ~swappedEntry() { entry_ = saved_; }

 private:
  text& entry_;
  text saved_;
};

std::string todayText() {
  uint32_t date = 0;
  packCreationDate(date);
  return formatCreationDate(date);
}

}  // namespace

TEST(xdeltaDescription, withInformationInEachLabelMode) {
  EXPECT_EQ(xdeltaDescriptionLines(true, 0, nesValues, "08.12.2026", "", ""),
            "System: NES\nGame: Quest\nHack: Hard mode\nVersion: 1.1\nAuthor: Ann\nContact: ann@x.example\n"
            "Comment: Caf\xC3\xA9\nCreation Date: 08.12.2026 [DD.MM.YYYY]\n");
  EXPECT_EQ(xdeltaDescriptionLines(true, 2, nesValues, "08.12.2026", "", ""),
            "NES\nQuest\nHard mode\n1.1\nAnn\nann@x.example\nCaf\xC3\xA9\n");

  swappedEntry system(patchInfoLabels[0], std::wstring(L"Syst\u00e8me"));
  swappedEntry date(patchInfoLabels[7], std::wstring(L"Cr\u00e9\u00e9 le"));
  swappedEntry format(foreignInfoKeys[3], std::string("[JJ.MM.AAAA]"));
  const std::string translated = xdeltaDescriptionLines(true, 1, nesValues, "08.12.2026", "", "");
  EXPECT_EQ(translated.substr(0, translated.find('\n')), "Syst\xC3\xA8me: NES");
  EXPECT_EQ(translated.substr(translated.rfind('\n', translated.size() - 2) + 1),
            "Cr\xC3\xA9\xC3\xA9 le: 08.12.2026 [JJ.MM.AAAA]\n");
  // Mode 0 keeps the English keys whatever the language.
  EXPECT_EQ(xdeltaDescriptionLines(true, 0, nesValues, "08.12.2026", "", "").substr(0, 12), "System: NES\n");

  // An empty field is written as what the conversion makes of an empty text.
  std::array<std::wstring, 8> sparse = nesValues;
  sparse[6].clear();
  EXPECT_NE(xdeltaDescriptionLines(true, 0, sparse, "08.12.2026", "", "").find("\nComment: Error\n"),
            std::string::npos);
}

TEST(xdeltaDescription, withoutInformationFromThePaths) {
  const std::array<std::wstring, 8> none{};
  const std::string english =
      "File type: sfc\nGame: Game\nHack: My hack\nCreation Date: 01.02.2027 [DD.MM.YYYY]\n";
  EXPECT_EQ(xdeltaDescriptionLines(false, 0, none, "01.02.2027", "D:\\roms\\Game.sfc", "C:\\p\\My hack.xdelta"), english);
  EXPECT_EQ(xdeltaDescriptionLines(false, 2, none, "01.02.2027", "D:\\roms\\Game.sfc", "C:\\p\\My hack.xdelta"), english);
  EXPECT_EQ(xdeltaDescriptionLines(false, 0, none, "01.02.2027", "D:\\roms\\Game", "p.xdelta").substr(0, 15),
            "File type: unk\n");

  swappedEntry fileType(defaultInfoLabels[0], std::wstring(L"Typ"));
  EXPECT_EQ(xdeltaDescriptionLines(false, 1, none, "01.02.2027", "D:\\roms\\Game.sfc", "p.xdelta"),
            "Typ: sfc\nGame: Game\nHack: p\nCreation Date: 01.02.2027 [DD.MM.YYYY]\n");
  EXPECT_EQ(xdeltaDigestLine("00ff"), "MD5: 00ff");
}

class xdeltaCreate : public patcherWindows {
 protected:
  void SetUp() override {
    patcherWindows::SetUp();
    source = makeFile("Game.sfc", {'a', 'b', 'c'});
    modified = dir.file("modified.sfc");
    setModifiedSize(minXdeltaModifiedSize);
    job = {dir.file("Hack.xdelta"), source, modified, 0, 0};
    SetWindowTextW(gui.settingsLevelEdit, L"7");
  }
  void setModifiedSize(uint64_t size) {
    // Only measured, never read: a sparse file costs no disk.
    std::ofstream(fsPath(modified), std::ios::binary | std::ios::app).close();
    setFileLength(fsPath(modified), size);
  }
  static std::filesystem::path fsPath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
  }
  std::string source, modified;
};

TEST_F(xdeltaCreate, moduleGetsTheDescriptionAndOptions) {
  settings.sec_compress = 2;
  settings.src_wnd_size = 3;
  fixedEditor editor(nesValues);
  set.module3.create(job, editor, settings, gui);

  const std::string description =
      "System: NES\nGame: Quest\nHack: Hard mode\nVersion: 1.1\nAuthor: Ann\nContact: ann@x.example\n"
      "Comment: Caf\xC3\xA9\nCreation Date: " + todayText() + " [DD.MM.YYYY]\nMD5: 900150983cd24fb0d6963f7d28e17f72";
  EXPECT_EQ(set.module3.description, description);
  EXPECT_EQ(settings.compress_lvl, 7);
  ASSERT_EQ(startedCommands().size(), 1u);
  EXPECT_EQ(startedCommands()[0], "/k \"echo Xdelta patcher: && echo; && echo Patch creating... && \"" + modulePath(3) +
                                      "\" -7 -S djw -B 33554432 \"-A=^*" + xdeltaHeaderText(description) +
                                      "\" -e -f -s \"" + source + "\" \"" + modified + "\" \"" + job.patchPath +
                                      "\" && echo Patch is successfully created!\"");
  EXPECT_EQ(statusText(gui.statusBar, 1), L"External patcher is started");

  // What the module stores, the information display reads back with CR LF line ends.
  const std::string header = "^*" + xdeltaHeaderText(description);
  bytes vcdiff = {0xD6, 0xC3, 0xC4, 0x00, 0x04, uint8_t(0x80 | header.size() >> 7), uint8_t(header.size() & 0x7F)};
  putText(vcdiff, header);
  const std::string patchFile = makeFile("round trip.xdelta", vcdiff);
  std::ifstream stream;
  std::wstring shown;
  ASSERT_TRUE(readXdeltaInfo(stream, patchFile, shown));
  EXPECT_EQ(shown.substr(0, 28), L"System: NES\r\nGame: Quest\r\nHa");
  EXPECT_EQ(shown.substr(shown.size() - 37), L"MD5: 900150983cd24fb0d6963f7d28e17f72");
}

TEST_F(xdeltaCreate, valuesOnlyHaveNoDateLine) {
  settings.ptc_info_lang = 2;
  fixedEditor editor(nesValues);
  set.module3.create(job, editor, settings, gui);
  EXPECT_EQ(set.module3.description,
            "NES\nQuest\nHard mode\n1.1\nAnn\nann@x.example\nCaf\xC3\xA9\nMD5: 900150983cd24fb0d6963f7d28e17f72");

  settings.withInfo = 0;  // without information the English keys and the date come back
  set.module3.create(job, editor, settings, gui);
  EXPECT_EQ(set.module3.description, "File type: sfc\nGame: Game\nHack: Hack\nCreation Date: " + todayText() +
                                         " [DD.MM.YYYY]\nMD5: 900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(set.module3.dateText, todayText());
}

TEST_F(xdeltaCreate, refusals) {
  fixedEditor editor(nesValues);
  setModifiedSize(minXdeltaModifiedSize - 1);
  EXPECT_EQ(thrownMessage<warning>([&] { set.module3.create(job, editor, settings, gui); }),
            L"Modified file is less than 30 MB");
  setModifiedSize(minXdeltaModifiedSize);

  std::array<std::wstring, 8> noGame = nesValues;
  noGame[1].clear();
  fixedEditor refusing(noGame);
  EXPECT_EQ(thrownMessage<errorStrShow>([&] { set.module3.create(job, refusing, settings, gui); }),
            L"Game name field is empty");

  patchJob missing = job;
  missing.targetPath = dir.file("missing.sfc");
  EXPECT_EQ(thrownMessage<errorBase>([&] { set.module3.create(missing, editor, settings, gui); }),
            L"Load modified file error");
  missing = job;
  missing.sourcePath = dir.file("missing.sfc");
  EXPECT_EQ(thrownMessage<errorBase>([&] { set.module3.create(missing, editor, settings, gui); }),
            L"Load original file error");
  set.module3.finish();
  missing.sourcePath = makeFile("empty.sfc", {});
  EXPECT_EQ(thrownMessage<errorBase>([&] { set.module3.create(missing, editor, settings, gui); }),
            L"Empty original file");
  set.module3.finish();

  // The patch to write must not be one of the games, in whatever spelling.
  patchJob overwrite = job;
  overwrite.patchPath = dir.file("GAME.SFC");
  EXPECT_EQ(thrownMessage<errorStrShow>([&] { set.module3.create(overwrite, editor, settings, gui); }),
            L"The patch and input file paths are equivalent");
  overwrite.patchPath = dir.file("MODIFIED.sfc");
  EXPECT_EQ(thrownMessage<errorStrShow>([&] { set.module3.create(overwrite, editor, settings, gui); }),
            L"The patch and output file paths are equivalent");

  // Long information makes a command line that cmd.exe would cut.
  std::array<std::wstring, 8> longValues = nesValues;
  for (int i = 0; i < 7; ++i) longValues[i] = std::wstring(512, L'\u00e9');
  fixedEditor longEditor(longValues);
  EXPECT_NE(thrownMessage<errorStrShow>([&] { set.module3.create(job, longEditor, settings, gui); }).find(L"8191"),
            std::wstring::npos);
  EXPECT_TRUE(startedCommands().empty());
}
