#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <tuple>

#include "configFile.h"
#include "errors.h"
#include "testFiles.h"
#include "textFile.h"

namespace {

using namespace std::literals;
using lineList = std::vector<std::wstring>;

bytes markedText(std::u16string_view text) {
  bytes out = {0xFF, 0xFE};
  putUtf16Le(out, text);
  return out;
}

settingsValues defaultSettings() {
  settingsValues values;
  values.resetToDefaults();
  return values;
}

auto comparable(const settingsValues& v) {
  return std::tie(v.languageSet, v.path_reverse, v.orig_game_link, v.use_game_name, v.use_hack_name,
                  v.use_hack_ver, v.outputFolderSet, v.patch_to_file, v.ptc_info_lang,
                  v.sec_compress, v.src_wnd_size, v.compress_lvl, v.language);
}

void expectSameSettings(const settingsValues& got, const settingsValues& expected) {
  EXPECT_EQ(comparable(got), comparable(expected));
}

struct settingsState {
  settingsValues values = defaultSettings();
  pathFields fields;
};

// Settings taken from lines by a fresh settings-file object, starting from the defaults.
settingsState loaded(const lineList& lines) {
  settingsState state;
  configFile().applyLines(lines, state.values, state.fields);
  return state;
}

class configFileTest : public ::testing::Test {
 protected:
  scratchDir dir;
  configFile config;
  settingsValues values = defaultSettings();
  pathFields fields;

  void SetUp() override {
    config.programFolder = dir.path().wstring() + L"\\";
    std::filesystem::create_directories(dir.path() / "Config");
    config.path = config.programFolder + configFile::relativePath;
  }
  std::filesystem::path settingsPath() const { return dir.path() / "Config" / "cnf.ini"; }

  // Saves through a real compression-level edit holding the given text.
  void saveWithLevelText(const wchar_t* levelText) {
    guiHandles gui;
    gui.settingsLevelEdit =
        CreateWindowExW(0, L"EDIT", levelText, 0, 0, 0, 40, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(gui.settingsLevelEdit, nullptr);
    config.save(gui, values, fields);
    DestroyWindow(gui.settingsLevelEdit);
  }
  // What a program start after the save would load.
  settingsState loadAgain() {
    configFile next;
    next.path = config.path;
    settingsState result;
    next.load(result.values, result.fields);
    return result;
  }
};

TEST_F(configFileTest, defaultSettingsFileIsByteExact) {
  saveWithLevelText(L"5");
  EXPECT_EQ(readFileBytes(settingsPath()),
            markedText(u"path_reverse = on\r\norig_game_link = on\r\nuse_game_name = off\r\n"
                       u"use_hack_name = on\r\nuse_hack_ver = on\r\npatch_to_file = 2\r\n"
                       u"ptc_info_lang = 1\r\nsec_compress = 1\r\nsrc_wnd_size = 1\r\n"
                       u"compress_lvl = 5"));
}

TEST_F(configFileTest, onlyOneCharacterOfTheLevelEditIsSaved) {
  saveWithLevelText(L"78");
  lineList lines;
  readTextLines(sharedTextFile, lines, config.path, L"");
  EXPECT_EQ(lines.back(), L"compress_lvl = 7");
  saveWithLevelText(L"");
  EXPECT_EQ(loadAgain().values.compress_lvl, 0);
}

TEST_F(configFileTest, everyValueRoundTrips) {
  values.languageSet = 1;
  values.language = L"Fran\u00e7ais";
  values.path_reverse = 0;
  values.orig_game_link = 0;
  values.use_game_name = 1;
  values.use_hack_name = 0;
  values.use_hack_ver = 0;
  values.outputFolderSet = 1;
  values.patch_to_file = 3;
  values.ptc_info_lang = 2;
  values.sec_compress = 3;
  values.src_wnd_size = 8;
  values.compress_lvl = 9;
  // Longer than the 100 units of other text files, with blanks, "=" and non-ASCII letters.
  fields.outputFolder = L"C:\\Translations=b = c\\\u00dcbersetzungen \u65e5\u672c\\";
  while (fields.outputFolder.size() < 200) fields.outputFolder += L"long folder \u00e9=\\";
  saveWithLevelText(L"9");

  const settingsState again = loadAgain();
  expectSameSettings(again.values, values);
  EXPECT_EQ(again.fields.outputFolder, fields.outputFolder);
}

TEST_F(configFileTest, unreadableFileChangesNothing) {
  fields.outputFolder = L"C:\\program\\Output files";
  for (const bytes& content : {bytes{}, bytes{'l', 'a', 'n', 'g'}, bytes{0xFF, 0xFE}}) {
    std::filesystem::remove(settingsPath());
    if (!content.empty()) writeFileBytes(settingsPath(), content);
    try {
      config.load(values, fields);
      ADD_FAILURE() << "no error";
    } catch (errorBase* error) {
      EXPECT_EQ(error->message.substr(error->message.find(L'\n')), L"\n\\config\\cnf.ini");
    }
    expectSameSettings(values, defaultSettings());
    EXPECT_EQ(fields.outputFolder, L"C:\\program\\Output files");
    EXPECT_EQ(config.map.parseLines({}), 0u);
  }
}

TEST(configLines, separatorsAndBlanks) {
  const settingsState got =
      loaded({L"   path_reverse=off", L"orig_game_link off", L"use_game_name   =   on",
              L"use_hack_name", L"ab", L"  = on", L"lang = Brazilian Portuguese"});
  EXPECT_EQ(got.values.path_reverse, 0);
  EXPECT_EQ(got.values.orig_game_link, 0);
  EXPECT_EQ(got.values.use_game_name, 1);
  EXPECT_EQ(got.values.use_hack_name, 1);
  // A language's display name keeps its blanks, as a path does.
  EXPECT_EQ(got.values.language, L"Brazilian Portuguese");
  EXPECT_EQ(got.values.languageSet, 1);
}

TEST(configLines, switchWords) {
  for (const wchar_t* on : {L"on", L"OFF", L"0", L"no", L"offf"})
    EXPECT_EQ(loaded({std::wstring(L"orig_game_link = ") + on}).values.orig_game_link, 1) << on;
  settingsValues values = defaultSettings();
  values.use_game_name = 1;
  pathFields fields;
  configFile().applyLines({L"use_game_name = off"}, values, fields);
  EXPECT_EQ(values.use_game_name, 0);
  // Name and path keys keep trailing blanks, so "off " is not "off" there.
  const settingsState trailing = loaded({L"path_reverse = off ", L"orig_game_link = off "});
  EXPECT_EQ(trailing.values.path_reverse, 1);
  EXPECT_EQ(trailing.values.orig_game_link, 0);
}

TEST(configLines, theFirstNonEmptyValueOfAKeyWins) {
  const settingsState got = loaded(
      {L"patch_to_file =", L"patch_to_file = 3", L"patch_to_file = 1", L"Patch_To_File = 2"});
  EXPECT_EQ(got.values.patch_to_file, 3);

  keyValueMap map;
  EXPECT_EQ(map.parseLines({L"a = 1", L"b = 2 3", L"a = 4", L"c"}), 2u);
  std::wstring value = L"old";
  map.get(L"b", value);
  EXPECT_EQ(value, L"2");
  map.get(L"c", value);
  EXPECT_EQ(value, L"");
}

TEST(configLines, numbersAreStoredPlusOne) {
  for (const auto& [stored, value] : {std::pair{L"0", 0}, std::pair{L"1", 0}, std::pair{L"2", 1},
                                      std::pair{L"3", 2}, std::pair{L" +3x", 2}}) {
    const settingsState got = loaded({std::wstring(L"ptc_info_lang = ") + stored});
    EXPECT_EQ(got.values.ptc_info_lang, value) << stored;
  }
  const settingsState got =
      loaded({L"sec_compress = 4", L"src_wnd_size = 9", L"patch_to_file = 1"});
  EXPECT_EQ(got.values.sec_compress, 3);
  EXPECT_EQ(got.values.src_wnd_size, 8);
  EXPECT_EQ(got.values.patch_to_file, 1);
}

TEST(configLines, missingNumbersGiveZeroWhereZeroIsValid) {
  const settingsState got = loaded({L"use_game_name = on"});
  EXPECT_EQ(got.values.compress_lvl, 0);
  EXPECT_EQ(got.values.ptc_info_lang, 0);
  // Zero is no patching mode: the default stays.
  EXPECT_EQ(got.values.patch_to_file, 2);
  EXPECT_EQ(got.values.use_game_name, 1);
  EXPECT_EQ(got.values.path_reverse, 1);
}

TEST(configLines, numbersOutsideTheirRangesGiveTheDefaults) {
  const settingsState got = loaded({L"patch_to_file = 4", L"ptc_info_lang = 4", L"sec_compress = 5",
                                    L"src_wnd_size = 10", L"compress_lvl = 10"});
  expectSameSettings(got.values, defaultSettings());
  const settingsState negative =
      loaded({L"patch_to_file = -1", L"ptc_info_lang = -1", L"sec_compress = -7",
              L"src_wnd_size = 99999999999999999999", L"compress_lvl = -1"});
  expectSameSettings(negative.values, defaultSettings());
}

TEST_F(configFileTest, damagedFilesLoadUsableValues) {
  writeFileBytes(settingsPath(),
                 markedText(u"garbage\r\n==\r\n= = =\r\nunknown_key = 7\r\nlang\r\n"
                            u"sec_compress = 2\r\nsec_compress = 3\r\ncompress_lvl = x\r\n"
                            u"src_wnd_size = 300\r\n\0patch_to_file = 1"sv));
  config.load(values, fields);
  settingsValues expected = defaultSettings();
  expected.sec_compress = 1;
  expected.compress_lvl = 0;
  expectSameSettings(values, expected);

  for (uint32_t seed = 1; seed <= 20; ++seed) {
    bytes noise = {0xFF, 0xFE};
    const bytes random = randomBytes(200 + seed * 37, seed);
    noise.insert(noise.end(), random.begin(), random.end());
    writeFileBytes(settingsPath(), noise);
    configFile fresh;
    fresh.path = config.path;
    settingsValues got = defaultSettings();
    fresh.load(got, fields);
    EXPECT_TRUE(got.patch_to_file >= 1 && got.patch_to_file <= 3);
    EXPECT_TRUE(got.ptc_info_lang >= 0 && got.ptc_info_lang <= 2);
    EXPECT_TRUE(got.sec_compress >= 0 && got.sec_compress <= 3);
    EXPECT_TRUE(got.src_wnd_size >= 0 && got.src_wnd_size <= 8);
    EXPECT_TRUE(got.compress_lvl >= 0 && got.compress_lvl <= 9);
    EXPECT_TRUE(got.path_reverse == 0 || got.path_reverse == 1);
  }
}

TEST_F(configFileTest, docsOfTheLanguageOrElseEnglish) {
  config.findDocs(fields, L"Deutsch");
  EXPECT_EQ(fields.programReadmePath, config.programFolder + L"Docs\\English\\readMe.txt");
  EXPECT_EQ(fields.programDescriptionPath,
            config.programFolder + L"Docs\\English\\the program description.txt");

  std::filesystem::create_directories(dir.path() / "Docs" / "Deutsch");
  writeFileBytes(dir.path() / "Docs" / "Deutsch" / "readme.txt", {'x'});
  config.findDocs(fields, L"Deutsch");
  EXPECT_EQ(fields.programReadmePath, config.programFolder + L"Docs\\Deutsch\\readme.txt");
  EXPECT_EQ(fields.programDescriptionPath,
            config.programFolder + L"Docs\\Deutsch\\the program description.txt");
}

}  // namespace
