#pragma once
// The six customization-part tables (walls, doors, floors, stairs, roofs,
// enchancements), 13 ids a row, compiled in from data/aos-tables.txt by
// tools/gen_aos_tables.py, and the category words derived from them.
#include <cstdint>
#include <functional>

namespace tavi {

constexpr int kAosColumns = 13;
// Types as the AoS window lists them: 0 Walls, 1 Doors, 2 Floors, 3 Stairs,
// 4 Stairs(Auto Stack), 5 Roofs, 6 Enchancements.
constexpr int kAosTypeCount = 7;
enum AosType {
  kAosWalls = 0,
  kAosDoors,
  kAosFloors,
  kAosStairs,
  kAosAutoStairs,
  kAosRoofs,
  kAosEnchancements
};

// Number of rows of a type (type 4 shares the stairs rows); 0 outside 0..6.
int AosTableRows(int type);
// The id at (column, row) of a type, or 0: 0 for an unknown type, a row or
// column out of range, and for type 4 outside columns 1..4.
uint16_t ObjectTableAt(int type, int column, int row);

// Fills categories[0 .. 0x3FFF] from the tables; height(id) gives the item
// height used by the tall/short rule. Every word starts at 0.
void BuildTileCategories(const std::function<int(uint16_t)>& height, uint16_t* categories);

}  // namespace tavi
