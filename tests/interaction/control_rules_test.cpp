// The control window's rules: the zoom box, the detail list and where the
// windows go on the screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interaction/detail_list.h"
#include "interaction/window_place.h"
#include "interaction/zoom_text.h"
#include "support/fake_tiles.h"

namespace tavi {
namespace {

TEST(ZoomText, WholePercentagesWithinRange) {
  int p = 0;
  for (auto [text, expected] : std::vector<std::pair<std::string, int>>{{"150%", 150},
                                                                        {"150", 150},
                                                                        {"25%", 25},
                                                                        {"+75", 75},
                                                                        {"0100", 100},
                                                                        {" 150\t", 150},
                                                                        {"10", 10},
                                                                        {"1600%", 1600}}) {
    ASSERT_TRUE(ParseZoomText(text, &p)) << text;
    EXPECT_EQ(p, expected) << text;
  }
  p = -7;
  for (const char* text : {"", "%", "abc", "9", "0", "-50%", "1601", "99999",
                           "99999999999999999999", "150%%", "15 0", "1.5", "+", "- 5",
                           "\xC2\xA0"
                           "150"})
    EXPECT_FALSE(ParseZoomText(text, &p)) << text;
  EXPECT_EQ(p, -7);  // untouched on failure

  EXPECT_EQ(ZoomText(1.0), "100%");
  EXPECT_EQ(ZoomText(0.3125), "31%");
  EXPECT_EQ(ZoomText(2.0), "200%");
}

class DetailListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    facts.Height(1234, 5).Height(1235, 7);
    doc = std::make_unique<TTAVIDoc>(8, 8, &facts, &host);
    doc->Clear(false);
  }
  test::FakeTileFacts facts;
  PlainDocHost host;
  std::unique_ptr<TTAVIDoc> doc;
};

TEST_F(DetailListTest, TopFirstAndLinesMapToLayers) {
  doc->Tiles[2][0][3][4] = {0, 1234, 0};
  doc->Tiles[2][1][3][4] = {12, 1235, 0};
  doc->UpdateAllCells();
  EXPECT_EQ(DetailLines(*doc, nullptr, 2, 4, 3), (std::vector<std::string>{"12:(7)", " 0:(5)"}));
  EXPECT_TRUE(DetailListComplete(*doc, 2, 4, 3, 2));
  EXPECT_EQ(LayerOfDetailLine(2, 0), 1);
  EXPECT_EQ(LayerOfDetailLine(2, 1), 0);
  EXPECT_EQ(LayerOfDetailLine(2, -1), -1);
  EXPECT_TRUE(DetailLines(*doc, nullptr, 1, 4, 3).empty());

  // A gap below the top: the lines no longer map to layers.
  doc->Tiles[2][0][3][4] = {0, 0, 0};
  EXPECT_EQ(DetailLines(*doc, nullptr, 2, 4, 3), (std::vector<std::string>{"12:(7)"}));
  EXPECT_FALSE(DetailListComplete(*doc, 2, 4, 3, 1));

  for (auto [floor, x, y] : {std::tuple{2, -1, 3}, {2, 4, 32}, {5, 4, 3}, {-1, 0, 0}}) {
    EXPECT_TRUE(DetailLines(*doc, nullptr, floor, x, y).empty());
    EXPECT_FALSE(DetailListComplete(*doc, floor, x, y, 0));
  }
}

TEST(WindowPlace, DockedAtTheRightEdgeAndPulledBackOnResize) {
  const ScreenRect main{1500, 20, 300, 400};
  const ScreenPoint moved = DockedControlWindow(main, 250, 1600, false);
  EXPECT_EQ(moved.X, 1800);
  EXPECT_EQ(moved.Y, 20);
  EXPECT_EQ(DockedControlWindow(main, 250, 1600, true).X, 1350);
  EXPECT_EQ(DockedControlWindow(main, 250, -1, true).X, 1800);
  // Room left on the screen: no pull back.
  EXPECT_EQ(DockedControlWindow(ScreenRect{0, 0, 800, 600}, 250, 1600, true).X, 800);
  EXPECT_EQ(DockedControlWindow(ScreenRect{0, 0, 800, 600}, 250, 800, true).X, 550);
}

// The main window (902 x 781 with its frame) and the control window
// (550 x 490) at the first show: both wholly inside the screen's area.
TEST(WindowPlace, FirstShowKeepsBothWindowsOnTheScreen) {
  const ScreenRect main{0, 0, 902, 781};
  auto inside = [](const FirstShowPlace& p, const ScreenRect& area) {
    return p.Main.Left >= area.Left && p.Main.Top >= area.Top &&
           p.Main.Left + p.Main.Width <= area.Left + area.Width &&
           p.Main.Top + p.Main.Height <= area.Top + area.Height && p.Control.X >= area.Left &&
           p.Control.X + 550 <= area.Left + area.Width &&
           p.Control.Y + 490 <= area.Top + area.Height;
  };
  // Placed by the editor: the pair centred.
  const ScreenRect wide{0, 0, 1600, 1200};
  FirstShowPlace p = FirstShowPlacement(main, true, 550, 490, wide, 480);
  EXPECT_EQ(p.Main.Left, 74);
  EXPECT_EQ(p.Main.Top, 209);
  EXPECT_EQ(p.Main.Width, 902);
  EXPECT_EQ(p.Control.X, 976);
  EXPECT_EQ(p.Control.Y, 209);
  // Centred alone (as a window manager places it), the control window would
  // end at 1802: the main window moves left.
  p = FirstShowPlacement(ScreenRect{350, 209, 902, 781}, false, 550, 490, wide, 480);
  EXPECT_EQ(p.Main.Left, 148);
  EXPECT_EQ(p.Control.X, 1050);
  EXPECT_TRUE(inside(p, wide));
  // A place that fits is kept.
  p = FirstShowPlacement(ScreenRect{100, 50, 902, 781}, false, 550, 490, wide, 480);
  EXPECT_EQ(p.Main.Left, 100);
  EXPECT_EQ(p.Main.Top, 50);
  // 1280 pixels: moving left is not enough, the main window narrows.
  const ScreenRect narrow{0, 0, 1280, 1024};
  p = FirstShowPlacement(main, true, 550, 490, narrow, 480);
  EXPECT_EQ(p.Main.Left, 0);
  EXPECT_EQ(p.Main.Width, 730);
  EXPECT_EQ(p.Control.X, 730);
  EXPECT_TRUE(inside(p, narrow));
  // A panel above the area and a screen too small for both side by side:
  // the control window lies over the main window's right part.
  const ScreenRect small{0, 30, 800, 570};
  p = FirstShowPlacement(main, false, 550, 490, small, 480);
  EXPECT_EQ(p.Main.Width, 480);
  EXPECT_EQ(p.Main.Height, 570);
  EXPECT_EQ(p.Main.Top, 30);
  EXPECT_EQ(p.Control.X, 250);
  EXPECT_TRUE(inside(p, small));
}

TEST(WindowPlace, ToolWindowsOpenBelowTheControlWindowOnTheScreen) {
  const ScreenRect ctrl{900, 0, 300, 500};
  const ScreenRect screen{0, 0, 1600, 1200};
  ScreenPoint at = ToolWindowOpening(ctrl, 0, 280, 520, &screen);
  EXPECT_EQ(at.X, 900);
  EXPECT_EQ(at.Y, 507);
  // The second one fits beside the first.
  at = ToolWindowOpening(ctrl, 288, 400, 520, &screen);
  EXPECT_EQ(at.X, 1188);
  EXPECT_EQ(at.Y, 507);
  // It does not: it lies lower, kept inside the screen.
  at = ToolWindowOpening(ctrl, 288, 560, 520, &screen);
  EXPECT_EQ(at.X, 1599 - 560);
  EXPECT_EQ(at.Y, 571);
  // Near the bottom the window is lifted to stay on the screen.
  at = ToolWindowOpening(ScreenRect{0, 900, 300, 200}, 0, 280, 520, &screen);
  EXPECT_EQ(at.Y, 1199 - 520);
  // No screen known: the plain place.
  at = ToolWindowOpening(ctrl, 288, 560, 520, nullptr);
  EXPECT_EQ(at.X, 1188);
  EXPECT_EQ(at.Y, 507);
}

}  // namespace
}  // namespace tavi
