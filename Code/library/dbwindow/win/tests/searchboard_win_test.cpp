// The search board and piece box under Wine with real mouse and key input:
// drops answered by the parent (where dropped, back to the source, off the
// board), a slide stopped by a key press and one that ends by itself, the
// piece box bitmaps and the drawn board in screenshots.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "guitest.h"
#include "searchboard_core.h"
#include "searchboard_win32.h"

namespace {

bool Shot(const char* name) { return guitest::ScreenshotTo(RW_DBWINDOW_ARTEFACT_DIR, name); }

enum class Answer { kWhereDropped, kBack, kOffBoard };

struct Host {
  HWND window = nullptr;
  HWND board = nullptr;
  HWND boxes[12] = {};
  Answer answer = Answer::kWhereDropped;
  std::vector<WPARAM> drops;
  int slideDone = 0;
};

Host* g_host = nullptr;
HMODULE g_library = nullptr;

LRESULT HostMessage(HWND window, UINT message, WPARAM first, LPARAM second, bool* handled) {
  Host* h = g_host;
  switch (message) {
    case SBM_DROP: {
      *handled = true;
      h->drops.push_back(first);
      auto* a = reinterpret_cast<uint8_t*>(second);
      if (h->answer == Answer::kWhereDropped) {
        a[0] = uint8_t(first >> 16);
        a[1] = uint8_t(first >> 8);
      } else if (h->answer == Answer::kBack) {
        a[0] = 0;
      } else {
        a[0] = uint8_t(first >> 16);
        a[1] = 200;
      }
      return 0;
    }
    case SPM_PRESSED: {
      *handled = true;
      HWND box = reinterpret_cast<HWND>(first);
      char caption[8] = "";
      GetWindowTextA(box, caption, sizeof caption);
      POINT p{short(LOWORD(second)), short(HIWORD(second))};
      MapWindowPoints(box, window, &p, 1);
      LONG record[4] = {-1000, -1000, p.x, p.y};
      SendMessageA(h->board, SBM_STARTDRAG, WPARAM(atoi(caption)), LPARAM(record));
      return 0;
    }
    case SBM_SLIDEDONE:
      *handled = true;
      ++h->slideDone;
      return 0;
    case WM_ERASEBKGND: {
      *handled = true;
      RECT r;
      GetClientRect(window, &r);
      FillRect(reinterpret_cast<HDC>(first), &r, GetSysColorBrush(COLOR_3DFACE));
      return 1;
    }
  }
  return 0;
}

class SearchBoardWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    g_library = LoadLibraryExA("RW256.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(g_library, nullptr);
    ASSERT_TRUE(RegisterSearchBoardClasses(GetModuleHandleA(nullptr)));
  }
  void SetUp() override {
    g_host = &host_;
    host_.window = guitest::CreateTestWindow(RECT{40, 40, 440, 300}, HostMessage);
    ASSERT_NE(host_.window, nullptr);
    host_.board = CreateWindowExA(WS_EX_DLGMODALFRAME, kSearchBoardClass, "", WS_CHILD | WS_VISIBLE, 10, 10, 100, 100,
                                  host_.window, HMENU(1601), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(host_.board, nullptr);
    SendMessageA(host_.board, SBM_SETPIECESET, WPARAM("PIECESET25"), LPARAM(g_library));
    const char* codes[12] = {"1", "2", "3", "4", "5", "6", "9", "10", "11", "12", "13", "14"};
    for (int i = 0; i < 12; ++i) {
      host_.boxes[i] = CreateWindowExA(WS_EX_CLIENTEDGE, kPieceBoxClass, codes[i], WS_CHILD | WS_VISIBLE,
                                       220 + (i % 6) * 28, 14 + (i / 6) * 30, 20, 20, host_.window,
                                       HMENU(INT_PTR(30400 + 5 * i)), GetModuleHandleA(nullptr), nullptr);
      const LRESULT bitmap =
          SendMessageA(host_.board, SBM_PIECEBITMAP, WPARAM(atoi(codes[i])) | (WPARAM(0xFFFE) << 16), 0);
      ASSERT_NE(bitmap, 0);
      SendMessageA(host_.boxes[i], SPM_SETBITMAP, WPARAM(bitmap), 0);
    }
    guitest::Pump(200);
  }
  void TearDown() override {
    if (host_.window) DestroyWindow(host_.window);
    SetSearchBoardAnimationSpeed(0);
    g_host = nullptr;
  }

  // The screen point at the centre of a square.
  POINT SquareCentre(int sq) const {
    RECT c;
    GetClientRect(host_.board, &c);
    const int s = c.right / 8;
    const BoardPoint o = SquareOrigin(sq, s, false);
    POINT p{o.x + s / 2, o.y + s / 2};
    ClientToScreen(host_.board, &p);
    return p;
  }
  std::vector<uint8_t> Position() const {
    std::vector<uint8_t> codes(64);
    SendMessageA(host_.board, SBM_GETPOSITION, 0, LPARAM(codes.data()));
    return codes;
  }
  void SetPosition(const std::vector<uint8_t>& codes) {
    SendMessageA(host_.board, SBM_SETPOSITION, 0, LPARAM(codes.data()));
    SendMessageA(host_.board, SBM_UPDATE, 0, 0);
  }
  POINT BoxCentre(int i) const {
    RECT r;
    GetWindowRect(host_.boxes[i], &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  Host host_;
};

TEST_F(SearchBoardWindow, SizesItselfToThePieceSetAndFramesItself) {
  RECT w, c;
  GetWindowRect(host_.board, &w);
  GetClientRect(host_.board, &c);
  EXPECT_EQ(c.right, 8 * 23);  // 225-pixel picture: 23-pixel squares, no gutter
  EXPECT_EQ(c.bottom, 8 * 23);
  EXPECT_EQ(w.right - w.left, 8 * 23 + 6);  // the 3-pixel bevel
  RECT box;
  GetClientRect(host_.boxes[0], &box);
  EXPECT_EQ(box.right, 23);
}

TEST_F(SearchBoardWindow, PiecesFromTheBoxLandWhereDropped) {
  SendMessageA(host_.board, SBM_SETEDITABLE, 1, 0);
  // The white king from the box to e1, the black king to e8, a white knight to f3.
  guitest::Drag(BoxCentre(5), SquareCentre(4), 12);
  guitest::Pump(200);
  guitest::Drag(BoxCentre(11), SquareCentre(60), 12);
  guitest::Pump(200);
  guitest::Drag(BoxCentre(1), SquareCentre(21), 12);
  guitest::Pump(300);
  const std::vector<uint8_t> p = Position();
  EXPECT_EQ(p[4], 6);
  EXPECT_EQ(p[60], 14);
  EXPECT_EQ(p[21], 2);
  ASSERT_EQ(host_.drops.size(), 3u);
  // The drop names the piece, the target and source -1 (the box).
  EXPECT_EQ(host_.drops[0], (WPARAM(6) << 16) | (WPARAM(4) << 8) | 0xFF);
  EXPECT_TRUE(Shot("searchboard_dropped"));
}

TEST_F(SearchBoardWindow, AnswersPutThePieceBackOrTakeItOff) {
  SendMessageA(host_.board, SBM_SETEDITABLE, 1, 0);
  std::vector<uint8_t> start(64, 0);
  start[12] = 1;   // white pawn e2
  start[52] = 9;   // black pawn e7
  SetPosition(start);
  guitest::Pump(100);

  host_.answer = Answer::kBack;  // code 0: back to its square
  guitest::Drag(SquareCentre(12), SquareCentre(28), 10);
  guitest::Pump(200);
  EXPECT_EQ(Position()[12], 1);
  EXPECT_EQ(Position()[28], 0);

  host_.answer = Answer::kOffBoard;  // a square off the board: removed
  guitest::Drag(SquareCentre(52), SquareCentre(36), 10);
  guitest::Pump(200);
  EXPECT_EQ(Position()[52], 0);
  EXPECT_EQ(Position()[36], 0);

  host_.answer = Answer::kWhereDropped;  // between squares
  guitest::Drag(SquareCentre(12), SquareCentre(28), 10);
  guitest::Pump(200);
  EXPECT_EQ(Position()[12], 0);
  EXPECT_EQ(Position()[28], 1);
  ASSERT_EQ(host_.drops.size(), 3u);
  EXPECT_EQ(host_.drops[2], (WPARAM(1) << 16) | (WPARAM(28) << 8) | 12);
}

TEST_F(SearchBoardWindow, AKeyStopsASlideAtOnceAndAnUnstoppedOneIsReported) {
  std::vector<uint8_t> start(64, 0);
  start[0] = 4;  // white rook a1
  SetPosition(start);
  guitest::Pump(100);
  // 40 steps a second over 7 squares of 23 pixels: about four seconds.
  SetSearchBoardAnimationSpeed(40);
  auto done = reinterpret_cast<HANDLE>(SendMessageA(host_.board, SBM_SLIDE, WPARAM(0 | 56 << 8 | 4 << 16), 0));
  ASSERT_NE(done, nullptr);
  EXPECT_EQ(SendMessageA(host_.board, SBM_STOPSLIDE, 0, 0), 1);
  // The key comes while this thread waits for the slide, as a user's does.
  std::thread typist([] {
    Sleep(400);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = VK_SPACE;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof in[0]);
  });
  const DWORD started = GetTickCount();
  EXPECT_TRUE(WaitForSearchBoardSlide(host_.board, done));
  EXPECT_LT(GetTickCount() - started, 1500u);
  typist.join();
  EXPECT_EQ(SendMessageA(host_.board, SBM_STOPSLIDE, 0, 0), 0);
  guitest::Pump(200);
  EXPECT_EQ(host_.slideDone, 0);  // stopped: no report

  // As fast as it draws, two pixels a step: ends by itself and says so.
  start[0] = 0;
  start[56] = 4;
  SetPosition(start);
  SetSearchBoardAnimationSpeed(-2);
  done = reinterpret_cast<HANDLE>(SendMessageA(host_.board, SBM_SLIDE, WPARAM(56 | 7 << 8 | 4 << 16), 0));
  EXPECT_FALSE(WaitForSearchBoardSlide(host_.board, done));
  ASSERT_TRUE(guitest::WaitFor([&] { return host_.slideDone == 1; }, 3000));
  start[56] = 0;
  start[7] = 4;
  SetPosition(start);
  guitest::Pump(100);
  EXPECT_TRUE(Shot("searchboard_after_slide"));
}

TEST_F(SearchBoardWindow, DestroyingTheBoardMidSlideWaitsForTheThread) {
  std::vector<uint8_t> start(64, 0);
  start[0] = 5;
  SetPosition(start);
  SetSearchBoardAnimationSpeed(5);  // a slide of many seconds
  SendMessageA(host_.board, SBM_SLIDE, WPARAM(0 | 63 << 8 | 5 << 16), 0);
  guitest::Pump(200);
  const DWORD started = GetTickCount();
  DestroyWindow(host_.board);
  EXPECT_LT(GetTickCount() - started, 2000u);  // the thread stops at its next step
  EXPECT_FALSE(IsWindow(host_.board));
}

}  // namespace
