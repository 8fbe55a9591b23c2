#include "interaction/main_mouse.h"

namespace tavi {

IEditTool& MainMouse::Tool() {
  switch (edit_.Mode) {
    case kModeImmediate:
      return immediate_;
    case kModeStack:
      return stack_;
    case kModeInner:
      return inner_;
    default:
      return idle_;
  }
}

int MainMouse::MinZFor(uint16_t id) const {
  return doc_.IsRoofPart(id) ? edit_.Alt : 0;
}

bool MainMouse::PlaceAt(int x, int y, uint16_t id, int minZ) {
  const int floor = edit_.Floor;
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

void MainMouse::SelectionCommand(bool shift) {
  const bool done =
      shift ? DeleteOnSelection(doc_, edit_, Selection) : AddOnSelection(doc_, edit_, Selection);
  if (done) env_.RefreshDetailList();
}

void MainMouse::DragSelection(int px, int py) {
  if (!Dragging) return;
  int x, y;
  if (!CellAt(px, py, &x, &y)) return;
  Selection.Left = x < HoverX ? x : HoverX;
  Selection.Right = x < HoverX ? HoverX : x;
  Selection.Top = y < HoverY ? y : HoverY;
  Selection.Bottom = y < HoverY ? HoverY : y;
  env_.Redraw();
}

void MainMouse::EndSelectionDrag(int px, int py) {
  Dragging = false;
  DetailX = DetailY = -1;
  int x, y;
  if (CellAt(px, py, &x, &y)) {
    DetailX = x;
    DetailY = y;
  }
  env_.RefreshDetailList();
}

void MainMouse::PlaceStairs(int x, int y) {
  const int floor = edit_.Floor;
  if (TTAVIDoc::ValidFloor(floor))
    doc_.PlaceAutoStairs(x, y, false, doc_.Tiles[floor], edit_.StairsDirection,
                         edit_.PlacedStairsRow(), floor);
}

void MainMouse::Press(MouseButton button, bool shift, int px, int py) {
  ShiftDown = shift;
  Tool().Press(button, shift, px, py);
}

void MainMouse::Move(bool shift, int px, int py) {
  ShiftDown = shift;
  Tool().Move(px, py);
}

void MainMouse::Release(MouseButton button, bool shift, int px, int py) {
  ShiftDown = shift;
  Tool().Release(button, shift, px, py);
}

bool MainMouse::BuildPreview(FloorImage& scratch) {
  if (HoverX < 0 || HoverY < 0) return false;
  if (!TTAVIDoc::ValidFloor(edit_.Floor)) return false;
  return Tool().Preview(scratch);
}

bool MainMouse::OutlineSelection() const {
  return Tool().OutlinesSelection();
}

void MainMouse::DescribeTo(ViewState& s) const {
  s.CurrentFloor = edit_.Floor;
  s.Alt = edit_.Alt;
  s.EditMode = edit_.Mode;
  s.CurrentTile = edit_.Tile;
  s.AutoStairs = edit_.AutoStairs;
  s.StairsDirection = edit_.StairsDirection;
  s.StairsRow = edit_.PlacedStairsRow();
  s.HoverX = HoverX;
  s.HoverY = HoverY;
  s.HoverLayer = HoverLayer;
  s.ShiftDown = ShiftDown;
  s.CarriedId = CarriedId;
  s.Selection = Selection;
}

}  // namespace tavi
