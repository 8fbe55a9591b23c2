#include "io/stacking.h"

namespace tavi {

bool StackImportedTile(FloorImage& floor, int x, int y, uint16_t id, int16_t z, bool isFloorTile) {
  if (x < 0 || y < 0 || x >= kGrid || y >= kGrid) return false;
  for (int layer = 0; layer < kLayers; ++layer) {
    TileEntry& e = floor[layer][y][x];
    if (e.Id == 0) {
      e.Id = id;
      e.Z = z;
      return true;
    }
    if (e.Z > z || (e.Z == z && isFloorTile)) {
      for (int up = kLayers - 1; up > layer; --up) floor[up][y][x] = floor[up - 1][y][x];
      e.Id = id;  // the Mark of this layer stays as it was
      e.Z = z;
      return true;
    }
  }
  return false;
}

void SplitAltitude(int z, int split, int* floor, int* zOnFloor) {
  if (z < split) {
    *floor = 0;
    *zOnFloor = z;
    return;
  }
  *floor = (z - split) / 20 + 1;
  *zOnFloor = (z - split) % 20;
}

}  // namespace tavi
