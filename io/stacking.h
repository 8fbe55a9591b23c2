#pragma once
// How imported tiles are stacked into a cell: entries stay ordered by Z, and
// among entries of equal Z flat background tiles go below the others.
#include <cstdint>

#include "document/u_document.h"

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

}  // namespace tavi
