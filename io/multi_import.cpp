#include "io/multi_import.h"

#include <fstream>

#include "io/stacking.h"

namespace tavi {

namespace {

int32_t Int32At(const unsigned char* p) {
  return static_cast<int32_t>(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
                              (uint32_t(p[3]) << 24));
}
int16_t Int16At(const unsigned char* p) {
  return static_cast<int16_t>(uint16_t(p[0] | (p[1] << 8)));
}

int64_t StreamSize(std::istream& s) {
  s.clear();
  s.seekg(0, std::ios::end);
  const auto end = s.tellg();
  s.seekg(0, std::ios::beg);
  return end < 0 ? -1 : static_cast<int64_t>(end);
}

bool IsFloor(const ITileFacts* facts, uint16_t id) {
  return facts && facts->TileHeight(id) == 0 && facts->IsBackground(id);
}

}  // namespace

bool ReadMultiComponents(std::istream& idx, std::istream& mul, int multiId,
                         std::vector<MultiComponent>* out, std::string* error) {
  out->clear();
  const std::string which = "multi " + std::to_string(multiId);
  const int64_t idxSize = StreamSize(idx);
  if (multiId < 0 || idxSize < 0 || int64_t(multiId) * 12 + 12 > idxSize) {
    *error = which + " is not in multi.idx";
    return false;
  }
  unsigned char entry[12];
  idx.seekg(int64_t(multiId) * 12);
  if (!idx.read(reinterpret_cast<char*>(entry), 12)) {
    *error = "cannot read the entry of " + which + " from multi.idx";
    return false;
  }
  const int32_t offset = Int32At(entry);
  const int32_t length = Int32At(entry + 4);
  const int32_t count = length / 16;
  if (length <= 0 || count == 0) {
    *error = which + " has no components";
    return false;
  }
  const int64_t mulSize = StreamSize(mul);
  if (offset < 0 || mulSize < 0 || int64_t(offset) + int64_t(count) * 16 > mulSize) {
    *error = "the components of " + which + " lie outside multi.mul";
    return false;
  }
  // The size is bounded by the file just checked.
  std::vector<unsigned char> raw(size_t(count) * 16);
  mul.seekg(offset);
  if (!mul.read(reinterpret_cast<char*>(raw.data()), std::streamsize(raw.size()))) {
    *error = "cannot read the components of " + which + " from multi.mul";
    return false;
  }
  out->reserve(size_t(count));
  for (int32_t i = 0; i < count; ++i) {
    const unsigned char* r = raw.data() + size_t(i) * 16;
    out->push_back({static_cast<uint16_t>(r[0] | (r[1] << 8)), Int16At(r + 2), Int16At(r + 4),
                    Int16At(r + 6)});
  }
  return true;
}

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

LoadResult ImportMulti(TTAVIDoc& doc, int multiId, int baseHeight, const std::string& idxPath,
                       const std::string& mulPath) {
  std::ifstream idx(idxPath, std::ios::binary);
  if (!idx) return LoadResult::Failure("cannot open '" + idxPath + "'", LoadFailure::kFile);
  std::ifstream mul(mulPath, std::ios::binary);
  if (!mul) return LoadResult::Failure("cannot open '" + mulPath + "'", LoadFailure::kFile);
  std::vector<MultiComponent> components;
  std::string error;
  if (!ReadMultiComponents(idx, mul, multiId, &components, &error))
    return LoadResult::Failure(error);
  auto image = NewHouseImage();
  if (!BuildMultiImage(components, baseHeight, doc.Facts(), *image, &error))
    return LoadResult::Failure(error);
  TakeOverImage(doc, *image);
  return LoadResult::Success(baseHeight);
}

}  // namespace tavi
