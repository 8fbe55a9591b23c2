#pragma once
// A scratch house: plot size and the five floor images. Loaders fill one of
// these and hand it to the document only when the whole read succeeded, so a
// failed load never costs the user the house on screen.
#include <cstdint>
#include <memory>

#include "document/house_document.h"

namespace tavi {

struct HouseImage {
  int Width = 1;
  int Height = 1;
  // The house's base height. Readers set it through SetBaseHeight (0..9);
  // the writers write it as it is.
  int BaseHeight = kDefaultBaseHeight;
  FloorImage Tiles[kFloors];  // about 1 MB: allocate with NewHouseImage()

  void SetBaseHeight(int stored) { BaseHeight = ClampBaseHeight(stored); }
  // Empties every entry (all fields 0).
  void ClearTiles();
  // Puts (id, z) into the lowest empty layer of a cell; false when the cell is
  // full or the floor or cell lies outside the 32 x 32 block.
  bool Append(int floor, int x, int y, uint16_t id, int16_t z);
  // Closes gaps in the stack of every plot cell, keeping the order of the
  // entries: the editor draws a stack only up to its first empty layer.
  void CompactStacks();
  // Number of non-empty entries inside the plot.
  int CountEntries() const;
};

std::unique_ptr<HouseImage> NewHouseImage();
// Copies the document's plot size, base height and tiles.
std::unique_ptr<HouseImage> ImageOfDocument(const TTAVIDoc& doc);

// Replaces the document's tiles (Z and Id; Mark stays as it was), plot size
// and base height with the image's, recomputes every cell, empties the undo
// history, clears Modified and runs Recalculate.
void TakeOverImage(TTAVIDoc& doc, const HouseImage& image);

}  // namespace tavi
