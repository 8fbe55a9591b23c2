#include "io/multi_import.h"

#include "io/design.h"
#include "io/stacking.h"

namespace tavi {

namespace {

bool IsFloor(const ITileFacts* facts, uint16_t id) {
  return facts && facts->TileHeight(id) == 0 && facts->IsBackground(id);
}

}  // namespace

bool BuildMultiImage(const std::vector<MultiComponent>& components, int baseHeight,
                     const ITileFacts* facts, HouseImage& image, std::string* error) {
  image.ClearTiles();
  if (components.empty()) {
    *error = "the multi has no components";
    return false;
  }
  const Footprint area = FootprintOf(components);
  if (!area.FitsPlot()) {
    *error = "the multi covers " + area.Size() + " cells; a plot holds at most 32x32";
    return false;
  }
  image.Width = int(area.width);
  image.Height = int(area.height);
  image.SetBaseHeight(baseHeight);
  LayComponents(components, area.minX, area.minY, baseHeight, facts, image);
  return true;
}

template <class Part>
LaidCount LayComponents(const std::vector<Part>& components, int64_t originX, int64_t originY,
                        int baseHeight, const ITileFacts* facts, HouseImage& image,
                        bool skipEmpty) {
  LaidCount count;
  // The stacking rule keeps every stack ordered by Z with no gaps, so a tile
  // that goes on top of its cell is appended without walking the layers.
  // Each cell remembers its height and top Z; a tile 0, which leaves an
  // empty layer inside a stack, sends its cell to the full walk for good.
  constexpr int16_t kIrregular = -1;
  std::vector<int16_t> height(size_t(kFloors) * kGrid * kGrid, 0);
  std::vector<int16_t> topZ(height.size(), 0);
  for (const Part& c : components) {
    if (skipEmpty && c.id == 0) continue;
    int floor, z;
    SplitAltitude(c.z, baseHeight, &floor, &z);
    if (floor >= kFloors) {  // above the top floor
      ++count.aboveTop;
      continue;
    }
    const int64_t x = c.x - originX, y = c.y - originY;
    if (x < 0 || y < 0 || x >= kGrid || y >= kGrid) {
      ++count.dropped;
      continue;
    }
    const size_t cell = (size_t(floor) * kGrid + size_t(y)) * kGrid + size_t(x);
    const bool isFloor = IsFloor(facts, c.id);
    const int n = height[cell];
    if (c.id != 0 && n != kIrregular && n < kLayers &&
        (n == 0 || topZ[cell] < z || (topZ[cell] == z && !isFloor))) {
      TileEntry& e = image.Tiles[floor][n][y][x];
      e.Id = c.id;
      e.Z = static_cast<int16_t>(z);
      height[cell] = int16_t(n + 1);
      topZ[cell] = static_cast<int16_t>(z);
      continue;
    }
    if (!StackImportedTile(image.Tiles[floor], int(x), int(y), c.id, static_cast<int16_t>(z),
                           isFloor)) {
      ++count.dropped;
      continue;
    }
    if (c.id == 0 || n == kIrregular) {
      height[cell] = kIrregular;
    } else if (n < kLayers) {
      height[cell] = int16_t(n + 1);
      topZ[cell] = image.Tiles[floor][n][y][x].Z;
    } else {
      topZ[cell] = image.Tiles[floor][kLayers - 1][y][x].Z;  // the old top fell off
    }
  }
  // A component of tile 0 takes part in the stacking like any other but
  // leaves an empty layer, which must not hide the entries above it.
  image.CompactStacks();
  return count;
}

template LaidCount LayComponents(const std::vector<MultiComponent>&, int64_t, int64_t, int,
                                 const ITileFacts*, HouseImage&, bool);
template LaidCount LayComponents(const std::vector<DesignComponent>&, int64_t, int64_t, int,
                                 const ITileFacts*, HouseImage&, bool);

LoadResult ImportMulti(TTAVIDoc& doc, const std::vector<MultiComponent>& components,
                       int baseHeight) {
  std::string error;
  auto image = NewHouseImage();
  if (!BuildMultiImage(components, baseHeight, doc.Facts(), *image, &error))
    return LoadResult::Failure(error);
  TakeOverImage(doc, *image);
  return LoadResult::Success(baseHeight);
}

}  // namespace tavi
