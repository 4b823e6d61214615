// The generated chess sets on a real sprite scene under Wine: each board
// picture placed by the registration rule, the pieces of its default set in
// the initial position at the projected square centres (flat pieces
// centred, standing ones on their foot), far ranks behind near ones. The
// pixel at each empty square's projected centre must have that square's
// colour, with White and with Black at the bottom; every scene ends in a
// screenshot.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "board.h"
#include "board_projection.h"
#include "chess_sets.h"
#include "dibkit.h"
#include "guitest.h"
#include "piece_cels.h"
#include "piece_records.h"
#include "spriteset.h"
#include "win/scene_sprites_win32.h"
#include "win/square_marks_win32.h"

namespace {

struct FolderHost : ChessSetHost {
  bool DataSetOpen() override { return true; }
  bool LoadDataItem(const std::string& name, std::vector<uint8_t>* out) override {
    std::ifstream in(std::string(RW_SETS_DIR) + "/" + name, std::ios::binary);
    if (!in) return false;
    out->assign(std::istreambuf_iterator<char>(in), {});
    return true;
  }
  std::string GetSoundFileName(int) override { return std::string(); }
  std::string ProgramFolder() override { return std::string(); }
  bool WriteWaveFile(const std::vector<uint8_t>&, const std::string&) override { return false; }
};

AnimScene* g_scene = nullptr;

LRESULT Paint(HWND window, UINT message, WPARAM, LPARAM, bool* handled) {
  if (message != WM_PAINT || !g_scene) return 0;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  PaintScene(g_scene, dc);
  EndPaint(window, &ps);
  *handled = true;
  return 0;
}

int Luma(COLORREF c) { return GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11; }

TEST(BoardScene, GeneratedSetsStandOnTheirSquares) {
  FolderHost host;
  ChessSetCatalogue catalogue;
  ASSERT_TRUE(catalogue.Load(&host)) << RW_SETS_DIR;
  // The program palette, from the first flat set's picture.
  PackedDib* palette = dibReadFile(
      (std::string(RW_SETS_DIR) + "/" + RecordName(catalogue.GetBoardSetRecord(0)->boardItem, kItemNameSize))
          .c_str());
  ASSERT_TRUE(palette && palette->biBitCount == 8);
  for (int n = 0; n < catalogue.boardCount(); ++n) {
    for (int turn : {360, 180}) {
      BoardSetRecord geometry;
      ASSERT_TRUE(catalogue.CopyBoardSet(&geometry, n));
      geometry.turn = turn;
      geometry.originX = geometry.originY = 0;
      const PieceSetRecord* pieces =
          catalogue.GetPieceSetRecord(catalogue.FindPieceSet(geometry.defaultPieceSet));
      ASSERT_NE(pieces, nullptr);
      std::string folder = RW_SETS_DIR;
      PackedDib* board = dibReadFile((folder + "/" + RecordName(geometry.boardItem, kItemNameSize)).c_str());
      PackedDib* sheet = dibReadFile((folder + "/" + RecordName(pieces->sheetItem, kItemNameSize)).c_str());
      ASSERT_NE(board, nullptr) << geometry.boardItem;
      ASSERT_NE(sheet, nullptr) << pieces->sheetItem;

      BoardProjection view;
      view.geometry = &geometry;
      view.leftMargin = 16;
      view.celWidth = pieces->celWidth;
      view.celHeight = pieces->celHeight;
      UpdateBoardOffset(&view, nullptr);
      int width = view.pictureOrigin.x + board->biWidth + 16;
      int height = view.pictureOrigin.y + std::abs(board->biHeight) + 16;
      HWND window = guitest::CreateTestWindow(RECT{0, 0, width, height}, Paint);
      ASSERT_NE(window, nullptr);
      AnimScene* scene = InitAnimate(reinterpret_cast<intptr_t>(window));
      ASSERT_NE(scene, nullptr);
      ASSERT_EQ(SetCanvasSize(scene, width, height), 0);
      // The canvas takes the program palette, which every 8-bit picture of the sets carries.
      SetCanvasColorTable(scene, static_cast<const DibRgbQuad*>(dibGetColorArea(palette)), 256);
      // A plain grey background round the board, as the room gives.
      PackedDib* background = dibCreateWithColors(width, height, 8);
      ASSERT_NE(background, nullptr);
      dibFillWithColor(background, 248);  // the system's middle grey
      BackgroundSetDibFromPtr(scene, background);
      int boardDib = AddSpriteDib(scene, board);
      int boardSprite = AddSprite(scene);
      SetSpriteSpriteDib(scene, boardSprite, boardDib);
      ShowSprite(scene, boardSprite, view.pictureOrigin.x, view.pictureOrigin.y, 10000, 2);
      g_scene = scene;
      InvalidateRect(window, nullptr, FALSE);
      guitest::Pump(150);
      // Registration, on the board alone (standing pieces cover the squares
      // behind them): light squares brighter than dark ones, a8 light.
      int leastLight = 1 << 30, mostDark = -1;
      for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 8; ++column) {
          ScreenPoint centre;
          SquareCentre(view, row, column, &centre, nullptr);
          // A small patch: materials and hatching vary from pixel to pixel.
          int luma = 0;
          for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) luma += Luma(guitest::ScreenPixel(centre.x + dx, centre.y + dy));
          if ((row + column) % 2 == 0)
            leastLight = std::min(leastLight, luma);
          else
            mostDark = std::max(mostDark, luma);
        }
      EXPECT_GT(leastLight, mostDark) << geometry.name << " turn " << turn;
      bool flat = IsFlatBoard(geometry);
      SceneSprites sprites(scene, flat);
      ASSERT_TRUE(sprites.BuildPieceCels(sheet, *pieces));
      ASSERT_TRUE(sprites.CreatePieceSprites());
      PieceSpriteRecords records;
      records.multiCel = pieces->celFlag != 0;
      Board position;
      SetInitialBoard(&position);
      ASSERT_EQ(SetPieceSpritesFromPosition(&records, &sprites, geometry.turn, position), 32);
      LayoutPieceSprites(&records, &sprites, view, HIDE_NONE);
      InvalidateRect(window, nullptr, FALSE);
      guitest::Pump(150);
      std::string shot = "boardview-set" + std::to_string(n) + (turn == 180 ? "-turned" : "");
      guitest::ScreenshotTo(RW_BOARDVIEW_ARTEFACTS, shot);
      if (turn == 360) {
        // 1.e4 slides at Fast; a picture is taken half way along the line.
        struct Half {
          int at;
          std::string name;
          int drawn = 0;
        } half{0, shot + "-slide"};
        ScreenPoint e2, e4;
        SquareCentre(view, 6, 4, &e2, nullptr);
        SquareCentre(view, 4, 4, &e4, nullptr);
        int threshold = SlideThreshold(SLIDE_FAST, pieces->celWidth, pieces->celHeight);
        half.at = std::abs(e4.y - e2.y) / (threshold + 1) / 2;
        SlideRequest request{&sprites,
                             &view,
                             window,
                             threshold,
                             [](void* context, int index, int, int) {
                               Half* h = static_cast<Half*>(context);
                               ++h->drawn;
                               if (index == h->at) guitest::ScreenshotTo(RW_BOARDVIEW_ARTEFACTS, h->name);
                             },
                             &half};
        auto slide = [](void* context, int piece, int fc, int fr, int tc, int tr) {
          SlidePieceSprite(*static_cast<SlideRequest*>(context), piece, fc, fr, tc, tr);
        };
        DWORD start = GetTickCount();
        ASSERT_EQ(PlayMoveScript(&records, &sprites, view, "Se2e4", false, HIDE_NONE, slide, &request), 1);
        DWORD took = GetTickCount() - start;
        EXPECT_GT(half.drawn, 2);
        // Paced: every drawn point after the first waits for its turn.
        EXPECT_GE(took, static_cast<DWORD>((half.drawn - 1) * kSlidePointMs) - 20);
        EXPECT_GE(records.squares[4][4], 0);
        EXPECT_EQ(records.squares[6][4], -1);
        // Marks under the pieces: the last move framed, a refilled square,
        // an inverted one; then cleared again.
        const DibRgbQuad* pal = static_cast<const DibRgbQuad*>(dibGetColorArea(palette));
        auto entry = [&](int i) { return RGB(pal[i & 0xFF].red, pal[i & 0xFF].green, pal[i & 0xFF].blue); };
        SquareMarks marks;
        MarkLayer layer{&view, &marks, entry(geometry.lightColour), entry(geometry.darkColour)};
        ASSERT_EQ(
            RegisterDrawCallback(scene, DrawSquareMarks, 10000, 10000, reinterpret_cast<intptr_t>(&layer)),
            ANIM_CB_OK);
        marks.SetLastMoveMarks(0x64, 0x44, true);
        marks.MarkSquares("d4", MARK_WHITE_COVER);
        marks.MarkSquares("c3", MARK_INVERT | MARK_LAST_MOVE);  // the frame wins
        MakeRectInvalid(scene, 0, 0, width - 1, height - 1);
        InvalidateRect(window, nullptr, FALSE);
        guitest::Pump(100);
        ScreenPoint d4, c3;
        SquareCentre(view, 4, 3, &d4, nullptr);
        SquareCentre(view, 5, 2, &c3, nullptr);
        EXPECT_EQ(guitest::ScreenPixel(d4.x, d4.y), layer.dark) << geometry.name;  // d4 is dark: refilled so
        const ScreenPoint* e4Corners = view.squares[4][4];  // light: framed in the dark colour
        EXPECT_EQ(guitest::ScreenPixel(e4Corners[0].x + 1, (e4Corners[0].y + e4Corners[3].y) / 2), layer.dark)
            << geometry.name;
        EXPECT_EQ(guitest::ScreenPixel(view.squares[5][2][0].x + 1, c3.y), layer.light)
            << geometry.name;                                                       // c3 dark
        EXPECT_NE(guitest::ScreenPixel(c3.x, c3.y), layer.light) << geometry.name;  // framed, not refilled
        guitest::ScreenshotTo(RW_BOARDVIEW_ARTEFACTS, shot + "-e4");
        marks.SetLastMoveMarks(0x13, 0x33, true);  // the second pair only
        EXPECT_EQ(marks.words[4][4], 0u);
        marks.MarkSquares("d4c3", 0);
        MakeRectInvalid(scene, 0, 0, width - 1, height - 1);
        InvalidateRect(window, nullptr, FALSE);
        guitest::Pump(100);
        EXPECT_NE(guitest::ScreenPixel(d4.x, d4.y), layer.dark) << geometry.name;
        UnregisterDrawCallback(scene, DrawSquareMarks, 10000, 10000);
      }
      g_scene = nullptr;
      TerminateAnimate(scene);
      DestroyWindow(window);
      dibDelete(board);
      dibDelete(sheet);
      dibDelete(background);
    }
  }
  dibDelete(palette);
}

}  // namespace
