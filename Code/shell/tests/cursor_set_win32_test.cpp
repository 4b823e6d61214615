// The cursor set under Windows: files from the current folder, resources
// of the program (this test's own few), system cursors, class cursors by
// index, piece cursors and the sprite cursor drawn over a scene's sprite.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "cursor_set.h"
#include "guitest.h"
#include "spriteset.h"

namespace fs = std::filesystem;

namespace {

const char* const kBoardFiles[] = {"MoveBoard.ani", "SizeBoard.ani", "RotateBoard_LR.ani",
                                   "RotateBoard_UD.ani", "PerspectiveBoard.ani"};

// Runs each test in an empty folder of its own as the current folder.
struct Cursors : ::testing::Test {
  fs::path folder;
  fs::path previous;
  HWND window = nullptr;
  void SetUp() override {
    previous = fs::current_path();
    folder = fs::temp_directory_path() / ("rw_cursors_" + std::to_string(GetCurrentProcessId()) + "_" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::current_path(folder);
    window = guitest::CreateTestWindow({20, 20, 220, 220});
  }
  void TearDown() override {
    FreeCursorSet();
    SetCursorSetHost(CursorSetHost{});
    DestroyWindow(window);
    fs::current_path(previous);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
  void Put(const char* name) {
    fs::copy_file(fs::path(RW_TEST_CURSORS_DIR) / "spin.ani", folder / name,
                  fs::copy_options::overwrite_existing);
  }
};

TEST_F(Cursors, SourcesFallBackAsTheyShould) {
  ASSERT_EQ(CreateCursorSet(), 1);
  CursorSet* set = GetCursorSet();
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(set->current, CURSOR_ARROW);
  EXPECT_EQ(set->saved, CURSOR_ARROW);
  EXPECT_EQ(set->sprite, -1);
  EXPECT_EQ(set->cursors[CURSOR_BUSY], LoadCursorA(nullptr, IDC_WAIT)) << "no busy.ani: the wait cursor";
  EXPECT_EQ(set->cursors[CURSOR_ARROW], LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_EQ(set->cursors[CURSOR_APP_STARTING], LoadCursorA(nullptr, IDC_APPSTARTING));
  for (int i = 9; i <= 13; ++i) EXPECT_EQ(set->cursors[i], nullptr) << "no " << kBoardFiles[i - 9];
  // Resources 114, 127, 128 and 129 exist in this program; 115 does not.
  for (int i : {1, 3, 5, 7}) EXPECT_NE(set->cursors[i], nullptr) << i;
  EXPECT_EQ(set->cursors[20], nullptr);
  EXPECT_EQ(CreateCursorSet(), 1);
  EXPECT_EQ(GetCursorSet(), set) << "made once";
  EXPECT_EQ(FreeCursorSet(), 1);
  EXPECT_EQ(GetCursorSet(), nullptr);
  EXPECT_EQ(FreeCursorSet(), 0);
}

TEST_F(Cursors, FilesOfTheCurrentFolder) {
  Put("busy.ani");
  Put("MoveBoard.ani");
  ASSERT_EQ(CreateCursorSet(), 1);
  CursorSet* set = GetCursorSet();
  EXPECT_NE(set->cursors[CURSOR_BUSY], nullptr);
  EXPECT_NE(set->cursors[CURSOR_BUSY], LoadCursorA(nullptr, IDC_WAIT));
  EXPECT_NE(set->cursors[CURSOR_MOVE_BOARD], nullptr);
  EXPECT_EQ(set->cursors[CURSOR_MOVE_BOARD + 1], nullptr);
}

TEST_F(Cursors, IndicesSetTheClassCursor) {
  Put("MoveBoard.ani");
  ASSERT_EQ(CreateCursorSet(), 1);
  CursorSet* set = GetCursorSet();
  EXPECT_EQ(SetAppCursor(window, CURSOR_MOVE_BOARD), CURSOR_MOVE_BOARD);
  EXPECT_EQ(GetWindowCursorIndex(window), CURSOR_MOVE_BOARD);
  EXPECT_EQ(SetAppCursor(window, CURSOR_ARROW), CURSOR_ARROW);
  EXPECT_EQ(GetWindowCursorIndex(window), CURSOR_ARROW);
  // A board cursor whose file is missing sets no class cursor.
  EXPECT_EQ(SetAppCursor(window, CURSOR_MOVE_BOARD + 1), CURSOR_MOVE_BOARD + 1);
  EXPECT_EQ(GetWindowCursorIndex(window), CURSOR_ARROW);

  struct Case {
    int kind, index, hotSpot;
  } kinds[] = {{2, 7, 32}, {0, 3, 16}, {1, 5, 20}, {9, 5, 20}, {-1, 5, 20}};
  for (const Case& c : kinds) {
    set->hotSpot = 0;
    EXPECT_EQ(SetPieceCursor(window, c.kind), c.index) << "kind " << c.kind;
    EXPECT_EQ(set->hotSpot, c.hotSpot) << "kind " << c.kind;
    EXPECT_EQ(GetWindowCursorIndex(window), c.index);
    EXPECT_EQ(IsPieceCursor(), 1);
  }
  SetPieceCursor(window, 2);
  // Outside 0..28 nothing changes.
  for (int index : {29, -1, 1000}) {
    EXPECT_EQ(SetAppCursor(window, index), 7) << index;
    EXPECT_EQ(GetWindowCursorIndex(window), 7);
    EXPECT_EQ(set->hotSpot, 32);
  }
  EXPECT_EQ(SetAppCursor(nullptr, 2), 7) << "no window: nothing";
  EXPECT_EQ(GetWindowCursorIndex(nullptr), -1);
  SetAppCursor(window, 1);
  EXPECT_EQ(IsPieceCursor(), 0);
  EXPECT_EQ(set->hotSpot, 32) << "kept from the last piece cursor";
}

// A board scene with one 64 x 64 sprite at (40, 40).
struct Board {
  AnimScene* scene = InitAnimate(0);
  PackedDib* dib = dibCreateWithColors(64, 64, 8);
  int sprite = -1;
  Board() {
    const int entry = AddSpriteDib(scene, dib);
    sprite = AddSprite(scene);
    SetSpriteSpriteDib(scene, sprite, entry);
    ShowSprite(scene, sprite, 40, 40, 10, -1);
  }
  ~Board() {
    TerminateAnimate(scene);
    dibDelete(dib);
  }
};
Board* g_board = nullptr;

void Dummy(void*, const void*, void*, int, int, int, int, int, int, intptr_t) {}

// Draw callbacks a scene still takes, by registering dummies until it is
// full (and removing them again).
int FreeCallbackSlots(AnimScene* scene) {
  int free = 0;
  while (RegisterDrawCallback(scene, Dummy, 5, 5, 0) == ANIM_CB_OK) ++free;
  UnregisterDrawCallback(scene, Dummy, 5, 5);
  return free;
}

TEST_F(Cursors, TheSpriteCursor) {
  ASSERT_EQ(CreateCursorSet(), 1);
  EXPECT_EQ(StartSpriteCursor(0), nullptr) << "no room board";
  Board board;
  g_board = &board;
  CursorSetHost host{};
  host.roomBoardSprite = [](int piece, AnimScene** scene, int* sprite) {
    if (piece != 4) return 0;
    *scene = g_board->scene;
    *sprite = g_board->sprite;
    return 1;
  };
  SetCursorSetHost(host);
  SetPieceCursor(window, 2);
  const int slots = FreeCallbackSlots(board.scene);
  EXPECT_EQ(StartSpriteCursor(3), nullptr);
  ASSERT_EQ(StartSpriteCursor(4), board.scene);
  CursorSet* set = GetCursorSet();
  EXPECT_EQ(set->spriteCursorOn, 1);
  EXPECT_EQ(set->sprite, board.sprite);
  EXPECT_EQ(FreeCallbackSlots(board.scene), slots - 1) << "registered with the scene";

  // Drawn into a white 200 x 200 picture: the large piece cursor (a red
  // disc around its centre) centred over the sprite, its bottom 32 + 1
  // pixels above the sprite's bottom.
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 200, -200, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  PatBlt(dc, 0, 0, 200, 200, WHITENESS);
  EXPECT_EQ(DrawSpriteCursor(dc, set), 0);
  GdiFlush();
  auto pixel = [&](int x, int y) { return static_cast<uint32_t*>(bits)[y * 200 + x] & 0xFFFFFF; };
  const int left = 40 + (64 - 32) / 2, top = 103 - 32 - 1;
  EXPECT_EQ(pixel(left + 16, top + 16), 0xC81E1Eu) << "the disc's centre";
  EXPECT_EQ(pixel(left + 1, top + 1), 0xFFFFFFu) << "transparent corner";
  EXPECT_EQ(pixel(left + 16, top - 2), 0xFFFFFFu) << "nothing above the cursor";
  EXPECT_EQ(DrawSpriteCursor(nullptr, set), 1) << "no device context";

  StopSpriteCursor();
  EXPECT_EQ(set->spriteCursorOn, 0);
  EXPECT_EQ(set->sprite, -1);
  EXPECT_EQ(set->scene, nullptr);
  EXPECT_EQ(FreeCallbackSlots(board.scene), slots) << "unregistered";
  PatBlt(dc, 0, 0, 200, 200, WHITENESS);
  EXPECT_EQ(DrawSpriteCursor(dc, set), 1) << "off: nothing drawn";
  EXPECT_EQ(pixel(left + 16, top + 16), 0xFFFFFFu);

  // Freeing the set while the cursor is on takes it off the scene first.
  ASSERT_EQ(StartSpriteCursor(4), board.scene);
  EXPECT_EQ(FreeCursorSet(), 1);
  EXPECT_EQ(FreeCallbackSlots(board.scene), slots);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  g_board = nullptr;
}

}  // namespace

namespace {

// A look at the set as a user would see it: the loaded cursors in a row and
// the large piece cursor drawn by the sprite cursor over a sprite's place.
TEST_F(Cursors, ShownInAWindow) {
  Put("busy.ani");
  Put("MoveBoard.ani");
  ASSERT_EQ(CreateCursorSet(), 1);
  Board board;
  g_board = &board;
  CursorSetHost host{};
  host.roomBoardSprite = [](int, AnimScene** scene, int* sprite) {
    *scene = g_board->scene;
    *sprite = g_board->sprite;
    return 1;
  };
  SetCursorSetHost(host);
  SetPieceCursor(window, 2);
  ASSERT_NE(StartSpriteCursor(0), nullptr);
  HWND shown =
      guitest::CreateTestWindow({100, 100, 460, 260}, [](HWND w, UINT msg, WPARAM, LPARAM, bool* handled) {
        if (msg != WM_PAINT) return LRESULT(0);
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        RECT all{0, 0, 360, 160};
        HBRUSH ground = CreateSolidBrush(RGB(236, 232, 220));
        FillRect(dc, &all, ground);
        DeleteObject(ground);
        // The sprite's place: a board square under the dragged piece.
        RECT square{40, 40, 104, 104};
        HBRUSH wood = CreateSolidBrush(RGB(181, 136, 99));
        FillRect(dc, &square, wood);
        DeleteObject(wood);
        DrawSpriteCursor(dc, GetCursorSet());
        const int shownIndices[] = {0, 1, 2, 3, 9, 14};
        int x = 140;
        for (int index : shownIndices) {
          if (HCURSOR c = static_cast<HCURSOR>(GetCursorSet()->cursors[index]))
            DrawIconEx(dc, x, 56, c, 0, 0, 0, nullptr, DI_NORMAL);
          x += 36;
        }
        EndPaint(w, &ps);
        *handled = true;
        return LRESULT(0);
      });
  guitest::Pump(300);
  const COLORREF centre = guitest::ScreenPixel(100 + 40 + 16 + 16, 100 + 103 - 33 + 16);
  EXPECT_EQ(centre, RGB(200, 30, 30)) << "the piece cursor over the square";
  guitest::Screenshot("shell-cursors");
  StopSpriteCursor();
  DestroyWindow(shown);
  g_board = nullptr;
}

}  // namespace
