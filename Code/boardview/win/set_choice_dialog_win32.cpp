// The chess-set dialog and the switch of a board view's sets.
#include "win/set_choice_dialog_win32.h"

#include <algorithm>
#include <string>
#include <vector>

#include "piece_cels.h"
#include "set_choice.h"
#include "win/board_drawing_win32.h"
#include "win/board_view_win32.h"
#include "win/markup_glyphs_win32.h"
#include "win/piece_picture_win32.h"

namespace {

constexpr int kDialog = 115;
constexpr int kBoardList = 1891, kPieceList = 1892, kPiecePreview = 1893, kBoardPreview = 1894;
constexpr int kItemHeight = 18;
constexpr int kPreviewSide = 140;
const char* const kCustomLine = "Custom Board";

// One dialog at a time.
struct SetChoiceState {
  SetChoiceHost* host = nullptr;
  int room = 0;
  int boardIndex = 0, pieceIndex = 0;
  bool userPicked = false;
  int lastBoardLine = -1;
  std::vector<int> pieceLines;  // catalogue index of each piece line
  std::string keptPieceName;
} g_state;

std::string ListText(HWND list, int line) {
  if (line < 0) return std::string();
  LRESULT n = SendMessageA(list, LB_GETTEXTLEN, line, 0);
  if (n == LB_ERR) return std::string();
  std::string text(static_cast<size_t>(n) + 1, '\0');
  SendMessageA(list, LB_GETTEXT, line, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(n));
  return text;
}

bool CustomSelected(HWND dialog) {
  HWND list = GetDlgItem(dialog, kBoardList);
  int line = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
  int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  return line >= 0 && line == count - 1;
}

ChoiceBoard SelectedBoard(HWND dialog) {
  HWND list = GetDlgItem(dialog, kBoardList);
  int line = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
  return BoardForLine(g_state.host->Catalogue(), ListText(list, line), CustomSelected(dialog),
                      g_state.host->CustomView());
}

void FillBoardList(HWND dialog) {
  HWND list = GetDlgItem(dialog, kBoardList);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  const ChessSetCatalogue& cat = g_state.host->Catalogue();
  int select = 0;
  for (int n : BoardListIndexes(cat, g_state.room)) {
    std::string name = RecordName(cat.GetBoardSetRecord(n)->name, kSetNameSize);
    int line = static_cast<int>(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str())));
    if (g_state.boardIndex >= 0 &&
        name == RecordName(cat.GetBoardSetRecord(g_state.boardIndex) ? cat.GetBoardSetRecord(g_state.boardIndex)->name
                                                                     : "",
                           kSetNameSize))
      select = line;
  }
  int custom = static_cast<int>(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kCustomLine)));
  if (g_state.boardIndex == kCustomBoardIndex) select = custom;
  SendMessageA(list, LB_SETCURSEL, select, 0);
}

void FillPieceList(HWND dialog) {
  HWND list = GetDlgItem(dialog, kPieceList);
  const ChessSetCatalogue& cat = g_state.host->Catalogue();
  std::string kept = ListText(list, static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)));
  if (kept.empty()) kept = g_state.keptPieceName;
  ChoiceBoard board = SelectedBoard(dialog);
  g_state.pieceLines = PieceListIndexes(cat, g_state.room, board);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (int n : g_state.pieceLines) {
    std::string name = RecordName(cat.GetPieceSetRecord(n)->name, kSetNameSize);
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  int line = SelectPieceLine(cat, g_state.pieceLines, kept, &g_state.userPicked, board.defaultPieceSet);
  SendMessageA(list, LB_SETCURSEL, line, 0);
}

void DrawBoardPreview(HWND dialog, const DRAWITEMSTRUCT* item) {
  FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_BTNFACE));
  if (CustomSelected(dialog)) {
    if (PackedDib* preview = g_state.host->CustomPreview()) DrawDibStretched(item->hDC, item->rcItem, preview);
    return;
  }
  HWND list = GetDlgItem(dialog, kBoardList);
  const ChessSetCatalogue& cat = g_state.host->Catalogue();
  int n = cat.FindBoardSet(ListText(list, static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0))).c_str());
  const BoardSetRecord* b = cat.GetBoardSetRecord(n);
  if (!b || n >= 48) return;
  PackedDib* picture = b->previewFlag >= 0 ? g_state.host->LoadBoardPicture(n, 3) : nullptr;
  if (!picture) picture = g_state.host->LoadBoardPicture(n, 2);
  if (!picture) return;
  DrawDibStretched(item->hDC, item->rcItem, picture);
  dibDelete(picture);
}

void DrawPiecePreview(HWND dialog, const DRAWITEMSTRUCT* item) {
  FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_BTNFACE));
  HWND list = GetDlgItem(dialog, kPieceList);
  int line = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
  if (line < 0 || line >= static_cast<int>(g_state.pieceLines.size())) return;
  int n = g_state.pieceLines[line];
  const PieceSetRecord* p = g_state.host->Catalogue().GetPieceSetRecord(n);
  if (!p) return;
  if (p->previewFlag >= 0) {
    if (PackedDib* preview = g_state.host->LoadPiecePicture(n, 1)) {
      DrawDibStretched(item->hDC, item->rcItem, preview);
      dibDelete(preview);
      return;
    }
  }
  PackedDib* sheet = g_state.host->LoadPiecePicture(n, 0);
  if (!sheet) return;
  // The two kings side by side, centred.
  int32_t w = p->celWidth, h = p->celHeight;
  RECT r = item->rcItem;
  int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  int side = std::min<int>((r.right - r.left) / 2 - 4, r.bottom - r.top - 8);
  for (int colour = 0; colour < 2; ++colour) {
    int32_t sx, sy;
    if (!PieceCelRect(colour, 0, p->celFlag ? 0 : -1, &sx, &sy, w, h)) continue;
    int left = colour == 0 ? cx - side : cx;
    RECT cel{left, cy - side / 2, left + side, cy + side / 2};
    DrawSheetCel(item->hDC, cel, sheet, sx, sy, w, h);
  }
  dibDelete(sheet);
}

void Redraw(HWND dialog, int id) { InvalidateRect(GetDlgItem(dialog, id), nullptr, TRUE); }

void Accept(HWND dialog) {
  HWND boards = GetDlgItem(dialog, kBoardList), pieces = GetDlgItem(dialog, kPieceList);
  const ChessSetCatalogue& cat = g_state.host->Catalogue();
  bool custom = CustomSelected(dialog);
  int board = ChooseBoardIndex(cat, ListText(boards, static_cast<int>(SendMessageA(boards, LB_GETCURSEL, 0, 0))),
                               custom);
  if (board != -1) g_state.boardIndex = board;
  g_state.pieceIndex =
      ChoosePieceIndex(cat, ListText(pieces, static_cast<int>(SendMessageA(pieces, LB_GETCURSEL, 0, 0))),
                       SelectedBoard(dialog), g_state.pieceIndex);
  EndDialog(dialog, 1);
}

void SizePreviews(HWND dialog) {
  int side = kPreviewSide;
  const ChessSetCatalogue& cat = g_state.host->Catalogue();
  if (cat.boardCount() > 0) {
    if (PackedDib* first = g_state.host->LoadBoardPicture(0, 3)) {
      side = std::max(first->biWidth, std::abs(first->biHeight));
      dibDelete(first);
    }
  }
  side = std::min(side, 200) + 2 * GetSystemMetrics(SM_CXBORDER);
  RECT list;
  GetWindowRect(GetDlgItem(dialog, kBoardList), &list);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&list), 2);
  RECT pieces;
  GetWindowRect(GetDlgItem(dialog, kPieceList), &pieces);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&pieces), 2);
  int top = list.bottom + 8;
  SetWindowPos(GetDlgItem(dialog, kBoardPreview), nullptr, list.left + (list.right - list.left - side) / 2, top, side,
               side, SWP_NOZORDER);
  SetWindowPos(GetDlgItem(dialog, kPiecePreview), nullptr, pieces.left + (pieces.right - pieces.left - side) / 2,
               top, side, side, SWP_NOZORDER);
  // The buttons and the dialog follow the previews.
  RECT ok, cancel, client;
  GetWindowRect(GetDlgItem(dialog, IDOK), &ok);
  GetWindowRect(GetDlgItem(dialog, IDCANCEL), &cancel);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&ok), 2);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&cancel), 2);
  int buttonsTop = top + side + 10;
  SetWindowPos(GetDlgItem(dialog, IDOK), nullptr, ok.left, buttonsTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetWindowPos(GetDlgItem(dialog, IDCANCEL), nullptr, cancel.left, buttonsTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  GetClientRect(dialog, &client);
  RECT window;
  GetWindowRect(dialog, &window);
  int extra = (window.bottom - window.top) - client.bottom;
  int height = buttonsTop + (ok.bottom - ok.top) + 8 + extra;
  SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left, height, SWP_NOMOVE | SWP_NOZORDER);
}

void Centre(HWND dialog) {
  RECT r, work;
  GetWindowRect(dialog, &r);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  SetWindowPos(dialog, nullptr, (work.left + work.right - (r.right - r.left)) / 2,
               (work.top + work.bottom - (r.bottom - r.top)) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void DrawListLine(const DRAWITEMSTRUCT* item) {
  if (item->itemID == static_cast<UINT>(-1)) return;
  bool selected = item->itemState & ODS_SELECTED;
  FillRect(item->hDC, &item->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  std::string text = ListText(item->hwndItem, static_cast<int>(item->itemID));
  SetBkMode(item->hDC, TRANSPARENT);
  SetTextColor(item->hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  RECT r = item->rcItem;
  r.left += 4;
  DrawTextA(item->hDC, text.c_str(), -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  if (item->itemState & ODS_FOCUS) DrawFocusRect(item->hDC, &item->rcItem);
}

INT_PTR CALLBACK SetChoiceProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SizePreviews(dialog);
      FillBoardList(dialog);
      FillPieceList(dialog);
      g_state.lastBoardLine = static_cast<int>(SendDlgItemMessageA(dialog, kBoardList, LB_GETCURSEL, 0, 0));
      Centre(dialog);
      return TRUE;
    case WM_MEASUREITEM: {
      auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (m->CtlType == ODT_LISTBOX) m->itemHeight = kItemHeight;
      return TRUE;
    }
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlID == kBoardPreview) DrawBoardPreview(dialog, item);
      if (item->CtlID == kPiecePreview) DrawPiecePreview(dialog, item);
      if (item->CtlType == ODT_LISTBOX) DrawListLine(item);
      return TRUE;
    }
    case WM_COMMAND: {
      int id = LOWORD(wParam), code = HIWORD(wParam);
      if (id == kBoardList && code == LBN_SELCHANGE) {
        FillPieceList(dialog);
        int line = static_cast<int>(SendDlgItemMessageA(dialog, kBoardList, LB_GETCURSEL, 0, 0));
        if (line != g_state.lastBoardLine) Redraw(dialog, kBoardPreview);
        g_state.lastBoardLine = line;
        Redraw(dialog, kPiecePreview);
        return TRUE;
      }
      if (id == kPieceList && code == LBN_SELCHANGE) {
        g_state.userPicked = true;
        Redraw(dialog, kPiecePreview);
        return TRUE;
      }
      if ((id == kBoardList || id == kPieceList) && code == LBN_DBLCLK) {
        Accept(dialog);
        return TRUE;
      }
      if (id == IDOK) {
        Accept(dialog);
        return TRUE;
      }
      if (id == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    }
  }
  return FALSE;
}

}  // namespace

int RunSelectPiecesBoardDialog(SetChoiceHost* host, int* pieceIndex, int* boardIndex, int room) {
  if (!host || !pieceIndex || !boardIndex) return 0;
  g_state = SetChoiceState{};
  g_state.host = host;
  g_state.room = room;
  g_state.boardIndex = *boardIndex;
  g_state.pieceIndex = *pieceIndex;
  if (const PieceSetRecord* p = host->Catalogue().GetPieceSetRecord(*pieceIndex))
    g_state.keptPieceName = RecordName(p->name, kSetNameSize);
  INT_PTR result = host->RunModalDialog(host->MainWindow(), kDialog, SetChoiceProc, 0);
  if (result != 1) return 0;
  *boardIndex = g_state.boardIndex;
  *pieceIndex = g_state.pieceIndex;
  return 1;
}

bool SwitchRoomBoardSet(BoardView* view, int boardIndex) {
  if (!view || !view->host) return false;
  if (view->boardSetIndex == kCustomBoardSet) UnregisterCustomBoardDrawing(view);
  if (!view->host->LoadRoomBoardSet(boardIndex)) return false;
  view->boardSetIndex = boardIndex;
  view->geometry = view->host->RoomBoardSet();
  view->projection.geometry = view->geometry;
  if (boardIndex == kCustomBoardSet) {
    if (view->host->RoomCustomView()) view->custom = *view->host->RoomCustomView();
    TakeOverCustomView(&view->custom, view->geometry, view->host->ScreenHeight());
    ApplyBoardColoursToPalette(view, kCustomBoardSet);
    ComposeCustomBoard(view, view->window);
    RegisterCustomBoardDrawing(view);
    return true;
  }
  RebindBoardPictures(view);
  if (view->ownedBoardBitmap) {
    dibDelete(view->ownedBoardBitmap);
    view->ownedBoardBitmap = nullptr;
  }
  return true;
}

bool SwitchRoomPieceSet(BoardView* view, int pieceIndex) {
  if (!view || !view->host || !view->host->LoadRoomPieceSet(pieceIndex)) return false;
  RebuildPieceSprites(view);
  return true;
}

int ApplyRoomChessSets(BoardView* view, int boardIndex, int pieceIndex) {
  if (!view) return 0;
  SwitchRoomBoardSet(view, boardIndex);
  SwitchRoomPieceSet(view, pieceIndex);
  if (view->flipped) TurnBoard180Geometry(&view->projection);
  PlaceBoardFromPosition(view);
  return 1;
}

int ChangeChessSets(BoardView* view, int boardIndex, int pieceIndex) {
  if (!view || !view->host) return 0;
  int roomBoard = view->boardSetIndex, roomPieces = view->host->PieceSetIndex();
  if (!SetsChange(roomBoard, roomPieces, boardIndex, pieceIndex)) return 0;
  ShowWindow(view->window, SW_HIDE);
  if (boardIndex != roomBoard || boardIndex == kCustomBoardSet) SwitchRoomBoardSet(view, boardIndex);
  if (pieceIndex != roomPieces) SwitchRoomPieceSet(view, pieceIndex);
  if (view->flipped && view->geometry->turn != 180 && view->geometry->turn != 158)
    TurnBoard180Geometry(&view->projection);
  PlaceBoardFromPosition(view);
  if (view->host->HaveGame()) ApplyTeachingMode(view, view->host->Position());
  view->host->SetCursorKind(CURSOR_PIECE_BASE + view->pieceSet->cursorKind);
  ShowWindow(view->window, SW_SHOW);
  RECT all;
  GetClientRect(view->window, &all);
  RedrawBoardScene(view, &all);
  return 1;
}

HBITMAP MakeDeviceBitmap(const PackedDib* dib, HPALETTE palette) {
  if (!dib) return nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HPALETTE old = palette ? SelectPalette(memory, palette, FALSE) : nullptr;
  if (palette) RealizePalette(memory);
  HBITMAP bitmap = CreateDIBitmap(screen, reinterpret_cast<const BITMAPINFOHEADER*>(dib), CBM_INIT,
                                  dibGetBits(dib), reinterpret_cast<const BITMAPINFO*>(dib), DIB_RGB_COLORS);
  if (old) SelectPalette(memory, old, TRUE);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

void DrawDibStretched(HDC dc, const RECT& box, const PackedDib* dib) {
  if (!dib) return;
  // Keyed pictures (a perspective board's corners) let the dialog show through.
  if (dib->biBitCount == 16 || dib->biBitCount == 8) {
    DrawSheetCel(dc, box, dib, 0, 0, dib->biWidth, std::abs(dib->biHeight));
    return;
  }
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchDIBits(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, 0, 0, dib->biWidth,
                std::abs(dib->biHeight), dibGetBits(dib), reinterpret_cast<const BITMAPINFO*>(dib), DIB_RGB_COLORS,
                SRCCOPY);
}
