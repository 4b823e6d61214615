// The library room's rules over a recording host: the menu states and the
// notation style of each mode, the book commands' order (refusals before
// mode changes, the re-enable timer after every disabling), the save
// question, the tiles, the board's answers and the right-click menus.
#include "library_room.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

class FakeHost : public LibraryRoomHost {
 public:
  std::map<int, bool> enabled;
  int style = 0;
  int annotationLock = 1;
  std::vector<std::string> log;
  std::vector<int> messages;
  std::string chosenBook = "C:\\Books\\Mine.obk";
  bool chooseOk = true;
  bool openOk = true;
  bool saveOk = true;
  bool modified = false;
  int answer = 1;
  bool editorOpen = false;
  bool classicOk = true;
  bool importOk = true;
  int disabled = 0;  // the main window: disablings not yet undone by a timer
  int timers = 0;

  // The menu as loaded: every item enabled.
  FakeHost() {
    for (int i = 0; i < kLibraryNotationCount; ++i) enabled[kLibraryNotationFirst + i] = true;
  }
  void EnableItem(int command, bool enable) override { enabled[command] = enable; }
  int NotationStyle() override { return style; }
  void SetNotationStyle(int s) override { style = s; }
  void LockAnnotation(int locked) override { annotationLock = locked; }
  void FreshGame() override { log.push_back("fresh game"); }
  void BookGame(int bookMode) override { log.push_back("book game " + std::to_string(bookMode)); }
  void* RunClassicGames() override { return classicOk ? this : nullptr; }
  void ShowGame(void*) override { log.push_back("classic game"); }
  void DiscardGame(void*) override { log.push_back("discarded"); }
  bool OpenEditor(const std::string& path, bool readOnly) override {
    log.push_back("open " + path + (readOnly ? " read-only" : ""));
    editorOpen = openOk;
    return openOk;
  }
  void CloseEditor() override {
    if (editorOpen) log.push_back("close editor");
    editorOpen = false;
    modified = false;
  }
  bool EditorModified() override { return editorOpen && modified; }
  std::string EditorFileName() override { return "New.obk"; }
  bool SaveEditor(const std::string& path) override {
    log.push_back("save " + path);
    if (saveOk) modified = false;
    return saveOk;
  }
  bool ImportPgn(const std::string& path) override {
    log.push_back("import " + path);
    if (importOk) editorOpen = true;
    return importOk;
  }
  std::string OpeningBooksFolder() override { return "C:\\Rookwell\\Opening Books"; }
  bool ChooseBook(bool save, std::string* path) override {
    log.push_back(save ? "save dialog" : "open dialog");
    *path = chosenBook;
    return chooseOk;
  }
  bool ChoosePgn(std::string* path) override {
    *path = "C:\\Games\\club.pgn";
    return chooseOk;
  }
  void ShowMessage(int id) override { messages.push_back(id); }
  int AskYesNoCancel(int id, const std::string& argument) override {
    messages.push_back(id);
    log.push_back("ask " + argument);
    return answer;
  }
  void DisableMainWindow() override { ++disabled; }
  void StartReenableTimer() override {
    ++timers;
    disabled = 0;
  }
  void SaveGame() override { log.push_back("save game"); }
  void ShowGameInformation() override { log.push_back("game information"); }
  void OpenGlossary() override { log.push_back("glossary"); }
};

class LibraryRoomRules : public ::testing::Test {
 protected:
  LibraryRoomRules() : room(&data, &host) {
    std::memset(&data, 0, sizeof data);
    data.mode = LIBRARY_UNSET;
    host.style = 4;
    room.ChangeMode(LIBRARY_NOTHING);
  }
  bool On(int command) { return host.enabled.count(command) && host.enabled[command]; }
  bool NotationGreyed() {
    for (int i = 0; i < kLibraryNotationCount; ++i)
      if (On(kLibraryNotationFirst + i)) return false;
    return true;
  }
  bool Logged(const std::string& line) {
    for (const std::string& l : host.log)
      if (l == line) return true;
    return false;
  }
  void Edit() {
    room.Command(LIB_CMD_NEW_BOOK);
    ASSERT_EQ(room.Mode(), LIBRARY_EDIT_BOOK);
    host.modified = true;
    host.log.clear();
    host.messages.clear();
  }
  LibraryRoomData data;
  FakeHost host;
  LibraryRoom room;
};

TEST_F(LibraryRoomRules, EachModeHasItsItemsAndNotation) {
  struct Case {
    int command;
    int mode;
    bool save, close, gameInfo, bookItems, notationGreyed;
    int style;
  };
  const Case cases[] = {
      {LIB_CMD_CLASSIC_GAME, LIBRARY_CLASSIC_GAME, true, true, true, false, false, 4},
      {LIB_CMD_NEW_BOOK, LIBRARY_EDIT_BOOK, true, true, false, true, true, 2},
      {LIB_CMD_REFERENCE, LIBRARY_REFERENCE, false, true, false, false, true, 2},
      {LIB_CMD_CLOSE, LIBRARY_NOTHING, false, false, false, false, false, 4},
      // From one book mode straight into the other and back: the user's
      // style comes back, not the forced one.
      {LIB_CMD_NEW_BOOK, LIBRARY_EDIT_BOOK, true, true, false, true, true, 2},
      {LIB_CMD_REFERENCE, LIBRARY_REFERENCE, false, true, false, false, true, 2},
      {LIB_CMD_CLASSIC_GAME, LIBRARY_CLASSIC_GAME, true, true, true, false, false, 4},
      {LIB_CMD_CLOSE, LIBRARY_NOTHING, false, false, false, false, false, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    EXPECT_EQ(room.Command(c.command), 1);
    EXPECT_EQ(room.Mode(), c.mode);
    EXPECT_EQ(On(LIB_CMD_SAVE), c.save);
    EXPECT_EQ(On(LIB_CMD_CLOSE), c.close);
    EXPECT_EQ(On(LIB_CMD_GAME_INFO), c.gameInfo);
    EXPECT_EQ(On(LIB_CMD_BOOK_ITEM_1) && On(LIB_CMD_BOOK_ITEM_2), c.bookItems);
    EXPECT_EQ(NotationGreyed(), c.notationGreyed);
    EXPECT_EQ(host.style, c.style);
    EXPECT_EQ(host.annotationLock, c.mode == LIBRARY_EDIT_BOOK ? 0 : 1);
  }
}

TEST_F(LibraryRoomRules, LoadRefusesTheReferenceBookBeforeChangingMode) {
  host.chosenBook = "c:\\rookwell\\opening books\\REFERENCE.OBK";
  room.Command(LIB_CMD_LOAD_BOOK);
  EXPECT_EQ(room.Mode(), LIBRARY_NOTHING);
  EXPECT_EQ(host.messages, std::vector<int>{1032});
  EXPECT_FALSE(host.editorOpen);
  EXPECT_FALSE(NotationGreyed());
  EXPECT_EQ(host.style, 4);
  // The same from an edited book: it is closed first, then the load refused.
  Edit();
  host.answer = 0;
  room.Command(LIB_CMD_LOAD_BOOK_2);
  EXPECT_EQ(room.Mode(), LIBRARY_NOTHING);
  EXPECT_EQ(host.messages, (std::vector<int>{1037, 1032}));
}

TEST_F(LibraryRoomRules, EveryDisablingOfTheMainWindowEndsInTheTimer) {
  struct Case {
    int command;
    bool opens;
    int mode;
    std::vector<int> messages;
  };
  const Case cases[] = {
      {LIB_CMD_LOAD_BOOK, true, LIBRARY_EDIT_BOOK, {}},
      {LIB_CMD_LOAD_BOOK, false, LIBRARY_NOTHING, {1033}},
      {LIB_CMD_REFERENCE, true, LIBRARY_REFERENCE, {}},
      {LIB_CMD_REFERENCE, false, LIBRARY_NOTHING, {1031}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    room.Command(LIB_CMD_CLOSE);
    host.messages.clear();
    host.timers = 0;
    host.openOk = c.opens;
    room.Command(c.command);
    EXPECT_EQ(room.Mode(), c.mode);
    EXPECT_EQ(host.messages, c.messages);
    EXPECT_EQ(host.timers, 1);
    EXPECT_EQ(host.disabled, 0);
  }
  EXPECT_TRUE(Logged("open C:\\Rookwell\\Opening Books\\Reference.obk read-only"));
}

TEST_F(LibraryRoomRules, TheSaveQuestionDecidesWhetherTheBookIsLeft) {
  // Cancel keeps the book and the mode.
  Edit();
  host.answer = -1;
  room.Command(LIB_CMD_CLOSE);
  EXPECT_EQ(room.Mode(), LIBRARY_EDIT_BOOK);
  EXPECT_TRUE(host.editorOpen);
  EXPECT_TRUE(Logged("ask New.obk"));
  EXPECT_EQ(host.style, 2);
  // Yes with a failing save keeps them as well.
  host.answer = 1;
  host.saveOk = false;
  room.Command(LIB_CMD_REFERENCE);
  EXPECT_EQ(room.Mode(), LIBRARY_EDIT_BOOK);
  EXPECT_TRUE(host.editorOpen);
  EXPECT_EQ(host.timers, 0) << "nothing was disabled";
  // Yes with a save to the reference book is refused and keeps them too.
  host.saveOk = true;
  host.chosenBook = "C:\\Rookwell\\Opening Books\\Reference.obk";
  host.messages.clear();
  room.Command(LIB_CMD_CLOSE);
  EXPECT_EQ(room.Mode(), LIBRARY_EDIT_BOOK);
  EXPECT_EQ(host.messages, (std::vector<int>{1037, 1032}));
  // Yes with a good save leaves, and so does No.
  host.chosenBook = "C:\\Books\\Mine.obk";
  room.Command(LIB_CMD_CLOSE);
  EXPECT_EQ(room.Mode(), LIBRARY_NOTHING);
  EXPECT_TRUE(Logged("save C:\\Books\\Mine.obk"));
  EXPECT_EQ(std::string(data.bookPath), "C:\\Books\\Mine.obk");
  Edit();
  host.answer = 0;
  room.Command(LIB_CMD_CLASSIC_GAME);
  EXPECT_EQ(room.Mode(), LIBRARY_CLASSIC_GAME);
  EXPECT_EQ(host.log, (std::vector<std::string>{"ask New.obk", "close editor", "fresh game", "classic game"}));
}

TEST_F(LibraryRoomRules, CancelledDialogsChangeNothing) {
  room.Command(LIB_CMD_REFERENCE);
  host.classicOk = false;
  host.chooseOk = false;
  for (int command : {LIB_CMD_CLASSIC_GAME, LIB_CMD_LOAD_BOOK}) {
    room.Command(command);
    EXPECT_EQ(room.Mode(), LIBRARY_REFERENCE);
    EXPECT_TRUE(host.editorOpen);
  }
  // A classic game chosen while an edited book is kept is freed.
  room.Command(LIB_CMD_NEW_BOOK);
  host.modified = true;
  host.answer = -1;
  host.classicOk = true;
  host.log.clear();
  room.Command(LIB_CMD_CLASSIC_GAME);
  EXPECT_EQ(room.Mode(), LIBRARY_EDIT_BOOK);
  EXPECT_EQ(host.log, (std::vector<std::string>{"ask New.obk", "discarded"}));
}

TEST_F(LibraryRoomRules, ImportIsRefusedOverTheReferenceBookAndEditsOtherwise) {
  room.Command(LIB_CMD_REFERENCE);
  room.Command(LIB_CMD_IMPORT_PGN);
  EXPECT_EQ(host.messages, std::vector<int>{1032});
  EXPECT_EQ(room.Mode(), LIBRARY_REFERENCE);
  EXPECT_FALSE(Logged("import C:\\Games\\club.pgn"));
  room.Command(LIB_CMD_CLOSE);
  host.importOk = false;
  room.Command(LIB_CMD_IMPORT_PGN);
  EXPECT_EQ(room.Mode(), LIBRARY_NOTHING);
  host.importOk = true;
  room.Command(LIB_CMD_IMPORT_PGN);
  EXPECT_EQ(room.Mode(), LIBRARY_EDIT_BOOK);
}

TEST_F(LibraryRoomRules, SaveAndGameInformationFollowTheMode) {
  room.Command(LIB_CMD_SAVE);
  room.Command(LIB_CMD_GAME_INFO);
  EXPECT_TRUE(host.log.empty());
  room.Command(LIB_CMD_CLASSIC_GAME);
  room.Command(LIB_CMD_SAVE);
  room.Command(LIB_CMD_GAME_INFO);
  EXPECT_TRUE(Logged("save game"));
  EXPECT_TRUE(Logged("game information"));
  EXPECT_FALSE(Logged("save dialog"));
  room.Command(LIB_CMD_GLOSSARY);
  EXPECT_TRUE(Logged("glossary"));
  EXPECT_EQ(room.Command(40007), 0) << "not the room's command";
}

TEST(LibraryRoomTables, TilesBoardAnswersAndMenus) {
  EXPECT_EQ(LibraryTileCommand(21670), LIB_CMD_CLASSIC_GAME);
  EXPECT_EQ(LibraryTileCommand(21675), LIB_CMD_LOAD_BOOK);
  EXPECT_EQ(LibraryTileCommand(21720), LIB_CMD_REFERENCE);
  EXPECT_EQ(LibraryTileCommand(21855), LIB_CMD_GLOSSARY);
  EXPECT_EQ(LibraryTileCommand(21655), 0);

  for (int mode = LIBRARY_NOTHING; mode <= LIBRARY_REFERENCE; ++mode) {
    EXPECT_EQ(LibraryBoardAnswer(mode, 0x8103), 0);
    EXPECT_EQ(LibraryBoardAnswer(mode, 0x0201), mode == LIBRARY_EDIT_BOOK ? 0 : 2);
  }

  auto commands = [](LibraryMenuPlace place) {
    std::vector<int> out;
    for (const LibraryMenuItem& item : LibraryRoomMenuItems(place)) out.push_back(item.popup ? -item.stringId : item.command);
    return out;
  };
  EXPECT_EQ(commands(LibraryMenuPlace::Piece), (std::vector<int>{40087, 40}));
  EXPECT_EQ(commands(LibraryMenuPlace::Square), (std::vector<int>{40087, 11, 40163, 40009, 40}));
  EXPECT_EQ(commands(LibraryMenuPlace::Room),
            (std::vector<int>{40082, 40141, 40144, 40165, 40166, 40178, -2153, 40032, 40088, 40037, 40036, 40}));
  std::vector<int> strings;
  for (LibraryMenuPlace p : {LibraryMenuPlace::Piece, LibraryMenuPlace::Square, LibraryMenuPlace::Room})
    for (const LibraryMenuItem& item : LibraryRoomMenuItems(p)) strings.push_back(item.stringId);
  EXPECT_EQ(strings, (std::vector<int>{2121, 2100, 2121, 2135, 2160, 2161, 2100, 2165, 2166, 2167, 2139, 2140, 2173,
                                       2153, 2164, 2141, 2146, 2148, 2100}));
}

}  // namespace
