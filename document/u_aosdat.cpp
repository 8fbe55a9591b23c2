#include "document/u_aosdat.h"

#include "document/aos_tables_data.h"

namespace tavi {

namespace {

struct TableRef {
  const uint16_t (*rows)[13];
  int count;
};

TableRef TableOf(int type) {
  switch (type) {
    case kAosWalls: return {kAosTableWalls, kAosTableWallsRows};
    case kAosDoors: return {kAosTableDoors, kAosTableDoorsRows};
    case kAosFloors: return {kAosTableFloors, kAosTableFloorsRows};
    case kAosStairs:
    case kAosAutoStairs: return {kAosTableStairs, kAosTableStairsRows};
    case kAosRoofs: return {kAosTableRoofs, kAosTableRoofsRows};
    case kAosEnchancements: return {kAosTableEnchancements, kAosTableEnchancementsRows};
    default: return {nullptr, 0};
  }
}

}  // namespace

int AosTableRows(int type) { return TableOf(type).count; }

uint16_t ObjectTableAt(int type, int column, int row) {
  const TableRef t = TableOf(type);
  if (!t.rows || row < 0 || row >= t.count || column < 0 || column >= kAosColumns) return 0;
  if (type == kAosAutoStairs && (column < 1 || column > 4)) return 0;
  return t.rows[row][column];
}

void BuildTileCategories(const std::function<int(uint16_t)>& /*height*/, uint16_t* categories) {
  // TODO(client): the full construction table.
  for (int i = 0; i < 0x4000; ++i) categories[i] = 0;
}

}  // namespace tavi
