// The Immediate mode: tiles placed where the mouse clicks or paints.
#include <cstring>

#include "interaction/main_mouse.h"
#include "render/pick.h"

namespace tavi {

void ImmediateTool::Press(MouseButton button, bool shift, int px, int py) {
  if (shift || button != MouseButton::Left) return;
  const uint16_t tile = m_.edit_.Tile;
  const bool stairs = m_.edit_.AutoStairs;
  // Ordinary tiles are placed on release; only painted parts and the
  // automatic staircase act on press.
  if (!stairs && !m_.doc_.IsPressPart(tile)) return;
  int x, y;
  if (!m_.CellAt(px, py, &x, &y)) return;
  if (stairs) {
    m_.PlaceStairs(x, y);
    m_.env_.Redraw();
    m_.Dragging = true;
    return;
  }
  // One snapshot for the whole stroke.
  const int floor = m_.edit_.Floor;
  if (TTAVIDoc::ValidFloor(floor)) m_.doc_.PushUndo(floor);
  if (m_.PlaceAt(x, y, tile, m_.MinZFor(tile))) m_.env_.Redraw();
  m_.Dragging = true;
}

// With Shift down the mouse points at an entry: the scene tints it.
void ImmediateTool::PointAtEntry(int px, int py) {
  const PickName name = PickName::Decode(m_.env_.PickTile(px, py));
  if (name.Empty()) {
    m_.HoverLayer = -1;
    m_.ClearHover();
    return;
  }
  if (name.x == m_.HoverX && name.y == m_.HoverY && name.layer == m_.HoverLayer) {
    m_.env_.SetTimerEnabled(true);
    return;
  }
  m_.HoverX = name.x;
  m_.HoverY = name.y;
  m_.HoverLayer = name.layer;
  m_.env_.Redraw();
  m_.env_.SetTimerEnabled(true);
}

void ImmediateTool::Move(int px, int py) {
  if (m_.ShiftDown) {
    PointAtEntry(px, py);
    return;
  }
  // Paint while dragging.
  int x, y;
  if (!m_.CellAt(px, py, &x, &y)) {
    m_.ClearHover();
    return;
  }
  if (m_.Dragging && (x != m_.HoverX || y != m_.HoverY)) {
    if (m_.edit_.AutoStairs) {
      m_.PlaceStairs(x, y);
      m_.env_.Redraw();
    } else {
      const uint16_t tile = m_.edit_.Tile;
      // The stroke shares the snapshot taken on press.
      if (m_.PlaceAt(x, y, tile, m_.MinZFor(tile))) m_.env_.Redraw();
    }
  }
  m_.SetHover(x, y);
}

void ImmediateTool::Release(MouseButton button, bool shift, int px, int py) {
  int x, y;
  if (button == MouseButton::Right) {
    if (m_.CellAt(px, py, &x, &y)) {
      m_.DetailX = x;
      m_.DetailY = y;
      m_.env_.RefreshDetailList();
    }
    return;
  }
  if (button != MouseButton::Left) return;
  const int floor = m_.edit_.Floor;
  if (shift) {
    const PickName name = PickName::Decode(m_.env_.PickTile(px, py));
    if (!name.Empty()) {
      m_.DetailX = name.x;
      m_.DetailY = name.y;
      m_.doc_.DeleteEntry(name.x, name.y, floor, name.layer);  // refuses locked parts itself
      m_.env_.RefreshDetailList();
    }
  } else if (m_.CellAt(px, py, &x, &y)) {
    m_.DetailX = x;
    m_.DetailY = y;
    if (m_.edit_.AutoStairs) {
      m_.env_.RefreshDetailList();
      m_.Dragging = false;
      return;
    }
    const uint16_t tile = m_.edit_.Tile;
    // Before any tile was chosen a click places nothing (and leaves no
    // empty undo step).
    if (tile != 0 && !m_.doc_.IsPressPart(tile) && TTAVIDoc::ValidFloor(floor)) {
      m_.doc_.PushUndo(floor);
      if (m_.PlaceAt(x, y, tile, m_.edit_.Alt)) m_.env_.Redraw();
    }
    m_.env_.RefreshDetailList();
  }
  m_.Dragging = false;
}

bool ImmediateTool::Preview(FloorImage& scratch) {
  if (m_.ShiftDown) return false;
  const int floor = m_.edit_.Floor;
  std::memcpy(&scratch, &m_.doc_.Tiles[floor], sizeof(FloorImage));
  if (!m_.edit_.AutoStairs && m_.edit_.Tile == 0) return false;
  if (m_.edit_.AutoStairs) {
    m_.doc_.PlaceAutoStairs(m_.HoverX, m_.HoverY, true, scratch, m_.edit_.StairsDirection,
                            m_.edit_.PlacedStairsRow(), floor);
  } else {
    m_.doc_.PlaceTile(m_.HoverX, m_.HoverY, true, scratch, m_.edit_.Alt, m_.edit_.Tile, floor);
  }
  return true;
}

}  // namespace tavi
