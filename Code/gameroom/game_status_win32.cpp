// The Game Status window over Win32: labels drawn by the window itself, the
// toolkit's owner-drawn list for the moves, the layout core for the
// arrangements.
#include "game_status_win32.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "app_messages.h"
#include "chess_clock.h"
#include "data_sets.h"
#include "dibkit.h"
#include "dibkit_gdi.h"
#include "facet.h"
#include "game_host.h"
#include "game_record.h"
#include "game_registry.h"
#include "heapkit.h"
#include "move_list_math.h"
#include "personality.h"
#include "room_pictures_win32.h"
#include "status_layout.h"
#include "status_texts.h"
#include "window_table.h"

namespace {

constexpr uint32_t kRatedGame = 0x20;  // kind flag: the game is rated
constexpr uint32_t kNoClocks = 0x20000000;
constexpr uint32_t kListOnly = 0x80000;
constexpr uint32_t kQuietMoveEvents = 0x3D000;  // games whose moves the list does not follow
constexpr int kTextColour = 23, kHighlight = 45, kNotReached = 145;
constexpr int kNoRoom = 9999;
constexpr int kButtons[7] = {kNavStart, kNavPlayBack, kNavBack, kNavStop, kNavForward, kNavPlay, kNavEnd};

struct StatusLabel {
  char text[64];
  PackedDib* picture;
  int x, y, width, height;
  int shown;
  HFONT font;
  int drawWidth;  // a name wider than the window is drawn this wide, ending in "..."
};

struct PlayerBlock {
  StatusLabel name, rating, clock, timeControl, portrait;
  RECT emblem;
};

struct MoveRowItem {
  uint32_t whiteAlternatives;
  uint32_t blackAlternatives;
  char white[16];
  char black[16];
};

struct GameStatusRecord {
  WNDPROC listProc;
  HBITMAP markerUp, markerDown;
  int markerHeight;
  int busy;
  MoveListCounters counters;
  LPARAM lastMouse;
  int navigationLocked;
  int paintingSuspended;
  int noClocks;
  int moveSelect;
  PlayerBlock side[2];  // White, Black
  int buttonWidth, buttonHeight;
  RECT list;
  int frameWidth, frameHeight;
  int lineHeight;
  StatusMeasures measures;
  int variationEntries;
  int selectionVisible;
  MoveColumns columns;
  int initialMoveWidth;
  int lastSeconds;
  int lastLength;
  int lastRoom;
  bool whiteAtBottom;
  HFONT listFont, clockFont;
};

GameStatusRecord* Record(HWND w) {
  return w ? reinterpret_cast<GameStatusRecord*>(GetWindowLongPtrA(w, DWLP_USER)) : nullptr;
}

int SideIndex(int side) { return side == WHITE ? 0 : 1; }
ChessClock* Clock(GameRecord* game, int side) {
  return side == WHITE ? &game->whiteClock : &game->blackClock;
}
PlayerRecord* Player(GameRecord* game, int side) { return side == WHITE ? &game->white : &game->black; }
bool BlackFirst(const GameRecord* game) { return game->startSide == BLACK; }

HPALETTE Palette() {
  CcDefaults* d = ccGetDefaultData();
  return d ? d->palette : nullptr;
}

// ---------------------------------------------------------------- labels

void ResetLabel(StatusLabel* label) {
  dibDelete(label->picture);
  label->picture = nullptr;
  label->text[0] = '\0';
  label->width = label->height = 0;
  label->shown = 0;
}

void MeasureLabel(HWND w, StatusLabel* label) {
  if (label->picture) {
    label->width = label->picture->biWidth;
    label->height = label->picture->biHeight < 0 ? -label->picture->biHeight : label->picture->biHeight;
    return;
  }
  HDC dc = GetDC(w);
  HGDIOBJ old = SelectObject(dc, label->font);
  SIZE size{};
  GetTextExtentPoint32A(dc, label->text, int(std::strlen(label->text)), &size);
  if (!label->text[0]) {
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    size.cy = tm.tmHeight;
  }
  SelectObject(dc, old);
  ReleaseDC(w, dc);
  label->width = label->text[0] ? size.cx : 0;
  label->height = size.cy;
}

void SetLabelText(HWND w, StatusLabel* label, const std::string& text, HFONT font) {
  std::snprintf(label->text, sizeof label->text, "%s", CutStatusLabel(text.c_str()).c_str());
  label->font = font;
  MeasureLabel(w, label);
}

// ---------------------------------------------------------------- players

std::string TimeControlOf(const GameRecord* game, int side) {
  const ChessClock* c = side == WHITE ? &game->whiteClock : &game->blackClock;
  return TimeControlLabelText(c->type, c->base, c->periodOrIncrement, (game->kind & kRatedGame) != 0);
}

void FillPlayerBlocks(HWND w, GameStatusRecord* r, GameRecord* game) {
  for (int side : {WHITE, BLACK}) {
    PlayerBlock& b = r->side[SideIndex(side)];
    PlayerRecord* p = Player(game, side);
    ResetLabel(&b.portrait);
    const char* picture = "User.BMP";
    if (p->kind == PLAYER_ENGINE) picture = p->personality ? p->personality->picture : nullptr;
    if (picture) {
      char name[32];
      std::snprintf(name, sizeof name, "%.*s", 30, picture);
      b.portrait.picture = LoadPortrait(name);
    }
    MeasureLabel(w, &b.portrait);
    if (!b.portrait.picture) b.portrait.width = b.portrait.height = 0;

    char name[kPlayerNameSize + 1];
    std::snprintf(name, sizeof name, "%.*s", kPlayerNameSize, p->name);
    SetLabelText(w, &b.name, name, r->listFont);
    int32_t rating = 0;
    bool grandmaster = false;
    if (p->kind == PLAYER_ENGINE) {
      if (p->personality) {
        rating = p->personality->rating;
        grandmaster = IsGrandmasterPersonality(p->personality);
      }
    } else {
      rating = int32_t(p->value);
    }
    SetLabelText(w, &b.rating, FormatPlayerRating(rating, grandmaster), r->listFont);
    SetLabelText(w, &b.clock, kWidestClockText, r->clockFont);
    std::snprintf(b.clock.text, sizeof b.clock.text, "%s",
                  FormatClockSeconds(int32_t(Clock(game, side)->base / 1000)).c_str());
    SetLabelText(w, &b.timeControl, TimeControlOf(game, side), r->listFont);
  }
  r->noClocks = (game->kind & kNoClocks) != 0;
}

// ---------------------------------------------------------------- layout

StatusSize SizeOf(const StatusLabel& l) { return {l.width, l.height}; }

StatusLayoutInput LayoutInput(const GameStatusRecord* r, const GameRecord* game, int width, int height) {
  StatusLayoutInput in{};
  in.width = width;
  in.height = height;
  for (int s = 0; s < 2; ++s) {
    const PlayerBlock& b = r->side[s];
    in.side[s].name = SizeOf(b.name);
    in.side[s].rating = SizeOf(b.rating);
    if (!b.rating.text[0]) in.side[s].rating.width = 0;
    in.side[s].clock = SizeOf(b.clock);
    in.side[s].timeControl = SizeOf(b.timeControl);
    in.side[s].portrait = SizeOf(b.portrait);
    in.side[s].emblem = {b.emblem.right - b.emblem.left, b.emblem.bottom - b.emblem.top};
  }
  in.withClocks = !(game->kind & kNoClocks);
  in.listOnly = (game->kind & kListOnly) != 0;
  in.whiteAtBottom = r->whiteAtBottom;
  in.buttonWidth = r->buttonWidth;
  in.buttonHeight = r->buttonHeight;
  in.lineHeight = r->lineHeight;
  return in;
}

void Place(StatusLabel* label, const StatusBox& box) {
  label->x = box.x;
  label->y = box.y;
  label->shown = box.shown;
}

// Past the client's right edge a rating, clock or time control is hidden
// rather than cut off; a name is shortened with "..." (down to a useful
// width, else hidden too).
void KeepInside(StatusLabel* label, int clientWidth, bool shorten) {
  label->drawWidth = label->width;
  if (!label->shown || label->x + label->width <= clientWidth - 2) return;
  const int room = clientWidth - 2 - label->x;
  if (shorten && room >= 24)
    label->drawWidth = room;
  else
    label->shown = 0;
}

void PlaceWindow(HWND child, const StatusBox& box) {
  if (!child) return;
  SetWindowPos(child, nullptr, box.x, box.y, box.width, box.height, SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(child, box.shown ? SW_SHOWNA : SW_HIDE);
}

void ShowShownRow(HWND w, GameStatusRecord* r, GameRecord* game) {
  HWND list = GetDlgItem(w, kMoveList);
  int row = r->counters.SelectedRow(BlackFirst(game));
  if (row < 0) row = 0;
  if (SendMessageA(list, LB_GETCOUNT, 0, 0) <= row) return;
  RECT client{};
  GetClientRect(list, &client);
  const int top = int(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
  const int visible = r->lineHeight > 0 ? (client.bottom / r->lineHeight) : 1;
  if (row < top)
    SendMessageA(list, LB_SETTOPINDEX, row, 0);
  else if (visible > 0 && row >= top + visible)
    SendMessageA(list, LB_SETTOPINDEX, row - visible + 1, 0);
}

void RecomputeColumns(HWND w, GameStatusRecord* r) {
  RECT client{};
  GetClientRect(GetDlgItem(w, kMoveList), &client);
  LayMoveColumns(&r->columns, client.right);
}

void Layout(HWND w, int width, int height) {
  GameStatusRecord* r = Record(w);
  GameRecord* game = GetCurrentGame();
  if (!r || !game || width <= 0 || height <= 0) return;
  const StatusLayoutInput in = LayoutInput(r, game, width, height);
  const StatusLayout l = LayoutGameStatus(in);
  for (int s = 0; s < 2; ++s) {
    PlayerBlock& b = r->side[s];
    Place(&b.name, l.side[s].name);
    Place(&b.rating, l.side[s].rating);
    Place(&b.clock, l.side[s].clock);
    Place(&b.timeControl, l.side[s].timeControl);
    Place(&b.portrait, l.side[s].portrait);
    if (!b.portrait.picture) b.portrait.shown = 0;
    if (!b.rating.text[0]) b.rating.shown = 0;
    KeepInside(&b.name, width, true);
    for (StatusLabel* l : {&b.rating, &b.clock, &b.timeControl, &b.portrait}) KeepInside(l, width, false);
    PlaceWindow(GetDlgItem(w, s == 0 ? kWhiteEmblem : kBlackEmblem), l.side[s].emblem);
  }
  for (int i = 0; i < 7; ++i) PlaceWindow(GetDlgItem(w, kButtons[i]), l.buttons[i]);
  PlaceWindow(GetDlgItem(w, kMoveList), l.list);
  r->list = {l.list.x, l.list.y, l.list.width, l.list.height};
  RecomputeColumns(w, r);
  ShowShownRow(w, r, game);
  InvalidateRect(w, nullptr, TRUE);
}

void LayoutClient(HWND w) {
  RECT c{};
  GetClientRect(w, &c);
  Layout(w, c.right, c.bottom);
}

void MinimumSize(HWND w, GameStatusRecord* r, int* width, int* height) {
  GameRecord* game = GetCurrentGame();
  StatusLayoutInput in{};
  if (game) in = LayoutInput(r, game, 0, 0);
  GameStatusMinimumSize(in, r->frameWidth, r->frameHeight, width, height);
  (void)w;
}

// ---------------------------------------------------------------- move list

void FreeRows(HWND list) {
  const int count = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    auto* item = reinterpret_cast<MoveRowItem*>(SendMessageA(list, LB_GETITEMDATA, i, 0));
    if (item && LRESULT(item) != LB_ERR) std::free(item);
    SendMessageA(list, LB_SETITEMDATA, i, 0);
  }
}

void ClearMoveList(HWND w, GameStatusRecord* r) {
  HWND list = GetDlgItem(w, kMoveList);
  FreeRows(list);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  r->columns.moveWidth = r->initialMoveWidth;
  r->counters = MoveListCounters();
}

void SelectRowOfShownPly(HWND w, GameStatusRecord* r, GameRecord* game) {
  SendMessageA(GetDlgItem(w, kMoveList), LB_SETCURSEL, WPARAM(r->counters.SelectedRow(BlackFirst(game))), 0);
}

void SelectPly(HWND w, GameStatusRecord* r, GameRecord* game, int ply) {
  if (ply < 0 || ply > r->counters.listed) return;
  r->counters.shown = ply;
  SelectRowOfShownPly(w, r, game);
}

void KillAutoPlay(HWND w) {
  KillTimer(w, kAutoPlayForward);
  KillTimer(w, kAutoPlayBackward);
}

void Rebuild(HWND w);

int TextWidth(HWND w, HFONT font, const char* text) {
  HDC dc = GetDC(w);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32A(dc, text, int(std::strlen(text)), &size);
  SelectObject(dc, old);
  ReleaseDC(w, dc);
  return size.cx;
}

// Adds ply shown + 1 to the list; false when the whole window was rebuilt
// instead or a list call failed.
bool AppendMoveToList(HWND w, GameStatusRecord* r, GameRecord* game, const char* text, bool alternatives) {
  if (r->counters.AppendRebuilds()) {
    Rebuild(w);
    return false;
  }
  HWND list = GetDlgItem(w, kMoveList);
  const bool blackFirst = BlackFirst(game);
  if (SendMessageA(list, LB_GETCURSEL, 0, 0) == LB_ERR && r->counters.listed && r->counters.shown)
    SelectRowOfShownPly(w, r, game);
  const int ply = r->counters.shown + 1;
  const std::string cell = CutMoveText(text);
  int row;
  if (IsWhitePly(ply, blackFirst)) {
    auto* item = static_cast<MoveRowItem*>(std::calloc(1, sizeof(MoveRowItem)));
    if (!item) return false;
    item->whiteAlternatives = alternatives;
    std::snprintf(item->white, sizeof item->white, "%s", cell.c_str());
    row = int(SendMessageA(list, LB_ADDSTRING, 0, LPARAM(item)));
    if (row < 0) {
      std::free(item);
      return false;
    }
  } else {
    row = MoveRowOfPly(ply, blackFirst);
    MoveRowItem* item = nullptr;
    if (row < int(SendMessageA(list, LB_GETCOUNT, 0, 0)))
      item = reinterpret_cast<MoveRowItem*>(SendMessageA(list, LB_GETITEMDATA, row, 0));
    if (!item || LRESULT(item) == LB_ERR) {
      item = static_cast<MoveRowItem*>(std::calloc(1, sizeof(MoveRowItem)));
      if (!item) return false;
      row = int(SendMessageA(list, LB_ADDSTRING, 0, LPARAM(item)));
      if (row < 0) {
        std::free(item);
        return false;
      }
    }
    item->blackAlternatives = alternatives;
    std::snprintf(item->black, sizeof item->black, "%s", cell.c_str());
  }
  SendMessageA(list, LB_SETCURSEL, row, 0);
  const int wide = TextWidth(w, r->listFont, cell.c_str()) + r->columns.markerWidth + 5;
  r->counters.shown++;
  r->counters.listed++;
  if (wide > r->columns.moveWidth) {
    r->columns.moveWidth = wide;
    LayoutClient(w);
  }
  InvalidateRect(list, nullptr, FALSE);
  for (PlayerBlock& b : r->side)
    if (b.clock.shown) {
      RECT rc{b.clock.x, b.clock.y, b.clock.x + b.clock.width, b.clock.y + b.clock.height};
      InvalidateRect(w, &rc, TRUE);
    }
  return true;
}

void GrowToMinimum(HWND w, GameStatusRecord* r) {
  int minWidth = 0, minHeight = 0;
  MinimumSize(w, r, &minWidth, &minHeight);
  RECT wr{};
  GetWindowRect(w, &wr);
  const int width = wr.right - wr.left, height = wr.bottom - wr.top;
  if (width >= minWidth && height >= minHeight) return;
  const int newWidth = width > minWidth ? width : minWidth,
            newHeight = height > minHeight ? height : minHeight;
  SetWindowPos(w, nullptr, 0, 0, newWidth, newHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const int32_t rect[4] = {wr.left, wr.top, newWidth, newHeight};
  NumberedWindowOp(WOP_SET_RECT_XYWH, kGameStatusWindow, intptr_t(rect));
}

void Rebuild(HWND w) {
  GameStatusRecord* r = Record(w);
  GameRecord* game = GetCurrentGame();
  if (!r || !game) return;
  KillAutoPlay(w);
  FillPlayerBlocks(w, r, game);
  {
    const StatusLayoutInput in = LayoutInput(r, game, 0, 0);
    r->measures = MeasureGameStatus(in);
  }
  ClearMoveList(w, r);
  const int style = GetGameHost()->GetNotationStyle();
  const int32_t remembered = GetCurrentPly(game);
  if (SeekToPlyMove(game, 1)) {
    for (int n = 1; GetCurrentMove(game); ++n) {
      char text[64];
      GetPlyMoveText(game, n, style, text, sizeof text);
      if (!AppendMoveToList(w, r, game, text, CountVariations(game) > 0)) break;
      if (!GameStepForward(game)) break;
    }
  }
  SeekToPly(game, remembered);
  SelectPly(w, r, game, remembered);
  GrowToMinimum(w, r);
  LayoutClient(w);
}

// ---------------------------------------------------------------- clocks

void InvalidateLabel(HWND w, const StatusLabel& l, bool erase) {
  if (!l.shown) return;
  RECT rc{l.x, l.y, l.x + l.width, l.y + l.height};
  InvalidateRect(w, &rc, erase);
}

void UpdateClockLabel(HWND w, GameStatusRecord* r, GameRecord* game, int side, int force) {
  if (game->kind & kNoClocks) return;
  const ChessClock* c = Clock(game, side);
  const int32_t value =
      ClockShowsRemaining(c->type) ? GetClockRemaining(game, side) : int32_t(GetClockTimeUsed(game, side));
  const int seconds = value / 1000;
  if (seconds == r->lastSeconds && !force) return;
  r->lastSeconds = seconds;
  const std::string text = FormatClockSeconds(seconds);
  StatusLabel& l = r->side[SideIndex(side)].clock;
  if (text == l.text) return;
  std::snprintf(l.text, sizeof l.text, "%s", text.c_str());
  const bool sameLength = int(text.size()) == r->lastLength;
  InvalidateLabel(w, l, !(side == game->sideToMove && !force && sameLength));
  r->lastLength = int(text.size());
}

// The side to move after the shown ply.
int SideAfterShownPly(const GameStatusRecord* r, const GameRecord* game) {
  const bool even = r->counters.shown % 2 == 0;
  return (even != BlackFirst(game)) ? WHITE : BLACK;
}

// ---------------------------------------------------------------- painting

void DrawTextLabel(HDC dc, const StatusLabel& l, const RECT& update) {
  if (!l.shown || !l.text[0]) return;
  RECT rc{l.x, l.y, l.x + l.width, l.y + l.height}, out;
  if (!IntersectRect(&out, &rc, &update)) return;
  HGDIOBJ old = SelectObject(dc, l.font);
  if (l.drawWidth > 0 && l.drawWidth < l.width) {
    RECT cut{l.x, l.y, l.x + l.drawWidth, l.y + l.height};
    DrawTextA(dc, l.text, -1, &cut, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  } else {
    TextOutA(dc, l.x, l.y, l.text, int(std::strlen(l.text)));
  }
  SelectObject(dc, old);
}

void Paint(HWND w) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  GameStatusRecord* r = Record(w);
  GameRecord* game = GetCurrentGame();
  if (r && game && !r->paintingSuspended) {
    HPALETTE palette = Palette();
    HPALETTE oldPalette = palette ? SelectPalette(dc, palette, FALSE) : nullptr;
    if (palette) RealizePalette(dc);
    RECT out;
    for (const PlayerBlock& b : r->side) {
      const StatusLabel& p = b.portrait;
      RECT rc{p.x, p.y, p.x + p.width, p.y + p.height};
      if (p.shown && p.picture && IntersectRect(&out, &rc, &ps.rcPaint))
        dibDisplay(dc, p.x, p.y, p.width, p.height, 0, 0, p.picture);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, PALETTEINDEX(kTextColour));
    for (const PlayerBlock& b : r->side) {
      DrawTextLabel(dc, b.name, ps.rcPaint);
      DrawTextLabel(dc, b.rating, ps.rcPaint);
      DrawTextLabel(dc, b.timeControl, ps.rcPaint);
    }
    const int toMove = SideAfterShownPly(r, game);
    for (int side : {WHITE, BLACK}) {
      const StatusLabel& c = r->side[SideIndex(side)].clock;
      if (side == toMove) {
        SetBkMode(dc, OPAQUE);
        SetTextColor(dc, PALETTEINDEX(kHighlight));
        SetBkColor(dc, PALETTEINDEX(kTextColour));
        if (c.shown) {
          RECT rc{c.x, c.y, c.x + c.width, c.y + c.height};
          HBRUSH brush = CreateSolidBrush(PALETTEINDEX(kTextColour));
          FillRect(dc, &rc, brush);
          DeleteObject(brush);
        }
      } else {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, PALETTEINDEX(kTextColour));
      }
      DrawTextLabel(dc, c, ps.rcPaint);
    }
    if (oldPalette) SelectPalette(dc, oldPalette, FALSE);
  }
  EndPaint(w, &ps);
}

// A marker: a small triangle, pointing up for moves reached, down for moves
// ahead, in the highlight colour.
HBITMAP MakeMarker(bool up, int size) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, size, size};
  FillRect(dc, &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
  HBRUSH brush = CreateSolidBrush(RGB(150, 40, 30));
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
  const int m = size / 5;
  POINT p[3];
  if (up) {
    p[0] = {size / 2, m};
    p[1] = {size - m, size - m};
    p[2] = {m, size - m};
  } else {
    p[0] = {m, m};
    p[1] = {size - m, m};
    p[2] = {size / 2, size - m};
  }
  Polygon(dc, p, 3);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(brush);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

void DrawMarker(HDC dc, HBITMAP marker, int x, int y, int size) {
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, marker);
  TransparentBlt(dc, x, y, size, size, mem, 0, 0, size, size, RGB(255, 255, 255));
  SelectObject(mem, old);
  DeleteDC(mem);
}

void DrawCell(HDC dc, GameStatusRecord* r, const RECT& row, int columnX, int ply, uint32_t alternatives,
              const char* text) {
  if (ply < 1) return;
  const bool ahead = ply > r->counters.shown;
  SetTextColor(dc, PALETTEINDEX(ahead ? kNotReached : kHighlight));
  if (alternatives && r->moveSelect)
    DrawMarker(dc, ahead ? r->markerDown : r->markerUp, row.left + columnX + 2,
               row.top + (row.bottom - row.top - r->markerHeight) / 2, r->markerHeight);
  TextOutA(dc, row.left + columnX + 3 + r->columns.markerWidth, row.top, text, int(std::strlen(text)));
}

void DrawMoveRow(HWND w, const DRAWITEMSTRUCT* di) {
  GameStatusRecord* r = Record(w);
  GameRecord* game = GetCurrentGame();
  if (!r || !game || int(di->itemID) < 0) return;
  const auto* item = reinterpret_cast<const MoveRowItem*>(di->itemData);
  if (!item) return;
  HDC dc = di->hDC;
  HPALETTE palette = Palette();
  HPALETTE oldPalette = palette ? SelectPalette(dc, palette, FALSE) : nullptr;
  if (palette) RealizePalette(dc);
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = SelectObject(dc, r->listFont);
  const int row = int(di->itemID);
  const bool blackFirst = BlackFirst(game);
  const int whitePly = WhitePlyOfRow(row, blackFirst), blackPly = BlackPlyOfRow(row, blackFirst);
  char number[16];
  std::snprintf(number, sizeof number, "%d.", row + int(game->startMoveNumber ? game->startMoveNumber : 1));
  SetTextColor(dc, PALETTEINDEX(whitePly > r->counters.shown ? kNotReached : kHighlight));
  RECT numberRect{di->rcItem.left, di->rcItem.top, di->rcItem.left + r->columns.numberWidth,
                  di->rcItem.bottom};
  DrawTextA(dc, number, -1, &numberRect, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
  DrawCell(dc, r, di->rcItem, r->columns.whiteX, whitePly, item->whiteAlternatives, item->white);
  DrawCell(dc, r, di->rcItem, r->columns.blackX, blackPly, item->blackAlternatives, item->black);
  if (row == int(SendMessageA(di->hwndItem, LB_GETCURSEL, 0, 0)) && r->counters.shown > 0) {
    const int x = whitePly == r->counters.shown ? r->columns.whiteX : r->columns.blackX;
    HPEN pen = CreatePen(PS_SOLID, 1, PALETTEINDEX(kHighlight));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    Rectangle(dc, di->rcItem.left + x, di->rcItem.top, di->rcItem.left + x + r->columns.moveWidth,
              di->rcItem.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
  }
  SelectObject(dc, oldFont);
  if (oldPalette) SelectPalette(dc, oldPalette, FALSE);
}

// ---------------------------------------------------------------- input

void OnMoveListSelect(HWND w, GameStatusRecord* r, GameRecord* game) {
  HWND list = GetDlgItem(w, kMoveList);
  if (r->navigationLocked) {
    SelectRowOfShownPly(w, r, game);
    return;
  }
  const int row = int(SendMessageA(list, LB_GETCURSEL, 0, 0));
  if (row < 0) return;
  KillAutoPlay(w);
  const int ply = PlyOfClickedRow(r->columns, row, short(LOWORD(r->lastMouse)), BlackFirst(game));
  GoToPly(game, ply, true);
}

void OnMarkerClick(HWND w, GameStatusRecord* r, GameRecord* game, LPARAM point) {
  if (!r->moveSelect) return;
  KillAutoPlay(w);
  HWND list = GetDlgItem(w, kMoveList);
  const int x = short(LOWORD(point));
  if (!IsMarkerClick(r->columns, x)) return;
  const LRESULT hit = SendMessageA(list, LB_ITEMFROMPOINT, 0, point);
  const int row = LOWORD(hit);
  if (HIWORD(hit) || row >= int(SendMessageA(list, LB_GETCOUNT, 0, 0))) return;
  const int column = MoveColumnAt(r->columns, x);
  if (!column) return;
  const auto* item = reinterpret_cast<const MoveRowItem*>(SendMessageA(list, LB_GETITEMDATA, row, 0));
  if (!item || LRESULT(item) == LB_ERR) return;
  if (!(column == 16 ? item->whiteAlternatives : item->blackAlternatives)) return;
  const bool blackFirst = BlackFirst(game);
  const int ply = column == 16 ? WhitePlyOfRow(row, blackFirst) : BlackPlyOfRow(row, blackFirst);
  if (ply != GetCurrentPly(game)) GoToPly(game, ply, true);
  if (CountVariations(game) == 0) return;
  HMENU menu = CreatePopupMenu();
  MoveRecord* first = GetCurrentMove(game);
  const int style = GetGameHost()->GetNotationStyle();
  int n = 0;
  for (int guard = 0; guard < 256; ++guard) {
    char text[64];
    GetPlyMoveText(game, ply, style, text, sizeof text);
    AppendMenuA(menu, MF_STRING, UINT_PTR(1025 + ++n), text);
    MoveRecord* next = SwitchToNextVariation(game);
    if (!next || next == first) break;
  }
  if (!n) {
    DestroyMenu(menu);
    return;
  }
  r->variationEntries = n;
  POINT screen{x, short(HIWORD(point))};
  ClientToScreen(list, &screen);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, screen.x, screen.y, 0, w, nullptr);
  DestroyMenu(menu);
}

void CALLBACK AutoPlayTimerProc(HWND w, UINT, UINT_PTR id, DWORD) {
  GameStatusRecord* r = Record(w);
  GameRecord* game = GetCurrentGame();
  if (!r) {
    KillAutoPlay(w);
    return;
  }
  if (id == kAutoPlayForward) {
    if (r->counters.shown < r->counters.listed) {
      if (!r->busy && game) ReplayMove(game);
    }
    if (r->counters.shown >= r->counters.listed) KillTimer(w, kAutoPlayForward);
  } else if (id == kAutoPlayBackward) {
    if (r->counters.shown >= 1) {
      if (!r->busy && game) TakeBackMove(game);
    }
    if (r->counters.shown == 0) KillTimer(w, kAutoPlayBackward);
  }
}

void OnCommand(HWND w, GameStatusRecord* r, int id, int code) {
  GameRecord* game = GetCurrentGame();
  if (!game) return;
  switch (id) {
    case kMoveList:
      if (code == LBN_SELCHANGE) OnMoveListSelect(w, r, game);
      return;
    case kNavStart:
      KillAutoPlay(w);
      GoToPly(game, 0, true);
      return;
    case kNavEnd:
      KillAutoPlay(w);
      GoToPly(game, r->counters.listed, true);
      return;
    case kNavBack:
      KillAutoPlay(w);
      TakeBackMove(game);
      return;
    case kNavForward:
      KillAutoPlay(w);
      ReplayMove(game);
      return;
    case kNavPlay:
      if (r->counters.ForwardPlayStarts()) {
        KillTimer(w, kAutoPlayBackward);
        SetTimer(w, kAutoPlayForward, kAutoPlayMs, AutoPlayTimerProc);
      }
      return;
    case kNavPlayBack:
      KillTimer(w, kAutoPlayForward);
      if (r->counters.BackwardPlayStarts()) SetTimer(w, kAutoPlayBackward, kAutoPlayMs, AutoPlayTimerProc);
      return;
    case kNavStop:
      KillAutoPlay(w);
      return;
    default:
      break;
  }
  if (id >= kVariationMenuFirst && id <= 1025 + r->variationEntries && r->moveSelect) {
    const int entry = id - 1025;
    r->variationEntries = 0;
    SelectVariation(game, entry);
    Rebuild(w);
  }
}

void OnGameEvent(HWND w, GameStatusRecord* r, int code, GameRecord* game) {
  GameRecord* current = GetCurrentGame();
  if (!current) return;
  if (!game) game = current;
  switch (code) {
    case GE_GAME_SET:
    case GAME_EVENT_JUMP_ENDS:
    case GE_NOTATION_CHANGED:
      if (code == GAME_EVENT_JUMP_ENDS) {
        r->paintingSuspended = 0;
        InvalidateRect(w, nullptr, TRUE);
      }
      Rebuild(w);
      break;
    case GAME_EVENT_JUMP_BEGINS:
      r->paintingSuspended = 1;
      break;
    case GAME_EVENT_VARIATION_ADDED:
      if (!(game->kind & kQuietMoveEvents)) {
        HWND list = GetDlgItem(w, kMoveList);
        const bool blackFirst = BlackFirst(game);
        const int row = MoveRowOfPly(r->counters.shown, blackFirst);
        auto* item =
            row >= 0 ? reinterpret_cast<MoveRowItem*>(SendMessageA(list, LB_GETITEMDATA, row, 0)) : nullptr;
        if (item && LRESULT(item) != LB_ERR) {
          const uint32_t flag = CountVariations(game) > 0;
          if (IsWhitePly(r->counters.shown, blackFirst))
            item->whiteAlternatives = flag;
          else
            item->blackAlternatives = flag;
        }
        SelectRowOfShownPly(w, r, game);
        InvalidateRect(list, nullptr, FALSE);
      }
      break;
    case GAME_EVENT_MOVE_PLAYED:
      if (!(game->kind & kQuietMoveEvents) && GetCurrentMove(game)) {
        char text[64];
        const int ply = GetCurrentPly(game);
        GetPlyMoveText(game, ply, GetGameHost()->GetNotationStyle(), text, sizeof text);
        AppendMoveToList(w, r, game, text, CountVariations(game) > 0);
      }
      break;
    case GAME_EVENT_MOVE_TAKEN_BACK:
      r->counters.TakenBack();
      SelectRowOfShownPly(w, r, game);
      InvalidateRect(GetDlgItem(w, kMoveList), nullptr, FALSE);
      break;
    case GAME_EVENT_MOVE_REPLAYED:
      r->counters.Replayed();
      SelectRowOfShownPly(w, r, game);
      InvalidateRect(GetDlgItem(w, kMoveList), nullptr, FALSE);
      break;
    default:
      break;
  }
  if (!Record(w)) return;
  UpdateClockLabel(w, r, current, WHITE, 1);
  UpdateClockLabel(w, r, current, BLACK, 1);
  // The highlighted clock follows the side to move.
  for (const PlayerBlock& b : r->side) InvalidateLabel(w, b.clock, true);
}

void OnPortraitDoubleClick(HWND w, GameStatusRecord* r, LPARAM point) {
  GameRecord* game = GetCurrentGame();
  if (!game) return;
  POINT p{short(LOWORD(point)), short(HIWORD(point))};
  for (int side : {WHITE, BLACK}) {
    PlayerBlock& b = r->side[SideIndex(side)];
    RECT rc{b.portrait.x, b.portrait.y, b.portrait.x + b.portrait.width, b.portrait.y + b.portrait.height};
    if (!b.portrait.shown || !PtInRect(&rc, p)) continue;
    PlayerRecord* player = Player(game, side);
    if (player->kind != PLAYER_HUMAN) continue;
    char name[kPlayerNameSize + 1];
    std::snprintf(name, sizeof name, "%.*s", kPlayerNameSize, player->name);
    const char* picture = NicknamePortrait(name);
    if (!picture) continue;
    PackedDib* dib = LoadPortrait(picture);
    if (!dib) continue;
    ResetLabel(&b.portrait);
    b.portrait.picture = dib;
    MeasureLabel(w, &b.portrait);
    LayoutClient(w);
  }
}

// The emblems are the toolkit's bitmap buttons; a disc in the side's colour
// is drawn over the button face so that the two can be told apart.
WNDPROC g_emblemProc = nullptr;
LRESULT CALLBACK EmblemProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallWindowProcA(g_emblemProc, button, message, wParam, lParam);
  if (message == WM_PAINT) {
    RECT r;
    GetClientRect(button, &r);
    const int size = (r.bottom < r.right ? r.bottom : r.right) - 6;
    if (size > 2) {
      HDC dc = GetDC(button);
      const bool white = GetDlgCtrlID(button) == kWhiteEmblem;
      HBRUSH brush = CreateSolidBrush(white ? RGB(250, 250, 246) : RGB(24, 24, 28));
      HPEN pen = CreatePen(PS_SOLID, 1, RGB(70, 60, 50));
      HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
      const int x = (r.right - size) / 2, y = (r.bottom - size) / 2 + 1;
      Ellipse(dc, x, y, x + size, y + size);
      SelectObject(dc, oldPen);
      SelectObject(dc, oldBrush);
      DeleteObject(pen);
      DeleteObject(brush);
      ReleaseDC(button, dc);
    }
  }
  return result;
}

// The list's subclass: characters to the main window, the mouse to the
// dialog (for the column of a click and the markers).
LRESULT CALLBACK GameStatusListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND dialog = GetParent(list);
  GameStatusRecord* r = Record(dialog);
  if (!r) return DefWindowProcA(list, message, wParam, lParam);
  switch (message) {
    case WM_CHAR:
      if (HWND main = HWND(GetNumberedWindow(0))) PostMessageA(main, message, wParam, lParam);
      break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      SendMessageA(dialog, WM_PARENTNOTIFY, message, lParam);
      break;
    default:
      break;
  }
  return CallWindowProcA(r->listProc, list, message, wParam, lParam);
}

void Initialise(HWND w) {
  if (GameStatusRecord* old = Record(w)) {
    delete old;
  }
  auto* r = new (std::nothrow) GameStatusRecord{};
  SetWindowLongPtrA(w, DWLP_USER, LONG_PTR(r));
  if (!r) return;
  r->lastRoom = kNoRoom;
  r->whiteAtBottom = true;
  CcDefaults* defaults = ccGetDefaultData();
  HFONT dialogFont = HFONT(SendMessageA(w, WM_GETFONT, 0, 0));
  r->listFont = cguiGetFont(0);
  if (!r->listFont) r->listFont = defaults && defaults->font ? defaults->font : dialogFont;
  r->clockFont = cguiGetFont(1);
  if (!r->clockFont) r->clockFont = r->listFont;
  HWND list = GetDlgItem(w, kMoveList);
  r->listProc = WNDPROC(SetWindowLongPtrA(list, GWLP_WNDPROC, LONG_PTR(GameStatusListProc)));
  SendMessageA(list, WM_SETFONT, WPARAM(r->listFont), 0);

  HDC dc = GetDC(w);
  HGDIOBJ old = SelectObject(dc, r->listFont);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  r->lineHeight = tm.tmHeight + tm.tmExternalLeading;
  SIZE number{}, d4{};
  GetTextExtentPoint32A(dc, "999. ", 5, &number);
  GetTextExtentPoint32A(dc, "d4", 2, &d4);
  SelectObject(dc, old);
  ReleaseDC(w, dc);
  SendMessageA(list, LB_SETITEMHEIGHT, 0, r->lineHeight);

  for (int s = 0; s < 2; ++s) {
    HWND emblem = GetDlgItem(w, s == 0 ? kWhiteEmblem : kBlackEmblem);
    GetClientRect(emblem, &r->side[s].emblem);
    WNDPROC old = WNDPROC(SetWindowLongPtrA(emblem, GWLP_WNDPROC, LONG_PTR(EmblemProc)));
    if (old != EmblemProc) g_emblemProc = old;
  }
  RECT button{};
  GetWindowRect(GetDlgItem(w, kNavStart), &button);
  r->buttonWidth = button.right - button.left;
  r->buttonHeight = button.bottom - button.top;
  RECT wr{}, cr{};
  GetWindowRect(w, &wr);
  GetClientRect(w, &cr);
  r->frameWidth = (wr.right - wr.left) - cr.right;
  r->frameHeight = (wr.bottom - wr.top) - cr.bottom;

  r->markerHeight = r->lineHeight > 4 ? r->lineHeight - 2 : 10;
  r->markerUp = MakeMarker(true, r->markerHeight);
  r->markerDown = MakeMarker(false, r->markerHeight);
  r->columns.markerWidth = r->markerHeight;
  r->columns.numberWidth = number.cx;
  r->initialMoveWidth = r->columns.moveWidth = d4.cx + r->columns.markerWidth + 5;
  r->columns.whiteX = r->columns.numberWidth;
  r->columns.blackX = r->columns.numberWidth + r->columns.moveWidth;
  r->moveSelect = 1;
  Rebuild(w);
}

void Destroy(HWND w) {
  KillAutoPlay(w);
  GameStatusRecord* r = Record(w);
  if (r) {
    for (PlayerBlock& b : r->side)
      for (StatusLabel* l : {&b.name, &b.rating, &b.clock, &b.timeControl, &b.portrait}) ResetLabel(l);
    FreeRows(GetDlgItem(w, kMoveList));
    if (r->markerUp) DeleteObject(r->markerUp);
    if (r->markerDown) DeleteObject(r->markerDown);
    delete r;
  }
  SetWindowLongPtrA(w, DWLP_USER, 0);
  NumberedWindowOp(WOP_CLEAR_HANDLE, kGameStatusWindow, 0);
}

INT_PTR CALLBACK GameStatusDlgProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    NumberedWindowOp(WOP_SET_HANDLE, kGameStatusWindow, intptr_t(w));
    Initialise(w);
    return TRUE;
  }
  GameStatusRecord* r = Record(w);
  if (!r) return FALSE;
  switch (message) {
    case WM_DESTROY:
      Destroy(w);
      return TRUE;
    case WM_SIZE:
      Layout(w, LOWORD(lParam), HIWORD(lParam));
      {
        RECT wr{};
        GetWindowRect(w, &wr);
        const int32_t rect[4] = {wr.left, wr.top, wr.right - wr.left, wr.bottom - wr.top};
        NumberedWindowOp(WOP_SET_RECT_XYWH, kGameStatusWindow, intptr_t(rect));
      }
      return TRUE;
    case WM_WINDOWPOSCHANGING: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      r->selectionVisible = 0;
      if (!(pos->flags & SWP_NOSIZE)) {
        HWND list = GetDlgItem(w, kMoveList);
        const int row = int(SendMessageA(list, LB_GETCURSEL, 0, 0));
        RECT item{};
        if (row >= 0 && SendMessageA(list, LB_GETITEMRECT, row, LPARAM(&item)) != LB_ERR &&
            !IsRectEmpty(&item))
          r->selectionVisible = 1;
      }
      return FALSE;
    }
    case WM_WINDOWPOSCHANGED:
      if (r->selectionVisible)
        if (GameRecord* game = GetCurrentGame()) ShowShownRow(w, r, game);
      {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        WindowPosRecord record{pos->hwnd, pos->hwndInsertAfter, pos->x, pos->y, pos->cx, pos->cy, pos->flags};
        NumberedWindowOp(WOP_SET_RECT_POS, kGameStatusWindow, intptr_t(&record));
      }
      return FALSE;
    case WM_KILLFOCUS:
      KillAutoPlay(w);
      return FALSE;
    case WM_PAINT:
      Paint(w);
      return TRUE;
    case WM_CLOSE:
      if (HWND main = HWND(GetNumberedWindow(0)))
        if (HMENU menu = GetMenu(main))
          CheckMenuItem(menu, 40088,
                        (GetMenuState(menu, 40088, MF_BYCOMMAND) & MF_CHECKED) ? MF_UNCHECKED : MF_CHECKED);
      if (!NumberedWindowOp(WOP_SHOW, kGameStatusWindow, WSC_HIDE)) ShowWindow(w, SW_HIDE);
      return TRUE;
    case WM_GETMINMAXINFO: {
      const int room = GetTableRoom();
      if (room != r->lastRoom) {
        r->lastRoom = room;
        Rebuild(w);
      }
      int width = 0, height = 0;
      MinimumSize(w, r, &width, &height);
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = width;
      info->ptMinTrackSize.y = height;
      return TRUE;
    }
    case WM_DRAWITEM:
      if (wParam == kMoveList) {
        DrawMoveRow(w, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        SetWindowLongPtrA(w, DWLP_MSGRESULT, 1);
        return TRUE;
      }
      return FALSE;
    case WM_MEASUREITEM:
      return FALSE;
    case WM_COMMAND:
      OnCommand(w, r, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_LBUTTONDBLCLK:
      OnPortraitDoubleClick(w, r, lParam);
      return TRUE;
    case WM_PARENTNOTIFY:
      if (wParam == WM_MOUSEMOVE || wParam == WM_LBUTTONDOWN) {
        r->lastMouse = lParam;
      } else if (wParam == WM_LBUTTONUP) {
        if (GameRecord* game = GetCurrentGame()) OnMarkerClick(w, r, game, lParam);
      }
      return TRUE;
    case RWM_GAME_EVENT:
      OnGameEvent(w, r, int(wParam), reinterpret_cast<GameRecord*>(lParam));
      return TRUE;
    case RWM_BOARD_ORIENTATION:
      r->whiteAtBottom = wParam != 0;
      LayoutClient(w);
      RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW | RDW_ALLCHILDREN);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int CreateGameStatusWindow(HWND parent, HINSTANCE instance) {
  if (!parent || !instance) return -1;
  CreateDialogParamA(instance, MAKEINTRESOURCEA(kGameStatusDialog), parent, GameStatusDlgProc, 0);
  return 0;
}

int DestroyGameStatusWindow(HWND window) {
  if (window) DestroyWindow(window);
  return 0;
}

void ShowGameStatusClocks(HWND window, int force) {
  GameStatusRecord* r = Record(window);
  GameRecord* game = GetCurrentGame();
  if (!r || !game) return;
  const int toMove = game->sideToMove == WHITE ? WHITE : BLACK;
  UpdateClockLabel(window, r, game, toMove, force);
  if (game->whiteClock.type == TIME_SHARED)
    UpdateClockLabel(window, r, game, toMove == WHITE ? BLACK : WHITE, force);
}

void EnableGameStatusNavigation(HWND window, int enable) {
  GameStatusRecord* r = Record(window);
  if (!r) return;
  r->navigationLocked = enable ? 0 : 1;
  for (int id : kButtons) EnableWindow(GetDlgItem(window, id), enable ? TRUE : FALSE);
}

void EnableGameStatusMoveSelect(HWND window, int allow) {
  if (GameStatusRecord* r = Record(window)) {
    r->moveSelect = allow ? 1 : 0;
    InvalidateRect(GetDlgItem(window, kMoveList), nullptr, FALSE);
  }
}

void LockGameStatus(HWND window) {
  if (GameStatusRecord* r = Record(window)) r->busy = 1;
}
void UnlockGameStatus(HWND window) {
  if (GameStatusRecord* r = Record(window)) r->busy = 0;
}
void StopGameStatusTimers(HWND window) {
  if (Record(window)) KillAutoPlay(window);
}

bool GetGameStatusCounters(HWND window, int* listed, int* shown) {
  GameStatusRecord* r = Record(window);
  if (!r) return false;
  *listed = r->counters.listed;
  *shown = r->counters.shown;
  return true;
}

bool GetGameStatusLabel(HWND window, int side, int item, char* text, int size, RECT* rect, bool* shown) {
  GameStatusRecord* r = Record(window);
  if (!r || side < 0 || side > 1 || item < 0 || item > 4) return false;
  PlayerBlock& b = r->side[side];
  const StatusLabel* all[] = {&b.name, &b.rating, &b.clock, &b.timeControl, &b.portrait};
  const StatusLabel* l = all[item];
  if (text && size > 0) std::snprintf(text, size_t(size), "%s", l->text);
  const int width = l->drawWidth > 0 && l->drawWidth < l->width ? l->drawWidth : l->width;
  if (rect) *rect = {l->x, l->y, l->x + width, l->y + l->height};
  if (shown) *shown = l->shown != 0;
  return true;
}
