// Partial repaints after changes of the house: random sequences of
// placements, stacks, deletions, moves, cuts, pastes, undos, redos and rule
// checks on every floor, seen from several floors at several zooms, with the
// preview following the pointer in between. Each frame drawn in part onto the
// previous one must equal, pixel for pixel and depth for depth, the frame
// drawn whole; and the changes that cannot be told by cell draw the whole.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "render/art_source.h"
#include "render/projection.h"
#include "render/raster.h"
#include "render/repaint.h"
#include "render/scene.h"
#include "support/dense_house.h"

namespace tavi {
namespace {

class PartialRepaintEdits : public ::testing::Test {
 protected:
  void SetUp() override {
    house_ = std::make_unique<test::DenseHouse>(12);
    ASSERT_TRUE(house_->Ok()) << "no demo client";
    art_ = std::make_unique<TArtCache>(house_->data.get());
  }

  struct Frame {
    FrameBasis basis;
    DrawList list;
    SceneMarks marks;
    RasterFrame pixels;
  };

  // Draws `s` after the frame in `shown` the way the view does and checks it
  // against a whole frame. Returns the plan.
  RepaintPlan Step(const ViewState& s, const RasterView& view, Frame* shown,
                   const std::string& what, bool canMove = false) {
    Frame next;
    SceneInputs in;
    in.Doc = house_->doc.get();
    in.Lights = house_->data->Lights;
    in.State = &s;
    BuildScene(in, &next.list, &next.marks);
    next.basis.Set(house_->doc.get(), house_->data.get(), s, view);
    const RepaintPlan plan = shown->basis.Valid
                                 ? PlanRepaint(shown->basis, shown->list, shown->marks, next.basis,
                                               next.list, next.marks, art_.get(), canMove)
                                 : RepaintPlan();
    if (plan.Full) {
      EXPECT_TRUE(RasterizeScene(next.list, art_.get(), view, &next.pixels));
    } else {
      next.pixels = std::move(shown->pixels);
      MoveFrame(&next.pixels, plan.MoveX, plan.MoveY);
      EXPECT_TRUE(RasterizeRegion(next.list, art_.get(), view, plan.Rects, &next.pixels));
    }
    RasterFrame whole;
    RasterizeScene(next.list, art_.get(), view, &whole);
    EXPECT_TRUE(next.pixels.Rgb == whole.Rgb && next.pixels.Depth == whole.Depth)
        << what << " at zoom " << view.Zoom << ", floor " << s.CurrentFloor
        << (plan.Full ? " (whole)" : " (in part)");
    *shown = std::move(next);
    return plan;
  }

  RasterView ViewAt(double zoom) const {
    const SurfaceSize s = PaintBoxSize(house_->doc->Width, house_->doc->Height, zoom);
    RasterView v{std::min(s.Width, 320), std::min(s.Height, 260), zoom, 0, 0};
    v.ScrollX = (s.Width - v.Width) / 2;
    v.ScrollY = (s.Height - v.Height) / 2 + 30;
    return v;
  }

  // One random change of the house; its name for the messages.
  std::string RandomEdit(std::mt19937& rng, int floor) {
    TTAVIDoc& doc = *house_->doc;
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    auto tile = [&]() {
      const std::vector<uint16_t>* pools[] = {&house_->floors, &house_->walls, &house_->things,
                                              &house_->lights};
      const std::vector<uint16_t>& p = *pools[pick(4)];
      return p.empty() ? house_->things.front() : p[size_t(pick(int(p.size())))];
    };
    const int x = pick(doc.Width), y = pick(doc.Height);
    const CellRect rect{x, y, std::min(doc.Width - 1, x + pick(3)),
                        std::min(doc.Height - 1, y + pick(3))};
    switch (pick(10)) {
      case 0:
        doc.PushUndo(floor);
        doc.PlaceTile(x, y, false, doc.Tiles[floor], pick(3) * 5, tile(), floor);
        return "a placement";
      case 1:
        doc.StackInRect(rect, floor, 0, 1, tile());
        return "a stack on a rectangle";
      case 2:
        doc.DeleteInRect(rect, floor);
        return "a delete on a rectangle";
      case 3:
        if (doc.LayerCount[floor][y][x] > 0) doc.DeleteEntry(x, y, floor, 0);
        return "an entry deleted";
      case 4:
        if (doc.LayerCount[floor][y][x] > 1) doc.RaiseEntry(x, y, floor, 0);
        return "an entry raised";
      case 5:
        doc.CutRect(rect, floor, clip_);
        return "a cut";
      case 6:
        if (clip_.HasText()) doc.PasteAt(x, y, pick(2) * 3, 0, floor, clip_);
        return "a paste";
      case 7:
        doc.Undo();
        return "an undo";
      case 8:
        doc.Redo();
        return "a redo";
      default:
        house_->host.showPropriety = !house_->host.showPropriety;
        doc.Recalculate();
        return "the rule check on or off";
    }
  }

  std::unique_ptr<test::DenseHouse> house_;
  std::unique_ptr<TArtCache> art_;
  MemoryClipboard clip_;
};

TEST_F(PartialRepaintEdits, EveryFrameAfterAnEditEqualsTheWholeFrame) {
  std::mt19937 rng(21);
  int partial = 0, edits = 0;
  const std::pair<double, int> views[] = {{1.0, 4}, {1.0, 1}, {0.5, 2}, {1.25, 0}};
  for (auto [zoom, cur] : views) {
    const RasterView view = ViewAt(zoom);
    ViewState s;
    s.CurrentFloor = cur;
    s.BackgroundMap = &house_->ground;
    s.CurrentTile = house_->walls.front();
    s.Zoom = zoom;
    Frame shown;
    Step(s, view, &shown, "the first frame");
    for (int i = 0; i < 16; ++i) {
      // Mostly the floor shown, else the floors under and over it.
      const int floor = rng() % 3 == 0 ? int(rng() % kFloors) : cur;
      const std::string what = RandomEdit(rng, floor);
      partial += !Step(s, view, &shown, what).Full;
      ++edits;
      if (i % 4 == 1) {  // the pointer moves on with its preview
        s.HoverX = int(rng() % 12), s.HoverY = int(rng() % 12);
        Step(s, view, &shown, "hover after " + what);
      }
    }
    s.View.Night = true;
    Step(s, view, &shown, "night");
    for (int i = 0; i < 3; ++i) Step(s, view, &shown, "at night, " + RandomEdit(rng, cur));
  }
  // Most edits are drawn in part.
  EXPECT_GT(partial, edits / 2);
}

// An edit of one cell redraws little; a change the document cannot tell by
// cell (the plot size, Touch) and a change of the lights at night draw whole.
TEST_F(PartialRepaintEdits, WhatAnEditRedraws) {
  TTAVIDoc& doc = *house_->doc;
  const RasterView view = ViewAt(1.0);
  ViewState s;
  s.CurrentFloor = 3;
  s.BackgroundMap = &house_->ground;
  Frame shown;
  Step(s, view, &shown, "the first frame");
  doc.PushUndo(3);
  ASSERT_TRUE(doc.PlaceTile(5, 6, false, doc.Tiles[3], 0, house_->things.front(), 3));
  RepaintPlan plan = Step(s, view, &shown, "a placement");
  ASSERT_FALSE(plan.Full);
  int64_t area = 0;
  for (const PixelRect& r : plan.Rects) area += r.Area();
  EXPECT_GT(area, 0);
  EXPECT_LT(area, int64_t(view.Width) * view.Height / 8);
  ASSERT_EQ(doc.Undo(), 3);
  EXPECT_FALSE(Step(s, view, &shown, "its undo").Full);
  EXPECT_TRUE(doc.CanRedo());
  // Nothing changed since: nothing to draw.
  EXPECT_TRUE(Step(s, view, &shown, "nothing").Rects.empty());
  // A wall placed under a floor tile of the floor over it gives that tile
  // the downstairs colour: the floor over an edit is drawn again too.
  s.CurrentFloor = 2;
  Step(s, view, &shown, "floor 2");
  int wx = -1, wy = -1;
  for (int y = 2; y < 10 && wx < 0; ++y)
    for (int x = 2; x < 10 && wx < 0; ++x)
      if (doc.TopZ[1][y][x] < 20 && doc.TileHeight(doc.Tiles[2][0][y][x].Id) == 0) wx = x, wy = y;
  ASSERT_GE(wx, 0) << "no floor tile over a low stack";
  for (int layer = 1; layer < kLayers; ++layer) doc.Tiles[2][layer][wy][wx] = TileEntry{};
  doc.UpdateCell(wx, wy, 2);
  Step(s, view, &shown, "the floor tile alone");
  doc.PushUndo(1);
  ASSERT_TRUE(doc.PlaceTile(wx, wy, false, doc.Tiles[1], 0, house_->walls.front(), 1));
  ASSERT_GE(doc.TopZ[1][wy][wx], 20);
  EXPECT_FALSE(Step(s, view, &shown, "a wall under a floor tile").Full);
  doc.Touch();
  EXPECT_TRUE(Step(s, view, &shown, "Touch").Full);
  doc.SetSize(11, 12);
  EXPECT_TRUE(Step(s, view, &shown, "a plot size").Full);
  // A light placed at night moves the light discs.
  s.View.Night = true;
  Step(s, view, &shown, "night");
  if (!house_->lights.empty()) {
    doc.PushUndo(2);
    ASSERT_TRUE(doc.PlaceTile(2, 2, false, doc.Tiles[2], 30, house_->lights.front(), 2));
    EXPECT_TRUE(Step(s, view, &shown, "a light").Full);
  }
}

// A scroll moves the pixels drawn and draws the strips that came into view,
// with the hover and edits in between; whole when the step is most of the
// view, at night, or when the pixels cannot be moved.
TEST_F(PartialRepaintEdits, AScrollMovesThePixels) {
  for (double zoom : {1.0, 0.8125, 1.25}) {
    RasterView view = ViewAt(zoom);
    ViewState s;
    s.CurrentFloor = 3;
    s.BackgroundMap = &house_->ground;
    s.CurrentTile = house_->things.front();
    s.Zoom = zoom;
    Frame shown;
    Step(s, view, &shown, "the first frame", true);
    int moved = 0;
    const std::pair<int, int> steps[] = {{0, 40}, {0, -40}, {22, 0}, {-22, 0}, {-7, 13}, {3, -5}};
    for (auto [dx, dy] : steps) {
      view.ScrollX += dx, view.ScrollY += dy;
      s.ScrollX = view.ScrollX, s.ScrollY = view.ScrollY;
      const RepaintPlan plan = Step(s, view, &shown, "a scroll step", true);
      moved += !plan.Full && (plan.MoveX == dx && plan.MoveY == dy);
      s.HoverX = 3 + dx % 5, s.HoverY = 4;
      house_->doc->PushUndo(3);
      house_->doc->PlaceTile(5, 3 + moved % 4, false, house_->doc->Tiles[3], 0,
                             house_->things.back(), 3);
      view.ScrollY += 1, s.ScrollY += 1;
      Step(s, view, &shown, "a scroll with a hover and an edit", true);
    }
    EXPECT_EQ(moved, 6) << "zoom " << zoom;
    // Without moving, or at night, or most of the view away: whole.
    view.ScrollY += 40, s.ScrollY += 40;
    EXPECT_TRUE(Step(s, view, &shown, "a scroll not moved").Full);
    view.ScrollY += view.Height * 2 / 3, s.ScrollY = view.ScrollY;
    EXPECT_TRUE(Step(s, view, &shown, "a long scroll", true).Full);
    s.View.Night = true;
    Step(s, view, &shown, "night", true);
    view.ScrollY -= 20, s.ScrollY -= 20;
    EXPECT_TRUE(Step(s, view, &shown, "a scroll at night", true).Full);
  }
}

}  // namespace
}  // namespace tavi
