// Partial repaints of the house view, driven through the software renderer:
// sequences of hover ticks, live previews of every kind, pointed entries and
// selections over a dense demo house at several zooms. Each frame drawn in
// part onto the previous one must equal, pixel for pixel and depth for depth,
// the frame drawn whole; and what decides a whole frame is tested apart.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "render/art_source.h"
#include "render/projection.h"
#include "render/raster.h"
#include "render/repaint.h"
#include "render/scene.h"
#include "support/dense_house.h"

namespace tavi {
namespace {

class PartialRepaint : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { house_ = new test::DenseHouse(14); }
  static void TearDownTestSuite() {
    delete house_;
    house_ = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(house_ && house_->Ok()) << "no demo client";
    art_ = std::make_unique<TArtCache>(house_->data.get());
  }

  struct Frame {
    FrameBasis basis;
    DrawList list;
    SceneMarks marks;
    RasterFrame pixels;
  };

  void Build(const ViewState& s, const RasterView& view, Frame* f) {
    SceneInputs in;
    in.Doc = house_->doc.get();
    in.Lights = house_->data->Lights;
    in.State = &s;
    BuildScene(in, &f->list, &f->marks);
    f->basis.Set(house_->doc.get(), house_->data.get(), s, view);
  }

  // Draws `s` after the frame in `shown` the way the view does, checks it
  // against a whole frame and keeps it as the frame shown. Returns the plan.
  RepaintPlan Step(const ViewState& s, const RasterView& view, Frame* shown, const char* what) {
    Frame next;
    Build(s, view, &next);
    const RepaintPlan plan = shown->basis.Valid
                                 ? PlanRepaint(shown->basis, shown->list, shown->marks, next.basis,
                                               next.list, next.marks, art_.get())
                                 : RepaintPlan();
    if (plan.Full) {
      EXPECT_TRUE(RasterizeScene(next.list, art_.get(), view, &next.pixels));
    } else {
      next.pixels = std::move(shown->pixels);
      EXPECT_TRUE(RasterizeRegion(next.list, art_.get(), view, plan.Rects, &next.pixels));
    }
    RasterFrame whole;
    RasterizeScene(next.list, art_.get(), view, &whole);
    EXPECT_TRUE(next.pixels.Rgb == whole.Rgb && next.pixels.Depth == whole.Depth)
        << what << " at zoom " << view.Zoom << (plan.Full ? " (whole)" : " (in part)");
    *shown = std::move(next);
    return plan;
  }

  RasterView ViewAt(double zoom) const {
    const SurfaceSize s = PaintBoxSize(house_->doc->Width, house_->doc->Height, zoom);
    RasterView v{std::min(s.Width, 360), std::min(s.Height, 270), zoom, 0, 0};
    v.ScrollX = (s.Width - v.Width) / 2;
    v.ScrollY = (s.Height - v.Height) / 2 + 40;
    return v;
  }

  ViewState Base() const {
    ViewState s;
    s.CurrentFloor = 3;
    s.BackgroundMap = &house_->ground;
    s.CurrentTile = house_->things.front();
    return s;
  }

  static test::DenseHouse* house_;
  std::unique_ptr<TArtCache> art_;
};
test::DenseHouse* PartialRepaint::house_ = nullptr;

// The hover walks over the house with every kind of preview, then Shift
// points at entries, the carried tile of the Inner mode follows, and
// selections grow, move and go.
TEST_F(PartialRepaint, EveryFrameEqualsTheWholeFrame) {
  const std::vector<std::pair<int, int>> walk = {{5, 6}, {6, 6}, {6, 7}, {2, 11}, {13, 0}};
  for (double zoom : {1.0, 0.5, 1.25}) {
    const RasterView view = ViewAt(zoom);
    Frame shown;
    ViewState s = Base();
    Step(s, view, &shown, "first frame");
    int partial = 0, steps = 0;
    auto step = [&](const char* what) {
      partial += !Step(s, view, &shown, what).Full;
      ++steps;
    };
    for (uint16_t tile : {house_->walls.front(), house_->floors.front()}) {
      s.CurrentTile = tile;
      for (auto [x, y] : walk) {
        s.HoverX = x, s.HoverY = y;
        step("hover with a preview");
      }
      s.Alt = 5;
      step("a higher altitude");
      s.Alt = 0;
    }
    // Most steps are drawn in part.
    EXPECT_GT(partial, steps * 3 / 4) << "zoom " << zoom;
    s.AutoStairs = true;
    for (int dir = 1; dir <= 4; dir += 3) {
      s.StairsDirection = dir;
      s.HoverX = 4 + dir, s.HoverY = 6;
      step("automatic stairs");
    }
    s.AutoStairs = false;
    s.ShiftDown = true;
    for (int layer : {0, 2}) {
      s.HoverLayer = layer;
      step("a pointed entry");
    }
    s.HoverX = 9;
    step("a pointed entry elsewhere");
    s.ShiftDown = false;
    step("Shift let go");
    s.HoverX = s.HoverY = -1;
    step("the pointer leaves");
    s.EditMode = kModeInner;
    step("the Inner mode");
    s.CarriedId = house_->walls.back();
    for (auto [x, y] : walk) {
      s.HoverX = x, s.HoverY = y;
      step("a carried tile");
    }
    s.CarriedId = 0;
    step("the carried tile is placed");
    s.EditMode = kModeStack;
    step("the Stack mode");
    for (CellRect r :
         {CellRect{2, 3, 2, 3}, CellRect{2, 3, 5, 4}, CellRect{9, 9, 13, 13}, CellRect{}}) {
      s.Selection = r;
      step("a selection");
    }
    if (zoom != 1.0) continue;
    s.EditMode = kModeImmediate;
    s.View.Night = true;
    step("night");
    for (auto [x, y] : walk) {
      s.HoverX = x, s.HoverY = y;
      step("hover at night");
    }
  }
}

// A hover tick of the dense house at 100 % redraws a small part of the view.
TEST_F(PartialRepaint, AHoverTickRedrawsLittle) {
  const RasterView view = ViewAt(1.0);
  Frame shown;
  ViewState s = Base();
  s.HoverX = 6, s.HoverY = 6;
  Step(s, view, &shown, "first frame");
  s.HoverX = 7;
  const RepaintPlan plan = Step(s, view, &shown, "the next cell");
  ASSERT_FALSE(plan.Full);
  ASSERT_FALSE(plan.Rects.empty());
  int64_t area = 0;
  for (const PixelRect& r : plan.Rects) area += r.Area();
  EXPECT_LT(area, int64_t(view.Width) * view.Height / 10);
  // Nothing changed: nothing to draw.
  const RepaintPlan same = Step(s, view, &shown, "the same state");
  EXPECT_FALSE(same.Full);
  EXPECT_TRUE(same.Rects.empty());
}

// The house, the floor, the zoom, the scroll, the view's size, the ground
// and the View switches each make the frame whole.
TEST_F(PartialRepaint, WholeFramesWhenMoreThanTheMarksChange) {
  const RasterView view = ViewAt(1.0);
  const ViewState s = Base();
  Frame a;
  Build(s, view, &a);
  auto whole = [&](const ViewState& t, const RasterView& v) {
    Frame b;
    Build(t, v, &b);
    return PlanRepaint(a.basis, a.list, a.marks, b.basis, b.list, b.marks, art_.get()).Full;
  };
  EXPECT_FALSE(whole(s, view));
  ViewState t = s;
  t.CurrentFloor = 2;
  EXPECT_TRUE(whole(t, view));
  t = s;
  t.Zoom = 1.5;
  EXPECT_TRUE(whole(t, view));
  t = s;
  t.ScrollY += 1;
  EXPECT_TRUE(whole(t, view));
  t = s;
  t.View.ShowGrid = false;
  EXPECT_TRUE(whole(t, view));
  t = s;
  t.HiddenCells[3][3] = true;
  EXPECT_TRUE(whole(t, view));
  RasterView other = view;
  other.Width += 1;
  EXPECT_TRUE(whole(s, other));
  // The ground map is compared by its content.
  TBackgroundMap ground = house_->ground;
  t = s;
  t.BackgroundMap = &ground;
  Frame c;
  Build(t, view, &c);
  ground[0][0] ^= 1;
  Frame d;
  Build(t, view, &d);
  EXPECT_TRUE(PlanRepaint(c.basis, c.list, c.marks, d.basis, d.list, d.marks, art_.get()).Full);
  // Any change of the house counts, even one cell's summary.
  house_->doc->UpdateCell(1, 1, 0);
  EXPECT_TRUE(whole(s, view));
}

}  // namespace
}  // namespace tavi
