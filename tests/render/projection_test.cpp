#include "render/projection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tavi {
namespace {

TEST(Projection, CellAnchorsOfAnEightByEightPlot) {
  EXPECT_EQ(CellAnchor(0, 7, 8).X, 0);
  EXPECT_EQ(CellAnchor(0, 0, 8).X, 154);
  EXPECT_EQ(CellAnchor(7, 7, 8).Y, 628);
  // Cells (x + 1, y - 1) and (x, y) share a screen row, one cell apart.
  EXPECT_EQ(CellAnchor(3, 2, 8).Y, CellAnchor(2, 3, 8).Y);
  EXPECT_EQ(CellAnchor(3, 2, 8).X - CellAnchor(2, 3, 8).X, 44);
  // Outside the plot (the ground) the formula goes on.
  EXPECT_EQ(CellAnchor(-1, 0, 8).X, 132);
  EXPECT_EQ(CellAnchor(-1, -1, 8).Y, 276);
}

TEST(Projection, AnchorTableLiftsUpperFloors) {
  TProjection p;
  p.RebuildAnchors(8, 8, 7);
  EXPECT_EQ(p.Anchor(0, 2, 3).Y, CellAnchor(2, 3, 8).Y);
  EXPECT_EQ(p.Anchor(1, 2, 3).Y, CellAnchor(2, 3, 8).Y - 28);
  EXPECT_EQ(p.Anchor(4, 2, 3).Y, CellAnchor(2, 3, 8).Y - 28 - 240);
  EXPECT_EQ(p.Anchor(4, 2, 3).X, CellAnchor(2, 3, 8).X);
  // A smaller plot leaves the entries outside it as they were.
  ScenePoint old = p.Anchor(0, 7, 7);
  p.RebuildAnchors(4, 4, 7);
  EXPECT_EQ(p.Anchor(0, 7, 7).X, old.X);
  EXPECT_EQ(p.Anchor(0, 3, 3).X, CellAnchor(3, 3, 4).X);
}

TEST(Projection, CellAtPointUsesOpenDiamondsInRowOrder) {
  TProjection p;
  p.RebuildAnchors(8, 8, 7);
  int x = -1, y = -1;
  for (int f = 0; f < kFloors; ++f) {
    ScenePoint a = p.Anchor(f, 5, 2);
    ASSERT_TRUE(p.CellAtPoint(a.X + 22, a.Y + 22, f, &x, &y)) << f;
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 2);
  }
  ScenePoint a = p.Anchor(0, 5, 2);
  // The corner shared with the cell to the right is on both borders: no cell.
  EXPECT_FALSE(p.CellAtPoint(a.X + 44, a.Y + 22, 0, &x, &y));
  EXPECT_TRUE(p.CellAtPoint(a.X + 43, a.Y + 22, 0, &x, &y));
  EXPECT_FALSE(p.CellAtPoint(-50, -50, 0, &x, &y));
  EXPECT_FALSE(p.CellAtPoint(a.X + 22, a.Y + 22, 5, &x, &y));
  EXPECT_FALSE(p.CellAtPoint(std::numeric_limits<double>::infinity(), 0, 0, &x, &y));
}

TEST(Projection, CellAtPointRoundsHalvesToEvenAfterZoom) {
  TProjection p;
  p.RebuildAnchors(8, 8, 7);
  ASSERT_TRUE(p.SetZoom(2.0));
  ScenePoint a = p.Anchor(0, 5, 2);  // right corner at (X + 44, Y + 22)
  int x = -1, y = -1;
  // 2 * (X + 43) + 1 is X + 43.5 in the scene: halves go to the even
  // neighbour. X is a multiple of 22, so X + 43 is odd and rounds up onto the
  // border (no cell); X + 42.5 rounds down to X + 42 (inside).
  ASSERT_EQ((a.X + 43) % 2, 1);
  EXPECT_FALSE(p.CellAtPoint(2.0 * (a.X + 43) + 1, 2.0 * (a.Y + 22), 0, &x, &y));
  EXPECT_TRUE(p.CellAtPoint(2.0 * (a.X + 42) + 1, 2.0 * (a.Y + 22), 0, &x, &y));
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
}

TEST(Projection, ZoomStepsAndPercent) {
  EXPECT_DOUBLE_EQ(ZoomStepOut(1.0), 0.9375);
  EXPECT_DOUBLE_EQ(ZoomStepOut(0.25), 0.25);
  EXPECT_DOUBLE_EQ(ZoomStepOut(1.125), 1.0);
  EXPECT_DOUBLE_EQ(ZoomStepIn(2.0), 2.0);
  EXPECT_DOUBLE_EQ(ZoomStepIn(0.9375), 1.0);
  double z = ZoomStepIn(1.95);
  EXPECT_NEAR(z, 2.075, 1e-12);
  EXPECT_EQ(ZoomPercent(z), 207);
  EXPECT_DOUBLE_EQ(ZoomStepIn(z), z);
  EXPECT_EQ(ZoomPercent(0.9375), 93);
}

TEST(Projection, SetZoomRefusesNonPositiveAndBoundsLarge) {
  TProjection p;
  ASSERT_TRUE(p.SetZoom(1.5));
  EXPECT_FALSE(p.SetZoom(0));
  EXPECT_FALSE(p.SetZoom(-1));
  EXPECT_FALSE(p.SetZoom(std::nan("")));
  EXPECT_DOUBLE_EQ(p.Zoom(), 1.5);
  EXPECT_TRUE(p.SetZoom(1e9));
  EXPECT_DOUBLE_EQ(p.Zoom(), kMaxZoom);
  EXPECT_TRUE(p.SetZoom(1e-9));
  EXPECT_DOUBLE_EQ(p.Zoom(), kMinZoom);
}

TEST(Projection, PaintBoxTruncatesAndIsBounded) {
  SurfaceSize s = SceneSize(8, 8);
  EXPECT_EQ(s.Width, 352);
  EXPECT_EQ(s.Height, 672);
  s = PaintBoxSize(8, 8, 0.9375);
  EXPECT_EQ(s.Width, 330);
  EXPECT_EQ(s.Height, 630);
  s = PaintBoxSize(8, 8, 0.333);
  EXPECT_EQ(s.Width, 117);  // 117.216 cut
  s = PaintBoxSize(32, 32, 1e12);
  EXPECT_EQ(s.Width, kMaxSurfaceSide);
  EXPECT_EQ(s.Height, kMaxSurfaceSide);
}

}  // namespace
}  // namespace tavi
