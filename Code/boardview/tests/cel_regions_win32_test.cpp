// The GDI block regions agree with the OS-free block polygons away from
// their edges (GDI leaves a polygon's right and bottom edges out).
#include "win/cel_regions_win32.h"

#include <gtest/gtest.h>

#include "board_projection.h"

namespace {

TEST(CelRegionsWin32, AgreeWithThePolygons) {
  for (int turn : {360, 180}) {
    for (int tilt : {360, 300}) {
      BoardSetRecord g{};
      g.turn = turn, g.tilt = tilt, g.vanishing = 365, g.size = 320;
      g.kindWord = MakeKindWord(BOARD_KIND4, 4);
      BoardProjection view;
      view.geometry = &g;
      view.leftMargin = 12;
      view.celWidth = 40, view.celHeight = 60;
      view.parentRect = {0, 0, 800, 600};
      UpdateBoardOffset(&view, nullptr);
      CelRegionSet regions;
      ASSERT_TRUE(regions.Rebuild(view));
      for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) {
          ScreenPoint centre;
          SquareCentre(view, r, c, &centre, nullptr);
          EXPECT_EQ(regions.BlockAt(centre.x, centre.y), BlockRegionAt(view, centre.x, centre.y));
          EXPECT_EQ(regions.BlockAt(centre.x, centre.y), SquareCelIndexAt(turn, c, r));
        }
      EXPECT_EQ(regions.BlockAt(view.squareBox.left - 3, view.squareBox.top - 3), -1);
      regions.Delete();
      EXPECT_EQ(regions.Region(0), nullptr);
    }
  }
}

}  // namespace
