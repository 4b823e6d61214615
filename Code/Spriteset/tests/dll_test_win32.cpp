// Spriteset.dll under Windows: its ordinals, the DIB-section canvas copied
// to a device context, a timed transition and the canvas error box.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <mmsystem.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "ordinals_win32.h"
#include "test_image.h"

using namespace spritetest;

namespace {

TEST(SpritesetDll, EveryOrdinalIsTheNamedFunction) {
  HMODULE module = LoadLibraryA("Spriteset.dll");
  ASSERT_NE(module, nullptr) << GetLastError();
  for (const OrdinalName& e : kExports) {
    FARPROC byOrdinal = GetProcAddress(module, MAKEINTRESOURCEA(e.ordinal));
    EXPECT_NE(byOrdinal, nullptr) << e.ordinal;
    EXPECT_EQ(byOrdinal, GetProcAddress(module, e.name)) << e.ordinal << " " << e.name;
  }
  FreeLibrary(module);
}

class DllScene : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dll_.Load()) << "Spriteset.dll or one of its ordinals is missing";
    scene_ = dll_.InitAnimate(0);
    ASSERT_NE(scene_, nullptr);
  }
  void TearDown() override {
    if (scene_) dll_.TerminateAnimate(scene_);
  }
  Spriteset dll_;
  AnimScene* scene_ = nullptr;
};

TEST_F(DllScene, Version) {
  EXPECT_EQ(dll_.AnimVersion(scene_), 800);
  char text[16] = {};
  dll_.AnimVersionString(scene_, text);
  EXPECT_STREQ(text, "8.00.01");
}

// The canvas is a DIB section of the screen's depth; what PaintScene copies
// lands on the target device context in the canvas colours.
TEST_F(DllScene, PaintsIntoADeviceContextInTheCanvasColours) {
  ASSERT_EQ(dll_.SetCanvasSize(scene_, 40, 30), 0);
  DibRgbQuad colours[256] = {};
  colours[1] = {0, 0, 200, 0};  // red
  colours[2] = {0, 160, 0, 0};  // green
  colours[3] = {220, 0, 0, 0};  // blue
  dll_.SetCanvasColorTable(scene_, colours, 256);
  DibPtr bg = ImageOf(40, 30, 8, [](int, int) { return 1u; });
  DibPtr sprite = ImageOf(10, 10, 8, [](int x, int) { return x < 5 ? 2u : 3u; });
  dll_.BackgroundSetDibFromPtr(scene_, bg.get());
  const int s = dll_.AddSprite(scene_);
  dll_.SetSpriteSpriteDib(scene_, s, dll_.AddSpriteDib(scene_, sprite.get()));
  dll_.ShowSprite(scene_, s, 20, 15, 1, 0);  // centred: x 15..24, y 10..19

  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 30);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  dll_.PaintScene(scene_, dc);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(200, 0, 0));
  EXPECT_EQ(GetPixel(dc, 39, 29), RGB(200, 0, 0));
  EXPECT_EQ(GetPixel(dc, 16, 10), RGB(0, 160, 0));
  EXPECT_EQ(GetPixel(dc, 24, 19), RGB(0, 0, 220));
  EXPECT_EQ(GetPixel(dc, 25, 19), RGB(200, 0, 0));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST_F(DllScene, TransitionOfAHundredRowsTakesTwentySteps) {
  ASSERT_EQ(dll_.SetCanvasSize(scene_, 20, 100), 0);
  HDC screen = GetDC(nullptr);
  const DWORD start = timeGetTime();
  dll_.PaintSceneSFX(scene_, screen, ANIM_WIPE_DOWN);
  const DWORD took = timeGetTime() - start;
  ReleaseDC(nullptr, screen);
  EXPECT_GE(took, 20u * 25u - 5u);  // timer granularity
}

// A canvas that cannot be made is reported in a message box captioned
// "Canvas"; a helper thread reads and closes it.
TEST_F(DllScene, CanvasFailureShowsTheCanvasBox) {
  std::atomic<bool> done{false};
  std::string seen;
  std::thread closer([&] {
    for (int i = 0; i < 500 && !done; ++i) {
      HWND box = FindWindowA("#32770", "Canvas");
      if (box != nullptr) {
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
          char text[128] = {};
          GetWindowTextA(child, text, sizeof text);
          if (std::strncmp(text, "Canvas error", 12) == 0) seen = text;
        }
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(20);
    }
  });
  const int failed = dll_.SetCanvasSize(scene_, 200000, 200000);
  done = true;
  closer.join();
  EXPECT_EQ(failed, 1);
  EXPECT_EQ(seen.rfind("Canvas error 5 at line ", 0), 0u) << seen;
}

}  // namespace
