// Layout files over real ini files: window values, the rooms' limits, the
// never-shown panels, the board keys and their defaults, saving with and
// without copying, and the frame sizes that save nothing.
#include "layout_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "app_globals.h"
#include "heapkit.h"
#include "profile.h"
#include "shell_strings.h"
#include "window_table.h"

namespace fs = std::filesystem;

namespace {

const char* const kKeys[kWindowCount] = {"Rookwell",
                                         "Room",
                                         "Navigation",
                                         "Database",
                                         "Board",
                                         "Advice",
                                         "Game Status",
                                         "Captured",
                                         "Thinking",
                                         "ThinkLines",
                                         "Shortcuts",
                                         "MultimediaGameClassroom",
                                         "MultimediaGameKidsRoom",
                                         "Annotation",
                                         "Legal Moves",
                                         "Statistics",
                                         "Coach",
                                         "Chat",
                                         "Users",
                                         "Challenge",
                                         "Openings",
                                         "Tutorial",
                                         "Curriculum",
                                         "Customize Board",
                                         "Black Monitor",
                                         "White Monitor",
                                         "Duzuru Monitor",
                                         "RecChallenge"};

const char* KeyLoader(int id) {
  if (id >= kWindowKeyString && id < kWindowKeyString + kWindowCount) return kKeys[id - kWindowKeyString];
  return nullptr;
}

int FindSet(const char* name) { return strcasecmp(name, "Walnut") == 0 ? 4 : -1; }
const char* SetName(int index) { return index == 4 ? "Walnut" : nullptr; }
int g_databaseReads, g_databaseWrites, g_copies;
void ReadDatabase(const char*) { ++g_databaseReads; }
void WriteDatabase(const char*) { ++g_databaseWrites; }
void CountCopy(const char*, const char*) { ++g_copies; }
ShellRect g_frame;
int FrameRect(ShellRect* r) {
  *r = g_frame;
  return 1;
}
int ScreenHeight() { return 768; }

class LayoutFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetShellStringLoader(KeyLoader);
    SetLayoutHooks(LayoutHooks{});
    InitWindowTable();
    g_databaseReads = g_databaseWrites = g_copies = 0;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::current_path() / "layout_root" / test->name();
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    file_ = (folder_ / "Ann.lay").string();
  }
  void TearDown() override {
    SetShellStringLoader(nullptr);
    SetLayoutHooks(LayoutHooks{});
    FreeAppGlobals();
  }
  std::string Read(const char* section, const char* key) {
    char value[256];
    ProfileReadString(section, key, "<none>", value, sizeof value, file_.c_str());
    return value;
  }
  fs::path folder_;
  std::string file_;
};

TEST_F(LayoutFileTest, WindowValuesScanLikeFiveIntegers) {
  struct Case {
    const char* text;
    int read;
    ShellRect rect;
    int shown;
  } cases[] = {{"1 2 3", 3, {1, 2, 3, 0}, 0},
               {"10 20 300 400 1", 5, {10, 20, 300, 400}, 1},
               {" -5 +6 7 8 1 99", 5, {-5, 6, 7, 8}, 1},
               {"12x 3", 1, {12, 0, 0, 0}, 0},
               {"", 0, {0, 0, 0, 0}, 0},
               {"4294967297 1", 2, {1, 1, 0, 0}, 0}};
  for (const Case& c : cases) {
    LayoutEntry e{};
    EXPECT_EQ(ScanLayoutValue(c.text, &e), c.read) << c.text;
    EXPECT_EQ(e.rect.left, c.rect.left) << c.text;
    EXPECT_EQ(e.rect.top, c.rect.top) << c.text;
    EXPECT_EQ(e.rect.right, c.rect.right) << c.text;
    EXPECT_EQ(e.rect.bottom, c.rect.bottom) << c.text;
    EXPECT_EQ(e.shown, c.shown) << c.text;
  }
}

TEST_F(LayoutFileTest, RoomsKeepTheirWindowsAndPanelsNeverComeBackShown) {
  for (int room = 0; room < kRoomCount; ++room) {
    RoomLayout layout{};
    for (int id = 0; id < kWindowCount; ++id) {
      layout.entries[id].rect = ShellRect{room, id, room + 100 + id, id + 200};
      layout.entries[id].shown = 1;
    }
    SetRoomLayout(room, &layout);
  }
  WriteLayoutRects(file_.c_str());
  EXPECT_EQ(Read("lobbyroom", "Rookwell"), "0 0 100 200 1");
  EXPECT_EQ(Read("lobbyroom", "Room"), "<none>");
  EXPECT_EQ(Read("databaseroom", "Navigation"), "5 2 107 202 1");
  EXPECT_EQ(Read("databaseroom", "Database"), "<none>");
  EXPECT_EQ(Read("gameroom", "RecChallenge"), "1 27 128 227 1");
  EXPECT_EQ(Read("gameroom", "Curriculum"), "1 22 123 222 0");
  EXPECT_EQ(Read("kidsroom", "MultimediaGameKidsRoom"), "2 12 114 212 0");

  InitWindowTable();
  std::ofstream(file_, std::ios::app) << "[classroom]\nMultimediaGameClassroom=1 2 3 4 1\n";
  ReadLayoutRects(file_.c_str());
  for (int room = 0; room < kRoomCount; ++room) {
    const RoomLayout* layout = GetRoomLayout(room);
    for (int id = 0; id < kWindowCount; ++id) {
      const LayoutEntry& e = layout->entries[id];
      bool kept = room == ROOM_LOBBY ? id == 0 : room == ROOM_DATABASE ? id < 3 : true;
      if (!kept) {
        EXPECT_EQ(e.rect.right, 0) << room << " " << id;
        continue;
      }
      EXPECT_EQ(e.rect.left, room) << room << " " << id;
      EXPECT_EQ(e.rect.bottom, id + 200) << room << " " << id;
      bool never = id == WIN_CLASSROOM_PANEL || id == WIN_KIDS_PANEL || id == WIN_CURRICULUM;
      EXPECT_EQ(e.shown, never ? 0 : 1) << room << " " << id;
    }
  }
}

TEST_F(LayoutFileTest, BoardKeysDefaultsAndSetNames) {
  RoomCustomBoard view{};
  ReadCustomBoardView(file_.c_str(), ROOM_GAME, &view);
  EXPECT_EQ(view.turn, 360);
  EXPECT_EQ(view.tilt, 360);
  EXPECT_EQ(view.vanishingPoint, 365);
  EXPECT_EQ(view.size, 154);
  EXPECT_EQ(view.dark[2], 0);  // red, green, blue stored as blue, green, red
  EXPECT_EQ(view.dark[1], 64);
  EXPECT_EQ(view.dark[0], 0);
  EXPECT_EQ(view.light[2], 192);
  EXPECT_EQ(view.light[1], 0);
  EXPECT_EQ(view.light[0], 0);
  int32_t x = 9, y = 9;
  ReadBoardOffset(file_.c_str(), ROOM_GAME, &x, &y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);

  // No catalogue: the default names find nothing.
  int32_t board = 0, piece = 0;
  ReadBoardSetNames(file_.c_str(), ROOM_GAME, &board, &piece);
  EXPECT_EQ(board, -1);
  EXPECT_EQ(piece, -1);
  struct Case {
    const char* stored;
    int32_t board;
  } cases[] = {{"Custom Board", kCustomBoardSet}, {"custom board", -1}, {"Walnut", -1}};
  for (const Case& c : cases) {
    ProfileWriteString("gameroom", "board_set", c.stored, file_.c_str());
    ReadBoardSetNames(file_.c_str(), ROOM_GAME, &board, nullptr);
    EXPECT_EQ(board, c.board) << c.stored;
  }
  LayoutHooks hooks{};
  hooks.findBoardSet = FindSet;
  hooks.findPieceSet = FindSet;
  hooks.boardSetName = SetName;
  hooks.pieceSetName = SetName;
  SetLayoutHooks(hooks);
  ProfileWriteString("gameroom", "board_set", "WALNUT", file_.c_str());
  ReadBoardSetNames(file_.c_str(), ROOM_GAME, &board, nullptr);
  EXPECT_EQ(board, 4);

  WriteBoardSetNames(file_.c_str(), ROOM_KIDS, kCustomBoardSet, 4);
  EXPECT_EQ(Read("kidsroom", "board_set"), "Custom Board");
  EXPECT_EQ(Read("kidsroom", "piece_set"), "Walnut");
  WriteBoardSetNames(file_.c_str(), ROOM_KIDS, -1, 4);
  EXPECT_EQ(Read("kidsroom", "board_set"), "<none>");

  RoomCustomBoard out{200, 10, 20, 30, {1, 2, 3}, {4, 5, 6}};
  WriteCustomBoardView(file_.c_str(), ROOM_CLASS, &out);
  EXPECT_EQ(Read("classroom", "custom_darksq_red"), "3");
  EXPECT_EQ(Read("classroom", "custom_lightsq_blue"), "4");
  ProfileWriteString("classroom", "custom_lightsq_red", "300", file_.c_str());
  ReadCustomBoardView(file_.c_str(), ROOM_CLASS, &view);
  EXPECT_EQ(view.size, 200);
  EXPECT_EQ(view.vanishingPoint, 30);
  EXPECT_EQ(view.light[2], 44);  // kept as a byte
}

class SavedLayoutTest : public LayoutFileTest {
 protected:
  void SetUp() override {
    LayoutFileTest::SetUp();
    ASSERT_EQ(CreateAppGlobals(), 1);
    AppGlobals* g = GetAppGlobals();
    // The user folder is "<program folder>\Users\Ann"; natively the
    // backslashes are part of the name, so the folder is made that way.
    SetProgramFolder(folder_.string().c_str());
    user_ = static_cast<UserProfile*>(memAlloc_rel(sizeof(UserProfile), 66));
    std::memset(user_, 0, sizeof *user_);
    std::strcpy(user_->name, "Ann");
    g->currentUser = user_;
    char path[kAppPathSize];
    current_ = GetCurrentLayoutPath(path);
    fs::create_directories(folder_ / "Users" / "Ann");  // the real folder under Windows
    LayoutHooks hooks{};
    hooks.copyFile = CountCopy;
    hooks.frameRect = FrameRect;
    hooks.screenHeight = ScreenHeight;
    hooks.readDatabaseLayout = ReadDatabase;
    hooks.writeDatabaseLayout = WriteDatabase;
    SetLayoutHooks(hooks);
    g_frame = ShellRect{0, 0, 800, 600};
  }
  void TearDown() override {
    GetAppGlobals()->currentUser = nullptr;
    memFree_rel(user_);
    LayoutFileTest::TearDown();
  }
  UserProfile* user_ = nullptr;
  std::string current_;
};

TEST_F(SavedLayoutTest, PathsAndCopyingOnlyToAnotherFile) {
  EXPECT_EQ(current_, folder_.string() + "\\Users\\Ann\\Ann.lay");
  char backup[kAppPathSize];
  EXPECT_EQ(std::string(GetBackupLayoutPath(backup)), folder_.string() + "\\Users\\Ann\\backup.lay");
  EXPECT_EQ(GetCurrentLayoutPath(nullptr), nullptr);

  std::string upper = current_;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_EQ(SaveLayoutFile(upper.c_str()), 0);
  EXPECT_EQ(g_copies, 0);
  EXPECT_EQ(SaveLayoutFile(file_.c_str()), 0);
  EXPECT_EQ(g_copies, 1);
  EXPECT_EQ(SaveLayoutFile(nullptr), 0);
}

TEST_F(SavedLayoutTest, SmallOrHiddenFramesSaveNothing) {
  struct Case {
    ShellRect frame;
    int result;
    bool saved;
  } cases[] = {{{0, 0, 300, 600}, 1, false},
               {{0, 0, 800, 260}, 1, false},
               {{0, 769, 800, 1400}, 1, false},
               {{0, 768, 800, 1400}, 0, true},
               {{0, 0, 301, 261}, 0, true}};
  for (const Case& c : cases) {
    g_frame = c.frame;
    fs::remove(current_);
    EXPECT_EQ(SaveUserLayout(), c.result);
    EXPECT_EQ(fs::exists(current_), c.saved) << c.frame.right << "x" << c.frame.bottom;
  }
  user_->name[0] = '\0';
  fs::remove(current_);
  g_frame = ShellRect{0, 0, 800, 600};
  EXPECT_EQ(SaveUserLayout(), 0);
  EXPECT_FALSE(fs::exists(current_));
}

TEST_F(SavedLayoutTest, SetUpRoomsWriteTheirBoardsAndApplyReadsThemBack) {
  AppGlobals* g = GetAppGlobals();
  RoomBoard boards[kRoomCount] = {};
  RoomRecord records[kRoomCount] = {};
  for (int room = 0; room < kRoomCount; ++room) {
    records[room].room = room;
    records[room].setUp = room != ROOM_LIBRARY;
    records[room].board = &boards[room];
    boards[room].boardSet = room == ROOM_KIDS ? kCustomBoardSet : -1;
    boards[room].offsetX = room * 3;
    boards[room].customView = RoomCustomBoard{100 + room, 1, 2, 3, {4, 5, 6}, {7, 8, 9}};
    g->rooms[room] = &records[room];
  }
  SaveLayoutFile(file_.c_str());
  EXPECT_EQ(g_databaseWrites, 1);
  EXPECT_EQ(Read("kidsroom", "board_set"), "Custom Board");
  EXPECT_EQ(Read("kidsroom", "board_offset_x"), "6");
  EXPECT_EQ(Read("libraryroom", "size_custom"), "<none>");  // not set up
  EXPECT_EQ(Read("databaseroom", "size_custom"), "<none>");
  EXPECT_EQ(Read("lobbyroom", "size_custom"), "100");

  boards[ROOM_KIDS].boardSet = 0;
  ApplyLayoutFile(file_.c_str());
  EXPECT_EQ(g_databaseReads, 1);
  EXPECT_EQ(boards[ROOM_KIDS].boardSet, kCustomBoardSet);
  EXPECT_EQ(boards[ROOM_KIDS].reload, 1);  // not the current room
  EXPECT_EQ(boards[ROOM_LOBBY].reload, 0);
  EXPECT_STREQ(GetLayoutName(), file_.c_str());
  EXPECT_EQ(ApplyLayoutFile(nullptr), 0);
  for (RoomRecord*& r : g->rooms) r = nullptr;
}

}  // namespace
