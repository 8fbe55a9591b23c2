// The control window's rules: the zoom box, the detail list and where the
// windows go on the screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interaction/detail_list.h"
#include "interaction/tool_place.h"
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

// A screen too narrow for both (a large scale factor): the docked control
// window stays on it, over the main window; a wide one changes nothing.
TEST(WindowPlace, DockedControlWindowStaysOnANarrowScreen) {
  const ScreenRect narrow{0, 0, 800, 600};
  ScreenPoint at = DockedOnNarrowScreen({480, 20}, 480, 550, narrow);
  EXPECT_EQ(at.X, 250);
  EXPECT_EQ(at.Y, 20);
  at = DockedOnNarrowScreen({900, 20}, 900, 550, ScreenRect{0, 0, 1600, 1200});
  EXPECT_EQ(at.X, 900);  // a user may move the pair partly off a wide screen
}

bool Inside(const ScreenRect& r, const ScreenRect& area) {
  return r.Left >= area.Left && r.Top >= area.Top && r.Right() <= area.Right() &&
         r.Bottom() <= area.Bottom();
}

// 1600 x 1200: the catalogue below the control window, shortened to the
// room down to the screen's bottom; the AoS window, too wide to sit beside
// it, over the catalogue's list with its menus and tabs left uncovered.
TEST(ToolPlace, BelowTheControlWindowAndOverTheFirstOnesList) {
  ToolPlaceInput in;
  in.area = {0, 0, 1600, 1200};
  in.control = {970, 234, 552, 495};
  in.keepClear = {in.control};
  in.prefW = 298;
  in.prefH = 546;
  in.minW = 298;
  in.minH = 200;
  const ScreenRect obj = PlaceToolWindow(in);
  EXPECT_EQ(obj.Left, 970);
  EXPECT_EQ(obj.Top, 737);
  EXPECT_EQ(obj.Height, 1200 - 737);
  EXPECT_TRUE(Inside(obj, in.area));
  EXPECT_FALSE(Overlap(obj, in.control));

  in.first = &obj;
  in.firstListTop = 60;
  in.keepClear.push_back({obj.Left, obj.Top, obj.Width, 60});
  in.prefW = 564;
  in.minW = 556;
  in.minH = 150;
  const ScreenRect aos = PlaceToolWindow(in);
  EXPECT_EQ(aos.Top, 797);
  EXPECT_EQ(aos.Left, 978);
  EXPECT_TRUE(Inside(aos, in.area));
  for (const ScreenRect& k : in.keepClear) EXPECT_FALSE(Overlap(aos, k));

  // Where it fits beside the first one, it goes there at full width.
  in.area = {0, 0, 2400, 1200};
  const ScreenRect wide = PlaceToolWindow(in);
  EXPECT_EQ(wide.Left, 970 + 298 + 8);
  EXPECT_EQ(wide.Top, 737);
  EXPECT_EQ(wide.Width, 564);
}

// The frames measured on a desktop with a window manager, English and
// Japanese (a taller control window), 1280 x 1024 and 1600 x 1200: both tool
// windows lie wholly on the screen, over no control window and no menu of
// the first one.
TEST(ToolPlace, MeasuredScreensInBothLanguages) {
  struct Case {
    ScreenRect area, control;
  } cases[] = {{{0, 0, 1280, 1024}, {707, 128, 550, 490}},
               {{0, 0, 1280, 1024}, {710, 128, 547, 525}},
               {{0, 0, 1600, 1200}, {967, 216, 550, 490}},
               {{0, 0, 1600, 1200}, {967, 199, 547, 525}}};
  for (const Case& c : cases) {
    ToolPlaceInput in;
    in.area = c.area;
    in.control = c.control;
    in.keepClear = {c.control};
    in.prefW = 296;
    in.prefH = 541;
    in.minW = 125;
    in.minH = 165;
    const ScreenRect obj = PlaceToolWindow(in);
    EXPECT_TRUE(Inside(obj, c.area));
    EXPECT_FALSE(Overlap(obj, c.control));
    in.first = &obj;
    in.firstListTop = 75;
    in.keepClear.push_back({obj.Left, obj.Top, obj.Width, 75});
    in.prefW = in.minW = 562;
    in.minH = 187;
    const ScreenRect aos = PlaceToolWindow(in);
    EXPECT_TRUE(Inside(aos, c.area));
    for (const ScreenRect& k : in.keepClear) EXPECT_FALSE(Overlap(aos, k));
  }
}

// A small screen (a large scale factor): no room below the control window,
// so the tool window lies over the drawing surface, off its bars; nothing
// ever leaves the screen.
TEST(ToolPlace, OverTheDrawingSurfaceWhenNothingFitsBelow) {
  ToolPlaceInput in;
  in.area = {0, 0, 800, 600};
  in.control = {300, 0, 500, 540};
  const ScreenRect surface{10, 40, 280, 500};
  in.surface = &surface;
  in.keepClear = {in.control, {10, 540, 280, 12}, {290, 40, 10, 500}, {0, 20, 300, 20}};
  in.prefW = 298;
  in.prefH = 546;
  in.minW = 200;
  in.minH = 200;
  const ScreenRect r = PlaceToolWindow(in);
  EXPECT_TRUE(Inside(r, in.area));
  for (const ScreenRect& k : in.keepClear) EXPECT_FALSE(Overlap(r, k));
  EXPECT_EQ(r.Top, 40);
  EXPECT_LE(r.Right(), surface.Right());

  // Even a screen smaller than the minimum keeps the window on it.
  in.area = {0, 0, 150, 100};
  in.surface = nullptr;
  const ScreenRect tiny = PlaceToolWindow(in);
  EXPECT_TRUE(Inside(tiny, in.area));
}

}  // namespace
}  // namespace tavi
