#include "languageManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "errors.h"
#include "languageFiles.h"
#include "patchInfoEditor.h"
#include "testWindows.h"

// Found by the comparisons of std::vector.
bool operator==(const languageEntry& a, const languageEntry& b) {
  return a.displayName == b.displayName && a.fileName == b.fileName;
}

namespace {

namespace fs = std::filesystem;

struct shownBox {
  HWND owner;
  std::wstring text;
  std::wstring caption;
  UINT type;
  bool operator==(const shownBox&) const = default;
};
std::vector<shownBox> shownBoxes;
int boxAnswer = IDYES;

int WINAPI answerBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  shownBoxes.push_back({owner, text, caption, type});
  return boxAnswer;
}

using entryList = std::vector<languageEntry>;

class languageManagerTest : public ::testing::Test {
 protected:
  languageManagerTest() {
    fs::create_directory(dir.path() / "Langs");
    manager.messageBox = answerBox;
    manager.listPath = (dir.path() / "lang.dta").wstring();
    shownBoxes.clear();
  }

  void addFile(const std::wstring& name, const bytes& content) const {
    writeFileBytes(fs::path(folder) / name, content);
  }
  void addLanguage(const std::wstring& name, const std::wstring& displayName,
                   const std::wstring& prefix = L"T") const {
    addFile(name, markedWide(languageText(displayName, prefix)));
  }
  // The list as a scan of the folder builds it when every file is good, in the order found.
  entryList expectedList(const std::vector<std::pair<std::wstring, std::wstring>>& languages) {
    entryList entries;
    for (const std::wstring& name : manager.findLanguageFiles(folder)) {
      for (const auto& [file, displayName] : languages)
        if (file == name) entries.push_back({displayName, file});
    }
    return entries;
  }
  bytes listBytes() const { return readFileBytes(manager.listPath); }

  tableTexts englishTexts;
  scratchDir dir;
  std::wstring folder = (dir.path() / "Langs").wstring() + L"\\";
  languageManager manager;
};

// The handle that the next file opened gets.
HANDLE nextHandle() {
  const HANDLE handle = CreateFileW(L"NUL", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  CloseHandle(handle);
  return handle;
}

// The table texts a language of the given prefix sets, in file order.
bool tablesHoldLanguage(const std::wstring& prefix) {
  for (size_t i = 0; i < languageTextSlots().size(); ++i) {
    if (languageTextSlots()[i].text() != prefix + std::to_wstring(i)) return false;
  }
  return true;
}

}  // namespace

TEST_F(languageManagerTest, applyLanguageFillsEveryTableInFileOrderWithTheCopies) {
  addLanguage(L"de.lng", L"Deutsch");
  manager.loadLanguage(folder + L"de.lng", languageVersionText);
  EXPECT_EQ(manager.lines.back(), L"Deutsch");
  manager.applyLanguage();
  EXPECT_TRUE(tablesHoldLanguage(L"T"));
  EXPECT_EQ(defaultInfoLabels, (std::array<std::wstring, 4>{L"T44", L"T36", L"T37", L"T42"}));
  EXPECT_EQ(foreignInfoKeys[3], "T43");
  EXPECT_EQ(guiMessageTexts[9], L"About...");  // follows the menu, not the file
  manager.releaseLines();
  EXPECT_TRUE(manager.lines.empty());
}

TEST_F(languageManagerTest, aFailedLoadChangesNoTable) {
  addLanguage(L"de.lng", L"Deutsch");
  addLanguage(L"pl.lng", L"Polski", L"P");
  std::wstring fewLines = languageText(L"Short");
  fewLines.resize(fewLines.find(L"T177"));
  addFile(L"short.lng", markedWide(fewLines));
  addFile(L"v10.lng", markedWide(L"v1.0" + languageText(L"Old").substr(4)));

  manager.loadLanguage(folder + L"de.lng", languageVersionText);
  manager.applyLanguage();
  const tableTexts applied;
  for (const wchar_t* bad : {L"short.lng", L"v10.lng", L"missing.lng"}) {
    // Another language loaded but not applied must not slip in after the failure.
    manager.loadLanguage(folder + L"pl.lng", languageVersionText);
    EXPECT_THROW(manager.loadLanguage(folder + bad, languageVersionText), errorBase*) << bad;
    manager.applyLanguage();
    const tableTexts now;
    EXPECT_TRUE(now == applied) << bad;
  }
}

TEST_F(languageManagerTest, scanListsFilesWithTheLanguageExtensionOnly) {
  addLanguage(L"a.lng", L"Alpha");
  addLanguage(L"B.LNG", L"Beta");
  addLanguage(L"c.Lng", L"Gamma");
  for (const wchar_t* other : {L"readme.txt", L"lng", L"d.lng.bak"}) addLanguage(other, L"Other");
  fs::create_directory(fs::path(folder) / L"dir.lng");
  // A directory with more attributes than the directory bit.
  const std::wstring hidden = folder + L"hidden.lng";
  fs::create_directory(hidden);
  SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
  ASSERT_EQ(GetFileAttributesW(hidden.c_str()), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);

  for (const bool interactive : {false, true}) {
    manager.scanLanguages(nullptr, folder, languageVersionText, interactive);
    EXPECT_EQ(manager.list, expectedList({{L"a.lng", L"Alpha"}, {L"B.LNG", L"Beta"},
                                          {L"c.Lng", L"Gamma"}}));
    EXPECT_EQ(manager.languageCount, 3);
    EXPECT_TRUE(manager.listChanged);
  }
  EXPECT_TRUE(shownBoxes.empty());
}

TEST_F(languageManagerTest, scanTakesTwoHundredFilesAndClosesItsSearch) {
  for (int i = 0; i < 201; ++i) addLanguage(std::to_wstring(i) + L".lng", std::to_wstring(i));
  // A search left open would keep the lowest free handle number taken.
  EXPECT_EQ(manager.findLanguageFiles(folder).size(), 200u);
  const HANDLE before = nextHandle();
  manager.findLanguageFiles(folder);
  EXPECT_EQ(nextHandle(), before);
  manager.scanLanguages(nullptr, folder, languageVersionText, false);
  EXPECT_EQ(manager.languageCount, 200);
}

TEST_F(languageManagerTest, badFilesAskWhetherToGoOnAndALoneCrStopsTheScan) {
  const HWND owner = reinterpret_cast<HWND>(0x1234);
  struct badFile {
    std::wstring text;
    shownBox box;
    bool answerCounts;  // whether the answer decides if the scan goes on
  };
  const badFile badFiles[] = {
      {L"v1.0" + languageText(L"Old").substr(4),
       {owner,
        L"The language file version is not equal program version\n\\Lang\\bad.lng\n\nContinue?",
        L"Warning", MB_ICONQUESTION | MB_YESNO},
       true},
      {languageText(L"Name\r"),
       {owner, L"Unknown error\nbad.lng", L"Error", MB_ICONQUESTION | MB_OK},
       false},
  };
  addLanguage(L"good.lng", L"Good");
  for (const badFile& bad : badFiles) {
    addFile(L"bad.lng", markedWide(bad.text));
    const std::vector<std::wstring> found = manager.findLanguageFiles(folder);
    const bool goodFirst = found.front() == L"good.lng";
    for (const int answer : {IDYES, IDNO}) {
      boxAnswer = answer;
      shownBoxes.clear();
      manager.scanLanguages(owner, folder, languageVersionText, true);
      EXPECT_EQ(shownBoxes, (std::vector<shownBox>{bad.box}));
      const bool goesOn = bad.answerCounts && answer == IDYES;
      const bool listed = goodFirst || goesOn;
      EXPECT_EQ(manager.list, (listed ? entryList{{L"Good", L"good.lng"}} : entryList{}));
      EXPECT_EQ(manager.listChanged, listed);
    }
    shownBoxes.clear();
    manager.scanLanguages(owner, folder, languageVersionText, false);
    EXPECT_TRUE(shownBoxes.empty());
    EXPECT_EQ(manager.list, (entryList{{L"Good", L"good.lng"}}));
  }
}

TEST_F(languageManagerTest, theListFileHoldsNamePairsAndReadsBack) {
  addLanguage(L"de.lng", L"Deutsch");
  addLanguage(L"pl.lng", L"Polski");
  manager.saveList(true);
  EXPECT_FALSE(fs::exists(manager.listPath)) << "nothing scanned, nothing written";

  manager.scanLanguages(nullptr, folder, languageVersionText, false);
  manager.saveList(true);
  const entryList& scanned = manager.list;
  EXPECT_EQ(listBytes(), markedWide(scanned[0].displayName + L"\r\n" + scanned[0].fileName +
                                    L"\r\n" + scanned[1].displayName + L"\r\n" +
                                    scanned[1].fileName));

  languageManager reader;
  reader.listPath = manager.listPath;
  ASSERT_TRUE(reader.loadList());
  EXPECT_EQ(reader.list, scanned);
  EXPECT_EQ(reader.languageCount, 2);
  fs::remove(reader.listPath);
  reader.saveList(true);
  EXPECT_FALSE(fs::exists(reader.listPath)) << "a list read is not written back";

  // A scan that finds nothing keeps the old list in memory and on disk.
  fs::remove_all(folder);
  manager.saveList(true);
  const bytes written = listBytes();
  manager.scanLanguages(nullptr, folder, languageVersionText, true);
  EXPECT_EQ(manager.languageCount, 0);
  EXPECT_FALSE(manager.listChanged);
  EXPECT_EQ(manager.list.size(), 2u);
  manager.saveList(true);
  EXPECT_EQ(listBytes(), written);
}

TEST_F(languageManagerTest, listFilesAreReadTolerantly) {
  const std::wstring wide(150, L'w');
  const std::wstring cut(100, L'w');
  bytes oddSize = markedWide(L"Deutsch\r\nde.lng");
  oddSize.push_back('X');
  bytes tooSmall = markedWide(L"ab\r\ncd.ln");
  tooSmall.push_back('g');
  std::wstring emptyLines;
  for (int i = 0; i < 398; ++i) emptyLines += L"\r\n";
  struct listFile {
    const char* what;
    bytes file;
    std::optional<entryList> entries;  // none: the list is not read
  };
  const listFile listFiles[] = {
      {"22 bytes", markedWide(L"ab\r\ncd.lng"), entryList{{L"ab", L"cd.lng"}}},
      {"21 bytes", tooSmall, std::nullopt},
      {"no mark", bytes(40, 'a'), std::nullopt},
      {"blanks and empty lines",
       markedWide(L"  Deutsch\r\n\r\n   \r\n de.lng\r\n\r\nPolski\r\npl.lng"),
       entryList{{L"Deutsch", L"de.lng"}, {L"Polski", L"pl.lng"}}},
      {"unpaired last line", markedWide(L"Deutsch\r\nde.lng\r\nPolski\r\n"),
       entryList{{L"Deutsch", L"de.lng"}}},
      {"long lines", markedWide(wide + L"\r\nx.lng\r\ny\r\n" + wide),
       entryList{{cut, L"x.lng"}, {L"y", cut}}},
      {"odd size", oddSize, entryList{{L"Deutsch", L"de.lngX"}}},
      {"400 lines", markedWide(emptyLines + L"a\r\nb"), entryList{{L"a", L"b"}}},
      {"401 lines", markedWide(L"\r\n" + emptyLines + L"a\r\nb"), entryList{}},
  };
  const entryList earlier = {{L"Earlier", L"earlier.lng"}};
  for (const listFile& each : listFiles) {
    writeFileBytes(manager.listPath, each.file);
    manager.list = earlier;
    manager.languageCount = 1;
    EXPECT_EQ(manager.loadList(), each.entries.has_value()) << each.what;
    EXPECT_EQ(manager.list, each.entries.value_or(earlier)) << each.what;
    EXPECT_EQ(manager.languageCount, static_cast<int>(manager.list.size())) << each.what;
  }
}

TEST_F(languageManagerTest, aListThatCannotBeWrittenIsReportedOnlyWhenAsked) {
  addLanguage(L"de.lng", L"Deutsch");
  manager.scanLanguages(nullptr, folder, languageVersionText, false);
  manager.listPath = (dir.path() / "missing" / "lang.dta").wstring();
  manager.saveList(false);
  EXPECT_TRUE(shownBoxes.empty());
  manager.saveList(true);
  EXPECT_EQ(shownBoxes, (std::vector<shownBox>{{nullptr, L"Can't create file\n\\Config\\lang.dta",
                                                L"Error", MB_ICONERROR | MB_SYSTEMMODAL}}));
}

TEST_F(languageManagerTest, theComboShowsTheLanguagesOrEnglishAlone) {
  const hiddenWindow page;
  guiHandles gui;
  gui.settingsLanguageCombo = page.child(L"COMBOBOX", L"", CBS_DROPDOWNLIST);
  gui.settingsSetLanguageButton = page.child(L"BUTTON");
  const auto items = [&] { return comboItemTexts(gui.settingsLanguageCombo); };
  const auto bothEnabled = [&](bool enabled) {
    return (IsWindowEnabled(gui.settingsLanguageCombo) != FALSE) == enabled &&
           (IsWindowEnabled(gui.settingsSetLanguageButton) != FALSE) == enabled;
  };

  manager.list = {{L"Polski", L"pl.lng"}, {L"Deutsch", L"de.lng"}};
  manager.languageCount = 2;
  EXPECT_TRUE(manager.fillLanguageCombo(gui));
  EXPECT_EQ(items(), (std::vector<std::wstring>{L"Polski", L"Deutsch"}));
  EXPECT_TRUE(bothEnabled(true));
  EXPECT_EQ(SendMessageW(gui.settingsLanguageCombo, CB_GETCURSEL, 0, 0), 0);

  manager.languageCount = 0;  // as after a scan that found nothing
  EXPECT_FALSE(manager.fillLanguageCombo(gui));
  EXPECT_EQ(items(), (std::vector<std::wstring>{L"English"}));
  EXPECT_TRUE(bothEnabled(false));
  EXPECT_EQ(SendMessageW(gui.settingsLanguageCombo, CB_GETCURSEL, 0, 0), 0);
  EXPECT_THROW(manager.displayNameAt(0), std::out_of_range);
}

TEST_F(languageManagerTest, theSavedLanguageIsFoundByItsWholeNameFirst) {
  const hiddenWindow page;
  guiHandles gui;
  gui.settingsLanguageCombo = page.child(L"COMBOBOX", L"", CBS_DROPDOWNLIST);
  addLanguage(L"br.lng", L"Português (Brasil)", L"B");
  addLanguage(L"pt.lng", L"Português", L"P");
  addFile(L"bad.lng", markedWide(L"v1.0" + languageText(L"Old").substr(4)));
  manager.list = {{L"Português (Brasil)", L"br.lng"},
                  {L"Português", L"pt.lng"},
                  {L"Deutsch", L"bad.lng"}};
  manager.languageCount = 3;
  manager.fillLanguageCombo(gui);

  const std::pair<const wchar_t*, int> lookups[] = {
      {L"português", 1}, {L"Portug", 0}, {L"DEUTSCH", 2}, {L"Deu", 2}, {L"Polski", CB_ERR}};
  for (const auto& [name, index] : lookups)
    EXPECT_EQ(findSavedLanguage(gui.settingsLanguageCombo, name), index) << name;

  settingsValues settings;
  settings.resetToDefaults();
  for (const wchar_t* unchanged : {L"English", L"", L"Polski", L"Deutsch"}) {
    settings.language = unchanged;
    EXPECT_FALSE(applySavedLanguage(manager, gui, settings, folder)) << unchanged;
    EXPECT_TRUE(tableTexts() == englishTexts) << unchanged;
    EXPECT_TRUE(manager.lines.empty());
  }
  settings.language = L"Português";
  EXPECT_TRUE(applySavedLanguage(manager, gui, settings, folder));
  EXPECT_TRUE(tablesHoldLanguage(L"P"));
  EXPECT_TRUE(manager.lines.empty());
}
