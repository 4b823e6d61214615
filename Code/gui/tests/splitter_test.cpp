// The splitter bar on real windows under Wine: the limits asked of the
// parent, the clamped drag, the report at the end and the drags that must
// not start or report.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "basic_controls.h"
#include "controls.h"
#include "facet.h"
#include "guitest.h"
#include "procdata.h"

namespace {

constexpr UINT kMoved = 0x8660;
constexpr UINT kLimits = 0x8661;

// A parent 300 x 200 at the screen's origin that lets the bar move between
// its rows 50 and 150 and records what the splitter sends.
struct Splitter : ::testing::Test {
  int limitsAsked = 0;
  std::vector<RECT> moved;
  HWND host = nullptr;
  HWND bar = nullptr;

  void SetUp() override {
    ResetProcessDataTable();
    RegisterControlClasses(GetModuleHandleA(nullptr));
    ccSetControlData(nullptr, ccInit(nullptr));
    host = guitest::CreateTestWindow(
        RECT{0, 0, 300, 200}, [this](HWND w, UINT m, WPARAM, LPARAM lp, bool* handled) -> LRESULT {
          if (m == kLimits) {
            ++limitsAsked;
            RECT* r = reinterpret_cast<RECT*>(lp);
            RECT client;
            GetClientRect(w, &client);
            EXPECT_TRUE(EqualRect(r, &client)) << "offered the parent's client rectangle";
            r->top = 50;
            r->bottom = 150;
          }
          if (m == kMoved) moved.push_back(*reinterpret_cast<RECT*>(lp));
          (void)handled;
          return 0;
        });
    bar = CreateSplitter(nullptr, host, 9);
  }
  void TearDown() override {
    DestroyWindow(host);
    UnregisterControlClasses();
    ResetProcessDataTable();
  }
  void Send(UINT m, int y) { SendMessageA(bar, m, 0, MAKELPARAM(10, y)); }
};

TEST_F(Splitter, CreatedAsAThinVisibleBar) {
  ASSERT_NE(bar, nullptr);
  RECT r;
  GetWindowRect(bar, &r);
  MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(r.right, 100);
  EXPECT_EQ(r.bottom, 104);
  EXPECT_TRUE(IsWindowVisible(bar));
  EXPECT_EQ(GetDlgCtrlID(bar), 9);
}

TEST_F(Splitter, DragIsClampedToTheParentsLimitsAndReportedInParentCoordinates) {
  // Cursor rows in the splitter's coordinates (the bar sits at parent row 100).
  struct Case {
    int y;
    int top;  // final bar top in the parent
  };
  const Case cases[] = {{10, 110}, {-200, 50}, {300, 150}, {0, 100}, {-50, 50}, {50, 150}};
  for (const Case& c : cases) {
    moved.clear();
    limitsAsked = 0;
    Send(WM_LBUTTONDOWN, 2);
    EXPECT_EQ(GetCapture(), bar);
    Send(WM_LBUTTONDOWN, 2);  // a second press during the drag is ignored
    Send(WM_MOUSEMOVE, c.y / 2);
    Send(WM_MOUSEMOVE, c.y);
    Send(WM_LBUTTONUP, c.y);
    EXPECT_EQ(limitsAsked, 1) << c.y;
    ASSERT_EQ(moved.size(), 1u) << c.y;
    EXPECT_EQ(moved[0].top, c.top) << c.y;
    EXPECT_EQ(moved[0].bottom, c.top + 4) << c.y;
    EXPECT_EQ(moved[0].left, 0);
    EXPECT_EQ(moved[0].right, 100);
    EXPECT_NE(GetCapture(), bar);
  }
}

TEST_F(Splitter, CancelledDragReportsNothing) {
  Send(WM_LBUTTONDOWN, 2);
  Send(WM_MOUSEMOVE, 30);
  SendMessageA(bar, WM_CANCELMODE, 0, 0);
  Send(WM_LBUTTONUP, 30);
  EXPECT_EQ(limitsAsked, 1);
  EXPECT_TRUE(moved.empty());
  EXPECT_NE(GetCapture(), bar);
  // The update lock was given back: another drag starts.
  Send(WM_LBUTTONDOWN, 2);
  Send(WM_LBUTTONUP, 2);
  EXPECT_EQ(moved.size(), 1u);
}

TEST_F(Splitter, NoDragWhileAnotherWindowHoldsTheUpdateLock) {
  HWND other = guitest::CreateTestWindow(RECT{400, 0, 500, 100});
  ASSERT_TRUE(LockWindowUpdate(other));
  Send(WM_LBUTTONDOWN, 2);
  Send(WM_MOUSEMOVE, 30);
  Send(WM_LBUTTONUP, 30);
  LockWindowUpdate(nullptr);
  EXPECT_EQ(limitsAsked, 0);
  EXPECT_TRUE(moved.empty());
  EXPECT_NE(GetCapture(), bar);
  DestroyWindow(other);
}

}  // namespace
