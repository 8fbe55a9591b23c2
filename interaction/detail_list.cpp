#include "interaction/detail_list.h"

#include <cstdio>

#include "client/tile_data.h"

namespace tavi {

namespace {

bool InGrid(int floor, int x, int y) {
  return x >= 0 && y >= 0 && x < kGrid && y < kGrid && TTAVIDoc::ValidFloor(floor);
}

}  // namespace

std::vector<std::string> DetailLines(const TTAVIDoc& doc, const TUOTileData* tiles, int floor,
                                     int x, int y) {
  std::vector<std::string> lines;
  if (!InGrid(floor, x, y)) return lines;
  for (int layer = kLayers - 1; layer >= 0; --layer) {
    const TileEntry& e = doc.Tiles[floor][layer][y][x];
    if (e.Id == 0) continue;
    const std::string name = tiles ? tiles->ItemName(e.Id) : std::string();
    const int height = tiles ? tiles->ItemData[e.Id].Height : doc.TileHeight(e.Id);
    char z[16], h[16];
    std::snprintf(z, sizeof z, "%2d:", e.Z);
    std::snprintf(h, sizeof h, "(%d)", height);
    lines.push_back(z + name + h);
  }
  return lines;
}

bool DetailListComplete(const TTAVIDoc& doc, int floor, int x, int y, int lineCount) {
  return InGrid(floor, x, y) && lineCount == doc.LayerCount[floor][y][x];
}

int LayerOfDetailLine(int lineCount, int line) {
  return line < 0 ? -1 : lineCount - line - 1;
}

}  // namespace tavi
