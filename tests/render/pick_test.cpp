#include "render/pick.h"

#include <gtest/gtest.h>

#include "render/projection.h"
#include "render/raster.h"
#include "render_house.h"

namespace tavi {
namespace {

using test::RenderHouse;

std::vector<uint32_t> Records(std::initializer_list<std::pair<double, int32_t>> hits) {
  std::vector<uint32_t> b;
  for (auto& h : hits)
    b.insert(b.end(), {1u, uint32_t(h.first * 4294967295.0), 0u, uint32_t(h.second)});
  return b;
}

TEST(SelectHit, ClosestDepthWinsTiesGoToTheLaterRecord) {
  auto b = Records({{0.5, 10}, {0.3, 20}, {0.7, 30}});
  EXPECT_EQ(SelectHit(3, b.data(), b.size(), 0.31f), 20);
  EXPECT_EQ(SelectHit(3, b.data(), b.size(), 0.69f), 30);
  b = Records({{0.5, 10}, {0.5, 11}, {0.2, 12}});
  EXPECT_EQ(SelectHit(3, b.data(), b.size(), 0.5f), 11);
  EXPECT_EQ(SelectHit(0, b.data(), b.size(), 0.5f), -1);
}

TEST(SelectHit, NegativeNamesAndOverflow) {
  // A grid hit before any tile carries -1; it never stays the winner when a
  // later record exists, and wins alone.
  auto b = Records({{0.5, -1}, {0.9, 7}});
  EXPECT_EQ(SelectHit(2, b.data(), b.size(), 0.5f), 7);
  b = Records({{0.5, -1}});
  EXPECT_EQ(SelectHit(1, b.data(), b.size(), 0.5f), -1);
  bool overflow = false;
  EXPECT_EQ(SelectHit(-1, b.data(), b.size(), 0.5f, &overflow), -1);
  EXPECT_TRUE(overflow);
  EXPECT_EQ(std::string(kBufferOverflowText).size(), 17u);
  // A hit count larger than the buffer holds is read only as far as it goes.
  EXPECT_EQ(SelectHit(50, b.data(), b.size(), 0.5f, &overflow), -1);
  EXPECT_FALSE(overflow);
}

// Pictures: 44 x 44 squares for floors (200) and a 44 x 80 wall (300).
struct PickHouse : RenderHouse {
  TMemoryArtSource art;
  TProjection proj;
  PickHouse() : RenderHouse(4, 4) {
    facts.Floor(200).Height(300, 20);
    art.SetSolid(0x4000 + 200, 44, 44, 200, 200, 200);
    art.SetSolid(0x4000 + 300, 44, 80, 90, 40, 40);
    proj.RebuildAnchors(4, 4, 7);
    state.View.ShowGrid = true;
  }
  RasterFrame Frame() {
    DrawList list = Scene();
    SurfaceSize s = proj.PaintBox();
    RasterFrame f;
    RasterizeScene(list, &art, RasterView{s.Width, s.Height, 1.0, 0, 0}, &f);
    return f;
  }
  int Pick(const RasterFrame& f, int px, int py) {
    return PickTile(PickPass(), &art, 1.0, px, py, f.DepthAt(px, py));
  }
};

TEST(Picking, VisibleTileOfTheFrameIsReturned) {
  PickHouse h;
  h.Put(0, 1, 1, 0, 200);
  h.Put(0, 1, 1, 1, 200);  // same altitude and height: the higher layer
  h.Put(0, 2, 2, 0, 200);
  h.Put(0, 3, 3, 0, 200);
  h.Put(0, 3, 3, 1, 300);  // wall further down the screen
  RasterFrame f = h.Frame();
  ScenePoint a = CellAnchor(1, 1, 4);
  EXPECT_EQ(h.Pick(f, a.X + 22, a.Y + 22), EntryName(1, 1, 1));
  // The wall of (3, 3) rises over the floor of (2, 2) just above it: where
  // it covers the pointer, the wall is picked, not the floor behind it.
  ScenePoint b = CellAnchor(3, 3, 4);
  EXPECT_EQ(h.Pick(f, b.X + 22, b.Y - 10), EntryName(3, 3, 1));
  EXPECT_EQ(h.Pick(f, b.X + 22, b.Y - 40), EntryName(2, 2, 0));  // above the wall
  EXPECT_EQ(h.Pick(f, b.X + 22, b.Y + 40), EntryName(3, 3, 1));
  // Nothing there at all.
  EXPECT_EQ(h.Pick(f, 2, 2), -1);
}

TEST(Picking, GridDiamondReportsTheLastNameLoaded) {
  PickHouse h;
  h.Put(0, 0, 2, 0, 200);
  RasterFrame f = h.Frame();
  ScenePoint c = CellAnchor(2, 2, 4);  // empty cell with a grid diamond
  EXPECT_EQ(h.Pick(f, c.X + 22, c.Y + 22), EntryName(0, 2, 0));
  ScenePoint d = CellAnchor(1, 1, 4);  // its diamond comes before any tile
  EXPECT_EQ(h.Pick(f, d.X + 22, d.Y + 22), -1);
}

TEST(Picking, HiddenAndLowerFloorTilesCannotBePicked) {
  PickHouse h;
  h.Put(0, 1, 1, 0, 200);
  h.Put(1, 3, 3, 0, 200);
  h.state.CurrentFloor = 1;
  h.state.View.ShowGrid = false;
  RasterFrame f = h.Frame();
  ScenePoint a = CellAnchor(1, 1, 4);
  EXPECT_EQ(h.Pick(f, a.X + 22, a.Y + 22), -1);
  ScenePoint b = CellAnchor(3, 3, 4);
  int py = b.Y + 22 - 7 * 4;
  EXPECT_EQ(h.Pick(f, b.X + 22, py), EntryName(3, 3, 0));
  h.state.HiddenCells[3][3] = true;
  EXPECT_EQ(h.Pick(h.Frame(), b.X + 22, py), -1);
}

TEST(Picking, OverflowWhenTooManyEntriesTouchThePixel) {
  PickHouse h;
  h.state.View.ShowGrid = false;
  for (int L = 0; L < 32; ++L) h.Put(0, 1, 1, L, 200);
  DrawList pass = h.PickPass();
  std::vector<uint32_t> buffer;
  ScenePoint a = CellAnchor(1, 1, 4);
  EXPECT_EQ(CollectHits(pass, &h.art, 1.0, a.X + 22, a.Y + 22, &buffer), 32);
  // 251 one-name records would not fit the 1000-word buffer.
  pass.Items.clear();
  for (int i = 0; i < 251; ++i) {
    DrawItem it;
    it.Art = 0x4000 + 200;
    it.X = a.X;
    it.Y = a.Y;
    it.Name = i;
    pass.Items.push_back(it);
  }
  bool overflow = false;
  EXPECT_EQ(PickTile(pass, &h.art, 1.0, a.X + 22, a.Y + 22, 0.5f, &overflow), -1);
  EXPECT_TRUE(overflow);
}

// The number a pick carries and the entry it names, both ways, at the
// corners of the block; a negative number names nothing.
TEST(PickNames, RoundTripAtTheCorners) {
  for (const PickName p : {PickName{0, 0, 0}, PickName{31, 0, 31}, PickName{0, 31, 5},
                           PickName{31, 31, 31}, PickName{7, 3, 2}}) {
    const PickName back = PickName::Decode(p.Encode());
    EXPECT_EQ(back.x, p.x);
    EXPECT_EQ(back.y, p.y);
    EXPECT_EQ(back.layer, p.layer);
  }
  EXPECT_EQ((PickName{2, 1, 0}.Encode()), (1 * 32 + 2) * 32);
  EXPECT_TRUE(PickName::Decode(-1).Empty());
  EXPECT_FALSE(PickName::Decode(0).Empty());
}

}  // namespace
}  // namespace tavi
