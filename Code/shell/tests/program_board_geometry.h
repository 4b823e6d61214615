// Where the program draws a room's flat board: the set records the build
// made (RW_SETS_DIR), projected as the board view projects them, so a
// program test can find each square's centre on the screen and drag
// pieces as a hand does.
#pragma once

#include "board_projection.h"
#include "chess_sets.h"
// clang-format off
#include <windows.h>
// clang-format on

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

struct FolderSets : ChessSetHost {
  bool DataSetOpen() override { return true; }
  bool LoadDataItem(const std::string& name, std::vector<uint8_t>* out) override {
    std::ifstream in(std::string(RW_SETS_DIR) + "/" + name, std::ios::binary);
    out->assign(std::istreambuf_iterator<char>(in), {});
    return !out->empty();
  }
  std::string GetSoundFileName(int) override { return std::string(); }
  std::string ProgramFolder() override { return std::string(); }
  bool WriteWaveFile(const std::vector<uint8_t>&, const std::string&) override { return false; }
};

struct BoardGeometry {
  BoardSetRecord set{};
  PieceSetRecord pieces{};
  BoardProjection projection{};

  // A room's board as the program lays it out: the largest flat set of the
  // room whose picture fits the layout's board rectangle, at the
  // rectangle's corner.
  bool Load(const RECT& area, int room = 1) {
    ChessSetCatalogue catalogue;
    FolderSets folder;
    if (!catalogue.Load(&folder)) return false;
    int n = -1, best = 0;
    for (int i = 0; i < catalogue.boardCount(); ++i) {
      const BoardSetRecord* s = catalogue.GetBoardSetRecord(i);
      if (!IsFlatBoard(*s) || (s->roomsMask && !(s->roomsMask & (1u << room)))) continue;
      if (2 * s->centreX > area.right - area.left || 2 * s->centreY > area.bottom - area.top || s->size <= best)
        continue;
      n = i;
      best = s->size;
    }
    if (n < 0 || !catalogue.CopyBoardSet(&set, n)) return false;
    return Project(catalogue, area.left + set.centreX - set.size / 2, area.top + set.centreY - set.size / 2);
  }

  // A named set at a fixed drawing origin (the lobby's puzzle board).
  bool LoadNamed(const char* name, int originX, int originY) {
    ChessSetCatalogue catalogue;
    FolderSets folder;
    if (!catalogue.Load(&folder)) return false;
    const int n = catalogue.FindBoardSet(name);
    return n >= 0 && catalogue.CopyBoardSet(&set, n) && Project(catalogue, originX, originY);
  }

  // The centre of a square ("e4") on the screen.
  POINT Centre(HWND board, const char* square) const {
    ScreenPoint p{};
    SquareCentre(projection, '8' - square[1], square[0] - 'a', &p, nullptr);
    POINT s{p.x, p.y};
    ClientToScreen(board, &s);
    return s;
  }

 private:
  bool Project(const ChessSetCatalogue& catalogue, int originX, int originY) {
    catalogue.CopyPieceSet(&pieces, catalogue.FindPieceSet(RecordName(set.defaultPieceSet, kSetNameSize).c_str()));
    set.originX = originX;
    set.originY = originY;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    projection.geometry = &set;
    projection.leftMargin = 2 * (tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 7);
    projection.celWidth = pieces.celWidth;
    projection.celHeight = pieces.celHeight;
    return UpdateBoardOffset(&projection, nullptr);
  }
};
