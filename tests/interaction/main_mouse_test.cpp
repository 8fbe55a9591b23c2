// The drawing surface's mouse and keyboard rules, driven without widgets.
#include "interaction/main_mouse.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "support/fake_tiles.h"

namespace tavi {
namespace {

constexpr uint16_t kFloorTile = 0x0519;
constexpr uint16_t kChair = 0x0B4F;
constexpr uint16_t kLamp = 0x0A22;
constexpr uint16_t kLockedPart = 0x0300;

// Cells are 100 x 100 squares of the surface; a point outside the plot hits
// nothing. The pick finds the top entry of the cell.
class FakeEnv : public IMouseEnv {
 public:
  explicit FakeEnv(TTAVIDoc& d) : doc(d) {}
  TTAVIDoc& doc;
  EditState edit;  // what the windows would have set
  int redraws = 0, detailRefreshes = 0, zoomIns = 0, zoomOuts = 0;
  bool timer = false;

  bool CellAtPoint(int px, int py, int /*floor*/, int* x, int* y) const override {
    if (px < 0 || py < 0) return false;
    *x = px / 100;
    *y = py / 100;
    return doc.InPlot(*x, *y);
  }
  int PickTile(int px, int py) const override {
    int x, y;
    if (!CellAtPoint(px, py, edit.Floor, &x, &y)) return -1;
    const int n = doc.LayerCount[edit.Floor][y][x];
    return n > 0 ? (y * 32 + x) * 32 + n - 1 : -1;
  }
  std::function<void()> onRedraw;  // sees the state each redraw draws
  void Redraw() override {
    ++redraws;
    if (onRedraw) onRedraw();
  }
  void RefreshDetailList() override {  // the detail list redraws the view too
    ++detailRefreshes;
    if (onRedraw) onRedraw();
  }
  void SetTimerEnabled(bool on) override { timer = on; }
  void ZoomStep(bool in) override { ++(in ? zoomIns : zoomOuts); }
};

int P(int cell) {
  return cell * 100 + 50;
}

class MainMouseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    facts.Floor(kFloorTile).Height(kChair, 3).Height(kLamp, 10).Height(kLockedPart, 20);
    facts.Cat(kLockedPart, kCatPart);
    doc = std::make_unique<TTAVIDoc>(8, 8, &facts, &host);
    doc->Clear(false);
    env = std::make_unique<FakeEnv>(*doc);
    mouse = std::make_unique<MainMouse>(*doc, env->edit, *env);
  }

  test::FakeTileFacts facts;
  PlainDocHost host;
  std::unique_ptr<TTAVIDoc> doc;
  std::unique_ptr<FakeEnv> env;
  std::unique_ptr<MainMouse> mouse;
};

// An ordinary tile is placed once, where the button is released.
TEST_F(MainMouseTest, ChairGoesToReleaseCell) {
  env->edit.Tile = kChair;
  mouse->Press(MouseButton::Left, false, P(1), P(1));
  mouse->Move(false, P(2), P(1));
  mouse->Move(false, P(3), P(2));
  mouse->Release(MouseButton::Left, false, P(3), P(2));
  EXPECT_EQ(doc->Tiles[1][0][1][1].Id, 0);
  EXPECT_EQ(doc->Tiles[1][0][1][2].Id, 0);
  EXPECT_EQ(doc->Tiles[1][0][2][3].Id, kChair);
  EXPECT_EQ(mouse->DetailX, 3);
  EXPECT_EQ(mouse->DetailY, 2);
  ASSERT_TRUE(doc->CanUndo());
  doc->Undo();
  EXPECT_EQ(doc->Tiles[1][0][2][3].Id, 0);
  EXPECT_FALSE(doc->CanUndo());
}

// Each redraw already sees the cell (and, with Shift, the entry) under the
// pointer, so the hover mark and the preview never trail one cell behind.
TEST_F(MainMouseTest, RedrawSeesTheNewHover) {
  env->edit.Tile = kChair;
  doc->Tiles[1][0][2][3] = {0, kLamp, 0};
  doc->UpdateAllCells();
  int seenX = -2, seenY = -2, seenLayer = -2;
  env->onRedraw = [&] {
    seenX = mouse->HoverX;
    seenY = mouse->HoverY;
    seenLayer = mouse->HoverLayer;
  };
  mouse->Move(false, P(1), P(1));
  EXPECT_EQ(seenX, 1);
  EXPECT_EQ(seenY, 1);
  mouse->Move(false, P(4), P(2));
  EXPECT_EQ(seenX, 4);
  EXPECT_EQ(seenY, 2);
  mouse->Move(false, -5, -5);  // off the plot
  EXPECT_EQ(seenX, -1);
  mouse->Move(true, P(3), P(2));  // Shift: the entry under the pointer
  EXPECT_EQ(seenX, 3);
  EXPECT_EQ(seenY, 2);
  EXPECT_EQ(seenLayer, 0);
  mouse->Move(true, P(5), P(5));  // Shift over an empty cell
  EXPECT_EQ(seenX, -1);
  EXPECT_EQ(seenLayer, -1);
  env->onRedraw = nullptr;
}

// Before a tile is chosen, a click places nothing and leaves no undo step.
TEST_F(MainMouseTest, NoTileChosen) {
  env->edit.Tile = 0;
  mouse->Press(MouseButton::Left, false, P(2), P(2));
  mouse->Release(MouseButton::Left, false, P(2), P(2));
  EXPECT_EQ(doc->LayerCount[1][2][2], 0);
  EXPECT_FALSE(doc->CanUndo());
  EXPECT_FALSE(doc->Modified);
  mouse->Move(false, P(2), P(2));
  auto scratch = std::make_unique<FloorImage[]>(1);
  EXPECT_FALSE(mouse->BuildPreview(scratch[0]));
}

// A floor tile painted over five cells is one undo step.
TEST_F(MainMouseTest, StrokeIsOneUndoStep) {
  env->edit.Tile = kFloorTile;
  mouse->Press(MouseButton::Left, false, P(0), P(3));
  for (int x = 1; x < 5; ++x) mouse->Move(false, P(x), P(3));
  mouse->Release(MouseButton::Left, false, P(4), P(3));
  for (int x = 0; x < 5; ++x) EXPECT_EQ(doc->Tiles[1][0][3][x].Id, kFloorTile) << x;
  EXPECT_EQ(doc->LayerCount[1][3][5], 0);
  EXPECT_FALSE(mouse->Dragging);
  doc->Undo();
  EXPECT_FALSE(doc->CanUndo());
  for (int x = 0; x < 5; ++x) EXPECT_EQ(doc->Tiles[1][0][3][x].Id, 0) << x;
  // Moving without a pressed button paints nothing.
  mouse->Move(false, P(6), P(6));
  EXPECT_EQ(doc->Tiles[1][0][6][6].Id, 0);
  EXPECT_TRUE(env->timer);
  mouse->Move(false, -5, -5);
  EXPECT_FALSE(env->timer);
  EXPECT_EQ(mouse->HoverX, -1);
}

// Shift+click deletes the pointed entry unless Parts Lock protects it.
TEST_F(MainMouseTest, ShiftClickRespectsPartsLock) {
  doc->Tiles[1][0][2][2] = {0, kLockedPart, 0};
  doc->Tiles[1][0][4][4] = {0, kChair, 0};
  doc->UpdateAllCells();
  host.partsLock = true;
  mouse->Press(MouseButton::Left, true, P(2), P(2));
  mouse->Release(MouseButton::Left, true, P(2), P(2));
  EXPECT_EQ(doc->Tiles[1][0][2][2].Id, kLockedPart);
  EXPECT_FALSE(doc->CanUndo());
  mouse->Release(MouseButton::Left, true, P(4), P(4));
  EXPECT_EQ(doc->Tiles[1][0][4][4].Id, 0);
  host.partsLock = false;
  mouse->Release(MouseButton::Left, true, P(2), P(2));
  EXPECT_EQ(doc->Tiles[1][0][2][2].Id, 0);
}

// Inner mode: pick up, move, drop; a drop outside the plot discards the
// tile, and undo brings it back.
TEST_F(MainMouseTest, InnerPickUpAndDrop) {
  env->edit.Mode = kModeInner;
  env->edit.Alt = 0;
  doc->Tiles[1][0][1][1] = {0, kLamp, 0};
  doc->UpdateAllCells();
  mouse->Press(MouseButton::Left, false, P(1), P(1));
  EXPECT_EQ(mouse->CarriedId, kLamp);
  EXPECT_EQ(doc->Tiles[1][0][1][1].Id, 0);
  mouse->Move(false, P(5), P(5));
  EXPECT_EQ(mouse->HoverX, 5);
  auto scratch = std::make_unique<FloorImage[]>(1);
  EXPECT_TRUE(mouse->BuildPreview(scratch[0]));
  // Every redraw of the drop already sees the lamp put down, not carried.
  int redrawsCarrying = 0;
  env->onRedraw = [&] { redrawsCarrying += mouse->CarriedId != 0; };
  mouse->Release(MouseButton::Left, false, P(5), P(5));
  env->onRedraw = nullptr;
  EXPECT_EQ(redrawsCarrying, 0);
  EXPECT_EQ(mouse->CarriedId, 0);
  EXPECT_EQ(doc->Tiles[1][0][5][5].Id, kLamp);

  mouse->Press(MouseButton::Left, false, P(5), P(5));
  mouse->Move(false, 5000, 5000);
  EXPECT_EQ(mouse->HoverX, -1);
  mouse->Release(MouseButton::Left, false, 5000, 5000);
  EXPECT_EQ(mouse->CarriedId, 0);
  EXPECT_EQ(doc->LayerCount[1][5][5], 0);
  EXPECT_EQ(mouse->DetailX, -1);
  doc->Undo();
  EXPECT_EQ(doc->Tiles[1][0][5][5].Id, kLamp);

  // A locked part is not picked up.
  doc->Tiles[1][0][2][2] = {0, kLockedPart, 0};
  doc->UpdateAllCells();
  host.partsLock = true;
  mouse->Press(MouseButton::Left, false, P(2), P(2));
  EXPECT_EQ(mouse->CarriedId, 0);
  EXPECT_EQ(doc->Tiles[1][0][2][2].Id, kLockedPart);
}

// Stack mode: a drag spans the selection in any direction; the right button
// runs Add, with Shift Delete.
TEST_F(MainMouseTest, StackSelectionDrag) {
  env->edit.Mode = kModeStack;
  mouse->Press(MouseButton::Left, false, P(5), P(2));
  mouse->Move(false, P(3), P(3));
  mouse->Move(false, P(1), P(4));
  mouse->Release(MouseButton::Left, false, P(1), P(4));
  EXPECT_EQ(mouse->Selection.Left, 1);
  EXPECT_EQ(mouse->Selection.Top, 2);
  EXPECT_EQ(mouse->Selection.Right, 5);
  EXPECT_EQ(mouse->Selection.Bottom, 4);
  EXPECT_FALSE(mouse->Dragging);
  EXPECT_EQ(mouse->DetailX, 1);
  // Add stacks the current tile on every cell of the selection, Delete
  // empties them; each shows the detail cell's new stack.
  env->edit.Tile = kChair;
  const int refreshes = env->detailRefreshes;
  mouse->Press(MouseButton::Right, false, P(1), P(1));
  EXPECT_EQ(doc->Tiles[1][0][2][1].Id, kChair);
  EXPECT_EQ(doc->Tiles[1][0][4][5].Id, kChair);
  EXPECT_EQ(doc->LayerCount[1][1][1], 0);
  EXPECT_EQ(env->detailRefreshes, refreshes + 1);
  mouse->Press(MouseButton::Right, true, P(1), P(1));
  EXPECT_EQ(doc->LayerCount[1][2][1], 0);
  EXPECT_EQ(doc->LayerCount[1][4][5], 0);
  EXPECT_EQ(env->detailRefreshes, refreshes + 2);
  // A press outside the plot drops the selection; Add and Delete then do nothing.
  mouse->Press(MouseButton::Left, false, -10, -10);
  EXPECT_TRUE(mouse->Selection.Empty());
  mouse->Press(MouseButton::Right, false, P(1), P(1));
  mouse->Press(MouseButton::Right, true, P(1), P(1));
  EXPECT_EQ(doc->LayerCount[1][2][1], 0);
  EXPECT_EQ(env->detailRefreshes, refreshes + 2);
}

// Shift shows the entry the pointer is on; the page keys step the zoom; a
// repeated Shift release and every other key are left to the window.
TEST_F(MainMouseTest, KeysOfTheSurface) {
  const int before = env->redraws;
  EXPECT_TRUE(mouse->KeyDown(SurfaceKey::Shift, false));
  EXPECT_TRUE(mouse->ShiftDown);
  EXPECT_EQ(env->redraws, before + 1);
  EXPECT_TRUE(mouse->KeyDown(SurfaceKey::Shift, true));
  EXPECT_EQ(env->redraws, before + 1);
  EXPECT_FALSE(mouse->KeyUp(SurfaceKey::Shift, true));
  EXPECT_TRUE(mouse->ShiftDown);
  EXPECT_TRUE(mouse->KeyUp(SurfaceKey::Shift, false));
  EXPECT_FALSE(mouse->ShiftDown);
  EXPECT_EQ(env->redraws, before + 2);

  EXPECT_TRUE(mouse->KeyDown(SurfaceKey::PageUp, false));
  EXPECT_TRUE(mouse->KeyDown(SurfaceKey::PageDown, true));
  EXPECT_EQ(env->zoomIns, 1);
  EXPECT_EQ(env->zoomOuts, 1);
  EXPECT_FALSE(mouse->KeyUp(SurfaceKey::PageUp, false));
  EXPECT_FALSE(mouse->KeyDown(SurfaceKey::Other, false));
  EXPECT_FALSE(mouse->KeyUp(SurfaceKey::Other, false));
  EXPECT_EQ(env->zoomIns, 1);
}

// A frame sees the values of the moment and the mouse state, and keeps what
// the window filled in itself.
TEST_F(MainMouseTest, DescribesTheFrame) {
  env->edit.Floor = 3;
  env->edit.Alt = 5;
  env->edit.Mode = kModeStack;
  env->edit.Tile = kChair;
  env->edit.StairsDirection = 1;
  mouse->Press(MouseButton::Left, false, P(2), P(1));
  mouse->Move(true, P(4), P(3));
  ViewState s;
  s.BaseHeight = 4;
  s.Zoom = 1.5;
  mouse->DescribeTo(s);
  EXPECT_EQ(s.CurrentFloor, 3);
  EXPECT_EQ(s.Alt, 5);
  EXPECT_EQ(s.EditMode, kModeStack);
  EXPECT_EQ(s.CurrentTile, kChair);
  EXPECT_FALSE(s.AutoStairs);
  EXPECT_EQ(s.StairsDirection, 1);
  EXPECT_EQ(s.HoverX, 2);
  EXPECT_EQ(s.HoverY, 1);
  EXPECT_TRUE(s.ShiftDown);
  EXPECT_EQ(s.Selection.Left, 2);
  EXPECT_EQ(s.Selection.Top, 1);
  EXPECT_EQ(s.Selection.Right, 4);
  EXPECT_EQ(s.Selection.Bottom, 3);
  EXPECT_EQ(s.BaseHeight, 4);
  EXPECT_EQ(s.Zoom, 1.5);
}

TEST(ZoomSteps, SixteenthsBelowOneEighthsAbove) {
  EXPECT_EQ(ZoomStepIn(0.9375), 1.0);
  EXPECT_EQ(ZoomStepIn(1.0), 1.125);
  EXPECT_EQ(ZoomStepOut(1.0), 0.9375);
  EXPECT_EQ(ZoomStepOut(0.25), 0.25);
  EXPECT_EQ(ZoomStepIn(2.0), 2.0);
  EXPECT_DOUBLE_EQ(ZoomStepIn(1.95), 2.075);
  EXPECT_DOUBLE_EQ(ZoomStepIn(2.075), 2.075);
}

}  // namespace
}  // namespace tavi

namespace tavi {
namespace {

// Each edit mode has its tool; with no mode chosen the surface edits
// nothing, but a selection drag under way still follows the mouse.
TEST_F(MainMouseTest, NoModeEditsNothingButFinishesADrag) {
  env->edit.Mode = kModeStack;
  mouse->Press(MouseButton::Left, false, P(1), P(1));
  env->edit.Mode = -1;
  mouse->Move(false, P(3), P(2));
  EXPECT_EQ(mouse->Selection.Right, 3);
  EXPECT_EQ(mouse->Selection.Bottom, 2);
  EXPECT_FALSE(mouse->OutlineSelection());
  const int refreshes = env->detailRefreshes;
  env->edit.Tile = kChair;
  mouse->Press(MouseButton::Right, false, P(1), P(1));
  mouse->Release(MouseButton::Left, false, P(1), P(1));
  EXPECT_EQ(env->detailRefreshes, refreshes);
  EXPECT_TRUE(mouse->Dragging);  // only the Stack tool's release ends it
  EXPECT_EQ(doc->LayerCount[1][1][1], 0);
  auto scratch = std::make_unique<FloorImage[]>(1);
  EXPECT_FALSE(mouse->BuildPreview(scratch[0]));
}

}  // namespace
}  // namespace tavi
