// Removing and moving the entries of a cell's stack: the rectangle delete, the
// picked-entry delete and the detail list's up, down and delete.
#include <algorithm>
#include <limits>
#include <utility>

#include "document/house_document.h"

namespace tavi {

namespace {

int16_t ClampZ(int z) {
  return int16_t(std::clamp(z, int(std::numeric_limits<int16_t>::min()),
                            int(std::numeric_limits<int16_t>::max())));
}

void EmptyEntry(TileEntry& e) {
  e.Id = 0;
  e.Z = 0;
}

}  // namespace

void TTAVIDoc::RemoveLayer(int x, int y, int floor, int layer) {
  FloorImage& image = Tiles[floor];
  for (int n = layer; n < kLayers - 1; ++n) image[n][y][x] = image[n + 1][y][x];
  EmptyEntry(image[kLayers - 1][y][x]);
}

void TTAVIDoc::DeleteInRect(const CellRect& rect, int floor) {
  CellRect r;
  if (!ValidFloor(floor) || !ClipToPlot(rect, &r)) return;
  EditScope edit(*this, floor);
  const bool lock = host_->PartsLock();
  for (int y = r.Top; y <= r.Bottom; ++y)
    for (int x = r.Left; x <= r.Right; ++x) {
      for (int l = kLayers - 1; l >= 0; --l) {
        TileEntry& e = Tiles[floor][l][y][x];
        if (e.Id == 0) continue;
        if (!lock) {
          EmptyEntry(e);
          edit.Changed();
          break;
        }
        if (Category(e.Id) & kCatPart) continue;
        edit.Changed();
        RemoveLayer(x, y, floor, l);
        break;
      }
      edit.Cell(x, y, floor);
    }
}

void TTAVIDoc::DeleteEntry(int x, int y, int floor, int layer) {
  if (!ValidCell(x, y, floor) || layer < 0 || layer >= kLayers) return;
  FloorImage& image = Tiles[floor];
  const TileEntry picked = image[layer][y][x];
  if (picked.Id == 0 || LockedPart(picked.Id)) return;
  EditScope edit(*this, floor);
  edit.Cell(x, y, floor);
  edit.Changed();
  if (layer == kLayers - 1) {
    EmptyEntry(image[layer][y][x]);
  } else {
    // What rested exactly on top of the removed tile drops by its height.
    const int height = TileHeight(picked.Id);
    const int d = image[layer + 1][y][x].Z == picked.Z + height ? height : 0;
    int n = layer;
    for (; n < kLayers - 1 && image[n][y][x].Id != 0; ++n) {
      TileEntry& dst = image[n][y][x];
      dst = image[n + 1][y][x];
      if (dst.Id != 0)
        dst.Z = ClampZ(dst.Z - d);
      else
        dst.Z = 0;
    }
    // Layer 31 is emptied only when the move reached it: entries standing
    // above a gap in a loaded stack are not lost.
    if (n == kLayers - 1) EmptyEntry(image[kLayers - 1][y][x]);
  }
}

int TTAVIDoc::RaiseEntry(int x, int y, int floor, int layer) {
  if (!ValidCell(x, y, floor)) return -1;
  const int count = LayerCount[floor][y][x];
  if (layer < 0 || layer >= count) return -1;
  FloorImage& image = Tiles[floor];
  TileEntry& e = image[layer][y][x];
  const bool top = layer == count - 1;
  if (top && e.Z == 20) return -1;
  const bool swap = !top && e.Z >= image[layer + 1][y][x].Z;
  if (!swap && e.Z == std::numeric_limits<int16_t>::max()) return -1;  // no wrap-around
  EditScope edit(*this, floor);
  edit.Cell(x, y, floor);
  edit.Changed();
  int result;
  if (swap) {
    std::swap(e, image[layer + 1][y][x]);
    result = count - layer - 2;
  } else {
    ++e.Z;
    result = count - layer - 1;
  }
  return result;
}

int TTAVIDoc::LowerEntry(int x, int y, int floor, int layer) {
  if (!ValidCell(x, y, floor)) return -1;
  const int count = LayerCount[floor][y][x];
  if (layer < 0 || layer >= count) return -1;
  FloorImage& image = Tiles[floor];
  TileEntry& e = image[layer][y][x];
  if (layer == 0 && e.Z == -3) return -1;
  const bool swap = layer > 0 && e.Z <= image[layer - 1][y][x].Z;
  if (!swap && e.Z == std::numeric_limits<int16_t>::min()) return -1;  // no wrap-around
  EditScope edit(*this, floor);
  edit.Cell(x, y, floor);
  edit.Changed();
  int result;
  if (swap) {
    std::swap(e, image[layer - 1][y][x]);
    result = count - layer;
  } else {
    --e.Z;
    result = count - layer - 1;
  }
  return result;
}

void TTAVIDoc::RemoveEntry(int x, int y, int floor, int layer) {
  if (!ValidCell(x, y, floor) || layer < 0 || layer >= kLayers) return;
  const uint16_t id = Tiles[floor][layer][y][x].Id;
  // An empty entry has nothing to remove (the top entry stays).
  if (id == 0 || LockedPart(id)) return;
  EditScope edit(*this, floor);
  RemoveLayer(x, y, floor, layer);
  edit.Cell(x, y, floor);
  edit.Changed();
}

}  // namespace tavi
