#include "interaction/main_mouse.h"

#include <cstring>

namespace tavi {

namespace {

void SplitPickName(int name, int* x, int* y, int* layer) {
  *x = (name / 32) % 32;
  *y = name / 1024;
  *layer = name % 32;
}

}  // namespace

int MainMouse::MinZFor(uint16_t id) const {
  return doc_.IsRoofPart(id) ? env_.Alt() : 0;
}

bool MainMouse::PlaceAt(int x, int y, uint16_t id, int minZ) {
  const int floor = env_.CurrentFloor();
  if (!TTAVIDoc::ValidFloor(floor) || id == 0) return false;
  return doc_.PlaceTile(x, y, false, doc_.Tiles[floor], minZ, id, floor);
}

// A redraw takes the hover state as it is at that moment, so the fields are
// set first; otherwise the view would show the previous cell until the next
// change.
void MainMouse::SetHover(int x, int y) {
  const bool changed = x != HoverX || y != HoverY;
  HoverX = x;
  HoverY = y;
  if (changed) env_.Redraw();
  env_.SetTimerEnabled(true);
}

void MainMouse::ClearHover() {
  env_.SetTimerEnabled(false);
  const bool changed = HoverX != -1;
  HoverX = -1;
  HoverY = -1;
  if (changed) env_.Redraw();
}

void MainMouse::SetShift(bool down) {
  ShiftDown = down;
  env_.Redraw();
}

bool MainMouse::KeyDown(SurfaceKey key, bool autoRepeat) {
  switch (key) {
    case SurfaceKey::Shift:
      if (!autoRepeat) SetShift(true);
      return true;
    case SurfaceKey::PageUp:
      env_.ZoomStep(true);
      return true;
    case SurfaceKey::PageDown:
      env_.ZoomStep(false);
      return true;
    case SurfaceKey::Other:
      break;
  }
  return false;
}

bool MainMouse::KeyUp(SurfaceKey key, bool autoRepeat) {
  if (key != SurfaceKey::Shift || autoRepeat) return false;
  SetShift(false);
  return true;
}

void MainMouse::ResetTransient() {
  HoverX = HoverY = HoverLayer = -1;
  DetailX = DetailY = -1;
  Dragging = false;
  CarriedId = 0;
}

void MainMouse::Press(MouseButton button, bool shift, int px, int py) {
  ShiftDown = shift;
  const int mode = env_.EditMode();
  const int floor = env_.CurrentFloor();
  if (mode == kModeImmediate) {
    if (shift || button != MouseButton::Left) return;
    const uint16_t tile = env_.CurrentTile();
    const bool stairs = env_.AutoStairs();
    // Ordinary tiles are placed on release; only painted parts and the
    // automatic staircase act on press.
    if (!stairs && !doc_.IsPressPart(tile)) return;
    int x, y;
    if (!env_.CellAtPoint(px, py, &x, &y)) return;
    if (stairs) {
      if (TTAVIDoc::ValidFloor(floor))
        doc_.PlaceAutoStairs(x, y, false, doc_.Tiles[floor], env_.StairsDirection(),
                             env_.StairsRow(), floor);
      env_.Redraw();
      Dragging = true;
      return;
    }
    // One snapshot for the whole stroke.
    if (TTAVIDoc::ValidFloor(floor)) doc_.PushUndo(floor);
    if (PlaceAt(x, y, tile, MinZFor(tile))) env_.Redraw();
    Dragging = true;
    return;
  }

  if (button == MouseButton::Right) {
    if (mode == kModeStack || mode == kModeInner) {
      if (shift)
        env_.ControlDelete();
      else
        env_.ControlAdd();
    }
    return;
  }
  if (button != MouseButton::Left) return;

  if (mode == kModeInner) {
    const int name = env_.PickTile(px, py);
    if (name < 0) {
      CarriedId = 0;
      return;
    }
    int x, y, layer;
    SplitPickName(name, &x, &y, &layer);
    if (!TTAVIDoc::ValidFloor(floor) || !doc_.InPlot(x, y)) {
      CarriedId = 0;
      return;
    }
    CarriedId = doc_.Tiles[floor][layer][y][x].Id;
    if (CarriedId == 0) return;
    if (doc_.Host()->PartsLock() && (doc_.Category(CarriedId) & kCatPart)) {
      CarriedId = 0;
      return;
    }
    DetailX = x;
    DetailY = y;
    doc_.DeleteEntry(x, y, floor, layer);  // takes the undo snapshot for the move
    env_.RefreshDetailList();
    HoverX = x;
    HoverY = y;
    env_.Redraw();
    return;
  }

  if (mode == kModeStack) {
    HoverX = HoverY = -1;
    Selection = CellRect();
    int x, y;
    if (env_.CellAtPoint(px, py, &x, &y)) {
      Dragging = true;
      HoverX = x;
      HoverY = y;
      Selection = CellRect{x, y, x, y};
      env_.Redraw();
    }
  }
}

void MainMouse::Move(bool shift, int px, int py) {
  ShiftDown = shift;
  const int mode = env_.EditMode();
  int x, y;

  if (mode == kModeInner && CarriedId != 0) {
    if (!env_.CellAtPoint(px, py, &x, &y))
      ClearHover();
    else
      SetHover(x, y);
    return;
  }

  if (mode != kModeImmediate) {
    if (!Dragging) return;
    if (env_.CellAtPoint(px, py, &x, &y)) {
      Selection.Left = x < HoverX ? x : HoverX;
      Selection.Right = x < HoverX ? HoverX : x;
      Selection.Top = y < HoverY ? y : HoverY;
      Selection.Bottom = y < HoverY ? HoverY : y;
      env_.Redraw();
    }
    return;
  }

  if (ShiftDown) {
    // Point at an entry: the scene tints it.
    const int name = env_.PickTile(px, py);
    if (name >= 0) {
      int layer;
      SplitPickName(name, &x, &y, &layer);
      if (x == HoverX && y == HoverY && layer == HoverLayer) {
        env_.SetTimerEnabled(true);
      } else {
        HoverX = x;
        HoverY = y;
        HoverLayer = layer;
        env_.Redraw();
        env_.SetTimerEnabled(true);
      }
    } else {
      HoverLayer = -1;
      ClearHover();
    }
    return;
  }

  // Paint while dragging.
  if (!env_.CellAtPoint(px, py, &x, &y)) {
    ClearHover();
    return;
  }
  if (Dragging && (x != HoverX || y != HoverY)) {
    const int floor = env_.CurrentFloor();
    if (env_.AutoStairs()) {
      if (TTAVIDoc::ValidFloor(floor))
        doc_.PlaceAutoStairs(x, y, false, doc_.Tiles[floor], env_.StairsDirection(),
                             env_.StairsRow(), floor);
      env_.Redraw();
    } else {
      const uint16_t tile = env_.CurrentTile();
      // The stroke shares the snapshot taken on press.
      if (PlaceAt(x, y, tile, MinZFor(tile))) env_.Redraw();
    }
  }
  SetHover(x, y);
}

void MainMouse::Release(MouseButton button, bool shift, int px, int py) {
  ShiftDown = shift;
  const int mode = env_.EditMode();
  const int floor = env_.CurrentFloor();
  int x, y;

  if (mode == kModeStack || mode == kModeInner) {
    if (mode == kModeInner && button == MouseButton::Left && CarriedId != 0) {
      // Drop; outside the plot the carried tile is gone (its removal is one
      // undo step). It is no longer carried before anything is redrawn, so
      // no preview of it stays on top of the placed tile.
      const uint16_t carried = CarriedId;
      CarriedId = 0;
      if (env_.CellAtPoint(px, py, &x, &y)) {
        DetailX = x;
        DetailY = y;
        if (PlaceAt(x, y, carried, env_.Alt())) env_.Redraw();
        env_.RefreshDetailList();
      }
    }
    if (button == MouseButton::Left) {
      Dragging = false;
      DetailX = DetailY = -1;
      if (env_.CellAtPoint(px, py, &x, &y)) {
        DetailX = x;
        DetailY = y;
      }
      env_.RefreshDetailList();
    }
    return;
  }

  if (mode != kModeImmediate) return;
  if (button == MouseButton::Right) {
    if (env_.CellAtPoint(px, py, &x, &y)) {
      DetailX = x;
      DetailY = y;
      env_.RefreshDetailList();
    }
    return;
  }
  if (button != MouseButton::Left) return;

  if (shift) {
    const int name = env_.PickTile(px, py);
    if (name >= 0) {
      int layer;
      SplitPickName(name, &x, &y, &layer);
      DetailX = x;
      DetailY = y;
      doc_.DeleteEntry(x, y, floor, layer);  // refuses locked parts itself
      env_.RefreshDetailList();
    }
  } else if (env_.CellAtPoint(px, py, &x, &y)) {
    DetailX = x;
    DetailY = y;
    if (env_.AutoStairs()) {
      env_.RefreshDetailList();
      Dragging = false;
      return;
    }
    const uint16_t tile = env_.CurrentTile();
    // Before any tile was chosen a click places nothing (and leaves no
    // empty undo step).
    if (tile != 0 && !doc_.IsPressPart(tile) && TTAVIDoc::ValidFloor(floor)) {
      doc_.PushUndo(floor);
      if (PlaceAt(x, y, tile, env_.Alt())) env_.Redraw();
    }
    env_.RefreshDetailList();
  }
  Dragging = false;
}

bool MainMouse::BuildPreview(FloorImage& scratch) {
  if (HoverX < 0 || HoverY < 0) return false;
  const int mode = env_.EditMode();
  const int floor = env_.CurrentFloor();
  if (!TTAVIDoc::ValidFloor(floor)) return false;
  const bool immediate = mode == kModeImmediate && !ShiftDown;
  const bool carrying = mode == kModeInner && CarriedId != 0;
  if (!immediate && !carrying) return false;
  std::memcpy(&scratch, &doc_.Tiles[floor], sizeof(FloorImage));
  if (!carrying && !env_.AutoStairs() && env_.CurrentTile() == 0) return false;
  if (carrying) {
    doc_.PlaceTile(HoverX, HoverY, true, scratch, env_.Alt(), CarriedId, floor);
  } else if (env_.AutoStairs()) {
    doc_.PlaceAutoStairs(HoverX, HoverY, true, scratch, env_.StairsDirection(), env_.StairsRow(),
                         floor);
  } else {
    doc_.PlaceTile(HoverX, HoverY, true, scratch, env_.Alt(), env_.CurrentTile(), floor);
  }
  return true;
}

bool MainMouse::OutlineSelection() const {
  const int mode = env_.EditMode();
  return mode == kModeStack || mode == kModeInner;
}

void MainMouse::DescribeTo(ViewState& s) const {
  s.CurrentFloor = env_.CurrentFloor();
  s.Alt = env_.Alt();
  s.EditMode = env_.EditMode();
  s.CurrentTile = env_.CurrentTile();
  s.AutoStairs = env_.AutoStairs();
  s.StairsDirection = env_.StairsDirection();
  s.StairsRow = env_.StairsRow();
  s.HoverX = HoverX;
  s.HoverY = HoverY;
  s.HoverLayer = HoverLayer;
  s.ShiftDown = ShiftDown;
  s.CarriedId = CarriedId;
  s.Selection = Selection;
}

}  // namespace tavi
