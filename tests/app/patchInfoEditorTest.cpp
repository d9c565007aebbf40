#include "patchInfoEditor.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "errors.h"
#include "infoEditorRules.h"
#include "processRunner.h"
#include "testFiles.h"
#include "testWindows.h"
#include "textFile.h"

namespace {

using lineList = std::vector<std::wstring>;

// The message of the error of the given class that run raises; empty when it raises none.
template <class error, class operation>
std::wstring raised(operation run) {
  try {
    run();
  } catch (error* thrown) {
    return thrown->message;
  }
  return L"";
}

bytes markedText(std::u16string_view text) {
  bytes out = {0xFF, 0xFE};
  putUtf16Le(out, text);
  return out;
}

lineList withOtherConsole(lineList names) {
  names.push_back(L"Other Console");
  return names;
}

// A Create page made of real controls: the console combo, the custom edit and the six fields,
// with the edit limits the page sets. Without a list file the built-in names are loaded.
class infoEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    gui.createConsoleCombo = main.child(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL);
    for (HWND* edit : {&gui.createCustomConsoleEdit, &gui.createGameEdit, &gui.createHackEdit,
                       &gui.createVersionEdit, &gui.createAuthorEdit, &gui.createContactEdit,
                       &gui.createCommentEdit})
      *edit = main.child(L"EDIT", L"", ES_AUTOHSCROLL);
    limitEditorFields(gui);
    std::filesystem::create_directory(dir.path() / "Config");
    editor.init(dir.path().wstring() + L"\\");
    editor.attachFields(gui);
    editor.loadConsoleNames();
  }

  // The fields in the order game, hack, version, author, contact, comment.
  std::array<HWND, 6> fields() const {
    return {gui.createGameEdit,   gui.createHackEdit,    gui.createVersionEdit,
            gui.createAuthorEdit, gui.createContactEdit, gui.createCommentEdit};
  }
  void fill(const std::array<const wchar_t*, 6>& texts) {
    for (size_t i = 0; i < texts.size(); ++i) SetWindowTextW(fields()[i], texts[i]);
  }
  void select(int item) {
    SendMessageW(gui.createConsoleCombo, CB_SETCURSEL, item, 0);
    editor.consoleSelected();
  }
  int selection() const { return static_cast<int>(SendMessageW(gui.createConsoleCombo, CB_GETCURSEL, 0, 0)); }
  bool customEnabled() const { return IsWindowEnabled(gui.createCustomConsoleEdit) != FALSE; }
  std::wstring consoleName() {
    editor.readConsoleName();
    return editor.infoValues[0];
  }
  std::wstring file(const std::wstring& name) const { return (dir.path() / name).wstring(); }
  void writeList(std::u16string_view text) {
    writeFileBytes(file(L"Config\\console names.ini"), markedText(text));
  }

  hiddenWindow main;
  guiHandles gui;
  createPageEditor editor;
  scratchDir dir;
};

}  // namespace

TEST(infoEditorRules, consoleNamesMatchWholeNamesIgnoringCase) {
  const lineList items = withOtherConsole({builtinConsoleNames.begin(), builtinConsoleNames.end()});
  const std::pair<const wchar_t*, int> cases[] = {
      {L"Game Boy", 4}, {L"game boy", 4}, {L"GAME BOY ADVANCE", 3}, {L"Game", -1},
      {L"nes", 0},      {L"NES ", -1},    {L"other console", 25},   {L"", -1}};
  for (const auto& [name, index] : cases) EXPECT_EQ(findWholeName(items, name), index) << name;
}

TEST(infoEditorRules, templateLinesBecomeTheFirstValues) {
  std::array<std::wstring, 8> values = {L"a", L"b", L"c", L"d", L"e", L"f", L"g", L"h"};
  takeTemplateLines({L"1", L"2"}, values);
  EXPECT_EQ(values, (std::array<std::wstring, 8>{L"1", L"2", L"c", L"d", L"e", L"f", L"g", L"h"}));
  takeTemplateLines({L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"10"}, values);
  EXPECT_EQ(values, (std::array<std::wstring, 8>{L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8"}));
}

TEST_F(infoEditor, builtinNamesWithoutAListFile) {
  EXPECT_EQ(comboItemTexts(gui.createConsoleCombo),
            withOtherConsole({L"NES", L"SNES", L"Genesis", L"Game Boy Advance", L"Game Boy", L"Nintendo 64",
                              L"PlayStation", L"Nintendo DS", L"PlayStation 2", L"Master System", L"GameCube",
                              L"Famicom Disk System", L"PlayStation Portable", L"Sega 32X", L"Saturn",
                              L"Turbografx-16", L"Sega CD", L"Dreamcast", L"Wonderswan", L"MSX", L"Game Gear",
                              L"Xbox", L"Xbox 360", L"Arcade", L"PC"}));
  EXPECT_EQ(editor.comboItemCount, 26);
  EXPECT_EQ(selection(), 0);
  EXPECT_FALSE(customEnabled());
  EXPECT_EQ(consoleName(), L"NES");
}

TEST_F(infoEditor, fieldsAreReadInOrderAndRefusedWhenEmpty) {
  const std::array<const wchar_t*, 6> typed = {L"  Quest", L"Hack",  L"1.0",
                                               L" Author", L"mail", L"Comment  "};
  const wchar_t* const refusals[] = {L"Game name field is empty",   L"Hack name field is empty",
                                     L"Hack version field is empty", L"Author name field is empty",
                                     L"Contact field is empty",      L"Comment field is empty"};
  for (size_t firstEmpty = 0; firstEmpty < 6; ++firstEmpty) {
    for (size_t i = 0; i < 6; ++i) SetWindowTextW(fields()[i], i < firstEmpty ? typed[i] : L"   ");
    EXPECT_EQ(raised<errorStrShow>([&] { editor.readInfoFields(); }), refusals[firstEmpty]);
  }
  fill(typed);
  editor.readInfoFields();
  EXPECT_EQ(lineList(editor.infoValues.begin() + 1, editor.infoValues.begin() + 7),
            (lineList{L"Quest", L"Hack", L"1.0", L"Author", L"mail", L"Comment  "}));
}

TEST_F(infoEditor, consoleNameFromTheListOrTheCustomEdit) {
  select(4);
  EXPECT_EQ(consoleName(), L"Game Boy");
  EXPECT_FALSE(customEnabled());
  select(25);
  EXPECT_TRUE(customEnabled());
  EXPECT_EQ(editor.customConsoleEnabled, 1);
  EXPECT_EQ(raised<errorBase>([&] { editor.readConsoleName(); }), L"Console name field is empty");
  SetWindowTextW(gui.createCustomConsoleEdit, L"  ");
  EXPECT_EQ(consoleName(), L"  ");
}

TEST_F(infoEditor, everyTypedCharacterIsRead) {
  const std::wstring typed(600, L'x');
  select(25);
  fill({L"g", L"h", L"v", L"a", L"c", L""});
  for (HWND edit : {gui.createCustomConsoleEdit, gui.createCommentEdit})
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(typed.c_str()));
  ASSERT_EQ(GetWindowTextLengthW(gui.createCommentEdit), editorFieldLimit);
  editor.readInfoFields();
  EXPECT_EQ(editor.infoValues[6], std::wstring(editorFieldLimit, L'x'));
  EXPECT_EQ(consoleName(), std::wstring(editorFieldLimit, L'x'));
}

TEST_F(infoEditor, aLongListItemIsReadWhole) {
  const std::u16string longName(3000, u'n');
  writeList(u"SNES\r\n" + longName);
  editor.updateConsoleNames();
  select(1);
  EXPECT_EQ(consoleName(), std::wstring(3000, L'n'));
}

TEST_F(infoEditor, templatesSaveAndRestoreEveryValue) {
  fill({L"Quest", L"Hack", L"1.0", L"Author", L"mail", L"Comment"});
  select(4);
  editor.readInfoFields();
  const std::wstring path = file(L"Hack.txt");
  editor.saveTemplate(path);
  EXPECT_EQ(readFileBytes(path),
            markedText(u"Game Boy\r\nQuest\r\nHack\r\n1.0\r\nAuthor\r\nmail\r\nComment\r\n"));

  editor.clearFields();
  for (HWND edit : fields()) EXPECT_EQ(windowText(edit), L"");
  select(25);
  editor.loadTemplate(path);
  EXPECT_EQ(selection(), 4);  // not "Game Boy Advance", listed before it
  EXPECT_FALSE(customEnabled());
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(windowText(fields()[i]), editor.infoValues[i + 1]);
  EXPECT_EQ(windowText(gui.createCommentEdit), L"Comment");
}

TEST_F(infoEditor, templateConsolesOutsideTheListGoToTheCustomEdit) {
  writeFileBytes(file(L"a.txt"), markedText(u"Virtual Boy\r\ng\r\nh\r\nv\r\na\r\nc\r\nm\r\nspare\r\nninth"));
  editor.loadTemplate(file(L"a.txt"));
  EXPECT_EQ(selection(), 25);
  EXPECT_TRUE(customEnabled());
  EXPECT_EQ(windowText(gui.createCustomConsoleEdit), L"Virtual Boy");
  EXPECT_EQ(editor.infoValues[7], L"spare");
  EXPECT_EQ(windowText(gui.createCommentEdit), L"m");

  // "Other Console" itself: the custom entry with that name, not the previous custom text.
  writeFileBytes(file(L"b.txt"), markedText(u"other console"));
  editor.loadTemplate(file(L"b.txt"));
  EXPECT_EQ(selection(), 25);
  EXPECT_EQ(consoleName(), L"other console");
  EXPECT_EQ(editor.infoValues[7], L"spare");

  // A last line is read whole; its field shows what the user could have typed, and that is read.
  writeFileBytes(file(L"c.txt"), markedText(u"NES\r\ng\r\nh\r\nv\r\na\r\nc\r\n" + std::u16string(700, u'm')));
  editor.loadTemplate(file(L"c.txt"));
  editor.readInfoFields();
  EXPECT_EQ(editor.infoValues[6], std::wstring(editorFieldLimit, L'm'));

  const std::filesystem::path build =
      std::filesystem::path(builtProgramPath("appTests")).parent_path().parent_path();
  const std::filesystem::path shipped = build / "dist" / "Description templates" / "patch info.txt";
  editor.loadTemplate(shipped.wstring());
  EXPECT_EQ(selection(), 0);
  EXPECT_EQ(editor.templateLines.size(), 8u);
}

TEST_F(infoEditor, fileErrorsNameTheirFileAndAFailedUpdateKeepsTheList) {
  select(3);
  EXPECT_EQ(raised<errorBase>([&] { editor.loadTemplate(file(L"missing.txt")); }),
            L"Can't open file\n\\Description templates\\missing.txt");
  writeFileBytes(file(L"Config\\console names.ini"), bytes{'N', 'E', 'S'});
  EXPECT_EQ(raised<errorBase>([&] { editor.updateConsoleNames(); }),
            L"File uses non-unicode format\n\\Config\\console names.ini");
  EXPECT_EQ(comboItemTexts(gui.createConsoleCombo).size(), 26u);
  EXPECT_EQ(editor.consoleNames.size(), 25u);
  EXPECT_EQ(selection(), 3);
}

TEST_F(infoEditor, addedNamesAreCheckedAndWrittenBackOnClose) {
  const std::wstring listPath = file(L"Config\\console names.ini");
  editor.saveConsoleNamesOnClose();
  EXPECT_FALSE(std::filesystem::exists(listPath));

  select(25);
  for (const auto& [name, refusal] : {std::pair{L"", L"Console name field is empty"},
                                     std::pair{L"nes", L"That name already exists"},
                                     std::pair{L"OTHER console", L"That name already exists"}}) {
    SetWindowTextW(gui.createCustomConsoleEdit, name);
    EXPECT_EQ(raised<errorStrShow>([&] { editor.addConsoleName(); }), refusal) << name;
  }
  EXPECT_EQ(editor.consoleListChanged, 0);
  SetWindowTextW(gui.createCustomConsoleEdit, L"Game");
  editor.addConsoleName();
  lineList expected(builtinConsoleNames.begin(), builtinConsoleNames.end());
  expected.push_back(L"Game");
  EXPECT_EQ(comboItemTexts(gui.createConsoleCombo), withOtherConsole(expected));
  EXPECT_EQ(selection(), 26);
  EXPECT_TRUE(customEnabled());
  EXPECT_EQ(consoleName(), L"Game");

  editor.saveConsoleNamesOnClose();
  lineList written;
  readTextLines(sharedTextFile, written, listPath, L"");
  EXPECT_EQ(written, expected);
  editor.consoleNamesPath = file(L"no folder\\console names.ini");
  editor.saveConsoleNamesOnClose();  // nothing thrown
}
