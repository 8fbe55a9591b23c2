#pragma once
// How imported tiles are stacked into a cell: entries stay ordered by Z, and
// among entries of equal Z flat background tiles go below the others.
#include <algorithm>
#include <cstdint>
#include <string>

#include "document/house_document.h"

namespace tavi {

// Stacks (id, z) into cell (x, y) of a floor image. Walks layers 0..31: an
// empty layer takes the tile; a layer with a greater Z, or an equal Z when the
// new tile is a floor tile, is pushed up with everything above it (the entry
// of layer 31 falls off) and takes the tile; a full cell with no such layer
// drops it. Returns false when the tile was dropped.
bool StackImportedTile(FloorImage& floor, int x, int y, uint16_t id, int16_t z, bool isFloorTile);

// Splits an absolute altitude at `split` into a floor and a Z on it: below
// `split` floor 0, else floor (z - split) div 20 + 1 with the remainder.
void SplitAltitude(int z, int split, int* floor, int* zOnFloor);

// The cells a house's components cover, in 64 bits so that extreme
// coordinates cannot overflow. `parts` is a non-empty list of items with x
// and y members.
struct Footprint {
  int64_t minX = 0, minY = 0, width = 0, height = 0;
  bool FitsPlot() const { return width <= kGrid && height <= kGrid; }
  std::string Size() const { return std::to_string(width) + "x" + std::to_string(height); }
};

template <class Parts>
Footprint FootprintOf(const Parts& parts) {
  int64_t minX = parts.front().x, maxX = minX, minY = parts.front().y, maxY = minY;
  for (const auto& p : parts) {
    minX = std::min<int64_t>(minX, p.x);
    maxX = std::max<int64_t>(maxX, p.x);
    minY = std::min<int64_t>(minY, p.y);
    maxY = std::max<int64_t>(maxY, p.y);
  }
  return {minX, minY, maxX - minX + 1, maxY - minY + 1};
}

}  // namespace tavi
