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

#include "guitest.h"

namespace {

const char* kFrameClass = "RWONYX_APP_CLASS";
constexpr int kDatabaseButton = 21560;
constexpr int kSummaryId = 2007;  // the panel's line naming the current game

bool Shot(const char* name) { return guitest::ScreenshotTo(RW_DBWINDOW_ARTEFACT_DIR, name); }

std::string Installed() {
  const char* dir = std::getenv("RW_PROGRAM_DIR");
  std::string s = dir ? dir : "";
  for (char& c : s)
    if (c == '/') c = '\\';
  return s;
}

std::string FreshCopy(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string to = std::string(temp) + name;
  std::error_code error;
  std::filesystem::remove_all(to, error);
  std::filesystem::copy(Installed(), to, std::filesystem::copy_options::recursive, error);
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
  for (char c : text) {
    const SHORT scan = VkKeyScanA(c);
    const WORD key = WORD(scan & 0xFF);
    if (scan & 0x100) guitest::Chord({VK_SHIFT}, key);
    else guitest::PressKey(key);
  }
}

std::string FindFile(const std::string& folder, const char* name) {
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
       it != std::filesystem::recursive_directory_iterator(); it.increment(error))
    if (it->path().filename() == name) return it->path().string();
  return "";
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

}  // namespace
