// bench_boardview: what the board view costs on a real scene.
//   bench_boardview [sets folder] [seconds per case]
// The largest flat set of the generated catalogue ("2D Maple Extra Large",
// 600-pixel board in a 650-pixel picture, 75-pixel pieces) in a window of
// 640 x 640. "position": the piece sprites are set from a position and laid
// out, and the whole window repainted (two positions taken in turn).
// "slide point": one drawn point of a slide, the piece shown at the point
// and the dirty rectangles repainted, unpaced.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "board.h"
#include "board_projection.h"
#include "chess_sets.h"
#include "piece_records.h"
#include "win/scene_sprites_win32.h"

namespace {

struct FolderHost : ChessSetHost {
  std::string folder;
  bool DataSetOpen() override { return true; }
  bool LoadDataItem(const std::string& name, std::vector<uint8_t>* out) override {
    std::ifstream in(folder + "/" + name, std::ios::binary);
    if (!in) return false;
    out->assign(std::istreambuf_iterator<char>(in), {});
    return true;
  }
  std::string GetSoundFileName(int) override { return std::string(); }
  std::string ProgramFolder() override { return std::string(); }
  bool WriteWaveFile(const std::vector<uint8_t>&, const std::string&) override { return false; }
};

template <typename F>
double MicrosecondsEach(double seconds, F step) {
  using Clock = std::chrono::steady_clock;
  auto start = Clock::now();
  long n = 0;
  double elapsed;
  do {
    step(n++);
  } while ((elapsed = std::chrono::duration<double>(Clock::now() - start).count()) < seconds);
  return elapsed * 1e6 / n;
}

}  // namespace

int main(int argc, char** argv) {
  FolderHost host;
  host.folder = argc > 1 ? argv[1] : RW_SETS_DIR;
  double seconds = argc > 2 ? std::atof(argv[2]) : 3.0;
  ChessSetCatalogue catalogue;
  int n = -1;
  if (!catalogue.Load(&host) || (n = catalogue.FindBoardSet("2D Maple Extra Large")) < 0) {
    std::fprintf(stderr, "bench_boardview: no chess sets in %s\n", host.folder.c_str());
    return 1;
  }
  BoardSetRecord geometry;
  catalogue.CopyBoardSet(&geometry, n);
  geometry.originX = geometry.originY = 0;
  const PieceSetRecord* pieces =
      catalogue.GetPieceSetRecord(catalogue.FindPieceSet(geometry.defaultPieceSet));
  PackedDib* board = dibReadFile((host.folder + "/" + RecordName(geometry.boardItem, kItemNameSize)).c_str());
  PackedDib* sheet = dibReadFile((host.folder + "/" + RecordName(pieces->sheetItem, kItemNameSize)).c_str());
  if (!board || !sheet) return 1;

  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "BenchBoardView";
  RegisterClassA(&wc);
  const int kSize = 640;
  HWND window = CreateWindowExA(0, wc.lpszClassName, "bench", WS_POPUP | WS_VISIBLE, 0, 0, kSize, kSize,
                                nullptr, nullptr, wc.hInstance, nullptr);
  AnimScene* scene = InitAnimate(reinterpret_cast<intptr_t>(window));
  if (!scene || SetCanvasSize(scene, kSize, kSize) != 0) return 1;
  SetCanvasColorTable(scene, static_cast<const DibRgbQuad*>(dibGetColorArea(board)), 256);
  BoardProjection view;
  view.geometry = &geometry;
  view.leftMargin = 0;
  UpdateBoardOffset(&view, nullptr);
  int boardSprite = AddSprite(scene);
  SetSpriteSpriteDib(scene, boardSprite, AddSpriteDib(scene, board));
  ShowSprite(scene, boardSprite, view.pictureOrigin.x, view.pictureOrigin.y, 10000, 2);
  SceneSprites sprites(scene, true);
  if (!sprites.BuildPieceCels(sheet, *pieces) || !sprites.CreatePieceSprites()) return 1;
  PieceSpriteRecords records;
  Board positions[2];
  SetInitialBoard(&positions[0]);
  ClearBoard(&positions[1]);
  // A middlegame of 24 men: the initial one with some pieces exchanged.
  positions[1] = positions[0];
  for (int square : {0x01, 0x06, 0x13, 0x14, 0x61, 0x66, 0x63, 0x64}) positions[1][square] = 0;

  HDC dc = GetDC(window);
  double position = MicrosecondsEach(seconds, [&](long i) {
    SetPieceSpritesFromPosition(&records, &sprites, geometry.turn, positions[i & 1]);
    LayoutPieceSprites(&records, &sprites, view, HIDE_NONE);
    MakeRectInvalid(scene, 0, 0, kSize - 1, kSize - 1);
    PaintScene(scene, dc);
    GdiFlush();
  });
  SetPieceSpritesFromPosition(&records, &sprites, geometry.turn, positions[0]);
  LayoutPieceSprites(&records, &sprites, view, HIDE_NONE);
  PaintScene(scene, dc);
  int piece = records.squares[6][4];
  ScreenPoint from, to;
  SquareCentre(view, 6, 4, &from, nullptr);
  SquareCentre(view, 2, 4, &to, nullptr);
  int span = from.y - to.y;
  double point = MicrosecondsEach(seconds, [&](long i) {
    long k = i % (2 * span);
    int y = from.y - static_cast<int>(k < span ? k : 2 * span - k);
    sprites.ShowPiece(piece, ScreenPoint{from.x, y}, 0);
    PaintScene(scene, dc);
    GdiFlush();
  });
  ReleaseDC(window, dc);
  std::printf("position set and repainted (%d x %d): %.2f ms\n", kSize, kSize, position / 1000);
  std::printf("slide point drawn: %.1f us\n", point);
  TerminateAnimate(scene);
  DestroyWindow(window);
  return 0;
}
