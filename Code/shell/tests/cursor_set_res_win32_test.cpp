// The cursor set over the program's own resource object and the animated
// cursor files the build draws: every one of the 29 cursors loads, and a
// window shows them all.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "cursor_set.h"
#include "guitest.h"

namespace fs = std::filesystem;

namespace {

TEST(ProgramCursors, AllTwentyNineLoad) {
  const fs::path previous = fs::current_path();
  const fs::path folder =
      fs::temp_directory_path() / ("rw_program_cursors_" + std::to_string(GetCurrentProcessId()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  for (const char* name : {"busy.ani", "MoveBoard.ani", "SizeBoard.ani", "RotateBoard_LR.ani",
                           "RotateBoard_UD.ani", "PerspectiveBoard.ani"})
    fs::copy_file(fs::path(RW_PROGRAM_ANI_DIR) / name, folder / name);
  fs::current_path(folder);
  ASSERT_EQ(CreateCursorSet(), 1);
  fs::current_path(previous);
  CursorSet* set = GetCursorSet();
  for (int i = 0; i < kCursorCount; ++i) EXPECT_NE(set->cursors[i], nullptr) << "cursor " << i;
  EXPECT_NE(set->cursors[CURSOR_BUSY], LoadCursorA(nullptr, IDC_WAIT)) << "busy.ani, not the fallback";

  HWND window = guitest::CreateTestWindow(
      {100, 100, 100 + 10 * 44 + 20, 100 + 3 * 44 + 20}, [](HWND w, UINT msg, WPARAM, LPARAM, bool* handled) {
        if (msg != WM_PAINT) return LRESULT(0);
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        RECT all;
        GetClientRect(w, &all);
        HBRUSH ground = CreateSolidBrush(RGB(236, 232, 220));
        FillRect(dc, &all, ground);
        DeleteObject(ground);
        for (int i = 0; i < kCursorCount; ++i)
          if (HCURSOR c = static_cast<HCURSOR>(GetCursorSet()->cursors[i]))
            DrawIconEx(dc, 10 + (i % 10) * 44, 10 + (i / 10) * 44, c, 0, 0, 0, nullptr, DI_NORMAL);
        EndPaint(w, &ps);
        *handled = true;
        return LRESULT(0);
      });
  // The piece cursors as a board window gets them.
  EXPECT_EQ(SetPieceCursor(window, 2), 7);
  EXPECT_EQ(GetWindowCursorIndex(window), 7);
  EXPECT_EQ(GetCursorSet()->hotSpot, 32);
  guitest::Pump(300);
  guitest::Screenshot("shell-program-cursors");
  DestroyWindow(window);
  EXPECT_EQ(FreeCursorSet(), 1);
  std::error_code ignored;
  fs::remove_all(folder, ignored);
}

}  // namespace
