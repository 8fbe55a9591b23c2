#pragma once
// The raw part tables, generated from data/aos-tables.txt (see tools/gen_aos_tables.py).
#include <cstdint>

namespace tavi {
extern const uint16_t kAosTableWalls[][13];
extern const uint16_t kAosTableDoors[][13];
extern const uint16_t kAosTableFloors[][13];
extern const uint16_t kAosTableStairs[][13];
extern const uint16_t kAosTableRoofs[][13];
extern const uint16_t kAosTableEnchancements[][13];
extern const int kAosTableWallsRows, kAosTableDoorsRows, kAosTableFloorsRows, kAosTableStairsRows,
    kAosTableRoofsRows, kAosTableEnchancementsRows;
}  // namespace tavi
