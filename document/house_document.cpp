#include "document/house_document.h"

#include <algorithm>

namespace tavi {

namespace {
int ClampSize(int v) {
  return std::clamp(v, 1, kGrid);
}
}  // namespace

TTAVIDoc::TTAVIDoc(int width, int height, const ITileFacts* facts, IDocHost* host)
    : Width(ClampSize(width)), Height(ClampSize(height)), facts_(facts), host_(nullptr) {
  SetHost(host);
  std::memset(LayerCount, 0, sizeof(LayerCount));
  std::memset(TopZ, 0, sizeof(TopZ));
  std::memset(Tiles, 0, sizeof(Tiles));
  std::memset(UndoFloor, 0, sizeof(UndoFloor));
}

TTAVIDoc::~TTAVIDoc() = default;

void TTAVIDoc::SetSize(int width, int height) {
  Width = ClampSize(width);
  Height = ClampSize(height);
}

void TTAVIDoc::UpdateCell(int x, int y, int floor) {
  if (x < 0 || y < 0 || x >= kGrid || y >= kGrid || !ValidFloor(floor)) return;
  LayerCount[floor][y][x] = 0;
  TopZ[floor][y][x] = 0;
  for (int layer = kLayers - 1; layer >= 0; --layer) {
    const TileEntry& e = Tiles[floor][layer][y][x];
    if (e.Id != 0) {
      LayerCount[floor][y][x] = layer + 1;
      TopZ[floor][y][x] = e.Z + TileHeight(e.Id);
      return;
    }
  }
}

void TTAVIDoc::UpdateFloorCells(int floor, int width, int height) {
  if (!ValidFloor(floor)) return;
  width = std::clamp(width, 0, kGrid);
  height = std::clamp(height, 0, kGrid);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) LayerCount[floor][y][x] = TopZ[floor][y][x] = 0;
  // Layers in ascending order: the highest non-empty entry of a cell is the
  // last one written. Reading the image in memory order keeps this cheap.
  for (int layer = 0; layer < kLayers; ++layer)
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const TileEntry& e = Tiles[floor][layer][y][x];
        if (e.Id == 0) continue;
        LayerCount[floor][y][x] = layer + 1;
        TopZ[floor][y][x] = e.Z + TileHeight(e.Id);
      }
}

void TTAVIDoc::UpdateAllCells() {
  for (int f = 0; f < kFloors; ++f) UpdateFloorCells(f, kGrid, kGrid);
}

void TTAVIDoc::Clear(bool withFoundation) {
  for (auto& floor : Tiles)
    for (auto& layer : floor)
      for (auto& row : layer)
        for (auto& e : row) {
          e.Z = 0;
          e.Id = 0;
        }
  if (withFoundation) {
    const int W = Width, H = Height;
    // Writes outside the plot (plots narrower or shallower than 2 cells) are skipped.
    auto put = [&](int x, int y, int layer, uint16_t id, int16_t z) {
      if (!InPlot(x, y)) return;
      Tiles[0][layer][y][x].Id = id;
      Tiles[0][layer][y][x].Z = z;
      Tiles[0][layer][y][x].Mark = 0;
    };
    put(0, 0, 0, 102, 0);
    for (int y = 1; y <= H - 2; ++y) put(0, y, 0, 100, 0);
    for (int x = 1; x <= W - 3; ++x) put(x, H - 2, 0, 99, 0);
    put(W - 2, H - 2, 0, 101, 0);
    for (int y = 1; y <= H - 3; ++y) put(W - 2, y, 0, 100, 0);
    for (int x = 1; x <= W - 2; ++x) put(x, 0, 0, 99, 0);
    for (int y = 1; y <= H - 2; ++y)
      for (int x = 1; x <= W - 2; ++x) put(x, y, Tiles[0][0][y][x].Id == 0 ? 0 : 1, 12788, 7);
    for (int x = 1; x <= W - 2; ++x) put(x, H - 1, 0, 1873, 0);
    put(0, H - 2, 1, 9, 7);
    put(0, H - 1, 0, 3026, 7);
    put(0, H - 1, 1, 2970, 7);
  }
  UpdateAllCells();
  ResetUndo();
  Recalculate();
}

bool TTAVIDoc::IsFloorTile(uint16_t id) const {
  return facts_ && facts_->TileHeight(id) == 0 && facts_->IsBackground(id);
}

bool TTAVIDoc::IsWallPart(uint16_t id) const {
  const uint16_t c = Category(id);
  return (c & kCatPart) && !(c & (kCatFloorKind | kCatRoofKind));
}

bool TTAVIDoc::IsRoofPart(uint16_t id) const {
  const uint16_t c = Category(id);
  return (c & kCatPart) && (c & kCatRoofKind);
}

bool TTAVIDoc::IsPressPart(uint16_t id) const {
  return IsFloorTile(id) || IsWallPart(id) || IsRoofPart(id);
}

// ---- undo ring: 17 floor images, at most 16 steps ----

void TTAVIDoc::ResetUndo() {
  UndoTop = UndoBottom = UndoPos;
  Modified = false;
}

void TTAVIDoc::PushUndo(int floor) {
  if (!ValidFloor(floor)) return;
  const int next = (UndoPos + 1) % kUndoSlots;
  if (next == UndoBottom) UndoBottom = (UndoBottom + 1) % kUndoSlots;
  std::memcpy(UndoSlots[UndoPos], Tiles[floor], sizeof(FloorImage));
  UndoFloor[UndoPos] = floor;
  UndoPos = next;
  UndoTop = next;
}

int TTAVIDoc::Undo() {
  if (UndoPos == UndoBottom) return 0;
  const int old = UndoPos;
  UndoPos = (old + kUndoSlots - 1) % kUndoSlots;
  const int f = UndoFloor[UndoPos];
  std::memcpy(UndoSlots[old], Tiles[f], sizeof(FloorImage));
  UndoFloor[old] = f;
  std::memcpy(Tiles[f], UndoSlots[UndoPos], sizeof(FloorImage));
  UpdateFloorCells(f, Width, Height);
  // The house differs from what was last saved (or loaded): a Save, Undo,
  // Close must still ask.
  Modified = true;
  Recalculate();
  return f;
}

int TTAVIDoc::Redo() {
  if (UndoPos == UndoTop) return 0;
  UndoPos = (UndoPos + 1) % kUndoSlots;
  const int f = UndoFloor[UndoPos];
  std::memcpy(Tiles[f], UndoSlots[UndoPos], sizeof(FloorImage));
  UpdateFloorCells(f, Width, Height);
  Modified = true;
  Recalculate();
  return f;
}

}  // namespace tavi
