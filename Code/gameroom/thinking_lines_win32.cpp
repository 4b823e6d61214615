// The Thinking Lines window over Win32: three sections of the toolkit's
// list views laid out by the thinking-lines core.
#include "thinking_lines_win32.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "app_messages.h"
#include "game_record.h"
#include "game_registry.h"
#include "thinking_text.h"
#include "window_table.h"

namespace {

constexpr int kButtonIds[3] = {4076, 4077, 4078};
constexpr int kCaptionIds[3] = {4073, 4074, 4075};
constexpr int kListIds[3] = {4070, 4071, 4072};
constexpr int kStatisticsIds[3] = {4081, 4082, 4083};
constexpr int kSplitterIds[2] = {4079, 4080};
constexpr int kFirstWidths[4] = {70, 60, 60, 110};
constexpr int kStatisticsWidths[4] = {70, 60, 90, 110};
constexpr int kThinkingColumns[5] = {2204, 2205, 2206, 2207, 2208};
constexpr int kStatisticsColumns[5] = {2204, 2205, 2209, 2210, 2211};
constexpr UINT kThinkingMenuCheck = 40034;

const ThinkingLinesEngine kEngineLink = EngineLinkThinkingCalls();
ThinkingLinesEngine g_engine = kEngineLink;

struct SectionBlock {
  int newLine;
  int newStatistics;
  int widths[5];
};
struct ThinkingRecord {
  int advisorStarted;      // this window started the advisor's analysis
  SectionBlock blocks[3];  // White, Black, advisor
  GameRecord* analysed;    // the game whose analysis this window started
};

ThinkingRecord* Record(HWND w) {
  return w ? reinterpret_cast<ThinkingRecord*>(GetWindowLongPtrA(w, DWLP_USER)) : nullptr;
}

PlayerRecord* SectionPlayer(GameRecord* game, int section) {
  return section == kThinkWhite ? &game->white : section == kThinkBlack ? &game->black : &game->third;
}

std::string LoadText(int id, const char* fallback) {
  char text[128];
  return LoadStringA(GetModuleHandleA(nullptr), UINT(id), text, sizeof text) > 0 ? std::string(text)
                                                                                 : std::string(fallback);
}

void ToggleMenuCheck() {
  HWND main = HWND(GetNumberedWindow(0));
  HMENU menu = main ? GetMenu(main) : nullptr;
  if (!menu) return;
  const bool checked = (GetMenuState(menu, kThinkingMenuCheck, MF_BYCOMMAND) & MF_CHECKED) != 0;
  CheckMenuItem(menu, kThinkingMenuCheck, MF_BYCOMMAND | (checked ? MF_UNCHECKED : MF_CHECKED));
}

void SetupColumns(HWND list, const int* ids, const char* const* fallbacks, const int* widths, HFONT font) {
  if (font) SendMessageA(list, WM_SETFONT, WPARAM(font), 0);
  for (int c = 0; c < 5; ++c) {
    std::string title = LoadText(ids[c], fallbacks[c]);
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = &title[0];
    column.cx = c < 4 ? widths[c] : 200;
    column.iSubItem = c;
    SendMessageA(list, LVM_INSERTCOLUMNA, c, LPARAM(&column));
  }
}

void SetCell(HWND list, int row, int column, const std::string& text) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(list, LVM_SETITEMTEXTA, row, LPARAM(&item));
}

int AppendRow(HWND list, const std::string& first, int at) {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = at;
  item.pszText = const_cast<char*>(first.c_str());
  return int(SendMessageA(list, LVM_INSERTITEMA, 0, LPARAM(&item)));
}

bool Ticked(HWND w, int section) { return IsDlgButtonChecked(w, kButtonIds[section]) == BST_CHECKED; }
bool SectionLive(HWND w, int section) {
  return IsWindowEnabled(GetDlgItem(w, kButtonIds[section])) && Ticked(w, section);
}

void AddThinkingLine(HWND w, ThinkingRecord* r, GameRecord* game, int section) {
  SectionBlock& b = r->blocks[section];
  PlayerRecord* player = SectionPlayer(game, section);
  if (!SectionLive(w, section) || !b.newLine) return;
  const PlayerThinking line = ReadPlayerThinking(player);
  if (line.time == 0) return;
  HWND list = GetDlgItem(w, kListIds[section]);
  const int count = int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  const int perPage = int(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
  if (count > 0 && perPage <= count) SendMessageA(list, LVM_DELETEITEM, 0, 0);
  const PlayerStatistics status = ReadPlayerStatistics(player);
  const int row = AppendRow(list, FormatThinkingTime(uint32_t(status.time) / 100),
                            int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)));
  if (row >= 0) {
    SetCell(list, row, 1, std::to_string(line.depth));
    SetCell(list, row, 2, FormatThinkingScore(line.score));
    SetCell(list, row, 3, std::to_string(uint32_t(line.nodes)));
    const bool toMove = (section == kThinkWhite && game->sideToMove == WHITE) ||
                        (section == kThinkBlack && game->sideToMove == BLACK) || section == kThinkAdvisor;
    if (!line.line.empty()) SetCell(list, row, 4, ThinkingMovesText(line.line.c_str(), nullptr, toMove));
  }
  b.newLine = 0;
}

void UpdateStatistics(HWND w, ThinkingRecord* r, GameRecord* game, int section) {
  SectionBlock& b = r->blocks[section];
  if (!SectionLive(w, section) || !b.newStatistics) return;
  const PlayerStatistics status = ReadPlayerStatistics(SectionPlayer(game, section));
  if (status.time == 0) return;
  HWND list = GetDlgItem(w, kStatisticsIds[section]);
  const std::string time = FormatThinkingTime(uint32_t(status.time) / 100);
  int row = 0;
  if (SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) > 0)
    SetCell(list, 0, 0, time);
  else
    row = AppendRow(list, time, 0);
  if (row >= 0) {
    SetCell(list, row, 1, std::to_string(status.depth));
    SetCell(list, row, 2, std::to_string(uint32_t(status.nodes)));
    SetCell(list, row, 3, std::to_string(status.movesLeft));
    SetCell(list, row, 4, std::to_string(status.totalMoves));
  }
  b.newStatistics = 0;
}

ThinkingLayoutInput LayoutInput(HWND w, int width, int height) {
  ThinkingLayoutInput in{};
  in.width = width;
  in.height = height;
  for (int i = 0; i < 3; ++i) {
    RECT b;
    GetWindowRect(GetDlgItem(w, kButtonIds[i]), &b);
    in.buttonWidth[i] = b.right - b.left;
    in.buttonHeight = b.bottom - b.top;
    in.shown[i] = IsWindowVisible(GetDlgItem(w, kListIds[i])) != 0 ||
                  (GetWindowLongA(GetDlgItem(w, kListIds[i]), GWL_STYLE) & WS_VISIBLE) != 0;
  }
  RECT s;
  GetWindowRect(GetDlgItem(w, kCaptionIds[0]), &s);
  in.captionHeight = s.bottom - s.top;
  RECT st;
  GetWindowRect(GetDlgItem(w, kStatisticsIds[0]), &st);
  in.statisticsHeight = st.bottom - st.top;
  return in;
}

void Move(HWND child, const Rect& r) {
  SetWindowPos(child, nullptr, r.x, r.y, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Layout(HWND w, int width, int height) {
  if (width <= 0 || height <= 0) return;
  const ThinkingLayoutInput in = LayoutInput(w, width, height);
  const ThinkingSectionRects r = LayThinkingLines(in);
  for (int i = 0; i < 3; ++i) {
    Move(GetDlgItem(w, kButtonIds[i]), r.buttons[i]);
    if (!in.shown[i]) continue;
    Move(GetDlgItem(w, kCaptionIds[i]), r.caption[i]);
    Move(GetDlgItem(w, kListIds[i]), r.thinking[i]);
    Move(GetDlgItem(w, kStatisticsIds[i]), r.statistics[i]);
    if (i < 2) Move(GetDlgItem(w, kSplitterIds[i]), r.splitter[i]);
    // The last column takes the rest of each list's width; the statistics'
    // "Positions" gets room for its title.
    for (int kind = 0; kind < 2; ++kind) {
      HWND list = GetDlgItem(w, kind == 0 ? kListIds[i] : kStatisticsIds[i]);
      const int* widths = kind == 0 ? kFirstWidths : kStatisticsWidths;
      RECT client;
      GetClientRect(list, &client);
      int used = 0;
      for (int c = 0; c < 4; ++c) {
        SendMessageA(list, LVM_SETCOLUMNWIDTH, c, widths[c]);
        used += widths[c];
      }
      const int rest = client.right - used;
      SendMessageA(list, LVM_SETCOLUMNWIDTH, 4, rest > 40 ? rest : 40);
    }
  }
  InvalidateRect(w, nullptr, TRUE);
}

void MinimumClient(HWND w, int* width, int* height) {
  const ThinkingLayoutInput in = LayoutInput(w, 0, 0);
  int captions[3] = {};
  HDC dc = GetDC(w);
  HGDIOBJ old = SelectObject(dc, HFONT(SendMessageA(w, WM_GETFONT, 0, 0)));
  for (int i = 0; i < 3; ++i) {
    char text[160];
    GetDlgItemTextA(w, kCaptionIds[i], text, sizeof text);
    SIZE size{};
    GetTextExtentPoint32A(dc, text, int(std::strlen(text)), &size);
    captions[i] = size.cx;
  }
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(w, dc);
  ThinkingMinimumSize(in, captions, tm.tmHeight + tm.tmExternalLeading, width, height);
}

void Show(HWND child, bool show) { ShowWindow(child, show ? SW_SHOWNA : SW_HIDE); }

void UpdateSections(HWND w, GameRecord* game, bool windowShown) {
  ThinkingRecord* r = Record(w);
  if (!r || !game) return;
  bool isEngine[2] = {game->white.kind == PLAYER_ENGINE, game->black.kind == PLAYER_ENGINE};
  char white[kPlayerNameSize + 1], black[kPlayerNameSize + 1];
  std::snprintf(white, sizeof white, "%.*s", kPlayerNameSize, game->white.name);
  std::snprintf(black, sizeof black, "%.*s", kPlayerNameSize, game->black.name);
  const char* names[2] = {white, black};
  const bool ticked[3] = {Ticked(w, 0), Ticked(w, 1), Ticked(w, 2)};
  const ThinkingSections s =
      ChooseThinkingSections(isEngine, names, ticked, windowShown, r->advisorStarted != 0);
  const std::string sideWord[2] = {LoadText(10105, "White"), LoadText(10106, "Black")};
  for (int i = 0; i < 3; ++i) {
    EnableWindow(GetDlgItem(w, kButtonIds[i]), s.enabled[i]);
    HWND list = GetDlgItem(w, kListIds[i]);
    if (s.shown[i]) {
      char caption[kPlayerNameSize * 2];
      if (i < 2)
        std::snprintf(caption, sizeof caption, "%s (%s):", names[i], sideWord[i].c_str());
      else
        std::snprintf(caption, sizeof caption, "%s:", LoadText(265, "Rookwell").c_str());
      SetDlgItemTextA(w, kCaptionIds[i], caption);
      if (i < 2) g_engine.setPost(SectionPlayer(game, i), true);
    } else {
      SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
      if (i < 2 && isEngine[i]) g_engine.setPost(SectionPlayer(game, i), false);
    }
    Show(GetDlgItem(w, kCaptionIds[i]), s.shown[i]);
    Show(list, s.shown[i]);
    Show(GetDlgItem(w, kStatisticsIds[i]), s.shown[i]);
  }
  Show(GetDlgItem(w, kSplitterIds[0]), s.shown[0] && (s.shown[1] || s.shown[2]));
  Show(GetDlgItem(w, kSplitterIds[1]), s.shown[1] && s.shown[2]);
  if (s.startAdvisorAnalysis) {
    r->advisorStarted = g_engine.startAnalysis(game) ? 1 : 0;
    r->analysed = r->advisorStarted ? game : nullptr;
  } else if (s.stopAdvisorAnalysis && r->advisorStarted) {
    g_engine.stopAnalysis(r->analysed ? r->analysed : game);
    r->advisorStarted = 0;
    r->analysed = nullptr;
  }
  int minWidth = 0, minHeight = 0;
  MinimumClient(w, &minWidth, &minHeight);
  RECT client, window;
  GetClientRect(w, &client);
  GetWindowRect(w, &window);
  if (client.right < minWidth || client.bottom < minHeight) {
    const int frameWidth = (window.right - window.left) - client.right;
    const int frameHeight = (window.bottom - window.top) - client.bottom;
    const int width = (client.right > minWidth ? client.right : minWidth) + frameWidth;
    const int height = (client.bottom > minHeight ? client.bottom : minHeight) + frameHeight;
    SetWindowPos(w, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int32_t rect[4] = {window.left, window.top, width, height};
    NumberedWindowOp(WOP_SET_RECT_XYWH, kThinkingWindowNumber, intptr_t(rect));
  }
  GetClientRect(w, &client);
  Layout(w, client.right, client.bottom);
  if (s.shown[0] || s.shown[1] || s.shown[2])
    SetTimer(w, kThinkingTimer, 1000, nullptr);
  else
    KillTimer(w, kThinkingTimer);
}

bool WindowShownFlag(HWND w) {
  return GetNumberedWindow(kThinkingWindowNumber) == w ? IsNumberedWindowShown(kThinkingWindowNumber) != 0
                                                       : IsWindowVisible(w) != 0;
}

void OnTimer(HWND w, ThinkingRecord* r) {
  GameRecord* game = GetCurrentGame();
  if (!game || !WindowShownFlag(w)) return;
  for (int i = 0; i < 3; ++i) {
    if (!SectionLive(w, i)) continue;
    AddThinkingLine(w, r, game, i);
    UpdateStatistics(w, r, game, i);
    if (i < 2) g_engine.requestStatus(SectionPlayer(game, i));
  }
}

void Initialise(HWND w) {
  if (!Record(w)) {
    auto* r = new (std::nothrow) ThinkingRecord{};
    SetWindowLongPtrA(w, DWLP_USER, LONG_PTR(r));
  }
  NumberedWindowOp(WOP_SET_HANDLE, kThinkingWindowNumber, intptr_t(w));
  ShellRect stored{};
  if (NumberedWindowOp(WOP_GET_RECT, kThinkingWindowNumber, intptr_t(&stored)) &&
      stored.right > stored.left && stored.bottom > stored.top) {
    SetWindowPos(w, nullptr, stored.left, stored.top, stored.right - stored.left, stored.bottom - stored.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(w, IsNumberedWindowShown(kThinkingWindowNumber) ? SW_SHOWNA : SW_HIDE);
  }
  static const char* const thinking[5] = {"Time", "Depth", "Score", "Positions", "Moves"};
  static const char* const statistics[5] = {"Time", "Depth", "Positions", "Moves Left", "Total Moves"};
  HFONT font = HFONT(SendMessageA(w, WM_GETFONT, 0, 0));
  for (int i = 0; i < 3; ++i) {
    SetupColumns(GetDlgItem(w, kListIds[i]), kThinkingColumns, thinking, kFirstWidths, font);
    SetupColumns(GetDlgItem(w, kStatisticsIds[i]), kStatisticsColumns, statistics, kStatisticsWidths, font);
  }
}

void Destroy(HWND w) {
  ThinkingRecord* r = Record(w);
  KillTimer(w, kThinkingTimer);
  GameRecord* game = GetCurrentGame();
  if (r && r->advisorStarted) g_engine.stopAnalysis(r->analysed ? r->analysed : game);
  NumberedWindowOp(WOP_CLEAR_HANDLE, kThinkingWindowNumber, 0);
  ToggleMenuCheck();
  if (game)
    for (int i = 0; i < 3; ++i)
      if (SectionPlayer(game, i)->kind == PLAYER_ENGINE) g_engine.setPost(SectionPlayer(game, i), false);
  delete r;
  SetWindowLongPtrA(w, DWLP_USER, 0);
}

void ContextMenu(HWND w, LPARAM point) {
  HMENU menu = CreatePopupMenu();
  const struct {
    int text;
    const char* fallback;
    UINT command;
  } entries[] = {{2106, "Quick Hint", 40026},
                 {2107, "Natural Language Advice", 40027},
                 {2105, "Auto-Annotate/Analyze", 40029},
                 {2100, "Help", 40}};
  for (const auto& e : entries) AppendMenuA(menu, MF_STRING, e.command, LoadText(e.text, e.fallback).c_str());
  HWND main = HWND(GetNumberedWindow(0));
  TrackPopupMenu(menu, TPM_LEFTALIGN, short(LOWORD(point)), short(HIWORD(point)), 0, main ? main : w,
                 nullptr);
  DestroyMenu(menu);
}

void EmptyThinkingLists(HWND w) {
  for (int id : kListIds) SendMessageA(GetDlgItem(w, id), LVM_DELETEALLITEMS, 0, 0);
}

INT_PTR CALLBACK ThinkingLinesDlgProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    Initialise(w);
    return TRUE;
  }
  ThinkingRecord* r = Record(w);
  if (!r) return FALSE;
  switch (message) {
    case WM_DESTROY:
      Destroy(w);
      return TRUE;
    case WM_CLOSE:
      if (!NumberedWindowOp(WOP_SHOW, kThinkingWindowNumber, WSC_TOGGLE)) ShowWindow(w, SW_HIDE);
      ToggleMenuCheck();
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        SendMessageA(w, WM_CLOSE, 0, 0);
        return TRUE;
      }
      return FALSE;
    case WM_SHOWWINDOW:
      UpdateSections(w, GetCurrentGame(), wParam != 0);
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) == kThinkWhiteButton || LOWORD(wParam) == kThinkBlackButton ||
          LOWORD(wParam) == kThinkAdvisorButton) {
        UpdateSections(w, GetCurrentGame(), WindowShownFlag(w));
        return TRUE;
      }
      return FALSE;
    case WM_SIZE: {
      Layout(w, LOWORD(lParam), HIWORD(lParam));
      RECT wr;
      GetWindowRect(w, &wr);
      const int32_t rect[4] = {wr.left, wr.top, wr.right - wr.left, wr.bottom - wr.top};
      NumberedWindowOp(WOP_SET_RECT_XYWH, kThinkingWindowNumber, intptr_t(rect));
      return TRUE;
    }
    case WM_WINDOWPOSCHANGED: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      WindowPosRecord record{pos->hwnd, pos->hwndInsertAfter, pos->x, pos->y, pos->cx, pos->cy, pos->flags};
      NumberedWindowOp(WOP_SET_RECT_POS, kThinkingWindowNumber, intptr_t(&record));
      return FALSE;
    }
    case WM_GETMINMAXINFO: {
      int width = 0, height = 0;
      MinimumClient(w, &width, &height);
      RECT wr, cr;
      GetWindowRect(w, &wr);
      GetClientRect(w, &cr);
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = width + (wr.right - wr.left) - cr.right;
      info->ptMinTrackSize.y = height + (wr.bottom - wr.top) - cr.bottom;
      return TRUE;
    }
    case WM_CONTEXTMENU:
      ContextMenu(w, lParam);
      return TRUE;
    case WM_CHAR:
      if (HWND main = HWND(GetNumberedWindow(0))) PostMessageA(main, message, wParam, lParam);
      return TRUE;
    case WM_TIMER:
      if (wParam == kThinkingTimer) OnTimer(w, r);
      return TRUE;
    case RWM_GAME_EVENT:
      if (wParam == GE_GAME_SET) {
        EmptyThinkingLists(w);
        for (SectionBlock& b : r->blocks) b.newLine = b.newStatistics = 0;
        UpdateSections(w, reinterpret_cast<GameRecord*>(lParam), WindowShownFlag(w));
      } else if (wParam == GE_MOVE_TAKEN_BACK || wParam == GE_MOVE_REPLAYED ||
                 wParam == GE_ANNOTATION_CHANGED) {
        EmptyThinkingLists(w);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

int Mark(HWND window, int sideCode, bool line) {
  ThinkingRecord* r = Record(window);
  if (!r) return -1;
  const int section = sideCode == 1   ? kThinkWhite
                      : sideCode == 0 ? kThinkBlack
                      : sideCode == 2 ? kThinkAdvisor
                                      : -1;
  if (section < 0) return 0;
  (line ? r->blocks[section].newLine : r->blocks[section].newStatistics) = 1;
  return 0;
}

}  // namespace

int CreateThinkingLinesDialog(HWND parent, HINSTANCE instance) {
  if (!parent || !instance) return -1;
  HWND w =
      CreateDialogParamA(instance, MAKEINTRESOURCEA(kThinkingLinesDialog), parent, ThinkingLinesDlgProc, 0);
  return w ? 0 : int(GetLastError());
}

void DestroyThinkingLinesDialog(HWND window) {
  if (window) DestroyWindow(window);
}

int MarkThinkingLine(HWND window, PlayerRecord* /*player*/, int sideCode) {
  return Mark(window, sideCode, true);
}
int MarkThinkingStatistics(HWND window, PlayerRecord* /*player*/, int sideCode) {
  return Mark(window, sideCode, false);
}

void SetThinkingLinesEngine(const ThinkingLinesEngine* engine) { g_engine = engine ? *engine : kEngineLink; }
