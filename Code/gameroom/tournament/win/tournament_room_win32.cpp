// The tournament room: see tournament_room_win32.h.
// The engine link's headers come before windows.h, whose language macros
// would otherwise rename the notation's languages.
#include "tournament_room_win32.h"
#include "rated_game_dialog.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <vector>

#include "app_globals.h"
#include "date_time.h"
#include "facet_frame.h"
#include "file_dialog.h"
#include "game_end.h"
#include "game_file.h"
#include "game_record.h"
#include "game_registry.h"
#include "look_and_feel.h"
#include "main_frame.h"
#include "main_loop.h"
#include "message_box.h"
#include "app_messages.h"
#include "game_room_core.h"
#include "pgn_write.h"
#include "print_front.h"
#include "profile.h"
#include "room_board_win32.h"
#include "room_switch.h"
#include "room_window.h"
#include "shell_hosts.h"
#include "shell_strings.h"
#include "skinned_dialog.h"
#include "file_errors.h"
#include "tournament_dialogs_win32.h"
#include "tournament_file.h"
#include "tournament_runner.h"
#include "tournament_schedule.h"
#include "tournament_script.h"
#include "tournament_wizard_win32.h"
#include "user_settings.h"
#include "wallpaper.h"
#include "win/board_view_win32.h"
#include "window_table.h"

namespace {

enum : int {
  kRoomMenu = 20,
  kRoomKeys = 33,
  kCmdLoadAdjourned = 40016,
  kCmdAdjourn = 40023,
  kCmdRatedGame = 40041,
  kCmdCreate = 40091,
  kCmdLoadTournament = 40092,
  kCmdSchedule = 40093,
  kCmdResults = 40094,
  kCmdGameItem1 = 40096,
  kCmdPrint = 40097,
  kCmdGameItem2 = 40098,
  kStrNoTournament = 1962,
  kStrStandings = 1963,
  kStrSchedule = 1964,
  kStrVersus = 394,
  kStrAdjournSure = 175,
  kStrGameAdjourned = 177,
  kStrAdjournAfterMove = 180,
  kStrAdjournQuestion = 575,
  kTileDialog = 118,
  kTileRatedGame = 21680,
  kTileTournament = 21685,
};

constexpr char kWallpaperFile[] = "TournamentBackground.bmp";
constexpr char kPaneClass[] = "RWTournamentPane";
constexpr UINT_PTR kPaneTimer = 1;
constexpr UINT kPaneTimerMs = 500;
// Posted to the pane: the user's move is played, the game may be adjourned.
constexpr UINT kMsgAdjournNow = 0x8113;
// Posted to the pane: the rated game in play ended (booked outside the
// rules' end-of-game call, which may come from the engine's reply).
constexpr UINT kMsgRatedGameEnded = 0x8114;
// The room's idle game before any is played (the room's own kind).
constexpr uint32_t kIdleGameKind = 0x20002050;

struct TournamentRoom {
  Tournament tournament;
  int initialised = 0;
  int scriptRun = 0;
  HWND pane = nullptr;
  HWND tile = nullptr;
  GameRecord* game = nullptr;   // the game the room plays now
  GameRecord* shown = nullptr;  // the game registered for the room, on its board
  std::string savedImage;       // the adjourned game read with the tournament file
  HWND adjournBox = nullptr;    // "Make your next move to adjourn the game...."
  int scriptGame = -1;         // its [Game%d] section when a script started it
  std::string white, black, event;
  int shownPly = -1;
  int tournamentGame = 0;  // the game in play is the tournament's
  int finishing = 0;       // a finished game's end is being handled
  std::unique_ptr<TournamentRunner> runner;
};

TournamentRoom* g_room = nullptr;
RoomRecord* g_record = nullptr;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }
std::string Text(int id) { return ShellString(id); }

// ---- the pane: standings, schedule and the game in play -----------------

struct Fonts {
  HFONT title, head, body;
};

Fonts MakeFonts() {
  auto make = [](int height, int weight) {
    return CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
                       CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, "RookwellOnyx");
  };
  return {make(20, FW_BOLD), make(15, FW_BOLD), make(14, FW_NORMAL)};
}

void FreeFonts(const Fonts& f) {
  DeleteObject(f.title);
  DeleteObject(f.head);
  DeleteObject(f.body);
}

const COLORREF kInk = RGB(236, 228, 206);
const COLORREF kDim = RGB(176, 168, 150);
const COLORREF kBrass = RGB(196, 160, 86);
const COLORREF kPanel = RGB(30, 36, 33);
const COLORREF kRow = RGB(40, 48, 44);

void TextAt(HDC dc, HFONT font, COLORREF colour, int x, int y, int width, const std::string& text,
            UINT align = DT_LEFT) {
  SelectObject(dc, font);
  SetTextColor(dc, colour);
  RECT r{x, y, x + width, y + 24};
  DrawTextA(dc, text.c_str(), -1, &r, align | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_TOP);
}

void Line(HDC dc, int x0, int y, int x1, COLORREF colour) {
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x0, y, nullptr);
  LineTo(dc, x1, y);
  SelectObject(dc, old);
  DeleteObject(pen);
}

std::string ResultText(int32_t result) {
  if (result == kResultNotPlayed) return "";
  if (result == 0) return "adjourned";
  char text[64] = "";
  GetResultText(uint32_t(result), text, sizeof text);
  return text;
}

std::string Score(int32_t tenths) {
  char text[16];
  std::snprintf(text, sizeof text, "%d.%d", tenths / 10, tenths % 10);
  return text;
}

std::string Heading(const Tournament& t) {
  std::string heading = Text(t.kind == TOURNAMENT_SWISS ? 144 : 143);
  char players[48];
  std::snprintf(players, sizeof players, Text(141).c_str(), t.entrantCount);
  heading += std::string("  -  ") + players;
  const ClockSetting clock{t.timeControl.kind, t.timeControl.base, t.timeControl.increment};
  char clockText[64];
  FormatTimeControl(&clock, clockText, sizeof clockText);
  if (clockText[0]) heading += std::string("  -  ") + clockText;
  return heading;
}

// The pane's height for what it shows: the schedule lists every game.
int PaneRows(const Tournament& t) {
  const int games = std::min(t.totalGames, kTournamentPairings);
  return t.entrantCount + games;
}

// The short result of a slot beside the board, where the long texts do not
// fit: "1-0", "0-1", "1/2", "adj.".
std::string ShortResult(int32_t result) {
  switch (result) {
    case kResultNotPlayed:
      return "";
    case 0:
      return "adj.";
    case 1: case 10: case 12:
      return "0-1";
    case 2: case 11: case 13:
      return "1-0";
  }
  return result >= 3 && result <= 14 ? "1/2" : ResultText(result);
}

// The pane stands beside the board when the room shows one, and is then
// narrow: fewer columns, shorter texts.
bool Narrow(int width) { return width < 420; }

void PaintStandings(HDC dc, const Fonts& f, const Tournament& t, int x, int* y, int width) {
  TextAt(dc, f.head, kBrass, x, *y, width, Text(kStrStandings));
  *y += 22;
  const bool narrow = Narrow(width);
  const int columns = narrow ? 2 : 5;
  const int wide[] = {x + width - 250, x + width - 205, x + width - 160, x + width - 115, x + width - 60};
  const int thin[] = {x + width - 100, x + width - 50};
  const int* cols = narrow ? thin : wide;
  const char* wideNames[] = {"W", "D", "L", "Games", "Score"};
  const char* thinNames[] = {"Games", "Score"};
  const char** names = narrow ? thinNames : wideNames;
  auto columnWidth = [&](int c) { return narrow || c >= 3 ? 50 : 40; };
  TextAt(dc, f.body, kDim, x + 8, *y, 200, "Player");
  for (int i = 0; i < columns; ++i) TextAt(dc, f.body, kDim, cols[i], *y, columnWidth(i), names[i], DT_CENTER);
  *y += 20;
  Line(dc, x, *y - 2, x + width, kBrass);
  std::vector<int> order;
  for (int i = 0; i < t.entrantCount; ++i) order.push_back(i);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    if (t.entrants[a].score != t.entrants[b].score) return t.entrants[a].score > t.entrants[b].score;
    return t.entrants[a].rating > t.entrants[b].rating;
  });
  for (int i : order) {
    const TournamentEntrant& e = t.entrants[i];
    char name[64];
    if (narrow)
      std::snprintf(name, sizeof name, "%.*s", kEntrantNameSize, e.name);
    else
      std::snprintf(name, sizeof name, "%.*s (%d)", kEntrantNameSize, e.name, e.rating);
    TextAt(dc, f.body, kInk, x + 8, *y, cols[0] - x - 12, name);
    std::vector<std::string> values = {std::to_string(e.wins), std::to_string(e.draws), std::to_string(e.losses),
                                       std::to_string(e.gamesPlayed), Score(e.score)};
    if (narrow) values.erase(values.begin(), values.begin() + 3);
    for (int c = 0; c < columns; ++c) TextAt(dc, f.body, kInk, cols[c], *y, columnWidth(c), values[c], DT_CENTER);
    *y += 19;
  }
}

std::string RoundText(const Tournament& t, int slot) {
  // Round robin: a round is a cycle; Swiss: N/2 games a round.
  const int perRound = t.kind == TOURNAMENT_SWISS ? std::max(1, t.entrantCount / 2)
                                                  : std::max(1, t.totalGames / std::max(1, t.rounds));
  char text[32];
  std::snprintf(text, sizeof text, "%d, Game %d", slot / perRound + 1, slot % perRound + 1);
  return text;
}

void PaintSchedule(HDC dc, const Fonts& f, const Tournament& t, int x, int* y, int width, int bottom) {
  TextAt(dc, f.head, kBrass, x, *y, width, Text(kStrSchedule));
  *y += 22;
  Line(dc, x, *y - 2, x + width, kBrass);
  const bool narrow = Narrow(width);
  const std::string vs = Text(kStrVersus);
  const int games = std::min(t.totalGames, kTournamentPairings);
  for (int slot = 0; slot < games && *y + 19 <= bottom; ++slot) {
    const TournamentPairing& p = t.pairings[slot];
    if (slot % 2) {
      RECT band{x, *y - 1, x + width, *y + 18};
      HBRUSH b = CreateSolidBrush(kRow);
      FillRect(dc, &band, b);
      DeleteObject(b);
    }
    std::string match = "(to be paired)";
    if (p.white && p.black) {
      const TournamentEntrant* w = FindEntrant(const_cast<Tournament*>(&t), p.white, nullptr);
      const TournamentEntrant* b = FindEntrant(const_cast<Tournament*>(&t), p.black, nullptr);
      match = std::string(w ? w->name : "?") + (narrow ? " - " : "  " + vs + "  ") + (b ? b->name : "?");
    }
    if (narrow) {
      TextAt(dc, f.body, kInk, x + 8, *y, width - 58, match);
      TextAt(dc, f.body, kBrass, x + width - 46, *y, 42, ShortResult(p.result), DT_RIGHT);
    } else {
      TextAt(dc, f.body, kDim, x + 8, *y, 90, RoundText(t, slot));
      TextAt(dc, f.body, kInk, x + 100, *y, width - 230, match);
      TextAt(dc, f.body, kBrass, x + width - 125, *y, 120, ResultText(p.result), DT_RIGHT);
    }
    *y += 19;
  }
}

void PaintGame(HDC dc, const Fonts& f, int x, int* y, int width) {
  GameRecord* game = g_room->game;
  if (!game) return;
  const bool narrow = Narrow(width);
  const std::string players = g_room->white + "  " + Text(kStrVersus) + "  " + g_room->black;
  if (narrow) {
    TextAt(dc, f.head, kBrass, x, *y, width, "Now playing:");
    *y += 20;
    TextAt(dc, f.body, kInk, x + 8, *y, width - 8, players);
    *y += 20;
  } else {
    TextAt(dc, f.head, kBrass, x, *y, width, "Now playing: " + players);
    *y += 22;
  }
  const int32_t ply = GetCurrentPly(game);
  std::string moves;
  // The last few moves, numbered as the move list numbers them.
  for (int32_t p = std::max<int32_t>(1, ply - (narrow ? 3 : 7)); p <= ply; ++p) {
    char text[32] = "";
    GetPlyMoveText(game, p, 2, text, sizeof text);
    if (!text[0]) continue;
    const int number = int(game->startMoveNumber) + (p - 1) / 2;
    if (p % 2 == 1)
      moves += std::to_string(number) + ". ";
    else if (moves.empty())
      moves += std::to_string(number) + "... ";
    moves += std::string(text) + " ";
  }
  if (moves.empty()) moves = "Waiting for the first move...";
  if (game->result) moves += "   " + ResultText(int32_t(game->result));
  TextAt(dc, f.body, kInk, x + 8, *y, width - 8, moves);
  *y += 26;
}

void PaintPane(HWND pane, HDC dc) {
  RECT client;
  GetClientRect(pane, &client);
  HBRUSH panel = CreateSolidBrush(kPanel);
  FillRect(dc, &client, panel);
  DeleteObject(panel);
  HPEN border = CreatePen(PS_SOLID, 2, kBrass);
  HGDIOBJ oldPen = SelectObject(dc, border);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, 1, 1, client.right, client.bottom);
  SelectObject(dc, oldPen);
  DeleteObject(border);
  SetBkMode(dc, TRANSPARENT);
  Fonts f = MakeFonts();
  const Tournament& t = g_room->tournament;
  const int x = Narrow(client.right) ? 12 : 18;
  const int width = client.right - 2 * x;
  int y = 14;
  if (t.entrantCount > 0) {
    if (Narrow(client.right)) {
      // The heading on two lines: the kind, then players and clock.
      const std::string heading = Heading(t);
      const size_t cut = heading.find("  -  ");
      TextAt(dc, f.title, kInk, x, y, width, heading.substr(0, cut));
      y += 26;
      if (cut != std::string::npos) TextAt(dc, f.body, kDim, x, y, width, heading.substr(cut + 5));
      y += 24;
    } else {
      TextAt(dc, f.title, kInk, x, y, width, Heading(t));
      y += 32;
    }
    PaintGame(dc, f, x, &y, width);
    PaintStandings(dc, f, t, x, &y, width);
    y += 14;
    PaintSchedule(dc, f, t, x, &y, width, client.bottom - 10);
  } else {
    TextAt(dc, f.title, kInk, x, y, width, "Tournament Room");
    y += 32;
    PaintGame(dc, f, x, &y, width);
    RECT r{x, y, x + width, client.bottom - 8};
    SelectObject(dc, f.body);
    SetTextColor(dc, kDim);
    DrawTextA(dc, Text(kStrNoTournament).c_str(), -1, &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  }
  FreeFonts(f);
}

// The room's board window when the room shows it.
HWND ShownBoard() {
  HWND board = g_record ? static_cast<HWND>(g_record->boardWindow) : nullptr;
  return board && IsWindowVisible(board) ? board : nullptr;
}

// The tile and the pane: beside the board when there is one, else at the
// room's left under the tile.
void PlacePane() {
  HWND room = GetRoomWindow();
  if (!g_room || !g_room->pane || !room) return;
  RECT client;
  GetClientRect(room, &client);
  int left = 96;
  // The board window spans the room; the board's picture is what the pane
  // keeps clear of.
  BoardView* view = GetRoomBoardView(ROOM_TOURNAMENT);
  HWND board = ShownBoard();
  const PackedDib* picture = board && view && view->host ? view->host->RoomBoardBitmap() : nullptr;
  if (picture) {
    const ScreenPoint at = view->host->LayoutBoardOffset();
    POINT corner{at.x + picture->biWidth, at.y};
    MapWindowPoints(board, room, &corner, 1);
    left = corner.x + 12;
  }
  int top = 20;
  if (g_room->tile) {
    RECT tile;
    GetWindowRect(g_room->tile, &tile);
    POINT at{tile.left, tile.top};
    ScreenToClient(room, &at);
    if (at.x != left || at.y != top)
      SetWindowPos(g_room->tile, HWND_TOP, left, top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    top += tile.bottom - tile.top + 12;
  }
  const int width = std::max<int>(200, std::min<int>(680, client.right - left - 12));
  const Tournament& t = g_room->tournament;
  const int game = g_room->game ? (Narrow(width) ? 66 : 48) : 0;
  const int heading = Narrow(width) ? 18 : 0;
  const int wanted = t.entrantCount > 0 ? 150 + heading + 19 * PaneRows(t) + game : 100 + game;
  const int height = std::min<int>(wanted, client.bottom - top - 12);
  RECT now;
  GetWindowRect(g_room->pane, &now);
  MapWindowPoints(nullptr, room, reinterpret_cast<POINT*>(&now), 2);
  if (now.left != left || now.top != top || now.right - now.left != width || now.bottom - now.top != height) {
    // Drawn anew: what the pane showed at its old width does not fit.
    SetWindowPos(g_room->pane, HWND_TOP, left, top, width, height, SWP_NOACTIVATE | SWP_NOCOPYBITS);
    InvalidateRect(g_room->pane, nullptr, FALSE);
  }
}

void RefreshPane() {
  if (!g_room || !g_room->pane) return;
  PlacePane();
  InvalidateRect(g_room->pane, nullptr, FALSE);
}

void ScriptGameEnded();
void TournamentGameEnded();
// A rated game of "Play Rated Game", a script or an adjourned one resumed
// (not a tournament's).
bool RatedRoomGame(const GameRecord* game) { return !g_room->tournamentGame && (game->kind & GAME_BOOKED); }
void AdjournAfterMove();
void CloseAdjournBox();
void RatedGameEnded(GameRecord* game);
void LoadAdjournedRatedGame();
TournamentRunner& Runner();
void ShowRoomResults();

void PollGame() {
  if (!g_room) return;
  // The room switch shows the board after the room's activation, and the
  // board's picture may change size: the pane follows.
  if (g_room->pane && IsWindowVisible(g_room->pane)) PlacePane();
  GameRecord* game = g_room->game;
  if (!game) return;
  const int32_t ply = GetCurrentPly(game);
  if (ply != g_room->shownPly) {
    g_room->shownPly = ply;
    RefreshPane();
  }
  if (game->result && game->result != RESULT_ADJOURNED && !g_room->finishing) {
    if (RatedRoomGame(game)) return;  // booked by the end of the game itself
    if (g_room->tournamentGame)
      TournamentGameEnded();
    else
      ScriptGameEnded();
  }
}

LRESULT CALLBACK PaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      SetTimer(pane, kPaneTimer, kPaneTimerMs, nullptr);
      return 0;
    case WM_DESTROY:
      KillTimer(pane, kPaneTimer);
      return 0;
    case WM_TIMER:
      PollGame();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(pane, &ps);
      RECT client;
      GetClientRect(pane, &client);
      // Drawn off screen first, so the lists do not flicker as games go on.
      HDC memory = CreateCompatibleDC(dc);
      HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
      HGDIOBJ old = SelectObject(memory, bitmap);
      if (g_room) PaintPane(pane, memory);
      BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
      SelectObject(memory, old);
      DeleteObject(bitmap);
      DeleteDC(memory);
      EndPaint(pane, &ps);
      return 0;
    }
    case WM_RBUTTONUP: {
      POINT at{short(LOWORD(lParam)), short(HIWORD(lParam))};
      ClientToScreen(pane, &at);
      TournamentRoomContextMenu(pane, at);
      return 0;
    }
    case kMsgScriptStep:
      LoadAutoTestScript();
      return 0;
    case kMsgAdjournNow:
      AdjournAfterMove();
      return 0;
    case kMsgRatedGameEnded:
      if (g_room && g_room->game) RatedGameEnded(g_room->game);
      return 0;
  }
  return DefWindowProcA(pane, message, wParam, lParam);
}

// The tile is drawn as the pane is: dark, with a brass edge.
void PaintTile(HWND tile, HDC dc) {
  RECT client;
  GetClientRect(tile, &client);
  HBRUSH panel = CreateSolidBrush(kPanel);
  FillRect(dc, &client, panel);
  DeleteObject(panel);
  HPEN border = CreatePen(PS_SOLID, 2, kBrass);
  HGDIOBJ oldPen = SelectObject(dc, border);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, 1, 1, client.right, client.bottom);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(border);
}

INT_PTR CALLBACK TileProc(HWND tile, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_ERASEBKGND:
      PaintTile(tile, HDC(wParam));
      SetWindowLongPtrA(tile, DWLP_MSGRESULT, 1);
      return TRUE;
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) TournamentRoomButton(LOWORD(wParam));
      return TRUE;
  }
  return FALSE;
}

HWND MakeTile() {
  HWND room = GetRoomWindow();
  if (!room) return nullptr;
  HWND tile = CreateSkinnedDialog(Instance(), MAKEINTRESOURCEA(kTileDialog), room, TileProc, 0);
  if (tile) SetWindowPos(tile, HWND_TOP, 96, 20, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  return tile;
}

HWND MakePane() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = PaneProc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kPaneClass;
    registered = RegisterClassA(&wc) != 0;
  }
  HWND room = GetRoomWindow();
  if (!room) return nullptr;
  return CreateWindowExA(0, kPaneClass, "", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 10, 10, room, nullptr,
                         Instance(), nullptr);
}

// ---- games ---------------------------------------------------------------

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The game in play stops; it stays on the board until the next one.
void EndRoomGame() {
  GameRecord* game = g_room->game;
  if (!game) return;
  g_room->game = nullptr;
  g_room->tournamentGame = 0;
  StopGame(game);
}

// The game the room shows gives way (stopped, unregistered, destroyed).
void DropShownGame() {
  GameRecord* old = g_room->shown;
  if (!old) return;
  if (g_room->game == old) g_room->game = nullptr;
  g_room->shown = nullptr;
  StopGame(old);
  UnregisterGame(&old->id);
  if (GetCurrentGame() == old) SetCurrentGame(nullptr);
  DestroyGame(old);
}

void SendGameSet(GameRecord* game) {
  BroadcastToWindows(RWM_GAME_EVENT, GE_GAME_SET, reinterpret_cast<intptr_t>(game), 0);
}

// `game` becomes the room's game, on its board; false (and destroyed) when
// it cannot be registered.
bool ShowRoomGame(GameRecord* game) {
  DropShownGame();
  if (RegisterGame(game, ROOM_TOURNAMENT) != 0) {
    DestroyGame(game);
    SendGameSet(nullptr);
    return false;
  }
  g_room->shown = game;
  SetCurrentGame(game);
  SendGameSet(game);
  return true;
}

// The room's first game, from its two default players, shown until a game
// is played.
void MakeIdleGame() {
  static PlayerRecord white, black;
  ReadRoomPlayers(&white, &black, ROOM_TOURNAMENT);
  PlayerDescriptor w{}, b{};
  std::memcpy(&w, &white, sizeof w);
  std::memcpy(&b, &black, sizeof b);
  w.kind = b.kind = PLAYER_HUMAN;
  GameRecord* game = CreateGame(kIdleGameKind, nullptr, &w, &b, nullptr, nullptr, nullptr, WHITE, 1, 0);
  if (game) ShowRoomGame(game);
}

std::string UserFile(const char* name) {
  const char* folder = GetUserFolder();
  return std::string(folder ? folder : ".") + "\\" + name;
}

// The script branch of the end of a game: the game joins "Autotest.PGN",
// its result goes to its own [Game%d], and the next step is posted.
void ScriptGameEnded() {
  GameRecord* game = g_room->game;
  const int32_t result = int32_t(game->result);
  WritePgnFile(UserFile("Autotest.PGN").c_str(), game, true, 0);
  if (g_room->scriptGame >= 0) {
    GameScript script(GetProfile(), GetRoomScriptPath());
    script.WriteResult(g_room->scriptGame, result);
  }
  g_room->scriptGame = -1;
  EndRoomGame();
  RefreshPane();
  if (g_room->scriptRun && g_room->pane) PostMessageA(g_room->pane, kMsgScriptStep, 0, 0);
}

// The end of a rated game of the room (the rules call it as the game ends,
// adjourned games aside): booked on the user's record, its result written
// to a script's own [Game%d], and the script's next step posted.
void RatedGameEnded(GameRecord* game) {
  if (!g_room || !game || game != g_room->game || !RatedRoomGame(game) || g_room->finishing) return;
  g_room->finishing = 1;
  if (g_room->adjournBox) CloseAdjournBox();
  if (g_room->scriptGame >= 0) {
    GameScript script(GetProfile(), GetRoomScriptPath());
    script.WriteResult(g_room->scriptGame, int32_t(game->result));
  }
  g_room->scriptGame = -1;
  EndRoomGame();
  RecordFinishedGame(game, 0, -1, false);
  g_room->finishing = 0;
  RefreshPane();
  UpdateTournamentMenu();
  if (g_room->scriptRun && g_room->pane) PostMessageA(g_room->pane, kMsgScriptStep, 0, 0);
}

// The rules' end of a rated game.
void RatedGameEndHook(GameRecord* game) {
  if (g_room && g_room->pane && game == g_room->game) PostMessageA(g_room->pane, kMsgRatedGameEnded, 0, 0);
}

Tournament* RoomTournament() { return g_room ? &g_room->tournament : nullptr; }

void ScheduleChanged(Tournament*) {
  RefreshPane();
  UpdateTournamentMenu();
}

void InstallScheduleHost() {
  TournamentScheduleHost host{};
  host.roomTournament = RoomTournament;
  host.wizardTournament = TournamentWizardRecord;
  host.refresh = ScheduleChanged;
  SetTournamentScheduleHost(host);
}

// ---- adjourning, loading and printing ----------------------------------

void BoardRightClick(HWND board, POINT screen) { TournamentRoomContextMenu(board, screen); }

// The tournament game in play goes into the file and stops; a rated game
// goes into the adjourned games folder.
void AdjournNow() {
  GameRecord* game = g_room->game;
  if (!game) return;
  if (RatedRoomGame(game)) {
    if (SaveAdjournedGame(game)) EndRoomGame();
    RefreshPane();
    return;
  }
  if (!g_room->tournamentGame) return;  // a script's game is not the tournament's
  Runner().Adjourn();
  RefreshPane();
  AppMessageBox(Text(kStrGameAdjourned).c_str(), MB_OK);
}

void CloseAdjournBox() {
  HWND box = g_room->adjournBox;
  g_room->adjournBox = nullptr;
  if (box && IsWindow(box)) EndMessageBox(box, IDCANCEL);
  SetRoomBoardRightClick(ROOM_TOURNAMENT, BoardRightClick);
}

// While the box waits for the user's move: the move played is posted, so
// that the board has finished with it before the game is adjourned.
LRESULT AdjournAfterMoveCallback(HWND, UINT message, WPARAM code, LPARAM, intptr_t) {
  if (message == RWM_GAME_EVENT && code == GE_MOVE_PLAYED && g_room && g_room->pane)
    PostMessageA(g_room->pane, kMsgAdjournNow, 0, 0);
  return 0;
}

void AdjournPromptCallback(int button, uint32_t) {
  if (!g_room || button != IDCANCEL) return;
  g_room->adjournBox = nullptr;
  SetRoomBoardRightClick(ROOM_TOURNAMENT, BoardRightClick);
}

void AdjournAfterMove() {
  if (!g_room->adjournBox) return;  // cancelled meanwhile
  CloseAdjournBox();
  AdjournNow();
}

// "Adjourn": at once when the engine is to move, else after the user's move.
void AdjournCommand() {
  GameRecord* game = g_room->game;
  if (!game || IsGameOver(game) || g_room->adjournBox) return;
  if (!g_room->tournamentGame && !RatedRoomGame(game)) return;
  if (AppMessageBox(Text(kStrAdjournSure).c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  if (g_room->game != game || IsGameOver(game)) return;  // it ended while the question was open
  if (IsHumanToMove(game)) {
    if (HWND board = RoomBoardWindow(ROOM_TOURNAMENT)) SetBoardWndCallback(board, AdjournAfterMoveCallback, 0);
    g_room->adjournBox = ShowProgressMessageBox(Text(kStrAdjournAfterMove).c_str(), AdjournPromptCallback, 0);
    return;
  }
  AdjournNow();
}

void LoadTournamentCommand() {
  char path[MAX_PATH] = "", title[MAX_PATH] = "";
  const char* userFolder = GetUserFolder();
  if (userFolder) SetFileDialogFolder(userFolder);
  int type = 0, openAs = 0;
  if (!DoFileDialog(GetMainFrame(), Instance(), path, title, 0, 5, 1, &type, &openAs, nullptr)) return;
  std::string folder = path, name = title;
  const size_t cut = folder.find_last_of("\\/");
  if (name.empty()) name = cut == std::string::npos ? folder : folder.substr(cut + 1);
  folder = cut == std::string::npos ? std::string(".") : folder.substr(0, cut);
  g_room->savedImage.clear();
  Runner().LoadTournamentFile(folder, name, &g_room->savedImage);
  g_room->savedImage.clear();
  UpdateTournamentMenu();
  RefreshPane();
}

void PrintTournamentReport() {
  for (const std::string& line : Runner().ReportLines()) PrintTextList(GetMainFrame(), line.c_str());
}

// ---- commands ------------------------------------------------------------

void CreateTournament() {
  if (!RunTournamentWizard(Instance(), GetMainFrame(), &g_room->tournament)) return;
  Tournament& t = g_room->tournament;
  if (t.kind == TOURNAMENT_SWISS) {
    static SeededTournamentRandom random(GetTickCount());
    PairNextSwissRound(t, random, Text(kStrVersus).c_str());
  } else {
    BuildRoundRobinSchedule();
  }
  RefreshPane();
  if (NameAndSaveNewTournament()) {
    t.started = 1;
    Runner().RunNextTournamentGame(false);
  }
  UpdateTournamentMenu();
  RefreshPane();
}

CmMenu* MakeMenu(int) { return cmLoadMenu(Instance(), MAKEINTRESOURCEA(kRoomMenu)); }
void* MakeKeys(int) { return LoadAcceleratorsA(Instance(), MAKEINTRESOURCEA(kRoomKeys)); }

intptr_t RoomMessage(void* window, uintptr_t, intptr_t lParam) {
  POINT at{short(LOWORD(lParam)), short(HIWORD(lParam))};
  if (at.x == -1 && at.y == -1) GetCursorPos(&at);
  TournamentRoomContextMenu(HWND(window), at);
  return 0;
}

const RoomModule kModule = {ActivateTournamentRoom,
                            DeactivateTournamentRoom,
                            FreeTournamentRoom,
                            MakeMenu,
                            TournamentRoomCommand,
                            RoomMessage,
                            MakeKeys};

bool StartRoomGame(const PlayerDescriptor& w, const PlayerDescriptor& b, uint32_t kind, const std::string& event,
                   const std::string& round);

// The rated game of "Play Rated Game" is played here like any game of the
// room.
class RoomRatedGames final : public RatedGameRoom {
 public:
  bool KidsRoom() override { return false; }
  bool StartGame(const PlayerDescriptor& white, const PlayerDescriptor& black, uint32_t kindFlags) override {
    return StartRoomGame(white, black, kindFlags, "Rookwell Onyx Rated Game", "");
  }
};
RoomRatedGames g_ratedGames;

}  // namespace

void RegisterTournamentRoom() { RegisterRoomModule(ROOM_TOURNAMENT, &kModule); }

Tournament* GetRoomTournament() { return RoomTournament(); }
HWND GetTournamentPane() { return g_room ? g_room->pane : nullptr; }

void InitTournamentRoom(RoomRecord* record) {
  if (!g_room) g_room = new TournamentRoom;
  g_record = record;
  ClearTournament(&g_room->tournament);
  InstallScheduleHost();
  TournamentWizardRecord();
  SetTournamentDefaults();
  record->roomData = g_room;
  LoadWallpaper(kWallpaperFile, record);
  if (CreateRoomBoardView(record)) SetRoomBoardRightClick(ROOM_TOURNAMENT, BoardRightClick);
  MakeIdleGame();
  g_room->initialised = 1;
}

int ActivateTournamentRoom(RoomRecord* record) {
  if (!g_room || !g_room->initialised || g_record != record) InitTournamentRoom(record);
  ShowNavigationBar();
  if (!g_room->pane) g_room->pane = MakePane();
  if (!g_room->tile) g_room->tile = MakeTile();
  PlacePane();
  ShowWindow(g_room->pane, SW_SHOWNA);
  if (g_room->tile) ShowWindow(g_room->tile, SW_SHOWNA);
  g_room->scriptRun = 0;
  SetRatedGameEndHook(RatedGameEndHook);
  if (FileExists(GetRoomScriptPath())) PostMessageA(g_room->pane, kMsgScriptStep, 0, 0);
  ChangeIdleLevel(1);
  UpdateTournamentMenu();
  return 1;
}

int DeactivateTournamentRoom(RoomRecord* record) {
  // A tournament game is adjourned before the room is left, if the user
  // agrees; a script's game holds the room until it ends.
  if (QueryAdjournTournament()) return 0;
  if (g_room && g_room->game && RatedRoomGame(g_room->game)) {
    if (QueryAdjournRatedGame(g_room->game)) return 0;
    if (IsGameOver(g_room->game)) EndRoomGame();
  }
  if (g_room && (g_room->game || g_room->tournament.gameInProgress)) return 0;
  if (g_room && g_room->shown) StopGame(g_room->shown);
  if (record && record->boardWindow) ShowWindow(static_cast<HWND>(record->boardWindow), SW_HIDE);
  if (g_room && g_room->pane) ShowWindow(g_room->pane, SW_HIDE);
  if (g_room && g_room->tile) ShowWindow(g_room->tile, SW_HIDE);
  ChangeIdleLevel(0);
  return 1;
}

void FreeTournamentRoom(RoomRecord* record, int) {
  if (!g_room || record != g_record) return;
  SetRatedGameEndHook(nullptr);
  EndRoomGame();
  DropShownGame();
  DestroyRoomBoardView(record);
  if (g_room->pane) DestroyWindow(g_room->pane);
  if (g_room->tile) DestroyWindow(g_room->tile);
  delete g_room;
  g_room = nullptr;
  g_record = nullptr;
  record->roomData = nullptr;
}

int TournamentRoomCommand(void*, int command) {
  if (!g_room) return 0;
  switch (command) {
    case kCmdCreate:
      if (QueryAdjournTournament() || g_room->game) return 1;  // a game in play keeps its tournament
      CreateTournament();
      return 1;
    case kCmdLoadTournament:
      if (QueryAdjournTournament() || g_room->game) return 1;
      LoadTournamentCommand();
      return 1;
    case kCmdAdjourn:
      AdjournCommand();
      return 1;
    case kCmdPrint:
      if (g_room->tournament.started) PrintTournamentReport();
      return 1;
    case kCmdSchedule:
      if (!g_room->game && g_room->tournament.started) Runner().ScheduleNextGames();
      return 1;
    case kCmdResults:
      if (g_room->tournament.started) ShowRoomResults();
      return 1;
    case kCmdRatedGame:
      // A game in play (a tournament's or a rated one) keeps the room.
      if (g_room->game) return 1;
      RunRatedGameDialog(GetMainFrame(), &g_ratedGames);
      return 1;
    case kCmdLoadAdjourned:
      if (g_room->game) return 1;
      LoadAdjournedRatedGame();
      return 1;
  }
  return 0;
}

namespace {

struct MenuItem {
  int id;
  const char* text;
};

// The board's menus: a piece of a person's side, another piece, an empty
// square; empty when the point is off the board's picture.
std::vector<MenuItem> BoardMenuItems(HWND board, POINT screen) {
  BoardView* view = GetRoomBoardView(ROOM_TOURNAMENT);
  if (!view || board != view->window) return {};
  POINT client = screen;
  ScreenToClient(board, &client);
  int colour = 0;
  const MenuItem chessSet{40087, "Chess Set"}, help{40, "Help"};
  switch (HitRoomBoard(view, client, &colour)) {
    case RoomBoardHit::Piece: {
      GameRecord* game = g_room->shown;
      if (game && PlayerForSide(game, colour)->kind == PLAYER_HUMAN)
        return {chessSet, {40022, "Pause"}, {kCmdAdjourn, "Adjourn"}, {40024, "Offer Draw"}, {40025, "Resign"}, help};
      return {chessSet, help};
    }
    case RoomBoardHit::Square:
      return {chessSet, {11, "Flip Board"}, {40163, "Print Board Position"},
              {40009, "Copy Graphical Window Contents"}, help};
    case RoomBoardHit::Outside:
      break;
  }
  return {};
}

}  // namespace

void TournamentRoomContextMenu(HWND window, POINT at) {
  if (!g_room) return;
  const std::vector<MenuItem> boardItems = BoardMenuItems(window, at);
  if (!boardItems.empty()) {
    HMENU menu = CreatePopupMenu();
    for (const MenuItem& item : boardItems) AppendMenuA(menu, MF_STRING, UINT_PTR(item.id), item.text);
    const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
    DestroyMenu(menu);
    if (chosen && GetMainFrame()) PostMessageA(GetMainFrame(), WM_COMMAND, WPARAM(chosen), 0);
    return;
  }
  HMENU menu = CreatePopupMenu();
  HMENU windows = CreatePopupMenu();
  const struct {
    int id;
    const char* text;
  } items[] = {{kCmdLoadAdjourned, "Load Adjourned Game"},
               {kCmdLoadTournament, "Load Tournament"},
               {40013, "Save Game"},
               {40022, "Pause"},
               {40165, "Load Layout"},
               {40166, "Save Layout"},
               {40178, "Wallpaper"}};
  for (const auto& item : items) AppendMenuA(menu, MF_STRING, UINT_PTR(item.id), item.text);
  AppendMenuA(windows, MF_STRING, 40032, "Shortcuts");
  AppendMenuA(windows, MF_STRING, 40088, "Game Status");
  AppendMenuA(windows, MF_STRING, 40037, "Captured Pieces");
  AppendMenuA(menu, MF_POPUP, UINT_PTR(windows), "Windows");
  AppendMenuA(menu, MF_STRING, 40, Text(2100).c_str());
  const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
  DestroyMenu(menu);
  if (chosen && GetMainFrame()) PostMessageA(GetMainFrame(), WM_COMMAND, WPARAM(chosen), 0);
}

int TournamentRoomButton(int id) {
  switch (id) {
    case kTileRatedGame:
      return TournamentRoomCommand(nullptr, kCmdRatedGame);
    case kTileTournament:
      return TournamentRoomCommand(nullptr, kCmdCreate);
  }
  return 0;
}

void UpdateTournamentMenu() {
  if (!g_room || !g_record || !g_record->menu) return;
  CmMenu* menu = g_record->menu;
  const Tournament& t = g_room->tournament;
  auto set = [menu](int item, bool on) {
    cmEnableMenuItem(menu, UINT(item), MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
  };
  if (!t.started) {
    for (int item : {kCmdPrint, kCmdSchedule, kCmdGameItem1, kCmdGameItem2, kCmdResults}) set(item, false);
    return;
  }
  const bool playing = t.gameInProgress != 0;
  set(kCmdSchedule, !playing && t.gamesPlayed < t.totalGames && !t.adjourned);
  set(kCmdGameItem1, playing);
  set(kCmdGameItem2, playing);
  set(kCmdResults, true);
  set(kCmdPrint, HasDefaultPrinter() != 0);
}

std::string GetRoomScriptPath() {
  const char* folder = GetUserFolder();
  return std::string(folder ? folder : ".") + "\\tournamentroom.CSC";
}

void LoadAutoTestScript() {
  if (!g_room || g_room->game) return;
  g_room->scriptRun = 1;
  GameScript script(GetProfile(), GetRoomScriptPath());
  const ScriptStep step = NextScriptStep(script);
  switch (step.action) {
    case ScriptStep::START_AUTOTEST: {
      const ScriptGame& g = step.game;
      if (!StartAutoTestGame(g.white.c_str(), g.black.c_str(), g.timeKind, g.baseTime, g.bonusTime)) {
        g_room->scriptRun = 0;
        return;
      }
      g_room->scriptGame = g.number;
      return;
    }
    case ScriptStep::START_RATED: {
      const ScriptGame& g = step.game;
      if (!StartScriptedRatedGame(GetMainFrame(), &g_ratedGames, g.white, g.black, uint32_t(g.timeKind),
                                  uint32_t(g.baseTime), uint32_t(g.bonusTime))) {
        g_room->scriptRun = 0;
        return;
      }
      g_room->scriptGame = g.number;
      return;
    }
    case ScriptStep::COMPLETED:
      g_room->scriptRun = 0;
      AppMessageBox(step.message.c_str(), MB_OK);
      return;
    case ScriptStep::NOTHING:
      g_room->scriptRun = 0;
      return;
  }
}

namespace {

// `game` is shown on the room's board and played.
bool PlayRoomGame(GameRecord* game) {
  if (!ShowRoomGame(game)) return false;
  g_room->game = game;
  g_room->white = game->white.name, g_room->black = game->black.name;
  g_room->shownPly = -1;
  StartGame(game);
  RefreshPane();
  return true;
}

// The adjourned game read with the tournament file, made the room's game
// again at its last move: its players and header as saved, its clocks
// started afresh. False when the image cannot be read.
bool ResumeRoomGame(const std::string& image, uint32_t kind) {
  if (!g_room || g_room->game || image.empty()) return false;
  PlayerDescriptor none{};
  GameRecord* loaded = CreateGame(kind, nullptr, &none, &none, nullptr, nullptr, nullptr, WHITE, 1, 0);
  if (!loaded) return false;
  const int ply = ReadGameFileV8(loaded, reinterpret_cast<const uint8_t*>(image.data()), image.size());
  if (ply < 0) {
    DestroyGame(loaded);
    return false;
  }
  SeekToPly(loaded, GetMoveCount(loaded));
  PlayerDescriptor w{}, b{};
  std::memcpy(&w, &loaded->white, sizeof w);
  std::memcpy(&b, &loaded->black, sizeof b);
  GameRecord* game = CreateGame(kind, &loaded->header, &w, &b, nullptr, &loaded->start, loaded->tree,
                                loaded->startSide, loaded->startMoveNumber, 0);
  DestroyGame(loaded);
  return game && PlayRoomGame(game);
}

// "Load Adjourned Game": the chosen rated game is played on as a rated game
// and its file deleted once it runs again.
void LoadAdjournedRatedGame() {
  const std::string path = ChooseAdjournedRatedGame(GetMainFrame());
  if (path.empty()) return;
  std::string image;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    char block[4096];
    for (size_t n; (n = std::fread(block, 1, sizeof block, file)) > 0;) image.append(block, n);
    std::fclose(file);
  }
  if (!ResumeRoomGame(image, 48)) {
    AppMessageBox(TournamentFileMessage(FILE_DAMAGED, path.c_str()).c_str(), MB_OK);
    return;
  }
  DeleteFileA(path.c_str());
  if (HWND board = RoomBoardWindow(ROOM_TOURNAMENT)) SetBoardWndCallback(board, nullptr, 0);
}

// A game of the room between the two players, started; false when it could
// not be made.
bool StartRoomGame(const PlayerDescriptor& w, const PlayerDescriptor& b, uint32_t kind,
                   const std::string& event, const std::string& round) {
  if (!g_room || g_room->game) return false;
  GameRecord* game = CreateGame(kind, nullptr, &w, &b, nullptr, nullptr, nullptr, 0, 1, 0);
  if (!game) return false;
  std::snprintf(game->header.event, sizeof game->header.event, "%s", event.c_str());
  std::snprintf(game->header.round, sizeof game->header.round, "%s", round.c_str());
  return PlayRoomGame(game);
}

PlayerDescriptor Player(const std::string& name, bool computer, int rating,
                        const TournamentTimeControl& clock, uint32_t slot) {
  PlayerDescriptor d{};
  std::snprintf(d.name, sizeof d.name, "%s", name.c_str());
  d.kind = computer ? PLAYER_ENGINE : PLAYER_HUMAN;
  d.slot = slot;
  d.value = uint32_t(rating);
  d.timeControl = uint32_t(clock.kind);
  d.baseMs = uint32_t(clock.base);
  d.periodOrIncrement = uint32_t(clock.increment);
  return d;
}

constexpr uint32_t kTournamentGameKind = GAME_LOSS_ON_TIME | GAME_TOURNAMENT | GAME_NO_END_BOX_2;
constexpr uint32_t kRatedGameBit = 32;

GameRecord* g_finished = nullptr;  // the game whose end is being booked

// The runner's dialogs, games and messages in this room.
class RoomRunnerHost final : public TournamentRunnerHost {
 public:
  int ShowSchedule(const std::vector<std::string>& rows, bool autoEnabled) override {
    return ShowTournamentScheduleDialog(Instance(), GetMainFrame(), rows, autoEnabled);
  }
  bool Announce(const std::string& white, const std::string& black, bool resuming) override {
    return AnnounceTournamentGameDialog(Instance(), GetMainFrame(), white, black, resuming);
  }
  bool StartGame(const TournamentGameSpec& spec, bool resume) override {
    const uint32_t kind = kTournamentGameKind | (spec.rated ? kRatedGameBit : 0);
    if (resume) {
      const std::string image = std::move(g_room->savedImage);
      g_room->savedImage.clear();
      if (!ResumeRoomGame(image, kind)) {
        Message(TournamentFileMessage(FILE_DAMAGED, g_room->runner->name().c_str()));
        return false;
      }
      g_room->tournamentGame = 1;
      return true;
    }
    const PlayerDescriptor w = Player(spec.white, spec.whiteComputer, spec.whiteRating, spec.timeControl, 1);
    const PlayerDescriptor b = Player(spec.black, spec.blackComputer, spec.blackRating, spec.timeControl, 0);
    if (!StartRoomGame(w, b, kind, spec.event, spec.round)) return false;
    g_room->tournamentGame = 1;
    return true;
  }
  bool IsEngineToMove() override { return g_room->game && ::IsEngineToMove(g_room->game); }
  void ShowResults() override {
    RefreshPane();
    TournamentRunner& runner = *g_room->runner;
    const std::vector<std::vector<std::string>> rows = runner.ResultRows();
    ShowTournamentResultsDialog(Instance(), GetMainFrame(), rows, g_room->tournament.kind == TOURNAMENT_SWISS,
                                runner.GamesPlayedLines());
  }
  void AppendGameToPgn(const std::string& path) override {
    if (g_finished) WritePgnFile(path.c_str(), g_finished, true, -1);
  }
  // The game in play ends as adjourned; its image goes into the file.
  std::string AdjournGame() override {
    GameRecord* game = g_room->game;
    std::string image;
    if (!game) return image;
    EndGame(game, RESULT_ADJOURNED);
    if (!BuildGameFileImage(game, &image)) image.clear();
    EndRoomGame();
    RefreshPane();
    return image;
  }
  void Message(const std::string& text) override { AppMessageBox(text.c_str(), MB_OK); }
  void UpdateMenu() override {
    UpdateTournamentMenu();
    RefreshPane();
  }
  std::string ResultText(int32_t code) override { return ::ResultText(code); }
  // A person of a rated tournament game: 1 White, 0 Black.
  void RecordRatedGame(int side) override {
    if (g_finished) RecordFinishedGame(g_finished, 1, side, false);
  }
};

RoomRunnerHost g_runnerHost;

void ShowRoomResults() { g_runnerHost.ShowResults(); }

TournamentRunner& Runner() {
  if (!g_room->runner) {
    static SeededTournamentRandom random(GetTickCount());
    g_room->runner.reset(new TournamentRunner(g_room->tournament, g_runnerHost, random, Text(kStrVersus)));
  }
  return *g_room->runner;
}

void TournamentGameEnded() {
  GameRecord* game = g_room->game;
  const int32_t result = int32_t(game->result);
  g_room->finishing = 1;
  g_room->game = nullptr;
  g_room->tournamentGame = 0;
  StopGame(game);
  g_finished = game;
  const char* folder = GetUserFolder();
  // Books the result, saves the file and goes on to the next game; the
  // finished game stays on the board until the next one replaces it.
  Runner().FinishGame(result, folder ? folder : ".");
  g_finished = nullptr;
  g_room->finishing = 0;
  RefreshPane();
}

bool FileExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int NameAndSaveNewTournament() {
  if (!g_room) return 0;
  const std::time_t now = std::time(nullptr);
  const std::tm* today = std::localtime(&now);
  char path[MAX_PATH];
  std::snprintf(path, sizeof path, "Tournament %d-%d-%d", today ? today->tm_mon + 1 : 1,
                today ? today->tm_mday : 1,
                today ? (today->tm_year > 70 ? 1900 + today->tm_year : 2000 + today->tm_year) : 2000);
  const char* userFolder = GetUserFolder();
  if (userFolder) SetFileDialogFolder(userFolder);
  char title[MAX_PATH] = "";
  for (;;) {
    int type = 0, openAs = 0;
    if (!DoFileDialog(GetMainFrame(), Instance(), path, title, 1, 5, 0, &type, &openAs, nullptr)) return 0;
    if (!FileExists(path)) break;
    const std::string question = Text(301) + "\"" + title + "\"";
    if (AppMessageBox(question.c_str(), MB_YESNO) == IDYES) break;
  }
  std::string folder = path;
  const size_t cut = folder.find_last_of("\\/");
  folder = cut == std::string::npos ? std::string(".") : folder.substr(0, cut);
  TournamentRunner& runner = Runner();
  runner.SetFile(folder, title[0] ? title : path);
  if (ProfileReadInt("debug", "TournScript", 0, GetMainIniPath())) {
    GameScript script(GetProfile(), GetRoomScriptPath());
    WriteTournamentScript(script, g_room->tournament);
  }
  return runner.SaveTournamentFile();
}

int StartAutoTestGame(const char* white, const char* black, int timeKind, int baseMs, int bonus) {
  if (!g_room || g_room->game) return 0;
  if (!AnnounceTournamentGameDialog(Instance(), GetMainFrame(), white, black, false)) return 0;
  const TournamentTimeControl clock{timeKind, {}, baseMs, bonus, 0};
  return StartRoomGame(Player(white, true, 0, clock, 1), Player(black, true, 0, clock, 0),
                       kTournamentGameKind, "AutoTest Tournament", "")
             ? 1
             : 0;
}

int QueryAdjournTournament() {
  if (!g_room || !g_room->tournament.gameInProgress || !g_room->game || !g_room->tournamentGame) return 0;
  if (AppMessageBox(Text(kStrAdjournQuestion).c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES) return 1;
  if (g_room->adjournBox) CloseAdjournBox();
  Runner().Adjourn();
  RefreshPane();
  return 0;
}
