// The Stack and Inner modes: a selection for the control window's commands,
// and in the Inner mode an entry carried from one cell to another.
#include <cstring>

#include "interaction/main_mouse.h"
#include "render/pick.h"

namespace tavi {

void StackTool::Press(MouseButton button, bool shift, int px, int py) {
  if (button == MouseButton::Right) {
    m_.SelectionCommand(shift);
    return;
  }
  if (button != MouseButton::Left) return;
  m_.HoverX = m_.HoverY = -1;
  m_.Selection = CellRect();
  int x, y;
  if (m_.CellAt(px, py, &x, &y)) {
    m_.Dragging = true;
    m_.HoverX = x;
    m_.HoverY = y;
    m_.Selection = CellRect{x, y, x, y};
    m_.env_.Redraw();
  }
}

void StackTool::Move(int px, int py) {
  m_.DragSelection(px, py);
}

void StackTool::Release(MouseButton button, bool /*shift*/, int px, int py) {
  if (button == MouseButton::Left) m_.EndSelectionDrag(px, py);
}

void InnerTool::Press(MouseButton button, bool shift, int px, int py) {
  if (button == MouseButton::Right) {
    m_.SelectionCommand(shift);
    return;
  }
  if (button == MouseButton::Left) PickUp(px, py);
}

void InnerTool::PickUp(int px, int py) {
  const PickName name = PickName::Decode(m_.env_.PickTile(px, py));
  const int floor = m_.edit_.Floor;
  if (name.Empty() || !TTAVIDoc::ValidFloor(floor) || !m_.doc_.InPlot(name.x, name.y)) {
    m_.CarriedId = 0;
    return;
  }
  const int x = name.x, y = name.y;
  m_.CarriedId = m_.doc_.Tiles[floor][name.layer][y][x].Id;
  if (m_.CarriedId == 0) return;
  if (m_.doc_.Host()->PartsLock() && (m_.doc_.Category(m_.CarriedId) & kCatPart)) {
    m_.CarriedId = 0;
    return;
  }
  m_.DetailX = x;
  m_.DetailY = y;
  m_.doc_.DeleteEntry(x, y, floor, name.layer);  // takes the undo snapshot for the move
  m_.env_.RefreshDetailList();
  m_.HoverX = x;
  m_.HoverY = y;
  m_.env_.Redraw();
}

void InnerTool::Move(int px, int py) {
  if (m_.CarriedId == 0) {
    m_.DragSelection(px, py);
    return;
  }
  int x, y;
  if (!m_.CellAt(px, py, &x, &y))
    m_.ClearHover();
  else
    m_.SetHover(x, y);
}

void InnerTool::Release(MouseButton button, bool /*shift*/, int px, int py) {
  if (button == MouseButton::Left && m_.CarriedId != 0) {
    // Drop; outside the plot the carried tile is gone (its removal is one
    // undo step). It is no longer carried before anything is redrawn, so
    // no preview of it stays on top of the placed tile.
    const uint16_t carried = m_.CarriedId;
    m_.CarriedId = 0;
    int x, y;
    if (m_.CellAt(px, py, &x, &y)) {
      m_.DetailX = x;
      m_.DetailY = y;
      if (m_.PlaceAt(x, y, carried, m_.edit_.Alt)) m_.env_.Redraw();
      m_.env_.RefreshDetailList();
    }
  }
  if (button == MouseButton::Left) m_.EndSelectionDrag(px, py);
}

bool InnerTool::Preview(FloorImage& scratch) {
  if (m_.CarriedId == 0) return false;
  const int floor = m_.edit_.Floor;
  std::memcpy(&scratch, &m_.doc_.Tiles[floor], sizeof(FloorImage));
  m_.doc_.PlaceTile(m_.HoverX, m_.HoverY, true, scratch, m_.edit_.Alt, m_.CarriedId, floor);
  return true;
}

}  // namespace tavi
