// The database window (see dbwindow_win32.h). The arithmetic, texts, header
// cache and search job are the OS-free core beside this folder; this file
// holds the windows, the room hooks and the module calls that open, list,
// sort and search a database.
#include "dbwindow_win32.h"

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "app_globals.h"
#include "app_main.h"
#include "columns.h"
#include "data_sets.h"
#include "facet_frame.h"
#include "file_dialog.h"
#include "fileops.h"
#include "frame_links.h"
#include "game_record.h"
#include "game_registry.h"
#include "gameview_win32.h"
#include "gdbase.h"
#include "headercache.h"
#include "keymove.h"
#include "keypath.h"
#include "layout.h"
#include "list_columns.h"
#include "main_frame.h"
#include "message_box.h"
#include "operator_menu.h"
#include "skinned_dialog.h"
#include "template_archive.h"
#include "pgn_write.h"
#include "profile.h"
#include "criteria.h"
#include "queryfile.h"
#include "room_switch.h"
#include "room_window.h"
#include "roomgame.h"
#include "searchjob.h"
#include "status.h"
#include "status_line.h"
#include "win_utils.h"
#include "window_table.h"

namespace {

// Control ids and the window's own messages.
enum : int {
  kPanelId = 201,
  kTabsId = 2109,
  kSummaryId = 2007,  // not 212: that is the Position Search page
  kKeyInfoPageId = 209,
  kListId = 2108,
  kSplitterId = 2006,
  kTreeId = 2005,
  kTreeHeaderId = 2008,
  kQueryPageId = 205,
  kQueryDialogId = 203,
  kFieldListFirst = 2159,
  kCriterionFirst = 2164,
  kSearchButton = 2001,
  kStopButton = 2118,
  kClearButton = 2180,
  kQueryListId = 2123,
  kQueryNameId = 2129,
  kQueryDeleteId = 2126,
};
enum : UINT {
  WM_DB_REFIT = 0x80A0,
  WM_DB_TREE_HAS_ITEMS = 0x80AA,
  WM_DB_SEARCH_PROGRESS = 0x80C8,
  WM_DB_REFRESH_STATUS = 0x80CE,
  WM_DB_SUMMARY = 0x8096,
  WM_SPLITTER_NOTIFY = 0x8602,
  WM_SPLITTER_MOVED = 0x8660,
  WM_SPLITTER_LIMITS = 0x8661,
};
constexpr const char kWindowClass[] = "DBEnvBaseClass";
constexpr const char kTreeHeaderClass[] = "RWJADE_TVHEADER";
constexpr const char kSection[] = "databaseroom";
constexpr const char kDefaultDatabase[] = "RWOnyxBase.gdg";
constexpr int kDefaultDatabaseSet = 12;
constexpr int kMaxTreeChildren = 200;
constexpr int32_t kTopKey = 1;
constexpr int kTreeIndent = 40;
constexpr int kTabStripWidth = 410;  // the five tabs at the panel's font
constexpr int kMenuId = 23;
constexpr int kContextMenuId = 42;
constexpr int kAcceleratorsId = 37;

struct DatabaseState {
  char path[260];
  char indexFolder[260];
  uint32_t statusFlags;
  int32_t file;
  int32_t keyBase;
  GdGameBuffer game;
  int32_t count;
  int32_t hasGame;  // the game buffer holds a game read from the list
  GdGameBuffer cacheGame;
  GameHeaderCache cache;
  SearchJob job;
  // The coach's opening statistics: a job of its own, so that a lookup
  // never resets the game list's hits and counts.
  SearchJob statsJob;
};

// Posts the worker's progress to the window (the window drains them).
class WindowSink final : public SearchSink {
 public:
  void SearchProgress(int stage) override {
    if (window) PostMessageA(window, WM_DB_SEARCH_PROGRESS, WPARAM(stage), 0);
  }
  HWND window = nullptr;
};

// Posts the end of an opening statistics job to the coach's window.
class CoachSink final : public StatisticsSink {
 public:
  void StatisticsDone(uint32_t tag, int used) override {
    if (window) PostMessageA(window, kCoachFindingsMessage, WPARAM(tag), LPARAM(used));
  }
  HWND window = nullptr;
};

HGLOBAL g_block = nullptr;
DatabaseState* g_state = nullptr;
WindowSink g_sink;
CoachSink g_coachSink;
HINSTANCE g_instance = nullptr;
HWND g_queryPage = nullptr;
HWND g_window = nullptr, g_panel = nullptr, g_tabs = nullptr, g_keyInfo = nullptr, g_list = nullptr,
     g_listHeader = nullptr, g_splitter = nullptr, g_tree = nullptr, g_treeHeader = nullptr;
HIMAGELIST g_images = nullptr;
// Settings and layout.
int g_showDeleted = 0, g_showComments = 1, g_showVariations = 0, g_notation = 0;
int g_topPane = 1, g_splitterPos = -2;
int g_rememberedKey = 0;
DatabaseColumn g_columns[kMaxDatabaseColumns + 1];
DatabaseStatusCounts g_counts;
bool g_keyMode = false;
bool g_programSelection = false;
bool g_roomSetUp = false;
int g_currentPage = 2;

HWND Frame() { return GetMainFrame(); }
const char* Text(uint32_t id) { return LoadOwnString(id); }

// ---- message boxes -------------------------------------------------------

void DbEnvErrorBox(const std::string& detail) {
  AppMessageBox(DbEnvErrorText(detail).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

// The program's message box under a caption of the database window's own.
const char* g_boxCaption = nullptr;

INT_PTR CALLBACK CaptionedBoxProc(HWND box, UINT message, WPARAM first, LPARAM second) {
  const INT_PTR answer = MessageBoxDlgProc(box, message, first, second);
  if (message == WM_INITDIALOG && g_boxCaption && g_boxCaption[0]) SetWindowTextA(box, g_boxCaption);
  return answer;
}

int DatabaseBox(const std::string& text, const std::string& caption, UINT flags) {
  const char* outer = g_boxCaption;
  g_boxCaption = caption.c_str();
  const int answer = RunMessageBoxDialog(text.c_str(), flags, nullptr, 0, CaptionedBoxProc, Frame());
  g_boxCaption = outer;
  return answer;
}

// The text's "%1" (or "%1!u!") or its printf field receives `insert`.
std::string DatabaseText(uint32_t textId, const char* insert) {
  std::string full = Text(textId);
  const size_t at = full.find("%1");
  if (at != std::string::npos) {
    size_t length = 2;
    if (full.compare(at + 2, 3, "!u!") == 0) length = 5;
    full.replace(at, length, insert ? insert : "");
  } else {
    char text[512];
    std::snprintf(text, sizeof text, Text(textId), insert ? insert : "");
    full = text;
  }
  return full;
}

int DatabaseMessageBox(uint32_t textId, uint32_t captionId, UINT flags, const char* insert = nullptr) {
  return DatabaseBox(DatabaseText(textId, insert), Text(captionId), flags);
}

// ---- status line ---------------------------------------------------------

void RefreshDatabaseStatus() {
  if (!Frame()) return;
  const std::string text = FormatDatabaseStatus(g_counts);
  SendMessageA(Frame(), CWM_STATUS_SETTEXT, 0, LPARAM(text.c_str()));
}

void SetDatabaseStatus(int kind, uint32_t value, const char* text = nullptr) {
  if (kind == 4) {
    if (Frame()) SendMessageA(Frame(), CWM_STATUS_SETTEXT, 2, LPARAM(text ? text : ""));
    return;
  }
  if (ApplyDatabaseStatus(&g_counts, kind, value)) RefreshDatabaseStatus();
}

// ---- columns -------------------------------------------------------------

void DefaultColumns() {
  ListColumnSpec table[kMaxListColumns + 1];
  DefaultColumnTable(table);
  int n = 0;
  for (; n < kMaxDatabaseColumns && table[n].id; ++n)
    g_columns[n] = DatabaseColumn{int32_t(table[n].id), int32_t(table[n].format), int32_t(table[n].width),
                                  int32_t(table[n].order)};
  g_columns[n] = DatabaseColumn{0, 0, 0, 0};
}

int ColumnCount() {
  int n = 0;
  while (n < kMaxDatabaseColumns && g_columns[n].id) ++n;
  return n;
}

void CacheColumns() {
  int32_t ids[kMaxDatabaseColumns + 1] = {};
  for (int i = 0; i < ColumnCount(); ++i) ids[i] = g_columns[i].id;
  SetHeaderCacheColumns(&g_state->cache, ids);
}

const char* ColumnTitle(int32_t id) {
  const int index = ColumnCatalogueIndex(uint32_t(id));
  if (id == int32_t(kStatusColumnId) || index < 0) return Text(10001);
  return Text(uint32_t(10002 + index));
}

void RebuildListColumns() {
  if (!g_list) return;
  while (SendMessageA(g_list, LVM_DELETECOLUMN, 0, 0)) {
  }
  for (int i = 0; i < ColumnCount(); ++i) {
    LVCOLUMNA c{};
    c.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    const int format = g_columns[i].format;
    c.fmt = format == 1 ? LVCFMT_RIGHT : format == 2 ? LVCFMT_CENTER : LVCFMT_LEFT;
    if (i == 0) c.fmt = LVCFMT_LEFT;
    // The Status column shows its flags as the row's picture.
    if (g_columns[i].id == int32_t(kStatusColumnId)) c.fmt |= LVCFMT_IMAGE;
    c.cx = std::max(10, int(g_columns[i].width));
    // The Status column is at least as wide as its title.
    if (g_columns[i].id == int32_t(kStatusColumnId)) c.cx = std::max(c.cx, 62);
    c.pszText = const_cast<char*>(ColumnTitle(g_columns[i].id));
    c.iSubItem = i;
    SendMessageA(g_list, LVM_INSERTCOLUMNA, WPARAM(i), LPARAM(&c));
  }
}

// The last column takes what the others leave of the list's width.
void FitListColumns() {
  const int n = ColumnCount();
  if (!g_list || n == 0) return;
  RECT client;
  GetClientRect(g_list, &client);
  int used = 0;
  for (int i = 0; i < n - 1; ++i) used += int(SendMessageA(g_list, LVM_GETCOLUMNWIDTH, WPARAM(i), 0));
  const int last = std::max<int>(int(g_columns[n - 1].width), client.right - used);
  if (last != int(SendMessageA(g_list, LVM_GETCOLUMNWIDTH, WPARAM(n - 1), 0)))
    SendMessageA(g_list, LVM_SETCOLUMNWIDTH, WPARAM(n - 1), last);
}

void ReadColumnWidths() {
  if (!g_list) return;
  for (int i = 0; i < ColumnCount(); ++i) {
    const LRESULT w = SendMessageA(g_list, LVM_GETCOLUMNWIDTH, WPARAM(i), 0);
    if (w > 0) g_columns[i].width = int32_t(w);
  }
}

// ---- the game list's rows ------------------------------------------------

int RowsPerPage() {
  const LRESULT n = g_list ? SendMessageA(g_list, LVM_GETCOUNTPERPAGE, 0, 0) : 0;
  return n > 0 ? int(n) : 20;
}

void ResetCache() {
  ResetHeaderCache(&g_state->cache, RowsPerPage() + 1);
  CacheColumns();
}

HeaderCacheSource CacheSource() {
  HeaderCacheSource s;
  s.file = g_state->file;
  s.game = g_state->cacheGame;
  s.rowGames = reinterpret_cast<const int32_t*>(g_state->job.hits.data());
  s.rowCount = std::min<int32_t>(g_state->job.hitCount, int32_t(g_state->job.hits.size()));
  return s;
}

void SetListCount(int count, bool keepScroll) {
  if (g_list)
    SendMessageA(g_list, LVM_SETITEMCOUNT, WPARAM(std::max(count, 0)), keepScroll ? LVSICF_NOSCROLL : 0);
}

int RowImage(const char* flags) {
  int image = 2;
  if (std::strchr(flags, 'D')) return 6;
  if (std::strchr(flags, 'P')) image = 9;
  if (image == 2 && std::strchr(flags, 'A')) image = 8;
  if (image == 2 && std::strchr(flags, 'V')) image = 8;
  return image;
}

void OnGetDisplayInfo(NMLVDISPINFOA* info) {
  LVITEMA& item = info->item;
  if (!g_state->file) {
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) item.pszText[0] = 0;
    return;
  }
  std::lock_guard<std::mutex> hold(g_state->job.hitsLock);
  const HeaderCacheEntry* entry = FindCachedHeader(&g_state->cache, CacheSource(), item.iItem);
  if ((item.mask & LVIF_IMAGE)) item.iImage = entry ? RowImage(GetCachedHeaderText(entry, 0)) : 2;
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
    // The Status column shows its flags as the row's picture.
    const char* text = !entry ? "cache error" : item.iSubItem == 0 ? "" : GetCachedHeaderText(entry, item.iSubItem);
    std::snprintf(item.pszText, size_t(item.cchTextMax), "%s", text);
  }
}

void OnCacheHint(const NMLVCACHEHINT* hint) {
  if (!g_state->file) return;
  std::lock_guard<std::mutex> hold(g_state->job.hitsLock);
  FillHeaderCache(&g_state->cache, CacheSource(), hint->iFrom, hint->iTo);
}

void ReadFocusedGame(int row) {
  if (!g_state->file || !g_state->game) return;
  const uint32_t number = GetHitGameNumber(&g_state->job, row);
  g_state->hasGame = GdReadGame(g_state->game, g_state->file, int32_t(number)) ? 1 : 0;
  if (!g_state->hasGame) return;
  char white[64] = "", black[64] = "", result[16] = "";
  GdGetHeaderInfo(g_state->game, 5, white, sizeof white);
  GdGetHeaderInfo(g_state->game, 6, black, sizeof black);
  GdGetHeaderInfo(g_state->game, 16, result, sizeof result);
  char summary[200];
  std::snprintf(summary, sizeof summary, "%s - %s  %s", white, black, result);
  if (g_panel) SetDlgItemTextA(g_panel, kSummaryId, summary);
  ShowGame(g_state->game);
}

// ---- sorting -------------------------------------------------------------

void UpdateIndexFiles(HWND owner);

void SortGameList(int position) {
  DatabaseState* s = g_state;
  if (!s->file) return;
  if (IsSearchRunning(&s->job)) {
    DatabaseMessageBox(10094, 10067, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (position < 0 || position >= ColumnCount()) return;
  HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  if (s->job.capacity == 0 && !FillAllGamesHitList(&s->job, s->count)) {
    SetCursor(old);
    return;
  }
  const int32_t id = g_columns[position].id;
  const bool ascending = s->job.lastSort != id;
  int answer = 0;
  {
    std::lock_guard<std::mutex> hold(s->job.hitsLock);
    const int32_t n = s->job.hitCount;
    std::vector<int32_t> sorted;
    try {
      sorted.resize(size_t(std::max(n, 0)));
    } catch (const std::bad_alloc&) {
      SetCursor(old);
      return;
    }
    answer = GdIndexSort(s->file, s->indexFolder, reinterpret_cast<const int32_t*>(s->job.hits.data()),
                         sorted.data(), n, id, ascending ? 1 : 0);
    if (answer == 0) {
      for (int32_t i = 0; i < n; ++i) s->job.hits[size_t(i)] = uint32_t(sorted[size_t(i)]);
      s->job.lastSort = ascending ? id : -id;
    }
  }
  ResetCache();
  SetCursor(old);
  InvalidateRect(g_list, nullptr, FALSE);
  if (answer == 3) DatabaseMessageBox(10091, 10092, MB_OK | MB_ICONINFORMATION);
  if (answer == 4 && DatabaseMessageBox(10089, 10090, MB_YESNO | MB_ICONQUESTION) == IDYES) UpdateIndexFiles(Frame());
}

// ---- the key tree --------------------------------------------------------

struct KeyInfoRecord {
  char head[4];
  char code[256];
  char name[256];
  char remark[256];
  int32_t keysBelow, gamesBelow, children, gamesHere, parent, depth;
  int32_t whiteWins, draws, blackWins, whiteRating, blackRating;
  char rest[816 - 772 - 44];
};
static_assert(sizeof(KeyInfoRecord) == 816, "key information record");

bool ReadKeyInfo(int32_t key, KeyInfoRecord* info) {
  std::memset(info, 0, sizeof *info);
  // Key numbers are signed; 0 is no key.
  return key != 0 && GdGetKeyInfo(key, info) != 0;
}

HTREEITEM InsertKeyItem(HTREEITEM parent, int32_t key) {
  KeyMoveRecord move{0, 0};
  GdGetKeyMove(key, &move);
  char text[32] = "";
  FormatKeyMove(move, 0, g_notation == 0 ? 1 : g_notation, text);
  KeyInfoRecord info;
  ReadKeyInfo(key, &info);
  TVINSERTSTRUCTA ins{};
  ins.hParent = parent;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
  ins.item.pszText = text;
  ins.item.lParam = key;
  ins.item.cChildren = info.children > 0 ? 1 : 0;
  return reinterpret_cast<HTREEITEM>(SendMessageA(g_tree, TVM_INSERTITEMA, 0, LPARAM(&ins)));
}

// The key's children, the first 200 of them, under the item.
void InsertChildKeys(HTREEITEM item, int32_t key) {
  if (!g_tree) return;
  // Filled before? (The root's first child is asked for as the first root item.)
  const bool root = item == TVI_ROOT;
  if (SendMessageA(g_tree, TVM_GETNEXTITEM, root ? TVGN_ROOT : TVGN_CHILD, root ? 0 : LPARAM(item))) return;
  int32_t children[kMaxTreeChildren + 1] = {};
  const int32_t n = GdGetChildKeys(key, children, kMaxTreeChildren + 1);
  for (int32_t i = 0; i < n && i < kMaxTreeChildren; ++i) InsertKeyItem(item, children[i]);
}

int32_t ItemKey(HTREEITEM item) {
  TVITEMA tv{};
  tv.mask = TVIF_PARAM | TVIF_HANDLE;
  tv.hItem = item;
  return SendMessageA(g_tree, TVM_GETITEMA, 0, LPARAM(&tv)) ? int32_t(tv.lParam) : 0;
}

// The item's children, and theirs one level ahead, so that the tree shows
// a button (and the keyboard can open it) wherever there is more below.
void ExpandKeyItem(HTREEITEM item, int32_t key) {
  InsertChildKeys(item, key);
  const bool root = item == TVI_ROOT;
  for (auto child = HTREEITEM(SendMessageA(g_tree, TVM_GETNEXTITEM, root ? TVGN_ROOT : TVGN_CHILD,
                                           root ? 0 : LPARAM(item)));
       child; child = HTREEITEM(SendMessageA(g_tree, TVM_GETNEXTITEM, TVGN_NEXT, LPARAM(child))))
    InsertChildKeys(child, ItemKey(child));
}

void ClearKeyTree() {
  if (g_tree) SendMessageA(g_tree, TVM_DELETEITEM, 0, LPARAM(TVI_ROOT));
}

// The top key stands for the starting position: the tree's one top item,
// "Root" as the header strip names its level, opened on the first moves.
void FillKeyTree() {
  ClearKeyTree();
  if (!g_state->keyBase || !g_tree) return;
  const std::string label = KeyTreeLevelLabel(0);
  TVINSERTSTRUCTA ins{};
  ins.hParent = TVI_ROOT;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
  ins.item.pszText = const_cast<char*>(label.c_str());
  ins.item.lParam = kTopKey;
  ins.item.cChildren = 1;
  auto top = reinterpret_cast<HTREEITEM>(SendMessageA(g_tree, TVM_INSERTITEMA, 0, LPARAM(&ins)));
  if (!top) return;
  ExpandKeyItem(top, kTopKey);
  g_programSelection = true;
  SendMessageA(g_tree, TVM_EXPAND, TVE_EXPAND, LPARAM(top));
  g_programSelection = false;
  if (g_treeHeader) InvalidateRect(g_treeHeader, nullptr, TRUE);
}

void ClearKeyInfoPage() {
  if (!g_keyInfo) return;
  for (int id = 2301; id <= 2306; ++id) SetDlgItemTextA(g_keyInfo, id, "");
}

void FillKeyInfoPage(int32_t key) {
  if (!g_keyInfo) return;
  KeyInfoRecord info;

  if (!ReadKeyInfo(key, &info)) {
    ClearKeyInfoPage();
    return;
  }
  SetDlgItemTextA(g_keyInfo, 2301, info.code);
  SetDlgItemTextA(g_keyInfo, 2302, info.name);
  SetDlgItemTextA(g_keyInfo, 2303, info.remark);
  char text[160];
  std::snprintf(text, sizeof text, "%ld in this line, %ld here", long(info.gamesBelow), long(info.gamesHere));
  SetDlgItemTextA(g_keyInfo, 2304, text);
  std::snprintf(text, sizeof text, "White wins %ld, draws %ld, Black wins %ld", long(info.whiteWins),
                long(info.draws), long(info.blackWins));
  SetDlgItemTextA(g_keyInfo, 2305, text);
  std::snprintf(text, sizeof text, "White %ld, Black %ld (average)", long(info.whiteRating),
                long(info.blackRating));
  SetDlgItemTextA(g_keyInfo, 2306, text);
}

void ListKeyGames(int32_t key);

void OnTreeNotify(NMHDR* header) {
  if (header->code == TVN_ITEMEXPANDINGA) {
    auto* nm = reinterpret_cast<NMTREEVIEWA*>(header);
    if (nm->action & TVE_EXPAND) ExpandKeyItem(nm->itemNew.hItem, int32_t(nm->itemNew.lParam));
  } else if (header->code == TVN_ITEMEXPANDEDA) {
    if (g_treeHeader) InvalidateRect(g_treeHeader, nullptr, TRUE);
  } else if (header->code == TVN_SELCHANGEDA) {
    auto* nm = reinterpret_cast<NMTREEVIEWA*>(header);
    const int32_t key = int32_t(nm->itemNew.lParam);
    FillKeyInfoPage(key);
    // Only the user's choice in key mode lists the key's games.
    if (!g_programSelection && g_keyMode && (nm->action == TVC_BYMOUSE || nm->action == TVC_BYKEYBOARD))
      ListKeyGames(key);
  }
}

LRESULT CALLBACK TreeHeaderProc(HWND window, UINT message, WPARAM first, LPARAM second) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT r;
    GetClientRect(window, &r);
    TRIVERTEX v[2] = {{r.left, r.top, 0xE800, 0xE000, 0xD000, 0}, {r.right, r.bottom, 0xB800, 0xAC00, 0x9400, 0}};
    GRADIENT_RECT g{0, 1};
    GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(g_tree ? g_tree : window, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(40, 30, 20));
    const int offset = g_tree ? GetScrollPos(g_tree, SB_HORZ) : 0;
    for (int column = 0;; ++column) {
      int left = 0, right = 0;
      KeyTreeHeaderColumn(column, kTreeIndent, offset, &left, &right);
      if (left >= r.right) break;
      if (right <= 0) continue;
      RECT cell{left, r.top, right, r.bottom};
      const std::string label = KeyTreeLevelLabel(column);
      DrawTextA(dc, label.c_str(), -1, &cell, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
      HPEN pen = CreatePen(PS_SOLID, 1, RGB(150, 135, 110));
      HGDIOBJ oldPen = SelectObject(dc, pen);
      MoveToEx(dc, right - 1, r.top + 2, nullptr);
      LineTo(dc, right - 1, r.bottom - 2);
      SelectObject(dc, oldPen);
      DeleteObject(pen);
    }
    if (oldFont) SelectObject(dc, oldFont);
    EndPaint(window, &ps);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;
  return DefWindowProcA(window, message, first, second);
}

// ---- searches ------------------------------------------------------------

void StopDatabaseSearch() {
  if (!IsSearchRunning(&g_state->job)) return;
  WaitForSearchJob(&g_state->job);
}

void DrainSearchMessages() {
  MSG m;
  while (g_window && PeekMessageA(&m, g_window, WM_DB_SEARCH_PROGRESS, WM_DB_SEARCH_PROGRESS, PM_REMOVE)) {
  }
}

void StartQuery(const SearchQuery& query) {
  DatabaseState* s = g_state;
  if (!s->file) return;
  // One worker at a time: a coach lookup still collecting ends first.
  WaitForSearchJob(&s->statsJob);
  WaitForSearchJob(&s->job);
  DrainSearchMessages();
  ResetCache();
  const DatabaseSearchStart started = StartDatabaseSearch(&s->job, &g_sink, s->file, s->count, query);
  if (started == DatabaseSearchStart::kShowAll) {
    FillAllGamesHitList(&s->job, s->count);
    SetListCount(s->count, false);
    SetDatabaseStatus(2, 0);
    g_counts.found = kStatusNotShown;
    RefreshDatabaseStatus();
  } else if (started == DatabaseSearchStart::kShowNone) {
    SetListCount(0, false);
    SetDatabaseStatus(2, 0);
  } else if (started == DatabaseSearchStart::kStarted) {
    SetListCount(0, false);
  }
  InvalidateRect(g_list, nullptr, TRUE);
}

void ListKeyGames(int32_t key) {
  SearchQuery query;
  std::memset(&query, 0, sizeof query);
  query.kind = 2;
  query.key = key;
  StartQuery(query);
}

// Both search pages: a button about to be disabled while it holds the focus
// hands it to the page's Clear button first.
int EnableSearchButtons(bool search, bool stop) {
  EnablePositionSearchButtons(search, stop);
  if (!g_queryPage) return 0;
  HWND searchButton = GetDlgItem(g_queryPage, kSearchButton), stopButton = GetDlgItem(g_queryPage, kStopButton);
  HWND focus = GetFocus();
  if ((!search && focus == searchButton) || (!stop && focus == stopButton))
    SendMessageA(g_queryPage, WM_NEXTDLGCTL, WPARAM(GetDlgItem(g_queryPage, kClearButton)), TRUE);
  EnableWindow(searchButton, search);
  EnableWindow(stopButton, stop);
  return 1;
}

void OnSearchProgress(WPARAM stage) {
  DatabaseState* s = g_state;
  if (stage == 1) EnableSearchButtons(false, true);
  if (stage == 2) EnableSearchButtons(true, false);
  if (stage == 1 && Frame()) SendMessageA(Frame(), CWM_STATUS_KIND, kProgressPart, 2);
  const int32_t hits = s->job.hitCount;
  SetListCount(hits, true);
  g_counts.found = uint32_t(hits);
  RefreshDatabaseStatus();
  const int32_t total = std::max<int32_t>(s->job.total, 1);
  if (Frame()) SendMessageA(Frame(), CWM_STATUS_PROGRESS, kProgressPart, WPARAM(s->job.currentGame * 100 / total));
  if (stage == 2 && Frame()) {
    SendMessageA(Frame(), CWM_STATUS_KIND, kProgressPart, 1);  // back to text
    if (hits > 0) {
      ListView_SetItemState(g_list, 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    }
  }
  InvalidateRect(g_list, nullptr, FALSE);
}

// ---- layout --------------------------------------------------------------

int WindowHeightOf(HWND w) {
  if (!w || !IsWindowVisible(w)) return 0;
  RECT r;
  GetWindowRect(w, &r);
  return r.bottom - r.top;
}

void LayoutDatabaseWindow(HWND window, bool redraw, int request) {
  RECT client;
  GetClientRect(window, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  DatabaseLayoutInput in;
  in.width = client.right;
  in.height = client.bottom;
  if (g_panel && IsWindowVisible(g_panel)) {
    RECT p;
    GetWindowRect(g_panel, &p);
    in.panelHeight = p.bottom - p.top;
    if (p.right - p.left != in.width) SetWindowPos(g_panel, nullptr, 0, 0, in.width, in.panelHeight, SWP_NOZORDER);
  }
  in.splitterHeight = g_splitter ? WindowHeightOf(g_splitter) : 0;
  if (!in.splitterHeight) in.splitterHeight = 4;
  in.listHeight = WindowHeightOf(g_list);
  in.keyPaneShown = g_tree && IsWindowVisible(g_tree);
  in.keyHeight = in.keyPaneShown ? WindowHeightOf(g_tree) + WindowHeightOf(g_treeHeader) : 0;
  const int rowHeight = 16;
  in.listShowsFullRow = in.listHeight > 2 * rowHeight;
  in.keyTreeHasItems = g_tree && SendMessageA(g_tree, TVM_GETCOUNT, 0, 0) > 0;
  DatabaseLayout out;
  if (!ComputeDatabaseLayout(in, request, &g_rememberedKey, &out)) return;
  HDWP defer = BeginDeferWindowPos(5);
  const UINT flags = SWP_NOZORDER | (redraw ? 0 : SWP_NOREDRAW);
  if (g_list) defer = DeferWindowPos(defer, g_list, nullptr, 0, out.listTop, in.width, out.listHeight, flags);
  if (g_splitter)
    defer = DeferWindowPos(defer, g_splitter, nullptr, 0, out.splitterTop, in.width, in.splitterHeight, flags);
  if (g_treeHeader && in.keyPaneShown)
    defer = DeferWindowPos(defer, g_treeHeader, nullptr, 0, out.stripTop, in.width, out.stripHeight, flags);
  if (g_tree && in.keyPaneShown)
    defer = DeferWindowPos(defer, g_tree, nullptr, 0, out.treeTop, in.width, out.treeHeight, flags);
  EndDeferWindowPos(defer);
  if (g_state && g_state->file) {
    std::lock_guard<std::mutex> hold(g_state->job.hitsLock);
    g_state->cache.margin = RowsPerPage() + 1;
  }
  FitListColumns();
  if (Frame()) {
    int parts[3];
    DatabaseStatusParts(in.width, parts);
    SendMessageA(Frame(), CWM_STATUS_LAYOUT, 3, LPARAM(parts));
  }
  if (redraw && g_list) InvalidateRect(g_list, nullptr, FALSE);
}

void ShowChildPane(HWND child, bool show) {
  if (!child || (IsWindowVisible(child) != FALSE) == show) return;
  ShowWindow(child, show ? SW_SHOW : SW_HIDE);
  LayoutDatabaseWindow(g_window, true, kLayoutShare);
}

void SaveListState() {
  ReadColumnWidths();
  if (g_window && g_splitter && IsWindowVisible(g_window)) {
    RECT s;
    GetWindowRect(g_splitter, &s);
    MapWindowPoints(nullptr, g_window, reinterpret_cast<POINT*>(&s), 2);
    g_splitterPos = s.top;
  }
  g_topPane = WindowHeightOf(g_panel) > 0 ? 1 : 0;
}

// ---- panel ---------------------------------------------------------------

HWND PanelPage(int page) {
  switch (page) {
    case 0:
      return MovesPage();
    case 1:
      return GameInfoPage();
    case 2:
      return g_keyInfo;
    case 3:
      return g_queryPage;
    case 4:
      return PositionSearchPage();
  }
  return nullptr;
}

void SelectPanelPage(int page) {
  g_currentPage = page;
  if (g_tabs) SendMessageA(g_tabs, TCM_SETCURSEL, WPARAM(page), 0);
  // Only the shown page is enabled.
  for (int p = 0; p < 5; ++p)
    if (HWND w = PanelPage(p)) {
      if (p == page) {
        EnableWindow(w, TRUE);
        SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
      } else {
        ShowWindow(w, SW_HIDE);
        EnableWindow(w, FALSE);
      }
    }
}

void PlacePanelPages() {
  if (!g_tabs || !g_keyInfo) return;
  RECT r;
  GetClientRect(g_panel, &r);
  SetWindowPos(g_tabs, nullptr, 0, 0, r.right, r.bottom, SWP_NOZORDER | SWP_NOMOVE);
  GetClientRect(g_tabs, &r);
  SendMessageA(g_tabs, TCM_ADJUSTRECT, FALSE, LPARAM(&r));
  MapWindowPoints(g_tabs, g_panel, reinterpret_cast<POINT*>(&r), 2);
  for (int p = 0; p < 5; ++p)
    if (HWND w = PanelPage(p)) SetWindowPos(w, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, 0);
  // The game's summary stands right of the five tabs.
  if (HWND summary = GetDlgItem(g_panel, kSummaryId)) {
    RECT panel;
    GetClientRect(g_panel, &panel);
    const int left = kTabStripWidth;
    SetWindowPos(summary, HWND_TOP, left, 3, std::max<int>(0, panel.right - left - 8), 14, 0);
  }
}

INT_PTR CALLBACK PanelProc(HWND dialog, UINT message, WPARAM first, LPARAM second) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_SIZE:
      PlacePanelPages();
      return TRUE;
    case WM_NOTIFY: {
      auto* h = reinterpret_cast<NMHDR*>(second);
      if (h->idFrom == UINT_PTR(kTabsId) && h->code == UINT(TCN_SELCHANGE))
        SelectPanelPage(int(SendMessageA(g_tabs, TCM_GETCURSEL, 0, 0)));
      return TRUE;
    }
    case WM_CONTEXTMENU:
      // The database window's context menu, whose "Hide this View" hides
      // the panel: the panel owns the menu and takes that command itself.
      if (CmMenu* menu = cmLoadMenu(g_instance, MAKEINTRESOURCEA(kContextMenuId))) {
        RECT anchor{short(LOWORD(second)), short(HIWORD(second)), short(LOWORD(second)), short(HIWORD(second))};
        cmTrackPopupMenu(cmGetSubMenu(menu, 0), &anchor, dialog, 0);
        cmDestroyMenu(menu);
      }
      return TRUE;
    case WM_COMMAND:
      // Enter is taken and does nothing; the pages' own control
      // notifications are no commands; menu and accelerator commands go on
      // to the database window.
      if (LOWORD(first) == IDOK) return TRUE;
      if (second != 0) return TRUE;
      if (LOWORD(first) == 40001) {
        ShowChildPane(g_panel, false);
        return TRUE;
      }
      if (g_window) SendMessageA(g_window, WM_COMMAND, first, second);
      return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK KeyInfoProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

void ShowPanelPage(int page) {
  if (g_panel && !IsWindowVisible(g_panel)) {
    ShowWindow(g_panel, SW_SHOW);
    LayoutDatabaseWindow(g_window, true, kLayoutKeep);
  }
  SelectPanelPage(page);
}


void ShowPanelPage(int page);

// ---- the game view's host -------------------------------------------------

// The tree item of `key`, opened down from the top key along its parents;
// null when the key is not in the tree.
HTREEITEM FindKeyItem(int32_t key) {
  if (!g_tree || !key) return nullptr;
  int32_t chain[256];
  int n = 0;
  // The tree holds the handles the module hands out, the parent links the
  // key library's own values (the same keys with the other sign).
  for (int32_t k = key; k && std::abs(k) != kTopKey && n < 255; ++n) {
    chain[n] = std::abs(k);
    KeyInfoRecord info;
    if (!ReadKeyInfo(k, &info)) return nullptr;
    k = info.parent;
  }
  auto item = HTREEITEM(SendMessageA(g_tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  for (int i = n - 1; i >= 0 && item; --i) {
    ExpandKeyItem(item, ItemKey(item));
    auto child = HTREEITEM(SendMessageA(g_tree, TVM_GETNEXTITEM, TVGN_CHILD, LPARAM(item)));
    while (child && std::abs(ItemKey(child)) != chain[i])
      child = HTREEITEM(SendMessageA(g_tree, TVM_GETNEXTITEM, TVGN_NEXT, LPARAM(child)));
    item = child;
  }
  return item;
}

// Follows the shown game in the key tree; in key mode the tree is the
// user's and stays where it is. A program selection starts no search.
void SelectKeyForPly(int, int32_t key) {
  if (g_keyMode || !g_state || !g_state->keyBase) return;
  HTREEITEM item = FindKeyItem(key);
  if (!item) return;
  g_programSelection = true;
  SendMessageA(g_tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(item));
  SendMessageA(g_tree, TVM_ENSUREVISIBLE, 0, LPARAM(item));
  g_programSelection = false;
}

void MarkGameKeyPath(const int32_t* keys, int count) {
  static std::vector<HTREEITEM> marked;
  for (HTREEITEM item : marked) {
    TVITEMA tv{};
    tv.mask = TVIF_STATE | TVIF_HANDLE;
    tv.hItem = item;
    tv.stateMask = TVIS_BOLD;
    SendMessageA(g_tree, TVM_SETITEMA, 0, LPARAM(&tv));
  }
  marked.clear();
  if (!g_tree || !g_state || !g_state->keyBase) return;
  for (int i = 0; i < count; ++i) {
    if (!keys[i] || (i > 0 && keys[i] == keys[i - 1])) continue;
    HTREEITEM item = FindKeyItem(keys[i]);
    if (!item) continue;
    TVITEMA tv{};
    tv.mask = TVIF_STATE | TVIF_HANDLE;
    tv.hItem = item;
    tv.state = tv.stateMask = TVIS_BOLD;
    SendMessageA(g_tree, TVM_SETITEMA, 0, LPARAM(&tv));
    marked.push_back(item);
  }
}

bool CopyKeyPosition(sPosition* out) {
  if (!g_tree || !g_state || !g_state->keyBase) return false;
  auto item = HTREEITEM(SendMessageA(g_tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  const int32_t key = item ? ItemKey(item) : 0;
  return key && GdGetKeyPosition(key, out) != 0;
}

void SeekRoomGame(int ply) {
  if (GameRecord* game = GetGameForOwner(ROOM_DATABASE)) GoToPly(game, ply, true);
}

void StartQuery(const SearchQuery& query);
void StopDatabaseSearch();
void RebuildRoomGame();

GameViewHost MakeGameViewHost() {
  GameViewHost h;
  h.showComments = &g_showComments;
  h.showVariations = &g_showVariations;
  h.notation = &g_notation;
  h.keyBase = [] { return g_state ? g_state->keyBase : 0; };
  h.keyMode = [] { return g_keyMode; };
  h.rebuildRoomGame = [] { RebuildRoomGame(); };
  h.seekRoomGame = SeekRoomGame;
  h.selectKeyForPly = SelectKeyForPly;
  h.markKeyPath = MarkGameKeyPath;
  h.startSearch = [](const SearchQuery& q) { StartQuery(q); };
  h.stopSearch = [] { StopDatabaseSearch(); };
  h.showDeleted = [] { return g_showDeleted; };
  h.copyKeyPosition = CopyKeyPosition;
  h.messageBox = [](uint32_t text, uint32_t caption, UINT flags) { return DatabaseMessageBox(text, caption, flags); };
  return h;
}

// ---- the Data Query page and saved queries -------------------------------

constexpr int kQueryColumns = 5, kQueryRows = 3, kFieldCount = 22;
constexpr int kDefaultFields[kQueryColumns] = {15, 16, 8, 11, 9};

HWND FieldList(int column) { return g_queryPage ? GetDlgItem(g_queryPage, kFieldListFirst + column) : nullptr; }
int CriterionId(int column, int row) { return kCriterionFirst + 5 * row + column; }

void SetDefaultFields() {
  for (int c = 0; c < kQueryColumns; ++c) SendMessageA(FieldList(c), CB_SETCURSEL, WPARAM(kDefaultFields[c]), 0);
}

void FillFieldLists() {
  for (int c = 0; c < kQueryColumns; ++c) {
    HWND list = FieldList(c);
    if (!list) continue;
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    SendMessageA(list, CB_ADDSTRING, 0, LPARAM(Text(1918)));
    for (int f = 1; f <= kFieldCount; ++f) SendMessageA(list, CB_ADDSTRING, 0, LPARAM(Text(uint32_t(10025 + f))));
  }
  SetDefaultFields();
}

void ClearCriteriaTexts() {
  for (int c = 0; c < kQueryColumns; ++c)
    for (int r = 0; r < kQueryRows; ++r) SetDlgItemTextA(g_queryPage, CriterionId(c, r), "");
}

void ClearQueryPage() {
  if (!g_queryPage) return;
  ClearCriteriaTexts();
  SetDefaultFields();
}

int GetRowField(int column) {
  HWND list = FieldList(column);
  if (!list || !IsWindowVisible(list)) return 0;
  const LRESULT at = SendMessageA(list, CB_GETCURSEL, 0, 0);
  return at > 0 && at <= kFieldCount ? int(at) : 0;
}

// The page's criteria as typed (saving) or with their operators (searching).
void QueryFromPage(SearchQuery* q, bool operators) {
  std::memset(q, 0, sizeof *q);
  for (int c = 0; c < kQueryColumns; ++c)
    for (int r = 0; r < kQueryRows; ++r) {
      QueryCondition& k = q->conditions[c][r];
      GetDlgItemTextA(g_queryPage, CriterionId(c, r), k.value, sizeof k.value);
      k.field = k.value[0] ? GetRowField(c) : 0;
      if (!operators || !k.value[0]) continue;
      switch (k.field) {
        case 3: case 7: case 10: case 11: case 12: case 19: case 20:
          k.op = ParseNumberCriterion(k.value);
          break;
        case 6:
          k.op = ParseFlagCriterion(k.value);
          break;
        default:
          k.op = ParseTextCriterion(k.value);
      }
    }
}

void QueryIntoPage(const SearchQuery& q) {
  for (int c = 0; c < kQueryColumns; ++c) {
    SendMessageA(FieldList(c), CB_SETCURSEL, 0, 0);
    for (int r = 0; r < kQueryRows; ++r) {
      const QueryCondition& k = q.conditions[c][r];
      if (k.field > 0 && k.field <= kFieldCount) SendMessageA(FieldList(c), CB_SETCURSEL, WPARAM(k.field), 0);
      char text[sizeof k.value + 1];
      std::memcpy(text, k.value, sizeof k.value);
      text[sizeof k.value] = 0;
      SetDlgItemTextA(g_queryPage, CriterionId(c, r), text);
    }
  }
}

void StartQuery(const SearchQuery& query);
void StopDatabaseSearch();

void RunPageSearch() {
  SearchQuery q;
  QueryFromPage(&q, true);
  q.kind = 1;
  q.includeFlagged = g_showDeleted;
  StartQuery(q);
}

// ---- operator menus of the criterion edits ---------------------------------

constexpr char kQueryEditProp[] = "RookwellQueryEditProp";
CmMenu* g_operatorMenu = nullptr;
QueryMenuKind g_operatorKind = QueryMenuKind::kNone;
std::string g_operatorValue;

int EditColumn(HWND edit) {
  const int id = GetDlgCtrlID(edit);
  return id >= kCriterionFirst && id < kCriterionFirst + 15 ? (id - kCriterionFirst) % 5 : -1;
}

void ShowQueryOperatorMenu(HWND edit, int field, int x, int y) {
  char text[256] = "";
  GetWindowTextA(edit, text, sizeof text);
  g_operatorValue = QueryMenuValue(text, field);
  g_operatorKind = QueryMenuKindOfField(field);
  if (g_operatorMenu) cmDestroyMenu(g_operatorMenu);
  g_operatorMenu = cmCreatePopupMenu();
  if (!g_operatorMenu) return;
  int count = 0;
  const QueryMenuEntry* entries = QueryMenuEntries(g_operatorKind, &count);
  for (int i = 0; i < count; ++i) {
    // The value goes in up to three times: bounded to the menu's text.
    const std::string item = FormatQueryMenuText(entries[i].menu, g_operatorValue, 256);
    cmAppendMenu(g_operatorMenu, MF_STRING, UINT_PTR(kQueryMenuFirstId + i), item.c_str());
  }
  const RECT anchor{x, y, x + 1, y + 1};
  if (!cmTrackPopupMenu(g_operatorMenu, &anchor, edit, 0)) {
    cmDestroyMenu(g_operatorMenu);
    g_operatorMenu = nullptr;
  }
}

LRESULT CALLBACK QueryEditSubclassProc(HWND edit, UINT message, WPARAM first, LPARAM second) {
  auto previous = reinterpret_cast<WNDPROC>(GetPropA(edit, kQueryEditProp));
  if (message == WM_CONTEXTMENU) {
    SendMessageA(GetParent(edit), WM_CONTEXTMENU, WPARAM(edit), second);
    return 0;
  }
  if (message == WM_COMMAND && LOWORD(first) >= kQueryMenuFirstId && LOWORD(first) < kQueryMenuFirstId + 10) {
    int count = 0;
    const QueryMenuEntry* entries = QueryMenuEntries(g_operatorKind, &count);
    int i = LOWORD(first) - kQueryMenuFirstId;
    if (i >= count) i = 0;
    const std::string text = FormatQueryMenuText(entries[i].insert, g_operatorValue, kCriterionChars + 1);
    SetWindowTextA(edit, text.c_str());
    return 0;
  }
  return previous ? CallWindowProcA(previous, edit, message, first, second) : DefWindowProcA(edit, message, first, second);
}

void SubclassCriterionEdits(HWND page, bool on) {
  for (int i = 0; i < 15; ++i) {
    HWND edit = GetDlgItem(page, kCriterionFirst + i);
    if (!edit) continue;
    if (on) {
      // A criterion holds 63 characters.
      SendMessageA(edit, EM_LIMITTEXT, kCriterionChars, 0);
      SetPropA(edit, kQueryEditProp,
               reinterpret_cast<HANDLE>(SetWindowLongPtrA(edit, GWLP_WNDPROC, LONG_PTR(QueryEditSubclassProc))));
    } else if (HANDLE previous = GetPropA(edit, kQueryEditProp)) {
      SetWindowLongPtrA(edit, GWLP_WNDPROC, LONG_PTR(previous));
      RemovePropA(edit, kQueryEditProp);
    }
  }
}

// The fifth column stands only where the page is wide enough for it; hidden,
// its field counts as none.
void FitQueryColumns(HWND page, int width) {
  HWND box = GetDlgItem(page, kFieldListFirst + 4);
  if (!box) return;
  RECT r;
  GetWindowRect(box, &r);
  MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
  const int show = r.right < width ? SW_SHOW : SW_HIDE;
  for (int id : {kFieldListFirst + 4, kCriterionFirst + 4, kCriterionFirst + 9, kCriterionFirst + 14, 2194})
    if (HWND c = GetDlgItem(page, id)) ShowWindow(c, show);
}

INT_PTR CALLBACK QueryPageProc(HWND page, UINT message, WPARAM first, LPARAM second) {
  switch (message) {
    case WM_INITDIALOG:
      SubclassCriterionEdits(page, true);
      return TRUE;
    case WM_DESTROY:
      SubclassCriterionEdits(page, false);
      if (g_operatorMenu) cmDestroyMenu(g_operatorMenu);
      g_operatorMenu = nullptr;
      return FALSE;
    case WM_SIZE:
      FitQueryColumns(page, LOWORD(second));
      return TRUE;
    case WM_CONTEXTMENU: {
      HWND edit = reinterpret_cast<HWND>(first);
      const int column = EditColumn(edit);
      if (column < 0) return FALSE;
      int x = short(LOWORD(second)), y = short(HIWORD(second));
      if (x == -1 && y == -1) {
        RECT r;
        GetWindowRect(edit, &r);
        x = r.left;
        y = r.bottom;
      }
      ShowQueryOperatorMenu(edit, GetRowField(column), x, y);
      return TRUE;
    }
  }
  if (message == WM_COMMAND && HIWORD(first) == BN_CLICKED) {
    switch (LOWORD(first)) {
      case kSearchButton:
        RunPageSearch();
        return TRUE;
      case kStopButton:
        if (Frame()) PostMessageA(Frame(), WM_COMMAND, 40114, 0);
        return TRUE;
      case kClearButton:
        ClearCriteriaTexts();
        return TRUE;
    }
  }
  return FALSE;
}

std::string QueryIniPath() {
  std::string folder = GetUserFolder() ? GetUserFolder() : "";
  // Before anyone has logged in there is no user folder: the program's.
  const DWORD attributes = folder.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    folder = module;
    folder.erase(folder.rfind('\\') + 1);
  }
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder + "Query.ini";
}

// Every section name of the file: the buffer grows until all of them fit.
std::vector<char> SectionNames(const std::string& ini) {
  std::vector<char> names(8196);
  for (;;) {
    const DWORD n = GetPrivateProfileSectionNamesA(names.data(), DWORD(names.size()), ini.c_str());
    if (n + 2 < names.size()) {
      names.resize(n + 2, 0);
      return names;
    }
    names.assign(names.size() * 2, 0);
  }
}

struct QueryDialog {
  bool load;
  std::string ini;
  SearchQuery* query;
  std::vector<std::string> names;
};

int FindQueryName(const QueryDialog* d, const char* name) {
  for (size_t i = 0; i < d->names.size(); ++i)
    if (_stricmp(d->names[i].c_str(), name) == 0) return int(i);
  return -1;
}

void QueryNameChanged(HWND dialog, QueryDialog* d) {
  char name[80] = "";
  GetDlgItemTextA(dialog, kQueryNameId, name, sizeof name);
  const int at = name[0] ? FindQueryName(d, name) : -1;
  SendDlgItemMessageA(dialog, kQueryListId, LB_SETCURSEL, WPARAM(at), 0);
  EnableWindow(GetDlgItem(dialog, kQueryDeleteId), at >= 0);
  EnableWindow(GetDlgItem(dialog, IDOK), d->load ? at >= 0 : name[0] != 0);
}

bool AcceptQuery(HWND dialog, QueryDialog* d) {
  char text[80] = "";
  GetDlgItemTextA(dialog, kQueryNameId, text, sizeof text);
  std::string name = text;
  if (d->load) {
    ReadQuery(name, d->ini.c_str(), d->query);
    return true;
  }
  std::string checked = name;
  if (CheckQueryName(&checked)) {
    AppMessageBox(Text(1919), MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  if (FindQueryName(d, checked.c_str()) >= 0 && AppMessageBox(Text(1920), MB_YESNO | MB_ICONQUESTION) != IDYES)
    return false;
  if (WriteQuery(&name, d->ini.c_str(), *d->query) == 0) return true;
  char error[256] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, GetLastError(), 0, error,
                 sizeof error, nullptr);
  AppMessageBox(error[0] ? error : d->ini.c_str(), MB_OK | MB_ICONINFORMATION);
  return false;
}

// A dialog over the middle of its owner (the desktop without one).
void CentreOnOwner(HWND dialog) {
  RECT owner, me;
  GetWindowRect(GetParent(dialog) ? GetParent(dialog) : GetDesktopWindow(), &owner);
  GetWindowRect(dialog, &me);
  SetWindowPos(dialog, nullptr, (owner.left + owner.right - (me.right - me.left)) / 2,
               (owner.top + owner.bottom - (me.bottom - me.top)) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

INT_PTR CALLBACK QueryDialogProc(HWND dialog, UINT message, WPARAM first, LPARAM second) {
  auto* d = reinterpret_cast<QueryDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_CTLCOLORLISTBOX:
      // The list of queries in the program's list colours, as the frame gives them.
      return INT_PTR(SendMessageA(Frame(), message, first, second));
    case WM_INITDIALOG: {
      d = reinterpret_cast<QueryDialog*>(second);
      SetWindowLongPtrA(dialog, DWLP_USER, second);
      if (d->load) {
        SetWindowTextA(dialog, Text(1922));
        SetDlgItemTextA(dialog, IDOK, Text(1923));
      }
      SendDlgItemMessageA(dialog, kQueryNameId, EM_LIMITTEXT, 64, 0);
      const std::vector<char> all = SectionNames(d->ini);
      std::vector<std::string> remove;
      ListQuerySections(all.data(), all.size(), &d->names, &remove);
      for (const std::string& section : remove) ProfileDeleteSection(section.c_str(), d->ini.c_str());
      for (const std::string& name : d->names)
        SendDlgItemMessageA(dialog, kQueryListId, LB_ADDSTRING, 0, LPARAM(name.c_str()));
      if (!d->names.empty()) SetDlgItemTextA(dialog, kQueryNameId, d->names[0].c_str());
      QueryNameChanged(dialog, d);
      CentreOnOwner(dialog);
      SetFocus(GetDlgItem(dialog, kQueryNameId));
      return FALSE;
    }
    case WM_COMMAND:
      switch (LOWORD(first)) {
        case kQueryListId:
          if (HIWORD(first) == LBN_SELCHANGE || HIWORD(first) == LBN_DBLCLK) {
            const LRESULT at = SendDlgItemMessageA(dialog, kQueryListId, LB_GETCURSEL, 0, 0);
            if (at >= 0 && size_t(at) < d->names.size()) SetDlgItemTextA(dialog, kQueryNameId, d->names[size_t(at)].c_str());
            if (HIWORD(first) == LBN_DBLCLK && AcceptQuery(dialog, d)) EndDialog(dialog, 1);
          }
          return TRUE;
        case kQueryNameId:
          if (HIWORD(first) == EN_CHANGE) QueryNameChanged(dialog, d);
          return TRUE;
        case kQueryDeleteId: {
          char name[80] = "";
          GetDlgItemTextA(dialog, kQueryNameId, name, sizeof name);
          const int at = FindQueryName(d, name);
          if (at < 0 || AppMessageBox(Text(1921), MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return TRUE;
          RemoveQuery(d->names[size_t(at)], d->ini.c_str());
          d->names.erase(d->names.begin() + at);
          SendDlgItemMessageA(dialog, kQueryListId, LB_DELETESTRING, WPARAM(at), 0);
          if (d->load) SetDlgItemTextA(dialog, kQueryNameId, "");
          QueryNameChanged(dialog, d);
          return TRUE;
        }
        case IDOK:
          if (AcceptQuery(dialog, d)) EndDialog(dialog, 1);
          else SetFocus(GetDlgItem(dialog, kQueryNameId));
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

int RunQueryDialog(bool load, SearchQuery* query) {
  QueryDialog d{load, QueryIniPath(), query, {}};
  const INT_PTR result =
      DialogBoxParamA(g_instance, MAKEINTRESOURCEA(kQueryDialogId), Frame(), QueryDialogProc, LPARAM(&d));
  return result == 1 ? 1 : 0;
}

void LoadQueryIntoPage() {
  SearchQuery q;
  std::memset(&q, 0, sizeof q);
  if (!RunQueryDialog(true, &q)) return;
  QueryIntoPage(q);
  ShowPanelPage(3);
}

void SaveQueryFromPage() {
  SearchQuery q;
  QueryFromPage(&q, false);
  RunQueryDialog(false, &q);
}

// ---- the file ------------------------------------------------------------

std::string FileName(const char* path) {
  const char* slash = std::strrchr(path, '\\');
  return slash ? slash + 1 : path;
}

void CutPathToFolder(char* path) {
  char* slash = std::strrchr(path, '\\');
  if (slash) slash[1] = 0;
  else path[0] = 0;
}

bool PathNamesFile(const char* path) {
  const size_t n = std::strlen(path);
  return n > 0 && path[n - 1] != '\\';
}

int CloseDatabaseFile();

int OpenDatabaseFile(bool report) {
  DatabaseState* s = g_state;
  s->count = 0;
  s->hasGame = 0;
  const int32_t file = GdOpenGamefile(s->path);
  if (!file) {
    if (report) DatabaseMessageBox(10100, 10099, MB_OK | MB_ICONEXCLAMATION, s->path);
    CutPathToFolder(s->path);
    return 1;
  }
  s->file = file;
  s->keyBase = GdOpenDatabase(s->path, file) == 1 ? 1 : 0;
  const int status = GdFileStatus(file, 0);
  if (status & 2) s->statusFlags |= 2;
  if (status & 1) s->statusFlags |= 4;
  std::snprintf(s->indexFolder, sizeof s->indexFolder, "%s", s->path);
  CutPathToFolder(s->indexFolder);
  std::strncat(s->indexFolder, "GdIndex\\", sizeof s->indexFolder - std::strlen(s->indexFolder) - 1);
  s->count = GdGetGamesCount(file);
  s->game = GdAllocGameBuffer();
  s->cacheGame = GdAllocGameBuffer();
  ResetSearchJob(&s->job, s->count);
  FillAllGamesHitList(&s->job, s->count);
  ResetCache();
  SetListCount(s->count, false);
  const std::string name = FileName(s->path);
  const std::string shown = s->statusFlags ? "[" + name + "]" : name;
  SetDatabaseStatus(4, 0, shown.c_str());
  SetDatabaseStatus(1, uint32_t(s->count));
  if (s->count > 0 && g_list) {
    ListView_SetItemState(g_list, 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    ReadFocusedGame(0);
  }
  if (s->keyBase) FillKeyTree();
  return 0;
}

int CloseDatabaseFile() {
  DatabaseState* s = g_state;
  if (!s || !s->file) return 0;
  WaitForSearchJob(&s->job);
  DrainSearchMessages();
  ResetSearchJob(&s->job, s->count);
  ClearGameView();
  if (s->game) GdFreeGameBuffer(s->game);
  if (s->cacheGame) GdFreeGameBuffer(s->cacheGame);
  s->game = s->cacheGame = nullptr;
  s->hasGame = 0;
  if (s->keyBase) GdCloseDatabase(s->file);
  GdCloseGamefile(s->file);
  const bool hadKeys = s->keyBase != 0;
  s->file = s->keyBase = 0;
  s->count = 0;
  if (hadKeys) {
    ClearKeyTree();
    ClearKeyInfoPage();
  }
  ResetCache();
  SetListCount(0, false);
  if (g_panel) SetDlgItemTextA(g_panel, kSummaryId, "");
  SetDatabaseStatus(4, 0, "");
  SetDatabaseStatus(1, 0);
  return 0;
}

// 1 when a file was chosen (the path then names it). Mode 0 opens (with
// the Read Only box), mode 2 chooses a database to delete.
int ChooseDatabaseFile(HWND owner, char* path, uint32_t* statusFlags, int mode = 0) {
  char chosen[MAX_PATH];
  std::snprintf(chosen, sizeof chosen, "%s", path);
  CutPathToFolder(chosen);
  if (chosen[0]) SetFileDialogFolder(chosen);
  chosen[0] = 0;
  int type = 14, openAs = 0, readOnly = 0;
  if (!DoFileDialog(owner, g_instance, chosen, nullptr, mode, 14, 1, &type, &openAs, mode == 0 ? &readOnly : nullptr))
    return 0;
  std::snprintf(path, 260, "%s", chosen);
  if (statusFlags) *statusFlags = readOnly ? 1 : 0;
  return 1;
}

int OpenOrChooseDatabase() {
  DatabaseState* s = g_state;
  bool report = false;
  for (;;) {
    if (PathNamesFile(s->path) && OpenDatabaseFile(report) == 0) return 1;
    report = true;
    if (!ChooseDatabaseFile(Frame(), s->path, &s->statusFlags)) return 0;
  }
}

void ApplyDefaultDatabaseRule() {
  DatabaseState* s = g_state;
  if (PathNamesFile(s->path)) return;
  char module[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  CutPathToFolder(module);
  std::snprintf(s->path, sizeof s->path, "%sDatabase\\%s", module, kDefaultDatabase);
  if (GetFileAttributesA(s->path) != INVALID_FILE_ATTRIBUTES) return;
  if (const char* located = LocateDataSet(kDefaultDatabaseSet, 0))
    if (located[0]) std::snprintf(s->path, sizeof s->path, "%s", located);
}

void ShowDatabaseWindow() {
  SetDatabaseStatus(4, 0, "");
  SetDatabaseStatus(1, 0);
  OpenOrChooseDatabase();
  if (g_panel) ShowWindow(g_panel, g_topPane ? SW_SHOW : SW_HIDE);
  SelectPanelPage(g_currentPage);
  LayoutDatabaseWindow(g_window, true, g_splitterPos >= 0 ? g_splitterPos : kLayoutHalf);
  InvalidateRect(g_window, nullptr, TRUE);
}

void CloseDatabaseView() {
  SaveListState();
  CloseDatabaseFile();
}

// ---- creating and deleting databases ---------------------------------------

constexpr int kProgressBoxId = 219;

struct ProgressBox {
  HWND box = nullptr;
  HWND owner = nullptr;
};

INT_PTR CALLBACK ProgressBoxProc(HWND box, UINT message, WPARAM first, LPARAM second) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(box, GWLP_USERDATA, second);
    if (!second) ShowWindow(GetDlgItem(box, IDCANCEL), SW_HIDE);
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(first) == IDCANCEL) {
    if (auto* flag = reinterpret_cast<int32_t*>(GetWindowLongPtrA(box, GWLP_USERDATA))) *flag = 1;
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    return TRUE;
  }
  return FALSE;
}

// While the box is up this thread dispatches every message itself, so the
// whole main window's interface is off, not only the box's owner: a room
// switch or a menu command must not close the file under the operation.
ProgressBox OpenProgressBox(HWND owner, const char* text, const char* title, int32_t* cancel) {
  ProgressBox p;
  p.owner = owner;
  EnableMainWindowUI(0);
  if (owner) {
    EnableWindow(owner, FALSE);
    UpdateWindow(owner);
  }
  p.box = CreateSkinnedDialog(g_instance, MAKEINTRESOURCEA(kProgressBoxId), owner, ProgressBoxProc, LPARAM(cancel));
  if (p.box) {
    SetWindowTextA(p.box, title);
    SetDlgItemTextA(p.box, 2003, text);
    ShowWindow(p.box, SW_SHOW);
    UpdateWindow(p.box);
  }
  return p;
}

void CloseProgressBox(const ProgressBox& p) {
  if (p.box) DestroyWindow(p.box);
  EnableMainWindowUI(1);
  if (p.owner) {
    EnableWindow(p.owner, TRUE);
    SetForegroundWindow(p.owner);
  }
}

// Dispatches every queued message; 0 when a quit is waiting (it stays
// queued for the main loop), 1 when the queue is empty.
int PumpProgressMessages() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE)) {
    if (m.message == WM_QUIT) return 0;
    PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  return 1;
}

struct ExtractProgress {
  HWND box;
};

void ShowExtractProgress(const char* target, void* user) {
  auto* p = static_cast<ExtractProgress*>(user);
  if (target && p->box) {
    char line[320];
    std::snprintf(line, sizeof line, "Writing file %s", FileName(target).c_str());
    SetDlgItemTextA(p->box, 2004, line);
  }
  PumpProgressMessages();
}

// Save-mode chooser for a new database; the name's extension becomes ".gdg".
int ChooseNewDatabaseFile(HWND owner, char* path) {
  char chosen[MAX_PATH];
  std::snprintf(chosen, sizeof chosen, "%s", path);
  CutPathToFolder(chosen);
  if (chosen[0]) SetFileDialogFolder(chosen);
  chosen[0] = 0;
  int type = 14, openAs = 0;
  if (!DoFileDialog(owner, g_instance, chosen, nullptr, 5, 14, 0, &type, &openAs, nullptr)) return 0;
  std::string name = chosen;
  const size_t dot = name.find_last_of('.'), slash = name.find_last_of('\\');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) name.resize(dot);
  name += ".gdg";
  std::snprintf(path, 260, "%s", name.c_str());
  return 1;
}

std::string IndexFolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1) + "GdIndex\\";
}

int CreateNewDatabase(HWND owner) {
  DatabaseState* s = g_state;
  char path[260];
  std::snprintf(path, sizeof path, "%s", s->path);
  if (!ChooseNewDatabaseFile(owner, path)) return 0;
  if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) {
    if (DatabaseMessageBox(10103, 10064, MB_YESNO | MB_ICONQUESTION) != IDYES) return 0;
    // The old database goes whole: its index folder would describe other games.
    if (std::strcmp(path, s->path) == 0) {
      SaveListState();
      CloseDatabaseFile();
    }
    GdDeleteDatabaseFiles(path, IndexFolderOf(path).c_str(), 7);
  }
  HCURSOR cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  const ProgressBox box = OpenProgressBox(owner, "Creating new database, please wait...", "Create Database", nullptr);
  if (!IsDataSetOpen(11)) OpenDataSet("NewBase.dat", 11, 0);
  const char* archive = LocateDataSet(11, 0);
  ExtractProgress progress{box.box};
  const int result = archive ? ExtractTemplateMembers(StdioTemplateFiles(), archive, path, "new",
                                                      IndexFolderOf(path), ShowExtractProgress, &progress)
                             : kTemplateNoArchive;
  CloseProgressBox(box);
  SetCursor(cursor);
  if (result != kTemplateDone) {
    DatabaseMessageBox(10071, 10072, MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  DatabaseMessageBox(10082, 10064, MB_OK | MB_ICONINFORMATION, FileName(path).c_str());
  return 1;
}

int DeleteDatabase(HWND owner) {
  DatabaseState* s = g_state;
  char path[260];
  std::snprintf(path, sizeof path, "%s", s->path);
  if (!ChooseDatabaseFile(owner, path, nullptr, 2)) return 0;
  if (DatabaseMessageBox(10062, 10061, MB_YESNO | MB_ICONQUESTION, path) != IDYES) return 0;
  const bool open = _stricmp(path, s->path) == 0;
  SaveListState();
  CloseDatabaseFile();
  const int result = GdDeleteDatabaseFiles(path, IndexFolderOf(path).c_str(), 7);
  // The deleted database is not opened again: the window keeps its folder.
  if (open) CutPathToFolder(s->path);
  if (PathNamesFile(s->path)) OpenDatabaseFile(true);
  if (result != 0) DatabaseBox(Text(10073), ErrorCaption("Delete Database", result), MB_OK | MB_ICONEXCLAMATION);
  return result == 0;
}

// ---- changing the games: delete, undelete, export, import, optimise --------

// The progress box's side of a long run: its line, the messages answered
// meanwhile, and the Cancel button's flag.
class BoxProgress final : public OperationProgress {
 public:
  BoxProgress(HWND box, const int32_t* cancel) : box_(box), cancel_(cancel) {}
  void Line(const std::string& text) override {
    if (box_) SetDlgItemTextA(box_, 2004, text.c_str());
  }
  bool GoOn() override {
    if (!PumpProgressMessages()) quit_ = true;
    return !quit_ && !(cancel_ && *cancel_);
  }
  uint64_t Milliseconds() override { return GetTickCount64(); }

 private:
  HWND box_;
  const int32_t* cancel_;
  bool quit_ = false;
};

void ShowReport(const OperationReport& report, UINT icon, const char* insert = nullptr) {
  const std::string caption = report.captionText.empty() ? std::string(Text(report.caption)) : report.captionText;
  DatabaseBox(DatabaseText(report.text, insert), caption, MB_OK | icon);
}

// A database whose status flags are not 0 may not be changed: the user is
// told why. True when it may.
bool MayWriteDatabase() {
  const uint32_t message = StatusFlagMessage(g_state->statusFlags);
  if (message == 0) return true;
  DatabaseMessageBox(message, 10067, MB_OK | MB_ICONEXCLAMATION);
  return false;
}

int SelectedCount() { return g_list ? int(SendMessageA(g_list, LVM_GETSELECTEDCOUNT, 0, 0)) : 0; }

// The next selected row after `row` (-1: the first), or -1.
int NextSelectedRow(int row) {
  return g_list ? int(SendMessageA(g_list, LVM_GETNEXTITEM, WPARAM(row), MAKELPARAM(LVNI_SELECTED, 0))) : -1;
}

std::vector<int32_t> SelectedGameNumbers() {
  std::vector<int32_t> numbers;
  for (int row = NextSelectedRow(-1); row >= 0; row = NextSelectedRow(row))
    numbers.push_back(int32_t(GetHitGameNumber(&g_state->job, row)));
  return numbers;
}

// Commands 40108 (delete) and 40109 (undelete).
void MarkSelectedGames(bool undelete) {
  DatabaseState* s = g_state;
  const GameMarkTexts& texts = MarkTexts(undelete);
  const int count = SelectedCount();
  if (!s->file || count == 0) {
    DatabaseMessageBox(texts.none, texts.caption, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (!MayWriteDatabase()) return;
  const std::string number = std::to_string(count);
  if (DatabaseMessageBox(count == 1 ? texts.one : texts.many, texts.caption, MB_YESNO | MB_ICONQUESTION,
                         number.c_str()) != IDYES)
    return;
  HCURSOR cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  int32_t cancel = 0;
  const bool boxed = count > kMarkBoxAbove;
  ProgressBox box;
  if (boxed) box = OpenProgressBox(Frame(), texts.wait, texts.title, &cancel);
  BoxProgress progress(box.box, &cancel);
  StopDatabaseSearch();
  const std::vector<int32_t> numbers = SelectedGameNumbers();
  MarkGames(s->file, numbers.data(), int(numbers.size()), undelete, boxed ? &progress : nullptr);
  ResetCache();
  if (g_list) InvalidateRect(g_list, nullptr, FALSE);
  if (boxed) CloseProgressBox(box);
  SetCursor(cursor);
}

// Save mode 4 (export) or open mode 3 (import) for a PGN file, starting in
// the user's folder. 1 when a file was chosen.
int ChoosePgnFile(HWND owner, bool save, char* path) {
  std::string folder = GetUserFolder();
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  SetFileDialogFolder(folder.c_str());
  char chosen[MAX_PATH] = "";
  int type = 4, openAs = 0;
  if (!DoFileDialog(owner, g_instance, chosen, nullptr, save ? 4 : 3, 4, save ? 0 : 1, &type, &openAs, nullptr))
    return 0;
  std::snprintf(path, MAX_PATH, "%s", chosen);
  return 1;
}

// The export's run: the selected rows handed to the module one by one.
struct ExportRun {
  int row = -1;
  int done = 0;
  int count = 0;
  bool stopped = false;
  ProgressPace pace{true};
  BoxProgress* progress = nullptr;
};
ExportRun* g_export = nullptr;  // the module's callback carries no pointer

int32_t NextExportGame(int32_t) {
  ExportRun* run = g_export;
  if (!run || run->stopped) return 0;
  if (run->done > 0 && !run->progress->GoOn()) {
    run->stopped = true;
    return 0;
  }
  run->row = NextSelectedRow(run->row);
  if (run->row < 0) return 0;
  ++run->done;
  if (run->pace.Due(run->progress->Milliseconds())) {
    char line[96];
    std::snprintf(line, sizeof line, "Exported %ld of %ld games.", long(run->done), long(run->count));
    run->progress->Line(line);
  }
  return int32_t(GetHitGameNumber(&g_state->job, run->row));
}

// Command 40122.
void ExportSelectedGames(HWND owner) {
  DatabaseState* s = g_state;
  const int count = s->file ? SelectedCount() : 0;
  if (count == 0) {
    DatabaseMessageBox(10059, 10060, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  char path[MAX_PATH];
  if (!ChoosePgnFile(owner, true, path)) return;
  if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES &&
      DatabaseMessageBox(10103, 10078, MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  int32_t cancel = 0;
  const ProgressBox box = OpenProgressBox(owner, "Exporting games, please wait...", "Export Games", &cancel);
  HCURSOR cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  StopDatabaseSearch();
  BoxProgress progress(box.box, &cancel);
  ExportRun run;
  run.count = count;
  run.progress = &progress;
  g_export = &run;
  GdExportGames(path, s->file, NextExportGame, 4, 0);
  g_export = nullptr;
  CloseProgressBox(box);
  SetCursor(cursor);
  const std::string done = std::to_string(run.done);
  DatabaseMessageBox(run.stopped ? 10080 : 10079, 10078, MB_OK | MB_ICONINFORMATION, done.c_str());
}

// The import's progress: the module tells how many games came in.
struct ImportRun {
  int imported = 0;
  bool stopped = false;
  ProgressPace pace{false};
  BoxProgress* progress = nullptr;
};
ImportRun* g_import = nullptr;

int ImportProgress(int games, int32_t) {
  ImportRun* run = g_import;
  if (!run) return 1;
  run->imported = games;
  if (run->pace.Due(run->progress->Milliseconds())) {
    char line[64];
    std::snprintf(line, sizeof line, "Imported %ld games.", long(games));
    run->progress->Line(line);
  }
  if (!run->progress->GoOn()) run->stopped = true;
  return run->stopped ? 0 : 1;
}

// Command 40120.
void ImportPgnIntoDatabase(HWND owner) {
  DatabaseState* s = g_state;
  if (!s->file) {
    DbEnvErrorBox(Text(1917));
    return;
  }
  if (!MayWriteDatabase()) return;
  char path[MAX_PATH];
  if (!ChoosePgnFile(owner, false, path)) return;
  HCURSOR cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  StopDatabaseSearch();
  int32_t cancel = 0;
  const ProgressBox box = OpenProgressBox(owner, "Importing games, please wait...", "Import Games", &cancel);
  BoxProgress progress(box.box, &cancel);
  ImportRun run;
  run.progress = &progress;
  run.pace.Due(progress.Milliseconds());
  g_import = &run;
  GdPgnImport(path, s->file, 0, "NBRQK", ImportProgress, 0);
  g_import = nullptr;
  CloseProgressBox(box);
  s->count = GdGetGamesCount(s->file);
  ResetCache();
  ResetSearchJob(&s->job, s->count);
  FillAllGamesHitList(&s->job, s->count);
  SetListCount(s->count, true);
  SetDatabaseStatus(1, uint32_t(s->count));
  if (g_list) InvalidateRect(g_list, nullptr, FALSE);
  SetCursor(cursor);
  const std::string done = std::to_string(run.imported);
  DatabaseMessageBox(run.stopped ? 10077 : 10076, 10075, MB_OK | MB_ICONINFORMATION, done.c_str());
}

// Dialog 210: what to do, as the bits kOptimizeClean and kOptimizeIndex; 0
// is Cancel. lParam: whether the database has key information to clean.
constexpr int kOptimizeDialogId = 210;
constexpr int kCleanBox = 2188, kIndexBox = 2187;

INT_PTR CALLBACK OptimizeDialogProc(HWND dialog, UINT message, WPARAM first, LPARAM second) {
  auto checked = [&](int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; };
  switch (message) {
    case WM_INITDIALOG: {
      CheckDlgButton(dialog, kCleanBox, BST_CHECKED);
      CheckDlgButton(dialog, kIndexBox, BST_CHECKED);
      EnableWindow(GetDlgItem(dialog, kCleanBox), second != 0);
      CentreOnOwner(dialog);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(first)) {
        case kCleanBox:
        case kIndexBox:
          EnableWindow(GetDlgItem(dialog, IDOK), checked(kCleanBox) || checked(kIndexBox));
          return TRUE;
        case IDOK:
          if (checked(kCleanBox) || checked(kIndexBox))
            EndDialog(dialog, (checked(kCleanBox) && IsWindowEnabled(GetDlgItem(dialog, kCleanBox)) ? kOptimizeClean : 0) |
                                  (checked(kIndexBox) ? kOptimizeIndex : 0));
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

// Command 40119.
void OptimizeDatabase(HWND owner) {
  DatabaseState* s = g_state;
  if (!s->file) {
    DbEnvErrorBox(Text(1917));
    return;
  }
  if (!MayWriteDatabase()) return;
  const INT_PTR choice = DialogBoxParamA(g_instance, MAKEINTRESOURCEA(kOptimizeDialogId), owner, OptimizeDialogProc,
                                         LPARAM(s->keyBase ? 1 : 0));
  if (choice <= 0) return;
  const std::string path = s->path, folder = s->indexFolder;
  SaveListState();
  CloseDatabaseFile();
  int32_t cancel = 0;
  const ProgressBox box = OpenProgressBox(owner, "Optimizing database, please wait...", "Optimize Database", &cancel);
  HCURSOR cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  BoxProgress progress(box.box, &cancel);
  const OperationReport report = OptimizeDatabaseFiles(path, folder, int(choice), &progress);
  SetCursor(cursor);
  CloseProgressBox(box);
  ShowReport(report, report.text == 10085 || report.cancelled ? MB_ICONINFORMATION : MB_ICONEXCLAMATION,
             path.c_str());
  OpenDatabaseFile(true);
}

// After a sort whose index is out of date: the new games are added to it.
void UpdateIndexFiles(HWND owner) {
  DatabaseState* s = g_state;
  int32_t cancel = 0;
  const ProgressBox box = OpenProgressBox(owner, "Updating index files, please wait...", "Optimize Database", &cancel);
  StopDatabaseSearch();
  BoxProgress progress(box.box, &cancel);
  const OperationReport report = UpdateDatabaseIndex(s->file, s->indexFolder, &progress);
  CloseProgressBox(box);
  ShowReport(report, report.error ? MB_ICONEXCLAMATION : MB_ICONINFORMATION);
}

// ---- games in and out ----------------------------------------------------

int WriteCurrentGameToDatabase() {
  DatabaseState* s = g_state;
  if (!s->file) return 1;
  const int status = GdFileStatus(s->file, 0);
  if (status & 2) s->statusFlags |= 2;
  if (status & 1) s->statusFlags |= 4;
  if (s->statusFlags & 1) return 5;
  if (s->statusFlags) return 6;
  if (!s->hasGame) return 8;
  int32_t number = 0;
  if (!GdWriteGame(s->game, s->file, &number)) return 4;
  s->count = GdGetGamesCount(s->file);
  ResetSearchJob(&s->job, s->count);
  FillAllGamesHitList(&s->job, s->count);
  ResetCache();
  SetListCount(s->count, true);
  SetDatabaseStatus(1, uint32_t(s->count));
  return 0;
}

// `text`: a global memory block holding the game as PGN text.
int LoadGameIntoDatabaseView(HGLOBAL text) {
  if (!text) return 0;
  if (g_state->game && GdMemReadPgnGame(g_state->game, text, 0, "NBRQK") == 0) {
    g_state->hasGame = 1;
    char white[64] = "", black[64] = "";
    GdGetHeaderInfo(g_state->game, 5, white, sizeof white);
    GdGetHeaderInfo(g_state->game, 6, black, sizeof black);
    char summary[160];
    std::snprintf(summary, sizeof summary, "%s - %s", white, black);
    if (g_panel) SetDlgItemTextA(g_panel, kSummaryId, summary);
  }
  return 1;
}

void CopyGameFromRoom(int room) {
  GameRecord* game = GetGameForOwner(uint32_t(room));
  if (!game || GetMoveCount(game) < 1) return;
  HGLOBAL block = CopyGameToGlobal(game);
  if (!block) return;
  GlobalUnlock(block);
  LoadGameIntoDatabaseView(block);
  GlobalFree(block);
}

void RebuildRoomGame() {
  // The module hands the text over as a global memory block.
  HGLOBAL block = g_state->hasGame ? static_cast<HGLOBAL>(GdCreatePgnGame(g_state->game)) : nullptr;
  const char* text = block ? static_cast<const char*>(GlobalLock(block)) : nullptr;
  int32_t number = 0;
  if (text) GdGetHeaderInfoInt(g_state->game, 19, &number);
  RebuildRoomGameFromText(text, number, ROOM_DATABASE);
  if (block) {
    GlobalUnlock(block);
    GlobalFree(block);
  }
}

// ---- menu ----------------------------------------------------------------

CmMenu* RoomMenu() {
  RoomRecord* record = GetRoomRecord(ROOM_DATABASE);
  return record ? record->menu : nullptr;
}

void UpdateDatabaseMenu() {
  CmMenu* menu = RoomMenu();
  if (!menu) return;
  auto enable = [&](UINT id, bool on) { cmEnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
  auto check = [&](UINT id, bool on) { cmCheckMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED)); };
  const bool open = g_state && g_state->file;
  const bool selected = open && g_list && SendMessageA(g_list, LVM_GETSELECTEDCOUNT, 0, 0) > 0;
  enable(40013, open && g_state->hasGame);
  for (UINT id : {40101u, 40119u, 40120u, 40107u}) enable(id, open);
  for (UINT id : {40108u, 40109u, 40122u}) enable(id, selected);
  check(40110, g_showDeleted != 0);
  enable(40114, g_state && IsSearchRunning(&g_state->job));
  const int notation = g_notation >= 0 && g_notation <= 3 ? g_notation : 0;
  for (int i = 0; i < 4; ++i) check(UINT(40128 + i), i == notation);
  check(40209, g_keyMode);
  static const int kRooms[6] = {ROOM_GAME, ROOM_CLASS, ROOM_KIDS, ROOM_LIBRARY, ROOM_ONLINE, ROOM_TOURNAMENT};
  for (int i = 0; i < 6; ++i) {
    GameRecord* game = GetGameForOwner(uint32_t(kRooms[i]));
    enable(UINT(40135 + i), game && GetMoveCount(game) > 0);
  }
}

// ---- the window ----------------------------------------------------------

void DestroyWindowState() {
  if (g_window && WindowHeightOf(g_window) > 0) SaveListState();
  CloseDatabaseFile();
  if (g_panel) DestroyWindow(g_panel);
  DestroyGameViewPages();
  g_panel = g_tabs = g_keyInfo = g_queryPage = nullptr;
  NumberedWindowOp(WOP_CLEAR_HANDLE, WIN_DATABASE, 0);
}

LRESULT OnNotify(HWND window, NMHDR* header) {
  if (header->hwndFrom == g_list) {
    switch (header->code) {
      case LVN_GETDISPINFOA:
        OnGetDisplayInfo(reinterpret_cast<NMLVDISPINFOA*>(header));
        return 0;
      case LVN_ODCACHEHINT:
        OnCacheHint(reinterpret_cast<NMLVCACHEHINT*>(header));
        return 0;
      case LVN_COLUMNCLICK:
        SortGameList(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
        return 0;
      case LVN_ODSTATECHANGED:
        SetDatabaseStatus(3, uint32_t(SendMessageA(g_list, LVM_GETSELECTEDCOUNT, 0, 0)));
        return 0;
      case LVN_ITEMACTIVATE:
        ShowPanelPage(0);
        return 0;
      case LVN_ITEMCHANGED: {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(header);
        if (nm->iItem >= 0 && (nm->uNewState & LVIS_FOCUSED) && !(nm->uOldState & LVIS_FOCUSED))
          ReadFocusedGame(nm->iItem);
        if ((nm->uNewState ^ nm->uOldState) & LVIS_SELECTED)
          SetDatabaseStatus(3, uint32_t(SendMessageA(g_list, LVM_GETSELECTEDCOUNT, 0, 0)));
        return 0;
      }
    }
    return 0;
  }
  if (header->hwndFrom == g_listHeader && (header->code == HDN_ENDTRACKA || header->code == HDN_ENDTRACKW)) {
    PostMessageA(window, WM_DB_REFIT, 1, 0);
    return 0;
  }
  if (header->hwndFrom == g_tree) OnTreeNotify(header);
  return 0;
}

LRESULT CALLBACK DatabaseWndProc(HWND window, UINT message, WPARAM first, LPARAM second) {
  switch (message) {
    case WM_DESTROY:
      DestroyWindowState();
      return 0;
    case WM_SIZE:
      LayoutDatabaseWindow(window, true, kLayoutKeep);
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(second);
      info->ptMinTrackSize.x = 540;
      info->ptMinTrackSize.y = 340;
      return 0;
    }
    case WM_NOTIFY:
      return OnNotify(window, reinterpret_cast<NMHDR*>(second));
    case WM_CONTEXTMENU: {
      CmMenu* menu = cmLoadMenu(g_instance, MAKEINTRESOURCEA(kContextMenuId));
      if (menu) {
        POINT at{short(LOWORD(second)), short(HIWORD(second))};
        RECT anchor{at.x, at.y, at.x, at.y};
        cmTrackPopupMenu(cmGetSubMenu(menu, 0), &anchor, Frame(), 0);
        cmDestroyMenu(menu);
      }
      return 0;
    }
    case WM_COMMAND:
      if (second != 0) return 0;  // a child's notification, not a command
      return SendMessageA(GetParent(window), message, first, second);
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return SendMessageA(GetParent(window), message, first, second);
    case WM_INITMENUPOPUP:
      UpdateDatabaseMenu();
      break;
    case WM_EXITMENULOOP:
      PostMessageA(window, WM_DB_REFRESH_STATUS, 0, 0);
      break;
    case WM_DB_REFIT:
      if (first == 1) ReadColumnWidths();
      return 0;
    case WM_DB_SEARCH_PROGRESS:
      OnSearchProgress(first);
      return 0;
    case WM_DB_REFRESH_STATUS:
      RefreshDatabaseStatus();
      return 0;
    case WM_SPLITTER_MOVED: {
      if (g_tree && !IsWindowVisible(g_tree)) {
        ShowWindow(g_tree, SW_SHOW);
        ShowWindow(g_treeHeader, SW_SHOW);
      }
      const RECT* bar = reinterpret_cast<const RECT*>(second);
      POINT top{0, bar ? bar->top : 0};
      if (bar) MapWindowPoints(g_splitter, window, &top, 1);
      LayoutDatabaseWindow(window, true, std::max<int>(0, top.y));
      return 0;
    }
    case WM_SPLITTER_LIMITS: {
      RECT* limit = reinterpret_cast<RECT*>(second);
      RECT client;
      GetClientRect(window, &client);
      if (limit) {
        limit->top = WindowHeightOf(g_panel);
        limit->bottom = client.bottom - WindowHeightOf(g_splitter);
      }
      return 0;
    }
  }
  return DefWindowProcA(window, message, first, second);
}

bool RegisterClasses() {
  WNDCLASSA wc{};
  if (!GetClassInfoA(g_instance, kWindowClass, &wc)) {
    wc = WNDCLASSA{};
    wc.lpfnWndProc = DatabaseWndProc;
    wc.cbWndExtra = 4;
    wc.hInstance = g_instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kWindowClass;
    if (!RegisterClassA(&wc)) return false;
  }
  WNDCLASSA hc{};
  if (!GetClassInfoA(g_instance, kTreeHeaderClass, &hc)) {
    hc = WNDCLASSA{};
    hc.style = CS_HREDRAW | CS_VREDRAW;
    hc.lpfnWndProc = TreeHeaderProc;
    hc.hInstance = g_instance;
    hc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    hc.lpszClassName = kTreeHeaderClass;
    if (!RegisterClassA(&hc)) return false;
  }
  return true;
}

// Row images: a plain game, a deleted one, and the two marked kinds, drawn
// into a 16 x 16 strip when the program's picture is not there.
HIMAGELIST MakeRowImages() {
  HIMAGELIST list = ImageList_LoadImageA(g_instance, "IMAGELIST", 16, 12, RGB(255, 0, 255), IMAGE_BITMAP,
                                         LR_CREATEDIBSECTION);
  if (list) return list;
  list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 12, 12);
  if (!list) return nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP strip = CreateCompatibleBitmap(screen, 16 * 10, 16);
  HGDIOBJ old = SelectObject(dc, strip);
  RECT all{0, 0, 160, 16};
  HBRUSH key = CreateSolidBrush(RGB(255, 0, 255));
  FillRect(dc, &all, key);
  DeleteObject(key);
  auto page = [&](int i, COLORREF fill, bool cross) {
    const int x = i * 16;
    HBRUSH b = CreateSolidBrush(fill);
    HPEN p = CreatePen(PS_SOLID, 1, RGB(70, 60, 50));
    HGDIOBJ ob = SelectObject(dc, b), op = SelectObject(dc, p);
    Rectangle(dc, x + 3, x ? 2 : 2, x + 13, 14);
    if (cross) {
      MoveToEx(dc, x + 4, 4, nullptr);
      LineTo(dc, x + 12, 12);
      MoveToEx(dc, x + 11, 4, nullptr);
      LineTo(dc, x + 3, 12);
    }
    SelectObject(dc, ob);
    SelectObject(dc, op);
    DeleteObject(b);
    DeleteObject(p);
  };
  page(2, RGB(250, 246, 235), false);
  page(6, RGB(220, 200, 190), true);
  page(8, RGB(235, 225, 160), false);
  page(9, RGB(180, 210, 235), false);
  SelectObject(dc, old);
  ImageList_AddMasked(list, strip, RGB(255, 0, 255));
  DeleteObject(strip);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return list;
}

// ---- room hooks ----------------------------------------------------------

CmMenu* MakeRoomMenu(int) { return cmLoadMenu(g_instance ? g_instance : GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kMenuId)); }
void* RoomAccelerators(int) {
  return LoadAcceleratorsA(g_instance ? g_instance : GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kAcceleratorsId));
}
void ReleaseRoom(RoomRecord* record, int) {
  if (record) record->roomData = nullptr;
}
intptr_t RoomMessage(void* window, uintptr_t command, intptr_t) {
  return DatabaseRoomCommand(window, int(LOWORD(command)));
}

const RoomModule kDatabaseRoomModule = {ActivateDatabaseRoom, DeactivateDatabaseRoom, ReleaseRoom, MakeRoomMenu,
                                        DatabaseRoomCommand,  RoomMessage,           RoomAccelerators};

void StartupCreate(HWND frame, HINSTANCE instance) { CreateDatabaseWindow(frame, instance); }

}  // namespace

HWND GetDatabaseWindow() { return g_window; }

HGLOBAL CopyGameToGlobal(GameRecord* game) {
  if (!game) return nullptr;
  const size_t size = MeasurePgnText(game, 0) + 8;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (!block) return nullptr;
  char* text = static_cast<char*>(GlobalLock(block));
  if (!text || WritePgnToBuffer(text, size, game, 0) < 0) {
    if (text) GlobalUnlock(block);
    GlobalFree(block);
    return nullptr;
  }
  return block;
}

void FreeGlobalGame(HGLOBAL block) {
  if (!block) return;
  GlobalUnlock(block);
  GlobalFree(block);
}

int FindOpeningKeyMoves(HWND notify, HGLOBAL gameText, int ply, OpeningMoveEntry* entries, int* count,
                        uint32_t tag) {
  if (!g_state) {
    if (count) *count = 0;
    return 10;
  }
  DatabaseState* s = g_state;
  const bool listWasRunning = IsSearchRunning(&s->job);
  g_coachSink.window = notify;
  const int result = ::FindOpeningKeyMoves(&s->statsJob, &s->job, s->path, &g_coachSink, gameText, ply, entries,
                                           count, tag);
  // A list search stopped for the lookup keeps its hits; its page buttons
  // and progress go back to the idle state as at any other end.
  if (listWasRunning && !IsSearchRunning(&s->job) && g_window) {
    DrainSearchMessages();
    OnSearchProgress(2);
  }
  return result;
}

int WaitForDatabaseJob() {
  if (!g_window || !g_state) return 0;
  WaitForSearchJob(&g_state->statsJob);
  return 1;
}

int CreateDatabaseWindow(HWND frame, HINSTANCE instance) {
  g_instance = instance ? instance : GetModuleHandleA(nullptr);
  g_window = g_panel = g_tabs = g_keyInfo = g_list = g_listHeader = g_splitter = g_tree = g_treeHeader = nullptr;
  g_block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DatabaseState));
  void* memory = g_block ? GlobalLock(g_block) : nullptr;
  if (!memory) {
    if (g_block) GlobalFree(g_block);
    g_block = nullptr;
    DbEnvErrorBox(kCannotAllocateText);
    return 0;
  }
  g_state = new (memory) DatabaseState();
  g_state->job.notify = &g_sink;
  g_showDeleted = 0;
  g_notation = 0;
  g_showComments = 1;
  g_showVariations = 0;
  DefaultColumns();
  g_splitterPos = -2;
  g_topPane = 1;
  ResetHeaderCache(&g_state->cache, 21);
  CacheColumns();
  if (!RegisterClasses()) return 0;
  g_window = CreateWindowExA(0, kWindowClass, "", WS_CHILD | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, frame, nullptr, g_instance, nullptr);
  if (!g_window) return 0;
  g_sink.window = g_window;
  NumberedWindowOp(WOP_SET_HANDLE, WIN_DATABASE, reinterpret_cast<intptr_t>(g_window));
  int result = 1;
  g_panel = CreateDialogParamA(g_instance, MAKEINTRESOURCEA(kPanelId), g_window, PanelProc, 0);
  if (g_panel) {
    SetWindowLongPtrA(g_panel, GWLP_ID, kPanelId);
    g_tabs = GetDlgItem(g_panel, kTabsId);
    for (int page = 0; page < 5; ++page) {
      TCITEMA tab{};
      tab.mask = TCIF_TEXT;
      tab.pszText = const_cast<char*>(Text(uint32_t(1910 + page)));
      SendMessageA(g_tabs, TCM_INSERTITEMA, WPARAM(page), LPARAM(&tab));
    }
    g_keyInfo = CreateDialogParamA(g_instance, MAKEINTRESOURCEA(kKeyInfoPageId), g_panel, KeyInfoProc, 0);
    if (g_keyInfo) SetWindowLongPtrA(g_keyInfo, GWLP_ID, kKeyInfoPageId);
    g_queryPage = CreateDialogParamA(g_instance, MAKEINTRESOURCEA(kQueryPageId), g_panel, QueryPageProc, 0);
    if (g_queryPage) {
      SetWindowLongPtrA(g_queryPage, GWLP_ID, kQueryPageId);
      FillFieldLists();
    }
    if (!CreateGameViewPages(g_panel, g_instance, MakeGameViewHost())) result = 0;
    PlacePanelPages();
  } else {
    result = 0;
  }
  HFONT font = g_panel ? reinterpret_cast<HFONT>(SendMessageA(g_panel, WM_GETFONT, 0, 0)) : nullptr;
  g_list = CreateWindowExA(WS_EX_CLIENTEDGE, "CGUIListViewWnd", "",
                           WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA, 0, 0, 100, 100,
                           g_window, reinterpret_cast<HMENU>(INT_PTR(kListId)), g_instance, nullptr);
  if (g_list) {
    SendMessageA(g_list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
    if (font) SendMessageA(g_list, WM_SETFONT, WPARAM(font), 0);
    g_images = MakeRowImages();
    if (g_images) SendMessageA(g_list, LVM_SETIMAGELIST, LVSIL_SMALL, LPARAM(g_images));
    RebuildListColumns();
    g_listHeader = reinterpret_cast<HWND>(SendMessageA(g_list, LVM_GETHEADER, 0, 0));
  } else {
    result = 0;
  }
  g_splitter = CreateWindowExA(0, "CGUISplitter", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 4, g_window,
                               reinterpret_cast<HMENU>(INT_PTR(kSplitterId)), g_instance, nullptr);
  g_treeHeader = CreateWindowExA(0, kTreeHeaderClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 100, kKeyHeaderStripHeight,
                                 g_window, reinterpret_cast<HMENU>(INT_PTR(kTreeHeaderId)), g_instance, nullptr);
  g_tree = CreateWindowExA(WS_EX_CLIENTEDGE, "CGUITreeViewWnd", "",
                           WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 0, 0, 100,
                           100, g_window, reinterpret_cast<HMENU>(INT_PTR(kTreeId)), g_instance, nullptr);
  if (g_tree) {
    SendMessageA(g_tree, TVM_SETINDENT, kTreeIndent, 0);
    if (font) SendMessageA(g_tree, WM_SETFONT, WPARAM(font), 0);
  }
  if (!g_splitter || !g_tree || !g_treeHeader) result = 0;
  LoadDatabaseSettings();
  return result;
}

void ShutdownDatabaseWindow() {
  if (!g_state) return;
  SaveDatabaseSettings(GetSettingsIniPath());
  if (g_window && IsWindow(g_window)) DestroyWindow(g_window);
  g_window = nullptr;
  CloseDatabaseFile();
  if (g_images) ImageList_Destroy(g_images);
  g_images = nullptr;
  g_state->~DatabaseState();
  g_state = nullptr;
  GlobalUnlock(g_block);
  GlobalFree(g_block);
  g_block = nullptr;
}

int ActivateDatabaseRoom(RoomRecord* record) {
  if (!g_window || !g_state) return 1;
  if (!g_roomSetUp && record) {
    g_roomSetUp = true;
    std::snprintf(record->tileBitmap, sizeof record->tileBitmap, "%s", "SHORTCUT_TILE");
  }
  // The bar stays, as in every room; the window fills the room window's
  // place right of it.
  ShowNavigationBar();
  RECT area{};
  if (HWND room = static_cast<HWND>(GetNumberedWindow(WIN_ROOM))) {
    GetWindowRect(room, &area);
    MapWindowPoints(nullptr, Frame(), reinterpret_cast<POINT*>(&area), 2);
  } else {
    GetClientRect(Frame(), &area);
  }
  SetWindowPos(g_window, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
               SWP_SHOWWINDOW);
  ShowDatabaseWindow();
  UpdateDatabaseMenu();
  SendMessageA(g_window, WM_SIZE, 0, 0);
  return 1;
}

int DeactivateDatabaseRoom(RoomRecord*) {
  if (!g_window) return 1;
  ShowWindow(g_window, SW_HIDE);
  CloseDatabaseView();
  if (Frame()) SetActiveWindow(Frame());
  return 1;
}

int DatabaseRoomCommand(void*, int command) {
  if (!g_state) return 0;
  DatabaseState* s = g_state;
  switch (command) {
    case 40001:
      if (g_tree && !IsWindowVisible(g_tree)) {
        ShowWindow(g_tree, SW_SHOW);
        ShowWindow(g_treeHeader, SW_SHOW);
      }
      LayoutDatabaseWindow(g_window, true, 0);
      return 1;
    case 40013: {
      const int result = WriteCurrentGameToDatabase();
      AppMessageBoxOwned(Text(result == 0 ? 1915 : 1916), MB_OK, Frame());
      return 1;
    }
    case 40070:
      ClearQueryPage();
      ShowPanelPage(3);
      return 1;
    case 40078:
    case 40124:
      ShowPanelPage(3);
      return 1;
    case 40111:
      LoadQueryIntoPage();
      return 1;
    case 40112:
      SaveQueryFromPage();
      return 1;
    case 40113:
      ClearCriteriaTexts();
      return 1;
    case 40075:
    case 40117:
      ShowPanelPage(0);
      return 1;
    case 40076:
    case 40123:
      ShowPanelPage(1);
      return 1;
    case 40077:
    case 40125:
      ShowPanelPage(2);
      return 1;
    case 40079:
    case 40126:
      ShowPanelPage(4);
      return 1;
    case 40100: {
      char path[260];
      std::snprintf(path, sizeof path, "%s", s->path);
      uint32_t flags = 0;
      if (ChooseDatabaseFile(Frame(), path, &flags)) {
        SaveListState();
        CloseDatabaseFile();
        std::snprintf(s->path, sizeof s->path, "%s", path);
        s->statusFlags = flags;
        OpenDatabaseFile(true);
        LayoutDatabaseWindow(g_window, true, kLayoutKeep);
      }
      return 1;
    }
    case 40105:
      StopDatabaseSearch();
      CreateNewDatabase(Frame());
      return 1;
    case 40102:
      StopDatabaseSearch();
      DeleteDatabase(Frame());
      return 1;
    case 40101:
      SaveListState();
      CloseDatabaseFile();
      CutPathToFolder(s->path);
      return 1;
    case 40103:
    case 40104:
      CloseDatabaseView();
      return 1;
    case 40107:
      if (s->count > 0 && g_list) {
        SetFocus(g_list);
        SendMessageA(g_list, 0x86A0, 1, 0);
      }
      return 1;
    case 40110:
      g_showDeleted = !g_showDeleted;
      UpdateDatabaseMenu();
      return 1;
    case 40114:
      StopDatabaseSearch();
      DrainSearchMessages();
      OnSearchProgress(2);
      return 1;
    case 40115:
      LayoutDatabaseWindow(g_window, true, kLayoutListFirst);
      if (g_list) SetFocus(g_list);
      return 1;
    case 40116:
      if (g_tree && IsWindowVisible(g_tree)) {
        LayoutDatabaseWindow(g_window, true, kLayoutKeyFirst);
      } else if (g_tree) {
        ShowWindow(g_treeHeader, SW_SHOW);
        ShowWindow(g_tree, SW_SHOW);
        LayoutDatabaseWindow(g_window, true, kLayoutShare);
      }
      if (g_tree) SetFocus(g_tree);
      return 1;
    case 40108:
    case 40109:
      MarkSelectedGames(command == 40109);
      return 1;
    case 40119:
      OptimizeDatabase(Frame());
      return 1;
    case 40120:
      ImportPgnIntoDatabase(Frame());
      return 1;
    case 40122:
      ExportSelectedGames(Frame());
      return 1;
    case 40128:
    case 40129:
    case 40130:
    case 40131:
      if (g_notation != command - 40128) {
        g_notation = command - 40128;
        if (s->keyBase) FillKeyTree();
        RefreshMoveText();
      }
      UpdateDatabaseMenu();
      return 1;
    case 40209:
      g_keyMode = !g_keyMode;
      UpdateDatabaseMenu();
      return 1;
    case 40135:
    case 40136:
    case 40137:
    case 40138:
    case 40139:
    case 40140: {
      static const int kRooms[6] = {ROOM_GAME, ROOM_CLASS, ROOM_KIDS, ROOM_LIBRARY, ROOM_ONLINE, ROOM_TOURNAMENT};
      CopyGameFromRoom(kRooms[command - 40135]);
      RebuildRoomGame();
      return 1;
    }
  }
  return 0;
}

void DatabaseRoomMessageHook(HWND, UINT message, WPARAM first, LPARAM second) {
  if (!g_window) return;
  if (message == WM_GETMINMAXINFO || message == WM_INITMENUPOPUP || message == WM_EXITMENULOOP)
    SendMessageA(g_window, message, first, second);
}

void LoadDatabaseSettings() {
  if (!g_state) return;
  const char* ini = GetSettingsIniPath();
  g_state->path[0] = 0;
  if (ini && ini[0]) {
    ProfileReadString(kSection, "DBFile", "", g_state->path, sizeof g_state->path, ini);
    g_showDeleted = ProfileReadInt(kSection, "ShowDeleted", 0, ini);
    g_showComments = ProfileReadInt(kSection, "ShowComments", 0, ini);
    g_showVariations = ProfileReadInt(kSection, "ShowVariations", 0, ini);
    g_notation = ProfileReadInt(kSection, "Notation", 0, ini);
  }
  SetShowAnnotationsCheck(g_showComments);
  SetShowVariationsCheck(g_showVariations);
  ApplyDefaultDatabaseRule();
}

void SaveDatabaseSettings(const char* ini) {
  if (!g_state || !ini || !ini[0]) return;
  char stored[260] = "";
  ProfileReadString(kSection, "DBFile", "", stored, sizeof stored, ini);
  const bool same = _stricmp(stored, g_state->path) == 0 &&
                    ProfileReadInt(kSection, "ShowDeleted", 0, ini) == g_showDeleted &&
                    ProfileReadInt(kSection, "ShowComments", 0, ini) == g_showComments &&
                    ProfileReadInt(kSection, "ShowVariations", 0, ini) == g_showVariations &&
                    ProfileReadInt(kSection, "Notation", 0, ini) == g_notation;
  if (same) return;
  ProfileWriteString(kSection, "DBFile", g_state->path, ini);
  ProfileWriteInt(kSection, "ShowDeleted", g_showDeleted, ini);
  ProfileWriteInt(kSection, "ShowComments", g_showComments, ini);
  ProfileWriteInt(kSection, "ShowVariations", g_showVariations, ini);
  ProfileWriteInt(kSection, "Notation", g_notation, ini);
}

void LoadDatabaseLayout(const char* ini) {
  DefaultColumns();
  char value[kColumnsValueSize] = "";
  ProfileReadString(kSection, "Columns", "", value, sizeof value, ini);
  DatabaseColumn table[kMaxDatabaseColumns + 1];
  if (ReadColumnsLayout(value, table) > 0) std::memcpy(g_columns, table, sizeof table);
  g_topPane = ProfileReadInt(kSection, "TopPane", 0, ini);
  g_splitterPos = ProfileReadInt(kSection, "Splitter", 0, ini);
  RebuildListColumns();
  if (g_state) CacheColumns();
}

void SaveDatabaseLayout(const char* ini) {
  SaveListState();
  ProfileWriteString(kSection, "Columns", FormatColumnsLayout(g_columns).c_str(), ini);
  ProfileWriteInt(kSection, "TopPane", g_topPane, ini);
  ProfileWriteInt(kSection, "Splitter", g_splitterPos, ini);
}

void ConnectDatabaseRoom() {
  RegisterRoomModule(ROOM_DATABASE, &kDatabaseRoomModule);
  StartupServices& startup = GetStartupServices();
  startup.createDatabaseWindow = StartupCreate;
  startup.shutDownDatabaseWindow = ShutdownDatabaseWindow;
  GetFrameLinks().databaseHook = DatabaseRoomMessageHook;
}
