// The database room in Rookwell.exe, end to end from an installed program
// folder, with the mouse and keyboard: the room opens the default database
// and lists its games, a column sorts three times, the key tree opens 1.e4
// and then c5 and Key Info names the line, key mode lists that key's games
// through a search, and a game opens from the list. Each step ends in a
// screenshot.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "criteria.h"
#include "gdbase.h"
#include "gdgame.h"
#include "guitest.h"

namespace {

const char* kFrameClass = "RWONYX_APP_CLASS";
constexpr int kDatabaseButton = 21560;
constexpr int kSummaryId = 2007;  // the panel's line naming the current game

bool Shot(const char* name) { return guitest::ScreenshotTo(RW_DBWINDOW_ARTEFACT_DIR, name); }

std::string FreshCopy(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string to = std::string(temp) + name;
  std::error_code error;
  std::filesystem::remove_all(to, error);
  std::filesystem::copy(guitest::InstalledProgramFolder(), to, std::filesystem::copy_options::recursive, error);
  WritePrivateProfileStringA("settings", "IntroMovie", "0", (to + "\\rw.ini").c_str());
  // Nobody is logged in and the program starts in the game room, whose
  // navigation bar leads to the database room: the lobby would ask for a
  // user and hides the bar.
  WritePrivateProfileStringA("debug", "auto_login", "0", (to + "\\rw.ini").c_str());
  WritePrivateProfileStringA("debug", "auto_room_select", "1", (to + "\\rw.ini").c_str());
  return to;
}

// Memory in the program's process for the messages that carry a pointer.
class Remote {
 public:
  Remote(HANDLE process, size_t size) : process_(process), size_(size) {
    at_ = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~Remote() {
    if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
  }
  void* at() const { return at_; }
  char* offset(size_t n) const { return static_cast<char*>(at_) + n; }
  void Write(const void* data, size_t size, size_t offset = 0) {
    WriteProcessMemory(process_, static_cast<char*>(at_) + offset, data, size, nullptr);
  }
  void Read(void* data, size_t size, size_t offset = 0) {
    ReadProcessMemory(process_, static_cast<char*>(at_) + offset, data, size, nullptr);
  }

 private:
  HANDLE process_;
  size_t size_;
  void* at_;
};

struct Room {
  guitest::Program program;
  HWND frame = nullptr, window = nullptr, list = nullptr, tree = nullptr, panel = nullptr;
  ~Room() { guitest::KillProgram(&program); }

  std::string ItemText(HTREEITEM item) {
    Remote r(program.process, 1024);
    TVITEMA tv{};
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = item;
    tv.cchTextMax = 64;
    tv.pszText = r.offset(sizeof tv);
    r.Write(&tv, sizeof tv);
    SendMessageA(tree, TVM_GETITEMA, 0, LPARAM(r.at()));
    char text[64] = "";
    r.Read(text, sizeof text, sizeof tv);
    text[63] = 0;
    return text;
  }
  // The item's label rectangle on the screen.
  RECT ItemRect(HTREEITEM item) {
    Remote r(program.process, sizeof(RECT));
    RECT rect{};
    std::memcpy(&rect, &item, sizeof item);  // the message takes the item in the rectangle
    r.Write(&rect, sizeof rect);
    SendMessageA(tree, TVM_GETITEMRECT, TRUE, LPARAM(r.at()));
    r.Read(&rect, sizeof rect);
    MapWindowPoints(tree, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
  HTREEITEM FindChild(HTREEITEM parent, const std::string& text) {
    for (auto h = HTREEITEM(SendMessageA(tree, TVM_GETNEXTITEM, parent ? TVGN_CHILD : TVGN_ROOT, LPARAM(parent)));
         h; h = HTREEITEM(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, LPARAM(h))))
      if (ItemText(h).find(text) != std::string::npos) return h;
    return nullptr;
  }
  void ClickItem(HTREEITEM item) {
    SendMessageA(tree, TVM_ENSUREVISIBLE, 0, LPARAM(item));
    guitest::Pump(200);
    const RECT r = ItemRect(item);
    guitest::Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  }
  // The middle of a column's header cell.
  POINT HeaderCell(int column) {
    HWND header = HWND(SendMessageA(list, LVM_GETHEADER, 0, 0));
    RECT h;
    GetWindowRect(header, &h);
    int x = h.left;
    for (int i = 0; i < column; ++i) x += int(SendMessageA(list, LVM_GETCOLUMNWIDTH, WPARAM(i), 0));
    return POINT{x + int(SendMessageA(list, LVM_GETCOLUMNWIDTH, WPARAM(column), 0)) / 2, (h.top + h.bottom) / 2};
  }
  // The middle of a row's second cell on the screen: rows follow the
  // header, as many to a page as the list says fit.
  POINT RowPoint(int row) {
    HWND header = HWND(SendMessageA(list, LVM_GETHEADER, 0, 0));
    RECT h, client;
    GetWindowRect(header, &h);
    GetClientRect(list, &client);
    const int perPage = std::max<int>(1, int(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0)));
    const int rowHeight = (client.bottom - (h.bottom - h.top)) / perPage;
    const int x = h.left + int(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0)) + 20;
    return POINT{x, h.bottom + rowHeight * row + rowHeight / 2};
  }
  int Count() { return int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }
  std::string Dialog(HWND parent, int id) {
    char text[256] = "";
    GetDlgItemTextA(parent, id, text, sizeof text);
    return text;
  }
};

void ClickCentre(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  guitest::Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

bool StartIntoRoom(Room* room, const char* name) {
  const std::string folder = FreshCopy(name);
  if (!guitest::StartProgram(folder + "\\Rookwell.exe", "", folder, &room->program)) return false;
  if (!guitest::WaitFor([&] { return (room->frame = guitest::FindProgramWindow(room->program, kFrameClass)) != nullptr; },
                        20000))
    return false;
  guitest::Pump(1000);
  HWND bar = FindWindowExA(room->frame, nullptr, "WC_ROOKWELL_NAVIGATION", nullptr);
  HWND button = bar ? GetDlgItem(bar, kDatabaseButton) : nullptr;
  if (!button) return false;
  // The button's own notification: the game room's panels may stand over
  // the bar's picture on this display without a window manager.
  PostMessageA(bar, WM_COMMAND, MAKEWPARAM(kDatabaseButton, BN_CLICKED), LPARAM(button));
  if (!guitest::WaitFor(
          [&] {
            room->window = FindWindowExA(room->frame, nullptr, "DBEnvBaseClass", nullptr);
            return room->window && IsWindowVisible(room->window);
          },
          8000))
    return false;
  room->list = GetDlgItem(room->window, 2108);
  room->tree = GetDlgItem(room->window, 2005);
  room->panel = GetDlgItem(room->window, 201);
  return room->list && room->tree && room->panel &&
         guitest::WaitFor([&] { return room->Count() > 0; }, 8000);
}

TEST(DatabaseRoom, OpensTheDefaultDatabaseSortsSearchesByKeyAndOpensAGame) {
  Room room;
  ASSERT_TRUE(StartIntoRoom(&room, "rw_dbroom"));
  guitest::Pump(800);
  EXPECT_EQ(room.Count(), 2014);
  // The window sits right of the navigation bar and fills the room.
  RECT w, list, tree;
  GetWindowRect(room.window, &w);
  GetWindowRect(room.list, &list);
  GetWindowRect(room.tree, &tree);
  EXPECT_GE(w.right - w.left, 540);
  EXPECT_GT(list.bottom - list.top, 100);
  EXPECT_GT(tree.bottom - tree.top, 40);
  EXPECT_LE(list.bottom, tree.top);
  // Game 1 is read at once; the panel names its players.
  EXPECT_EQ(room.Dialog(room.panel, kSummaryId).rfind("Corvane Level 1 - Corvane Level 2", 0), 0u)
      << room.Dialog(room.panel, kSummaryId);
  EXPECT_TRUE(Shot("dbwindow_room"));

  // White (column 2) sorted by clicks on its header: up, down, up. The
  // first and last rows are focused with the keys, and the panel names
  // their White.
  auto white = [&] { return room.Dialog(room.panel, kSummaryId).substr(0, 15); };
  const POINT header = room.HeaderCell(2);
  guitest::Click(header);
  guitest::Pump(800);
  guitest::Click(room.RowPoint(0));
  guitest::Pump(400);
  EXPECT_EQ(white(), "Corvane Level 1");
  guitest::PressKey(VK_END);
  guitest::Pump(600);
  EXPECT_EQ(white(), "Corvane Level 4");
  guitest::Click(header);
  guitest::Pump(800);
  guitest::PressKey(VK_HOME);
  guitest::Pump(600);
  EXPECT_EQ(white(), "Corvane Level 4");
  EXPECT_TRUE(Shot("dbwindow_sorted_down"));
  guitest::Click(header);
  guitest::Pump(800);
  guitest::Click(room.RowPoint(1));
  guitest::Pump(300);
  guitest::PressKey(VK_HOME);
  guitest::Pump(600);
  EXPECT_EQ(white(), "Corvane Level 1");
  // No box about indexes came up: the default database has them.
  EXPECT_EQ(guitest::FindProgramWindow(room.program, "RWOMSGBOX"), nullptr);

  // The key tree: 1.e4, then c5 below it; Key Info names the line.
  HTREEITEM root = room.FindChild(nullptr, "Root");
  ASSERT_NE(root, nullptr);
  HTREEITEM e4 = room.FindChild(root, "e4");
  ASSERT_NE(e4, nullptr);
  room.ClickItem(e4);
  guitest::Pump(300);
  guitest::PressKey(VK_RIGHT);
  guitest::Pump(500);
  HTREEITEM c5 = room.FindChild(e4, "c5");
  ASSERT_NE(c5, nullptr);
  room.ClickItem(c5);
  guitest::Pump(600);
  HWND keyInfo = GetDlgItem(room.panel, 209);
  ASSERT_NE(keyInfo, nullptr);
  EXPECT_TRUE(IsWindowVisible(keyInfo));
  EXPECT_EQ(room.Dialog(keyInfo, 2301), "B20");
  EXPECT_NE(room.Dialog(keyInfo, 2302).find("Sicilian"), std::string::npos) << room.Dialog(keyInfo, 2302);
  EXPECT_NE(room.Dialog(keyInfo, 2304), "");
  // A selection without key mode lists every game still.
  EXPECT_EQ(room.Count(), 2014);
  EXPECT_TRUE(Shot("dbwindow_key_info"));

  // Key mode: choosing a key lists its games through a search.
  PostMessageA(room.frame, WM_COMMAND, 40209, 0);
  guitest::Pump(300);
  room.ClickItem(e4);
  guitest::Pump(300);
  room.ClickItem(c5);
  ASSERT_TRUE(guitest::WaitFor([&] { return room.Count() > 0 && room.Count() < 2014; }, 10000));
  guitest::Pump(1500);
  const int found = room.Count();
  EXPECT_GT(found, 5);
  // As many rows as Key Info counts games in the line.
  const std::string games = room.Dialog(keyInfo, 2304);
  EXPECT_EQ(games.rfind(std::to_string(found) + " in this line", 0), 0u) << games << " / " << found;
  EXPECT_TRUE(Shot("dbwindow_key_search"));

  // A double click on a row opens that game: the panel names its players.
  const POINT row = room.RowPoint(1);
  guitest::Click(row);
  guitest::Pump(100);
  guitest::Click(row);
  guitest::Pump(800);
  const std::string summary = room.Dialog(room.panel, kSummaryId);
  EXPECT_NE(summary.find("Corvane Level"), std::string::npos) << summary;
  HWND moves = GetDlgItem(room.panel, 206);
  ASSERT_NE(moves, nullptr);
  EXPECT_TRUE(IsWindowVisible(moves));
  EXPECT_NE(room.Dialog(moves, 2003).find("Corvane Level"), std::string::npos) << room.Dialog(moves, 2003);
  EXPECT_TRUE(Shot("dbwindow_game_open"));

  // Leaving the room hides the window and closes the file; coming back
  // opens it again.
  HWND bar = FindWindowExA(room.frame, nullptr, "WC_ROOKWELL_NAVIGATION", nullptr);
  ClickCentre(GetDlgItem(bar, 21575));
  EXPECT_TRUE(guitest::WaitFor([&] { return !IsWindowVisible(room.window); }, 5000));
  EXPECT_TRUE(guitest::WaitFor([&] { return SendDlgItemMessageA(bar, 21575, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 5000));
  ClickCentre(GetDlgItem(bar, kDatabaseButton));
  EXPECT_TRUE(guitest::WaitFor([&] { return IsWindowVisible(room.window) && room.Count() == 2014; }, 8000));
}

// Types a text with the keyboard, one key (with Shift where needed) a character.
void Type(const std::string& text) {
  guitest::TypeText(text);
}

std::string FindFile(const std::string& folder, const char* name) {
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
       it != std::filesystem::recursive_directory_iterator(); it.increment(error))
    if (it->path().filename() == name) return it->path().string();
  return "";
}

// The games of a copy of the installed default database whose header field
// `field` matches `criterion`, counted by the module's own header search.
int ModuleHeaderSearchCount(int field, const char* criterion) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string copy = std::string(temp) + "rw_dbquery_module\\";
  std::error_code error;
  std::filesystem::remove_all(copy, error);
  std::filesystem::create_directories(copy, error);
  const std::string from = FindFile(guitest::InstalledProgramFolder(), "RWOnyxBase.gdg");
  if (from.empty()) return -1;
  for (const char* ext : {".gdg", ".gdx"})
    std::filesystem::copy_file(from.substr(0, from.size() - 4) + ext, copy + "RWOnyxBase" + ext, error);
  const int32_t file = GdOpenGamefile((copy + "RWOnyxBase.gdg").c_str());
  if (!file) return -1;
  SearchQuery query;
  std::memset(&query, 0, sizeof query);
  query.kind = 1;
  QueryCondition& c = query.conditions[0][0];
  c.field = field;
  std::snprintf(c.value, sizeof c.value, "%s", criterion);
  c.op = ParseTextCriterion(c.value);
  static int found;
  found = 0;
  GdSearchGameHdrs(file, &query, [](uintptr_t code, int32_t, int32_t, int32_t) {
    if (code != 0) ++found;
    return 1;
  }, 0);
  GdCloseGamefile(file);
  return found;
}

TEST(DatabaseRoom, SearchesFromTheQueryPageAndSavesAndLoadsTheQuery) {
  Room room;
  ASSERT_TRUE(StartIntoRoom(&room, "rw_dbquery"));
  guitest::Pump(500);
  // View/Query shows the Data Query page with its default fields.
  PostMessageA(room.frame, WM_COMMAND, 40078, 0);
  guitest::Pump(500);
  HWND page = GetDlgItem(room.panel, 205);
  ASSERT_NE(page, nullptr);
  EXPECT_TRUE(IsWindowVisible(page));
  // White Player starts with "Corvane Level 4": the games the strongest level led.
  ClickCentre(GetDlgItem(page, 2164));
  guitest::Pump(200);
  Type("Corvane Level 4");
  guitest::Pump(200);
  ClickCentre(GetDlgItem(page, 2001));
  ASSERT_TRUE(guitest::WaitFor([&] { return room.Count() > 0 && room.Count() < 2014; }, 10000));
  guitest::Pump(1500);
  EXPECT_EQ(room.Count(), 502);  // every twelve games, the three that Level 4 led
  guitest::Click(room.RowPoint(2));
  guitest::Pump(400);
  EXPECT_EQ(room.Dialog(room.panel, kSummaryId).rfind("Corvane Level 4 - ", 0), 0u) << room.Dialog(room.panel, kSummaryId);
  EXPECT_TRUE(Shot("dbwindow_query_search"));


  // Ctrl+S saves the page's criteria under a name; trailing blanks go.
  SetForegroundWindow(room.frame);
  guitest::Chord({VK_CONTROL}, 'S');
  HWND dialog = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (dialog = FindWindowA(nullptr, "Save Query")) != nullptr; }, 5000));
  guitest::Pump(300);
  ClickCentre(GetDlgItem(dialog, 2129));
  Type("Strong White  ");
  guitest::Pump(300);
  EXPECT_TRUE(Shot("dbwindow_save_query"));
  ClickCentre(GetDlgItem(dialog, IDOK));
  ASSERT_TRUE(guitest::WaitFor([&] { return !IsWindow(dialog); }, 5000));
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string ini = FindFile(std::string(folder) + "rw_dbquery", "Query.ini");
  ASSERT_FALSE(ini.empty());
  char text[64] = "";
  GetPrivateProfileStringA("QUERY_Strong White", "text_0_0", "", text, sizeof text, ini.c_str());
  EXPECT_STREQ(text, "Corvane Level 4");
  EXPECT_EQ(GetPrivateProfileIntA("QUERY_Strong White", "data_0_0", 0, ini.c_str()), 15);

  // The page cleared, Ctrl+L loads the query back into it.
  PostMessageA(room.frame, WM_COMMAND, 40070, 0);
  guitest::Pump(300);
  EXPECT_EQ(room.Dialog(page, 2164), "");
  SetForegroundWindow(room.frame);
  guitest::Chord({VK_CONTROL}, 'L');
  ASSERT_TRUE(guitest::WaitFor([&] { return (dialog = FindWindowA(nullptr, "Load Query")) != nullptr; }, 5000));
  guitest::Pump(300);
  EXPECT_TRUE(Shot("dbwindow_load_query"));
  ClickCentre(GetDlgItem(dialog, IDOK));
  ASSERT_TRUE(guitest::WaitFor([&] { return !IsWindow(dialog); }, 5000));
  guitest::Pump(300);
  EXPECT_EQ(room.Dialog(page, 2164), "Corvane Level 4");

  // A criterion takes 63 characters at most.
  ClickCentre(GetDlgItem(page, 2170));
  Type(std::string(70, 'x'));
  EXPECT_EQ(room.Dialog(page, 2170), std::string(63, 'x'));
  SetDlgItemTextA(page, 2170, "");
  // The operator menu of an empty White edit offers the sample value; the
  // third entry, "contains", puts "*white" in the edit.
  RECT edit;
  GetWindowRect(GetDlgItem(page, 2169), &edit);
  const POINT at{(edit.left + edit.right) / 2, (edit.top + edit.bottom) / 2};
  guitest::Click(at, true);
  HWND menu = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (menu = guitest::FindProgramWindow(room.program, "CGUIMenuPopup")) != nullptr; },
                               5000));
  guitest::Pump(400);
  EXPECT_TRUE(Shot("dbwindow_query_operator_menu"));
  for (int i = 0; i < 3; ++i) guitest::PressKey(VK_DOWN);
  guitest::PressKey(VK_RETURN);
  guitest::Pump(400);
  EXPECT_EQ(room.Dialog(page, 2169), "*white");
  SetDlgItemTextA(page, 2169, "");

  // "=Corvane Level 4" asks for that White exactly: the list holds what the
  // module's own search finds in a copy of the same database.
  SetDlgItemTextA(page, 2164, "");
  ClickCentre(GetDlgItem(page, 2164));
  Type("=Corvane Level 4");
  guitest::Pump(200);
  EXPECT_EQ(room.Dialog(page, 2164), "=Corvane Level 4");
  ClickCentre(GetDlgItem(page, 2001));
  ASSERT_TRUE(guitest::WaitFor([&] { return room.Count() > 0 && room.Count() < 2014; }, 10000));
  guitest::Pump(1500);
  EXPECT_EQ(room.Count(), ModuleHeaderSearchCount(15, "=Corvane Level 4"));
  EXPECT_GT(room.Count(), 0);
}

// The board's 64 piece codes (White 1-6, Black 9-14), read from the program.
std::string BoardCodes(Room* room, HWND board) {
  Remote r(room->program.process, 64);
  SendMessageA(board, 0x806A, 0, LPARAM(r.at()));
  std::string codes(64, '\0');
  r.Read(&codes[0], 64);
  return codes;
}

void Press(POINT at) {
  SetCursorPos(at.x, at.y);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  SendInput(1, &in, sizeof in);
  guitest::Pump(100);
}

void Release(POINT at) {
  guitest::MoveMouse(at);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &in, sizeof in);
  guitest::Pump(200);
}

POINT Centre(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The screen centre of a square of a board in its client area (not flipped).
POINT SquarePoint(HWND board, int sq) {
  RECT c;
  GetClientRect(board, &c);
  const int s = c.right / 8;
  POINT p{(sq % 8) * s + s / 2, (7 - sq / 8) * s + s / 2};
  ClientToScreen(board, &p);
  return p;
}

void DragPiece(POINT from, POINT to) {
  Press(from);
  for (int i = 1; i <= 8; ++i) {
    guitest::MoveMouse(POINT{from.x + (to.x - from.x) * i / 8, from.y + (to.y - from.y) * i / 8});
    guitest::Pump(20);
  }
  Release(to);
}

TEST(DatabaseRoom, ShowsAGameOnItsPagesAndSearchesAPositionSetUpByDragging) {
  Room room;
  ASSERT_TRUE(StartIntoRoom(&room, "rw_dbview"));
  guitest::Pump(800);
  HWND moves = GetDlgItem(room.panel, 206);
  ASSERT_NE(moves, nullptr);
  PostMessageA(room.frame, WM_COMMAND, 40075, 0);
  guitest::Pump(400);
  ASSERT_TRUE(IsWindowVisible(moves));
  HWND board = GetDlgItem(moves, 1601);
  ASSERT_NE(board, nullptr);
  RECT b;
  GetClientRect(board, &b);
  EXPECT_EQ(b.right, 8 * 23);
  // The start position with each side's own pieces: White's king 6 on e1.
  std::string codes = BoardCodes(&room, board);
  EXPECT_EQ(codes[4], 6);
  EXPECT_EQ(codes[60], 14);
  EXPECT_EQ(codes[12], 1);
  // ">" slides the first move: one White piece leaves its square for
  // another; the next ">" moves a Black one.
  const std::string start = codes;
  auto moved = [](const std::string& before, const std::string& after, int* from, int* to) {
    int changed = 0;
    for (int sq = 0; sq < 64; ++sq)
      if (before[sq] != after[sq]) {
        ++changed;
        if (after[sq] == 0) *from = sq;
        else *to = sq;
      }
    return changed;
  };
  ClickCentre(GetDlgItem(moves, 20025));
  guitest::Pump(600);
  codes = BoardCodes(&room, board);
  int from = -1, to = -1;
  EXPECT_EQ(moved(start, codes, &from, &to), 2);
  ASSERT_GE(to, 0);
  EXPECT_GE(codes[to], 1);
  EXPECT_LE(codes[to], 6);
  const std::string afterFirst = codes;
  ClickCentre(GetDlgItem(moves, 20025));
  guitest::Pump(600);
  codes = BoardCodes(&room, board);
  from = to = -1;
  EXPECT_GE(moved(afterFirst, codes, &from, &to), 2);
  ASSERT_GE(to, 0);
  EXPECT_GE(codes[to], 9);
  EXPECT_LE(codes[to], 14);
  // "<" goes back, "<<" to the start, ">>" to the main line's end.
  ClickCentre(GetDlgItem(moves, 20030));
  guitest::Pump(400);
  EXPECT_EQ(BoardCodes(&room, board), afterFirst);
  ClickCentre(GetDlgItem(moves, 20000));
  guitest::Pump(600);
  const std::string end = BoardCodes(&room, board);
  EXPECT_NE(end, codes);
  ClickCentre(GetDlgItem(moves, 20005));
  guitest::Pump(400);
  EXPECT_EQ(BoardCodes(&room, board), start);
  ClickCentre(GetDlgItem(moves, 20025));
  guitest::Pump(400);
  ClickCentre(GetDlgItem(moves, 20025));
  guitest::Pump(600);
  // Outside key mode the key tree follows the game: its selected key is no
  // longer the top one once the game has left the start.
  {
    auto item = HTREEITEM(SendMessageA(room.tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(room.ItemText(item).find("Root"), std::string::npos) << room.ItemText(item);
  }
  EXPECT_TRUE(Shot("dbwindow_moves"));

  // Game Info: the header fields of the same game.
  PostMessageA(room.frame, WM_COMMAND, 40076, 0);
  guitest::Pump(400);
  HWND info = GetDlgItem(room.panel, 207);
  ASSERT_NE(info, nullptr);
  EXPECT_TRUE(IsWindowVisible(info));
  EXPECT_FALSE(IsWindowVisible(moves));
  EXPECT_EQ(room.Dialog(info, 2111).rfind("Corvane Level", 0), 0u) << room.Dialog(info, 2111);
  EXPECT_NE(room.Dialog(info, 2128), "");
  EXPECT_TRUE(Shot("dbwindow_game_info"));

  // Position Search: a cleared board, kings from the boxes, a pawn on the
  // first rank refused; then the position after 1.e4 e5 2.Nf3 Nc6 3.Bb5
  // dragged from the initial one, searched with Black to move.
  PostMessageA(room.frame, WM_COMMAND, 40079, 0);
  guitest::Pump(400);
  HWND page = GetDlgItem(room.panel, 212);
  ASSERT_NE(page, nullptr);
  ASSERT_TRUE(IsWindowVisible(page));
  HWND search = GetDlgItem(page, 1601);
  ClickCentre(GetDlgItem(page, 2183));
  guitest::Pump(300);
  EXPECT_EQ(BoardCodes(&room, search), std::string(64, '\0'));
  DragPiece(Centre(GetDlgItem(page, 30425)), SquarePoint(search, 4));    // white king e1
  DragPiece(Centre(GetDlgItem(page, 30455)), SquarePoint(search, 60));   // black king e8
  // Mid-drag: a white pawn from its box over the board.
  Press(Centre(GetDlgItem(page, 30400)));
  for (int i = 1; i <= 8; ++i) {
    POINT from = Centre(GetDlgItem(page, 30400)), to = SquarePoint(search, 3);
    guitest::MoveMouse(POINT{from.x + (to.x - from.x) * i / 8, from.y + (to.y - from.y) * i / 8});
    guitest::Pump(20);
  }
  guitest::Pump(200);
  EXPECT_TRUE(Shot("dbwindow_position_mid_drag"));
  Release(SquarePoint(search, 3));  // d1: a pawn on the first rank
  codes = BoardCodes(&room, search);
  EXPECT_EQ(codes[4], 6);
  EXPECT_EQ(codes[60], 14);
  EXPECT_EQ(codes[3], 1);
  const int before = room.Count();
  ClickCentre(GetDlgItem(page, 2001));
  HWND box = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (box = guitest::FindProgramWindow(room.program, "RWOMSGBOX")) != nullptr; },
                               5000));
  guitest::Pump(300);
  EXPECT_TRUE(Shot("dbwindow_position_illegal"));
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(guitest::WaitFor([&] { return !IsWindow(box); }, 5000));
  EXPECT_EQ(room.Count(), before);  // nothing searched

  ClickCentre(GetDlgItem(page, 2189));  // Initial Position
  guitest::Pump(300);
  const int plies[5][2] = {{12, 28}, {52, 36}, {6, 21}, {57, 42}, {5, 33}};
  for (auto ply : plies) DragPiece(SquarePoint(search, ply[0]), SquarePoint(search, ply[1]));
  codes = BoardCodes(&room, search);
  EXPECT_EQ(codes[33], 3);   // white bishop b5
  EXPECT_EQ(codes[42], 10);  // black knight c6
  if (SendDlgItemMessageA(page, 2192, BM_GETCHECK, 0, 0) == BST_CHECKED) ClickCentre(GetDlgItem(page, 2192));
  guitest::Pump(200);
  ClickCentre(GetDlgItem(page, 2001));
  ASSERT_TRUE(guitest::WaitFor([&] { return room.Count() > 0 && room.Count() < 2014; }, 15000));
  guitest::Pump(1500);
  const int found = room.Count();
  EXPECT_GT(found, 0);
  EXPECT_LT(found, 2014);
  // The first game found opens on 1.e4 e5 2.Nf3 Nc6 3.Bb5: its key line.
  guitest::Click(room.RowPoint(0));
  guitest::Pump(600);
  EXPECT_TRUE(Shot("dbwindow_position_found"));
}

// The move text's current entry (CTM_GETCURENTRY): its data, the ply it
// stands for, or -1 when none is current.
int CurrentMoveEntry(Room* room, HWND text) {
  // The control's five words, laid out as the program (built alike) has them.
  struct Entry {
    uint32_t colour;
    const char* text;
    int32_t reserved;
    uint32_t data;
    uint32_t flags;
  };
  Remote r(room->program.process, sizeof(Entry));
  Entry entry{};
  r.Write(&entry, sizeof entry);
  if (!SendMessageA(text, 0x8626, 0, LPARAM(r.at()))) return -1;
  r.Read(&entry, sizeof entry);
  return int(entry.data);
}

TEST(DatabaseRoom, PanelMenuHidesThePanelAndMovesStepAndFollowClicks) {
  Room room;
  ASSERT_TRUE(StartIntoRoom(&room, "rw_dbpanel"));
  guitest::Pump(800);
  PostMessageA(room.frame, WM_COMMAND, 40075, 0);
  guitest::Pump(500);
  HWND moves = GetDlgItem(room.panel, 206);
  ASSERT_NE(moves, nullptr);
  ASSERT_TRUE(IsWindowVisible(moves));
  HWND board = GetDlgItem(moves, 1601);
  const std::string start = BoardCodes(&room, board);

  // ">" held: the view steps on by itself without sliding; "<" counts the
  // plies back to the start.
  const POINT forward = Centre(GetDlgItem(moves, 20025));
  Press(forward);
  guitest::Pump(2000);
  Release(forward);
  guitest::Pump(500);
  int back = 0;
  while (BoardCodes(&room, board) != start && back < 40) {
    ClickCentre(GetDlgItem(moves, 20030));
    guitest::Pump(250);
    ++back;
  }
  EXPECT_EQ(BoardCodes(&room, board), start);
  EXPECT_GE(back, 3);

  // A click on a move in the text goes to it: the board shows what as
  // many steps of ">" from the start show.
  HWND text = GetDlgItem(moves, 2110);
  ASSERT_NE(text, nullptr);
  RECT t;
  GetWindowRect(text, &t);
  int ply = -1;
  for (int x = t.left + 60; x < t.right - 10 && ply < 3; x += 12) {
    guitest::Click(POINT{x, t.top + 10});
    guitest::Pump(300);
    ply = CurrentMoveEntry(&room, text);
  }
  ASSERT_GE(ply, 3);
  guitest::Pump(400);
  const std::string clicked = BoardCodes(&room, board);
  EXPECT_NE(clicked, start);
  EXPECT_TRUE(Shot("dbwindow_moves_clicked"));
  ClickCentre(GetDlgItem(moves, 20005));
  guitest::Pump(400);
  for (int i = 0; i < ply; ++i) {
    ClickCentre(GetDlgItem(moves, 20025));
    guitest::Pump(350);
  }
  guitest::Pump(400);
  EXPECT_EQ(BoardCodes(&room, board), clicked) << ply;

  // Enter in the panel does nothing: the panel and its page stay.
  ClickCentre(GetDlgItem(moves, 2196));
  ClickCentre(GetDlgItem(moves, 2196));
  guitest::PressKey(VK_RETURN);
  guitest::Pump(400);
  EXPECT_TRUE(IsWindowVisible(room.panel));
  EXPECT_TRUE(IsWindowVisible(moves));

  // The panel's own context menu: "Hide this View" hides the panel and the
  // game list takes its place; View/Moves brings it back.
  RECT p, list;
  GetWindowRect(room.panel, &p);
  guitest::Click(POINT{p.right - 40, p.top + 8}, true);
  HWND menu = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (menu = guitest::FindProgramWindow(room.program, "CGUIMenuPopup")) != nullptr; },
                               5000));
  guitest::Pump(400);
  EXPECT_TRUE(Shot("dbwindow_panel_menu"));
  guitest::PressKey(VK_DOWN);
  guitest::PressKey(VK_RETURN);
  ASSERT_TRUE(guitest::WaitFor([&] { return !IsWindowVisible(room.panel); }, 5000));
  guitest::Pump(400);
  GetWindowRect(room.list, &list);
  EXPECT_LT(list.top, p.bottom);
  EXPECT_TRUE(IsWindowVisible(room.window));
  PostMessageA(room.frame, WM_COMMAND, 40075, 0);
  EXPECT_TRUE(guitest::WaitFor([&] { return IsWindowVisible(room.panel) != FALSE; }, 5000));
}

// ---- changing a copy of the database ------------------------------------

// The message box now up: its text (control 301) and caption.
struct Box {
  HWND window = nullptr;
  std::string text, caption;
};

Box AwaitBox(Room* room, DWORD timeout = 8000) {
  Box box;
  guitest::WaitFor([&] { return (box.window = guitest::FindProgramWindow(room->program, "RWOMSGBOX")) != nullptr; },
                   timeout);
  if (!box.window) return box;
  guitest::Pump(300);
  char text[1024] = "";
  GetDlgItemTextA(box.window, 301, text, sizeof text);
  box.text = text;
  GetWindowTextA(box.window, text, sizeof text);
  box.caption = text;
  return box;
}

// The titles of the program's windows as they are shown or named, heard
// through window events: a box that comes and goes between two looks at
// the screen is still seen.
std::vector<std::string>* g_titlesSeen = nullptr;

void CALLBACK NoteTitle(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
  if (object != OBJID_WINDOW || !g_titlesSeen) return;
  char text[128] = "";
  GetWindowTextA(window, text, sizeof text);
  if (text[0]) g_titlesSeen->push_back(text);
}

class TitleWatch {
 public:
  explicit TitleWatch(const guitest::Program& program) {
    g_titlesSeen = &titles_;
    hook_ = SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_NAMECHANGE, nullptr, NoteTitle,
                            GetProcessId(program.process), 0, WINEVENT_OUTOFCONTEXT);
  }
  ~TitleWatch() {
    if (hook_) UnhookWinEvent(hook_);
    g_titlesSeen = nullptr;
  }
  bool Saw(const char* title) {
    return FindWindowA(nullptr, title) != nullptr || std::find(titles_.begin(), titles_.end(), title) != titles_.end();
  }
  void Forget() { titles_.clear(); }

 private:
  std::vector<std::string> titles_;
  HWINEVENTHOOK hook_ = nullptr;
};

// The box's buttons: OK is 1; in a Yes/No box Yes is 300 and No is 1.
constexpr int kOk = 1, kYes = 300, kNo = 1;

// Answers a box with one of its buttons and waits for it to go.
void Answer(const Box& box, int button) {
  ASSERT_NE(box.window, nullptr);
  ASSERT_TRUE(guitest::ClickItem(box.window, button));
  ASSERT_TRUE(guitest::WaitFor([&] { return !IsWindow(box.window); }, 5000));
  guitest::Pump(200);
}

// The program's file dialog with this title: a name typed, then Enter.
void ChooseFile(const char* title, const std::string& name) {
  HWND dialog = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (dialog = FindWindowA(nullptr, title)) != nullptr; }, 8000)) << title;
  guitest::Pump(400);
  ASSERT_TRUE(guitest::ClickItem(dialog, 406));
  guitest::Pump(150);
  guitest::TypeText(name);
  guitest::Pump(150);
  guitest::PressKey(VK_RETURN);
  guitest::Pump(300);
}

// Whether game `number` of the database file is marked deleted, read by
// the module beside the program.
bool GameDeleted(const std::string& path, int number) {
  const int32_t file = GdOpenGamefile(path.c_str());
  if (!file) return false;
  const bool deleted = GdgIsGameDeleted(file, number) != 0;
  GdCloseGamefile(file);
  return deleted;
}

std::string ReadWhole(const std::string& path) {
  std::string text;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
    std::fclose(f);
  }
  return text;
}

size_t Occurrences(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

std::string ShortGames(int count) {
  std::string pgn;
  for (int i = 1; i <= count; ++i)
    pgn += "[Event \"Import " + std::to_string(i) + "\"]\n[White \"Imported White\"]\n[Black \"Imported Black\"]\n"
           "[Result \"1-0\"]\n\n1. e4 {The king's pawn} e5 (1... c5 2. Nf3 d6) 2. Nf3 Nc6 3. Bb5 a6 1-0\n\n";
  return pgn;
}

void WriteWhole(const std::string& path, const std::string& text) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

TEST(DatabaseRoom, DeletesExportsAndImportsGamesOfACopy) {
  Room room;
  ASSERT_TRUE(StartIntoRoom(&room, "rw_dbgames"));
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string users = std::string(temp) + "rw_dbgames\\Users\\";
  CreateDirectoryA(users.c_str(), nullptr);
  guitest::Pump(800);
  const int total = room.Count();
  ASSERT_EQ(total, 2014);
  const std::string database = FindFile(std::string(temp) + "rw_dbgames", "RWOnyxBase.gdg");
  ASSERT_FALSE(database.empty());
  // The list shows every game in the file's order: row r is game r + 1.
  auto rowDeleted = [&](int row) { return GameDeleted(database, row + 1); };

  // Ten games selected with the keys: asked, then deleted without a
  // progress box.
  guitest::Click(room.RowPoint(0));
  guitest::Pump(300);
  for (int i = 0; i < 9; ++i) guitest::Chord({VK_SHIFT}, VK_DOWN);
  guitest::Pump(300);
  PostMessageA(room.frame, WM_COMMAND, 40108, 0);
  Box box = AwaitBox(&room);
  EXPECT_EQ(box.text, "Are you sure you want to delete 10 games?");
  EXPECT_EQ(box.caption, "Confirm Game Delete");
  TitleWatch watch(room.program);
  Answer(box, kYes);
  guitest::Pump(800);
  EXPECT_FALSE(watch.Saw("Delete Games"));
  EXPECT_TRUE(Shot("dbwindow_deleted_games"));
  for (int row = 0; row < 12; ++row) EXPECT_EQ(rowDeleted(row), row < 10) << row;
  EXPECT_EQ(room.Count(), total);

  // Every game: eleven and more get the "Delete Games" box.
  SetForegroundWindow(room.frame);
  guitest::Chord({VK_CONTROL}, 'A');
  guitest::Pump(500);
  PostMessageA(room.frame, WM_COMMAND, 40108, 0);
  box = AwaitBox(&room);
  EXPECT_EQ(box.text, "Are you sure you want to delete 2014 games?");
  ASSERT_TRUE(guitest::ClickItem(box.window, kYes));
  HWND progress = nullptr;
  EXPECT_TRUE(guitest::WaitFor([&] { return watch.Saw("Delete Games"); }, 8000));
  ASSERT_TRUE(guitest::WaitFor([&] { return !FindWindowA(nullptr, "Delete Games"); }, 30000));
  guitest::Pump(500);
  EXPECT_TRUE(rowDeleted(1500));
  // Undeleted again, behind the "Undelete Games" box.
  PostMessageA(room.frame, WM_COMMAND, 40109, 0);
  box = AwaitBox(&room);
  EXPECT_EQ(box.text, "Are you sure you want to undelete 2014 games?");
  EXPECT_EQ(box.caption, "Confirm Game Undelete");
  ASSERT_TRUE(guitest::ClickItem(box.window, kYes));
  EXPECT_TRUE(guitest::WaitFor([&] { return watch.Saw("Undelete Games"); }, 8000));
  ASSERT_TRUE(guitest::WaitFor([&] { return !FindWindowA(nullptr, "Undelete Games"); }, 30000));
  guitest::Pump(500);
  for (int row : {0, 5, 9, 1500}) EXPECT_FALSE(rowDeleted(row)) << row;

  // Export of three selected games into the user's folder; onto the same
  // file again the program asks, and "No" writes nothing.
  guitest::Click(room.RowPoint(0));
  guitest::Pump(300);
  guitest::Chord({VK_SHIFT}, VK_DOWN);
  guitest::Chord({VK_SHIFT}, VK_DOWN);
  guitest::Pump(300);
  const std::string white = room.Dialog(room.panel, kSummaryId).substr(0, 15);
  PostMessageA(room.frame, WM_COMMAND, 40122, 0);
  ChooseFile("Export Game", "three");
  box = AwaitBox(&room);
  EXPECT_EQ(box.text, "Finished exporting 3 games.");
  EXPECT_EQ(box.caption, "Export Games");
  Answer(box, kOk);
  const std::string exported = users + "three.PGN";
  std::string text = ReadWhole(exported);
  EXPECT_EQ(Occurrences(text, "[Event "), 3u) << exported;
  EXPECT_NE(text.find("[White \"" + white), std::string::npos);
  WriteWhole(exported, "kept");
  PostMessageA(room.frame, WM_COMMAND, 40122, 0);
  ChooseFile("Export Game", "three");
  box = AwaitBox(&room);
  EXPECT_EQ(box.text, "A file with the same name already exists.\nDo you want to replace this file?");
  EXPECT_EQ(box.caption, "Export Games");
  Answer(box, kNo);
  EXPECT_EQ(ReadWhole(exported), "kept");
  PostMessageA(room.frame, WM_COMMAND, 40122, 0);
  ChooseFile("Export Game", "three");
  box = AwaitBox(&room);
  Answer(box, kYes);
  box = AwaitBox(&room);
  EXPECT_EQ(box.text, "Finished exporting 3 games.");
  Answer(box, kOk);
  EXPECT_EQ(ReadWhole(exported), text);

  // Import of a long file, cancelled from its progress box: what came in
  // stays, and the box says how much.
  WriteWhole(users + "many.pgn", ShortGames(20000));
  PostMessageA(room.frame, WM_COMMAND, 40120, 0);
  ChooseFile("Import Game", "many.pgn");
  ASSERT_TRUE(guitest::WaitFor([&] { return (progress = FindWindowA(nullptr, "Import Games")) != nullptr; }, 8000));
  guitest::Pump(700);
  char line[128] = "";
  GetDlgItemTextA(progress, 2004, line, sizeof line);
  EXPECT_EQ(std::string(line).rfind("Imported ", 0), 0u) << line;
  EXPECT_TRUE(Shot("dbwindow_import_progress"));
  ASSERT_TRUE(guitest::ClickItem(progress, IDCANCEL));
  box = AwaitBox(&room, 20000);
  int imported = -1;
  EXPECT_EQ(std::sscanf(box.text.c_str(), "Game import was stopped after importing %d games.", &imported), 1) << box.text;
  EXPECT_EQ(box.caption, "Import Games");
  EXPECT_GT(imported, 0);
  EXPECT_LT(imported, 20000);
  Answer(box, kOk);
  EXPECT_EQ(room.Count(), total + imported);
}

TEST(DatabaseRoom, OptimisesMakesAndDeletesDatabases) {
  Room room;
  ASSERT_TRUE(StartIntoRoom(&room, "rw_dbfiles"));
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "rw_dbfiles\\";
  const std::string users = folder + "Users\\";
  CreateDirectoryA(users.c_str(), nullptr);
  guitest::Pump(800);
  ASSERT_EQ(room.Count(), 2014);
  const std::string database = FindFile(folder, "RWOnyxBase.gdg");
  ASSERT_FALSE(database.empty());
  const std::string databaseFolder = database.substr(0, database.rfind('\\') + 1);

  // Optimise with both boxes checked: the index files are made again.
  PostMessageA(room.frame, WM_COMMAND, 40119, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (dialog = FindWindowA(nullptr, "Optimize Database")) != nullptr; }, 8000));
  guitest::Pump(400);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 2188), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 2187), BST_CHECKED);
  EXPECT_TRUE(Shot("dbwindow_optimize_dialog"));
  // Start stands only while something is to be done.
  ASSERT_TRUE(guitest::ClickItem(dialog, 2188));
  ASSERT_TRUE(guitest::ClickItem(dialog, 2187));
  guitest::Pump(200);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
  ASSERT_TRUE(guitest::ClickItem(dialog, 2188));
  ASSERT_TRUE(guitest::ClickItem(dialog, 2187));
  guitest::Pump(200);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
  ASSERT_TRUE(guitest::ClickItem(dialog, IDOK));
  Box box = AwaitBox(&room, 60000);
  EXPECT_EQ(box.text, "The database has been successfully optimized.");
  EXPECT_EQ(box.caption, "Optimize Database");
  Answer(box, kOk);
  EXPECT_TRUE(guitest::WaitFor([&] { return room.Count() == 2014; }, 8000));
  EXPECT_FALSE(FindFile(databaseFolder + "GdIndex", "RWOnyxBase.ghi").empty());

  // A new database from the template: made, not opened; then opened, with
  // no games and its key tree; games imported into it.
  PostMessageA(room.frame, WM_COMMAND, 40105, 0);
  ChooseFile("Create File", "fresh");
  box = AwaitBox(&room, 20000);
  EXPECT_EQ(box.text, "A new database has been created: fresh.gdg");
  EXPECT_EQ(box.caption, "Create database");
  Answer(box, kOk);
  EXPECT_EQ(room.Count(), 2014);
  PostMessageA(room.frame, WM_COMMAND, 40100, 0);
  ChooseFile("File Open", "fresh.gdg");
  ASSERT_TRUE(guitest::WaitFor([&] { return room.Count() == 0; }, 8000));
  guitest::Pump(500);
  EXPECT_NE(room.FindChild(nullptr, "Root"), nullptr);
  WriteWhole(users + "five.pgn", ShortGames(5));
  PostMessageA(room.frame, WM_COMMAND, 40120, 0);
  ChooseFile("Import Game", "five.pgn");
  box = AwaitBox(&room, 20000);
  EXPECT_EQ(box.text, "Finished importing 5 games.");
  Answer(box, kOk);
  EXPECT_EQ(room.Count(), 5);
  // Sorting now finds the template's index behind the games: updated on
  // request, after which the column sorts without a word.
  guitest::Click(room.HeaderCell(2));
  box = AwaitBox(&room);
  EXPECT_EQ(box.text, "The index files need to be updated. Do you want to update them now?");
  EXPECT_EQ(box.caption, "Confirm Index Update");
  Answer(box, kYes);
  box = AwaitBox(&room, 20000);
  EXPECT_EQ(box.text, "The index files have been successfully updated.");
  EXPECT_EQ(box.caption, "Update Index Files");
  Answer(box, kOk);
  guitest::Click(room.HeaderCell(2));
  guitest::Pump(1000);
  EXPECT_EQ(guitest::FindProgramWindow(room.program, "RWOMSGBOX"), nullptr);

  // An imported game with a comment and a variation on the Moves page; a
  // click on a bracket goes to the main line's end, as ">>" does.
  guitest::Click(room.RowPoint(0));
  guitest::Pump(400);
  PostMessageA(room.frame, WM_COMMAND, 40075, 0);
  guitest::Pump(500);
  HWND moves = GetDlgItem(room.panel, 206);
  ASSERT_NE(moves, nullptr);
  for (int id : {2195, 2196})
    if (IsDlgButtonChecked(moves, id) != BST_CHECKED) ClickCentre(GetDlgItem(moves, id));
  guitest::Pump(400);
  HWND board = GetDlgItem(moves, 1601), text = GetDlgItem(moves, 2110);
  ClickCentre(GetDlgItem(moves, 20000));
  guitest::Pump(500);
  const std::string end = BoardCodes(&room, board);
  ClickCentre(GetDlgItem(moves, 20005));
  guitest::Pump(400);
  RECT t;
  GetWindowRect(text, &t);
  int entry = -1;
  for (int x = t.left + 8; x < t.right - 8 && entry != 0x100000; x += 6) {
    guitest::Click(POINT{x, t.top + 10});
    guitest::Pump(150);
    entry = CurrentMoveEntry(&room, text);
  }
  EXPECT_EQ(entry, 0x100000);
  guitest::Pump(400);
  EXPECT_EQ(BoardCodes(&room, board), end);
  EXPECT_TRUE(Shot("dbwindow_moves_variations"));

  // Deleting the open database leaves the window empty, with no error.
  PostMessageA(room.frame, WM_COMMAND, 40102, 0);
  ChooseFile("Delete File", "fresh.gdg");
  box = AwaitBox(&room);
  EXPECT_EQ(box.text, "Are you sure you want to delete the database " + databaseFolder + "fresh.gdg?");
  EXPECT_EQ(box.caption, "Confirm Database Delete");
  Answer(box, kYes);
  guitest::Pump(1500);
  EXPECT_EQ(guitest::FindProgramWindow(room.program, "RWOMSGBOX"), nullptr);
  EXPECT_EQ(room.Count(), 0);
  EXPECT_EQ(GetFileAttributesA((databaseFolder + "fresh.gdg").c_str()), INVALID_FILE_ATTRIBUTES);

  // Opened with the dialog's Read Only box, the database may not be
  // changed: message 10068.
  PostMessageA(room.frame, WM_COMMAND, 40100, 0);
  HWND open = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (open = FindWindowA(nullptr, "File Open")) != nullptr; }, 8000));
  guitest::Pump(400);
  ASSERT_TRUE(guitest::ClickItem(open, 411));
  guitest::Pump(200);
  EXPECT_EQ(IsDlgButtonChecked(open, 411), BST_CHECKED);
  ChooseFile("File Open", "RWOnyxBase.gdg");
  ASSERT_TRUE(guitest::WaitFor([&] { return room.Count() == 2014; }, 8000));
  guitest::Click(room.RowPoint(0));
  guitest::Pump(400);
  PostMessageA(room.frame, WM_COMMAND, 40108, 0);
  box = AwaitBox(&room);
  EXPECT_EQ(box.text.rfind("This action cannot be performed because the current database has been opened as read-only.", 0),
            0u) << box.text;
  EXPECT_EQ(box.caption, "Cannot Perform Action");
  Answer(box, kOk);
  EXPECT_FALSE(GameDeleted(database, 1));
}

}  // namespace
