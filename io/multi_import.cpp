#include "io/multi_import.h"

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
  for (const MultiComponent& c : components) {
    int floor, z;
    SplitAltitude(c.z, baseHeight, &floor, &z);
    if (floor >= kFloors) continue;  // above the top floor
    StackImportedTile(image.Tiles[floor], int(c.x - area.minX), int(c.y - area.minY), c.id,
                      static_cast<int16_t>(z), IsFloor(facts, c.id));
  }
  // A component of tile 0 takes part in the stacking like any other but
  // leaves an empty layer, which must not hide the entries above it.
  image.CompactStacks();
  return true;
}

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
