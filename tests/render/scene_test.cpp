#include "render/scene.h"

#include <gtest/gtest.h>

#include "render/projection.h"
#include "render_house.h"

namespace tavi {
namespace {

using test::OfKind;
using test::RenderHouse;

const DrawColor kWhite{1, 1, 1, 1};
const DrawColor kGreen{0, 1, 0, 1};
const DrawColor kOrange{1, 0.5f, 0, 1};
const DrawColor kRed{1, 0, 0, 1};
const DrawColor kYellow{1, 1, 0, 1};

TEST(Scene, GroundThenFloorsInRowColumnLayerOrderWithKeys) {
  RenderHouse h(4, 3);
  h.facts.Height(200, 20).Height(300, 5);
  TBackgroundMap ground{};
  for (int y = 0; y < kBackgroundSize; ++y)
    for (int x = 0; x < kBackgroundSize; ++x) ground[y][x] = uint16_t(y * 1000 + x);
  h.state.BackgroundMap = &ground;
  h.state.CurrentFloor = 1;
  h.state.BaseHeight = 7;
  h.Put(0, 2, 1, 0, 100);
  h.Put(0, 2, 1, 1, 200, 0);
  h.Put(0, 1, 2, 0, 100);
  h.Put(1, 1, 0, 0, 300, 3);
  h.Put(2, 1, 0, 0, 300, 3);  // above the current floor: not drawn

  DrawList list = h.Scene();
  ASSERT_EQ(list.Items.size(), 12u + 4u);
  for (int i = 0; i < 12; ++i) {
    const DrawItem& g = list.Items[i];
    int x = i % 4, y = i / 4;
    EXPECT_TRUE(g.Ground);
    EXPECT_EQ(g.Art, uint32_t(y * 1000 + x));
    EXPECT_EQ(g.X, CellAnchor(x, y, 3).X);
    EXPECT_EQ(g.Y, CellAnchor(x, y, 3).Y);
    EXPECT_FLOAT_EQ(ItemDepth(g), 1.0f);
  }
  // Floor 0: row 1 comes before row 2.
  const DrawItem* t = &list.Items[12];
  EXPECT_EQ(t[0].Art, 0x4000u + 100);
  EXPECT_EQ(t[0].Key, 500);
  EXPECT_EQ(t[0].Name, (1 * 32 + 2) * 32 + 0);
  EXPECT_EQ(t[1].Art, 0x4000u + 200);
  EXPECT_EQ(t[1].Key, 520);
  EXPECT_EQ(t[1].Name, (1 * 32 + 2) * 32 + 1);
  EXPECT_EQ(t[2].Key, 400);
  // Floor 1: base 7, altitude 3, height 5.
  EXPECT_EQ(t[3].Key, 2 * 100 + 3 + 5 + 7);
  EXPECT_EQ(t[3].X, CellAnchor(1, 0, 3).X);
  EXPECT_EQ(t[3].Y, CellAnchor(1, 0, 3).Y - (3 + 7) * 4);
  EXPECT_NEAR(ItemDepth(t[3]), 1.0 - 215 / 10240.0, 1e-6);

  h.state.LargeBG = true;
  list = h.Scene();
  auto g = OfKind(list, DrawKind::kTile, true);
  ASSERT_EQ(g.size(), 16u * 12u);
  // The first cell of the large ground is (-8, -6) with the map's corner.
  EXPECT_EQ(g[0].Art, 0u);
  EXPECT_EQ(g[0].X, CellAnchor(-8, -6, 3).X);
  EXPECT_EQ(g[0].Y, CellAnchor(-8, -6, 3).Y);
  EXPECT_EQ(g.back().Art, uint32_t(11 * 1000 + 15));
}

TEST(Scene, EmptyLayerAndHiddenCellStopTheStack) {
  RenderHouse h(4, 4);
  h.Put(0, 1, 1, 0, 10);
  h.Put(0, 1, 1, 1, 11);
  h.Put(0, 1, 1, 3, 13);  // above the gap at layer 2
  auto tiles = OfKind(h.Scene(), DrawKind::kTile);
  ASSERT_EQ(tiles.size(), 2u);
  EXPECT_EQ(tiles[1].Art, 0x4000u + 11);

  // Hidden on the current floor: no tiles, but the grid diamond stays.
  h.state.View.ShowGrid = true;
  h.state.HiddenCells[1][1] = true;
  DrawList list = h.Scene();
  EXPECT_TRUE(OfKind(list, DrawKind::kTile).empty());
  EXPECT_EQ(OfKind(list, DrawKind::kCell).size(), 4u);
  // A floor below the current one ignores the hidden cells.
  h.state.CurrentFloor = 1;
  EXPECT_EQ(OfKind(h.Scene(), DrawKind::kTile).size(), 2u);
}

TEST(Scene, HideWallsOnlyOnTheCurrentFloor) {
  RenderHouse h(4, 4);
  h.facts.Floor(50).Height(60, 20).Height(61, 19).Height(62, 21);
  for (int f = 0; f < 2; ++f) {
    h.Put(f, 1, 1, 0, 50);
    h.Put(f, 1, 1, 1, 60);
    h.Put(f, 1, 1, 2, 61);
    h.Put(f, 1, 1, 3, 62);
  }
  h.state.CurrentFloor = 1;
  h.state.View.HideWalls = true;
  auto tiles = OfKind(h.Scene(), DrawKind::kTile);
  ASSERT_EQ(tiles.size(), 4u + 2u);
  EXPECT_EQ(tiles[4].Art, 0x4000u + 50);
  EXPECT_EQ(tiles[5].Art, 0x4000u + 62);  // a skipped wall does not stop the stack
}

TEST(Scene, GridSkipsTheOuterRing) {
  RenderHouse h(3, 3);
  h.state.View.ShowGrid = true;
  auto cells = OfKind(h.Scene(), DrawKind::kCell);
  ASSERT_EQ(cells.size(), 1u);
  EXPECT_EQ(cells[0].Key, 300);
  EXPECT_EQ(cells[0].X, CellAnchor(1, 1, 3).X);
  EXPECT_EQ(cells[0].Color, (DrawColor{0.5f, 0, 1, 0.5f}));

  RenderHouse w(5, 4);
  w.state.View.ShowGrid = true;
  w.state.CurrentFloor = 2;
  w.state.BaseHeight = 4;
  cells = OfKind(w.Scene(), DrawKind::kCell);
  ASSERT_EQ(cells.size(), 6u);  // only the current floor has a grid
  EXPECT_EQ(cells[0].Key, 300 + 24);
  EXPECT_EQ(cells[0].Y, CellAnchor(1, 1, 4).Y - 24 * 4);
}

TEST(Scene, TintsFollowTheirSwitchesAndOrder) {
  RenderHouse h(4, 4);
  h.facts.Floor(50).Height(70, 20).Height(71, 19);
  h.Put(0, 1, 1, 0, 70);            // tall enough under floor 1
  h.Put(0, 2, 1, 0, 71);            // one short of it
  h.Put(1, 1, 1, 0, 50);            // green
  h.Put(1, 2, 1, 0, 50);            // white
  h.Put(1, 1, 2, 0, 50, 0, 1);      // orange mark
  h.Put(1, 2, 2, 0, 50, 0, 0x100);  // only the low byte counts
  h.state.CurrentFloor = 1;
  auto tiles = OfKind(h.Scene(), DrawKind::kTile);
  ASSERT_EQ(tiles.size(), 6u);
  EXPECT_EQ(tiles[2].Color, kGreen);
  EXPECT_EQ(tiles[3].Color, kWhite);
  EXPECT_EQ(tiles[4].Color, kOrange);
  EXPECT_EQ(tiles[5].Color, kWhite);

  h.state.View.ShowDownstairs = false;
  h.state.View.ShowCustomize = false;
  tiles = OfKind(h.Scene(), DrawKind::kTile);
  EXPECT_EQ(tiles[2].Color, kWhite);
  EXPECT_EQ(tiles[4].Color, kWhite);
  h.state.View = ViewSwitches();

  // Shift in "Immediate" points at one entry in red, over the mark.
  h.state.ShiftDown = true;
  h.state.HoverX = 1;
  h.state.HoverY = 2;
  h.state.HoverLayer = 0;
  tiles = OfKind(h.Scene(), DrawKind::kTile);
  EXPECT_EQ(tiles[4].Color, kRed);
  h.state.HoverLayer = 1;
  EXPECT_EQ(OfKind(h.Scene(), DrawKind::kTile)[4].Color, kOrange);

  // Outside "Immediate" the selected cells turn yellow and get outlines.
  h.state = ViewState();
  h.state.View.ShowGrid = false;
  h.state.CurrentFloor = 1;
  h.state.EditMode = kModeStack;
  h.state.Selection = CellRect{1, 2, 2, 2};
  DrawList list = h.Scene();
  tiles = OfKind(list, DrawKind::kTile);
  EXPECT_EQ(tiles[2].Color, kGreen);
  EXPECT_EQ(tiles[4].Color, kYellow);
  EXPECT_EQ(tiles[5].Color, kYellow);
  auto outlines = OfKind(list, DrawKind::kOutline);
  ASSERT_EQ(outlines.size(), 2u);
  EXPECT_EQ(list.Items.back().Kind, DrawKind::kOutline);
  EXPECT_EQ(outlines[0].Key, (2 * 1 + 2) * 100 + 7 + 20);  // base of the floor above
  EXPECT_EQ(outlines[0].Y, CellAnchor(1, 2, 4).Y - 7 * 4);
  EXPECT_EQ(outlines[1].Color, kYellow);
  // The lower floor keeps its colours; "Immediate" shows no selection.
  EXPECT_EQ(tiles[0].Color, kWhite);
  h.state.EditMode = kModeImmediate;
  EXPECT_TRUE(OfKind(h.Scene(), DrawKind::kOutline).empty());
}

TEST(Scene, PreviewDrawsThePlacementWithoutTouchingTheDocument) {
  RenderHouse h(4, 4);
  h.facts.Height(500, 5);
  h.Put(0, 1, 1, 0, 40);
  h.state.CurrentTile = 500;
  h.state.HoverX = 1;
  h.state.HoverY = 1;
  h.state.Alt = 2;
  auto tiles = OfKind(h.Scene(), DrawKind::kTile);
  ASSERT_EQ(tiles.size(), 2u);
  EXPECT_EQ(tiles[1].Art, 0x4000u + 500);
  EXPECT_EQ(h.doc->Tiles[0][1][1][1].Id, 0);
  EXPECT_EQ(h.doc->LayerCount[0][1][1], 1);

  h.state.ShiftDown = true;  // pointing, not placing
  EXPECT_EQ(OfKind(h.Scene(), DrawKind::kTile).size(), 1u);
  h.state.ShiftDown = false;
  h.state.EditMode = kModeInner;
  EXPECT_EQ(OfKind(h.Scene(), DrawKind::kTile).size(), 1u);
  h.state.CarriedId = 500;
  EXPECT_EQ(OfKind(h.Scene(), DrawKind::kTile).size(), 2u);
  // The picking pass never shows the preview.
  EXPECT_EQ(OfKind(h.PickPass(), DrawKind::kTile).size(), 1u);
}

TEST(Scene, NightLightsFromTheCurrentFloorDownShadedByUpperCells) {
  RenderHouse h(5, 5);
  static LightInfo lights[kCategoryIds] = {};
  lights[900] = LightInfo{3, -2, 2, 96, 128, 96};
  h.Put(0, 2, 2, 0, 900, 5);
  h.state.View.Night = true;
  h.state.CurrentFloor = 1;
  h.state.BaseHeight = 7;
  DrawList list = h.Scene(lights);
  EXPECT_TRUE(list.Night);
  ASSERT_EQ(list.Lights.size(), 1u);
  ScenePoint a = CellAnchor(2, 2, 5);
  EXPECT_FLOAT_EQ(list.Lights[0].X, a.X + 22 + 3);
  EXPECT_FLOAT_EQ(list.Lights[0].Y, a.Y + 22 - 2 - 5 * 4);
  EXPECT_FLOAT_EQ(list.Lights[0].Radius, 1.5f * 44);
  EXPECT_FLOAT_EQ(list.Lights[0].G, 128);

  h.Put(1, 2, 2, 0, 40);  // straight above: the light still shows
  EXPECT_EQ(h.Scene(lights).Lights.size(), 1u);
  h.Put(1, 3, 3, 0, 40);  // one cell down the diagonal shades it
  EXPECT_TRUE(h.Scene(lights).Lights.empty());
  h.state.CurrentFloor = 0;  // the upper floor is not drawn, so it shades nothing
  EXPECT_EQ(h.Scene(lights).Lights.size(), 1u);
  h.state.View.Night = false;
  EXPECT_TRUE(h.Scene(lights).Lights.empty());
}

}  // namespace
}  // namespace tavi
