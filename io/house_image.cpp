#include "io/house_image.h"

#include <cstring>

namespace tavi {

void HouseImage::ClearTiles() {
  std::memset(Tiles, 0, sizeof(Tiles));
}

bool HouseImage::Append(int floor, int x, int y, uint16_t id, int16_t z) {
  if (floor < 0 || floor >= kFloors || x < 0 || y < 0 || x >= kGrid || y >= kGrid) return false;
  for (int layer = 0; layer < kLayers; ++layer) {
    TileEntry& e = Tiles[floor][layer][y][x];
    if (e.Id == 0) {
      e.Id = id;
      e.Z = z;
      return true;
    }
  }
  return false;
}

namespace {

// Moves the entries of the stack at (x, y) down over its empty layers,
// keeping their order, and empties the layers above them.
void CompactStack(FloorImage& floor, int x, int y) {
  int to = 0;
  for (int from = 0; from < kLayers; ++from) {
    const TileEntry e = floor[from][y][x];
    if (e.Id == 0) continue;
    if (to != from) floor[to][y][x] = e;
    ++to;
  }
  for (; to < kLayers; ++to) floor[to][y][x] = TileEntry{0, 0, 0};
}

}  // namespace

void HouseImage::CompactStacks() {
  // Loaders write inside the plot only.
  const int w = Width < kGrid ? Width : kGrid, h = Height < kGrid ? Height : kGrid;
  for (int f = 0; f < kFloors; ++f)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) CompactStack(Tiles[f], x, y);
}

int HouseImage::CountEntries() const {
  int count = 0;
  for (int f = 0; f < kFloors; ++f)
    for (int layer = 0; layer < kLayers; ++layer)
      for (int y = 0; y < Height && y < kGrid; ++y)
        for (int x = 0; x < Width && x < kGrid; ++x) count += Tiles[f][layer][y][x].Id != 0;
  return count;
}

std::unique_ptr<HouseImage> NewHouseImage() {
  // Default-initialised, so the tiles are cleared once, here.
  std::unique_ptr<HouseImage> image(new HouseImage);
  image->ClearTiles();
  return image;
}

std::unique_ptr<HouseImage> ImageOfDocument(const TTAVIDoc& doc) {
  std::unique_ptr<HouseImage> image(new HouseImage);  // every tile is copied below
  image->Width = doc.Width;
  image->Height = doc.Height;
  image->BaseHeight = doc.BaseHeight();
  std::memcpy(image->Tiles, doc.Tiles, sizeof(image->Tiles));
  return image;
}

void TakeOverImage(TTAVIDoc& doc, const HouseImage& image) {
  for (int f = 0; f < kFloors; ++f)
    for (int layer = 0; layer < kLayers; ++layer)
      for (int y = 0; y < kGrid; ++y)
        for (int x = 0; x < kGrid; ++x) {
          TileEntry& e = doc.Tiles[f][layer][y][x];
          const TileEntry& src = image.Tiles[f][layer][y][x];
          e.Z = src.Z;
          e.Id = src.Id;
        }
  doc.SetSize(image.Width, image.Height);
  doc.SetBaseHeight(image.BaseHeight);
  doc.UpdateAllCells();
  // The old house's floors in the undo ring would mix into the new house.
  doc.ResetUndo();
  doc.Modified = false;
  doc.Recalculate();
}

}  // namespace tavi
