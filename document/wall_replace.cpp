// Re-skinning parts: every table lists its pieces in the same column order in
// every row (one row per material), so the piece in column c of one row has the
// same shape as the piece in column c of any other row.
#include <algorithm>
#include <array>

#include "document/aos_tables.h"
#include "document/house_document.h"

namespace tavi {

namespace {

int TableType(ReplaceTable t) {
  switch (t) {
    case ReplaceTable::kWalls:
      return kAosWalls;
    case ReplaceTable::kDoors:
      return kAosDoors;
    case ReplaceTable::kStairs:
      return kAosStairs;
    case ReplaceTable::kEnchancements:
      return kAosEnchancements;
  }
  return -1;
}

// Column of the first occurrence (lowest row, then lowest column) of every id
// in one table; -1 for ids not in it. Built once per table.
using ColumnIndex = std::array<int8_t, 0x10000>;

ColumnIndex BuildColumnIndex(int type) {
  ColumnIndex index;
  index.fill(-1);
  for (int row = 0; row < AosTableRows(type); ++row)
    for (int col = 0; col < kAosColumns; ++col) {
      const uint16_t id = ObjectTableAt(type, col, row);
      if (id != 0 && index[id] < 0) index[id] = int8_t(col);
    }
  return index;
}

const ColumnIndex& ColumnsOf(ReplaceTable t) {
  static const ColumnIndex walls = BuildColumnIndex(kAosWalls);
  static const ColumnIndex doors = BuildColumnIndex(kAosDoors);
  static const ColumnIndex stairs = BuildColumnIndex(kAosStairs);
  static const ColumnIndex enchancements = BuildColumnIndex(kAosEnchancements);
  switch (t) {
    case ReplaceTable::kWalls:
      return walls;
    case ReplaceTable::kDoors:
      return doors;
    case ReplaceTable::kStairs:
      return stairs;
    case ReplaceTable::kEnchancements:
      break;
  }
  return enchancements;
}

}  // namespace

namespace {

// Whether a replacement can run: a known table and floor, a selection that
// spans at least two columns and two rows, and a row of the table (an
// unknown material row would empty every piece found).
bool ReplacementUsable(int type, int floor, const CellRect& rect, int targetRow) {
  if (type < 0 || !TTAVIDoc::ValidFloor(floor) || rect.Empty()) return false;
  if (rect.Left == rect.Right || rect.Top == rect.Bottom) return false;
  return targetRow >= 0 && targetRow < AosTableRows(type);
}

}  // namespace

bool TTAVIDoc::ReplaceParts(ReplaceTable table, const CellRect& rect, int floor, int targetRow) {
  const int type = TableType(table);
  if (!ReplacementUsable(type, floor, rect, targetRow)) return false;
  CellRect r;
  const bool inside = ClipToPlot(rect, &r);
  EditScope edit(*this, floor);
  edit.Changed();
  if (inside) {
    const ColumnIndex& columns = ColumnsOf(table);
    for (int y = r.Top; y <= r.Bottom; ++y)
      for (int x = r.Left; x <= r.Right; ++x) {
        const uint16_t base = Tiles[floor][0][y][x].Id;
        const int layer = (base != 0 && IsFloorTile(base)) ? 1 : 0;
        TileEntry& e = Tiles[floor][layer][y][x];
        if (e.Id == 0 || columns[e.Id] < 0) continue;
        const uint16_t to = ObjectTableAt(type, columns[e.Id], targetRow);
        if (to != 0) {
          e.Id = to;
        } else {
          // The material has no piece of that shape: the piece goes, and what
          // stood on it closes up so the stack stays packed.
          RemoveLayer(x, y, floor, layer);
        }
        edit.Cell(x, y, floor);
      }
  }
  return true;
}

}  // namespace tavi
