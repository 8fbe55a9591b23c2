// The scroll position across a zoom and the arrow keys' steps.
#include "interaction/view_scroll.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

// The scene point under the pointer stays under it, whichever way the zoom
// goes, as long as the surface's range allows.
TEST(ViewScroll, ZoomKeepsThePointUnderThePointer) {
  const ScrollPosition s = ScrollAfterZoom(1.0, 2.0, {100, 50}, 200, 150, 800, 600, 4000, 3000);
  // Scene point (300, 200) at zoom 1 is (600, 400) at zoom 2, still at (200, 150).
  EXPECT_EQ(s.X, 400);
  EXPECT_EQ(s.Y, 250);
  const ScrollPosition back = ScrollAfterZoom(2.0, 1.0, s, 200, 150, 800, 600, 2000, 1500);
  EXPECT_EQ(back.X, 100);
  EXPECT_EQ(back.Y, 50);
  // A pointer outside the view stands for its centre.
  const ScrollPosition c = ScrollAfterZoom(1.0, 1.5, {0, 0}, -1, 20, 800, 600, 3000, 3000);
  EXPECT_EQ(c.X, 200);  // (0 + 400) * 1.5 - 400
  EXPECT_EQ(c.Y, 150);
}

TEST(ViewScroll, ResultsStayWithinTheScrollRange) {
  // Zooming out near the far corner: the surface shrinks below the old position.
  ScrollPosition s = ScrollAfterZoom(2.0, 0.5, {3000, 2000}, 700, 500, 800, 600, 1000, 700);
  EXPECT_EQ(s.X, 200);
  EXPECT_EQ(s.Y, 100);
  // A surface smaller than the view has nothing to scroll.
  s = ScrollAfterZoom(1.0, 0.25, {300, 300}, 10, 10, 800, 600, 400, 300);
  EXPECT_EQ(s.X, 0);
  EXPECT_EQ(s.Y, 0);
  // Near the top-left corner zooming in cannot go below zero.
  s = ScrollAfterZoom(1.0, 1.125, {0, 0}, 0, 0, 800, 600, 2000, 2000);
  EXPECT_EQ(s.X, 0);
  EXPECT_EQ(s.Y, 0);
  // Zooms that cannot be drawn leave the position as it was.
  s = ScrollAfterZoom(0.0, 1.0, {5, 6}, 10, 10, 800, 600, 2000, 2000);
  EXPECT_EQ(s.X, 5);
  EXPECT_EQ(s.Y, 6);
}

TEST(ViewScroll, ArrowKeysStepATenthOfTheView) {
  ScrollPosition s = ScrollByArrow({100, 100}, 1, 0, 800, 600, 2000, 2000);
  EXPECT_EQ(s.X, 180);
  EXPECT_EQ(s.Y, 100);
  s = ScrollByArrow(s, 0, -1, 800, 600, 2000, 2000);
  EXPECT_EQ(s.Y, 40);
  s = ScrollByArrow(s, -1, -1, 800, 600, 2000, 2000);
  EXPECT_EQ(s.X, 100);
  EXPECT_EQ(s.Y, 0);
  s = ScrollByArrow({1195, 0}, 1, 0, 800, 600, 2000, 2000);
  EXPECT_EQ(s.X, 1200);
  // A tiny view still moves by 16 pixels.
  s = ScrollByArrow({0, 0}, 1, 1, 50, 50, 2000, 2000);
  EXPECT_EQ(s.X, 16);
  EXPECT_EQ(s.Y, 16);
}

}  // namespace
}  // namespace tavi
