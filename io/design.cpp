#include "io/design.h"

#include <algorithm>
#include <climits>

#include "io/multi_import.h"

namespace tavi {

namespace {

// floor(a / 2) for any sign.
int FloorHalf(int a) {
  return a >= 0 ? a / 2 : -((1 - a) / 2);
}

int OriginOf(int n) {
  return -FloorHalf(n - 1);
}

template <class Tiles>
size_t CountEntries(int width, int height, const Tiles& tiles) {
  size_t entries = 0;
  for (const auto& layer : tiles)
    for (int r = 0; r < height; ++r)
      for (int c = 0; c < width; ++c) entries += layer[r][c].Id != 0;
  return entries;
}

// One floor's entries, by rows, columns and layers.
template <class Floor>
void AppendFloor(const Floor& tiles, int floor, int width, int height, int floorZ,
                 const PlotFrame& frame, const DynamicTest& dynamic, Design* d) {
  for (int r = 0; r < height; ++r)
    for (int c = 0; c < width; ++c)
      for (int layer = 0; layer < kLayers; ++layer) {
        const TileEntry& e = tiles[layer][r][c];
        if (e.Id == 0) continue;
        DesignComponent p;
        p.id = e.Id;
        p.x = c + frame.minX;
        p.y = r + frame.minY;
        p.z = floorZ + e.Z;
        p.flags = dynamic && dynamic(e.Id) ? 0 : 1;
        p.level = int16_t(floor);
        d->components.push_back(p);
      }
}

template <class Tiles>
Design DesignOf(int width, int height, const Tiles& tiles, int baseHeight,
                const DynamicTest& dynamic) {
  Design d;
  const PlotFrame frame = FrameOfDocument(width, height);
  d.originX = frame.minX;
  d.originY = frame.minY;
  size_t entries = 0;
  for (int f = 0; f < kFloors; ++f) entries += CountEntries(width, height, tiles[f]);
  d.components.reserve(entries);
  for (int f = 0; f < kFloors; ++f)
    AppendFloor(tiles[f], f, width, height, f == 0 ? 0 : baseHeight + 20 * (f - 1), frame, dynamic,
                &d);
  return d;
}

struct Bounds {
  bool any = false;
  int64_t minX = 0, maxX = 0, minY = 0, maxY = 0, minZ = 0, maxZ = 0;
  void Add(const DesignComponent& c) {
    if (!any) {
      minX = maxX = c.x;
      minY = maxY = c.y;
      minZ = maxZ = c.z;
      any = true;
    }
    minX = std::min<int64_t>(minX, c.x);
    maxX = std::max<int64_t>(maxX, c.x);
    minY = std::min<int64_t>(minY, c.y);
    maxY = std::max<int64_t>(maxY, c.y);
    minZ = std::min<int64_t>(minZ, c.z);
    maxZ = std::max<int64_t>(maxZ, c.z);
  }
};

// The plot W x H that holds the design and the design's coordinates of
// cell (0, 0); false when no plot of the document does.
bool PlotFor(const Design& design, const Bounds& b, int* W, int* H, int64_t* originX,
             int64_t* originY) {
  const int maxPlot = kGrid - 1;  // the last column and the steps row are the document's
  *W = *H = 0;
  if (design.anchored) {
    for (int w = 1; w <= maxPlot && *W == 0; ++w)
      if (OriginOf(w) <= b.minX && OriginOf(w) + w - 1 >= b.maxX) *W = w;
    for (int h = 1; h <= maxPlot && *H == 0; ++h)
      if (OriginOf(h) <= b.minY && OriginOf(h) + h >= b.maxY) *H = h;
    *originX = OriginOf(*W);
    *originY = OriginOf(*H);
  } else {
    if (b.maxX - b.minX + 1 <= maxPlot) *W = int(b.maxX - b.minX + 1);
    if (b.maxY - b.minY <= maxPlot) *H = std::max(1, int(b.maxY - b.minY));
    *originX = b.minX;
    *originY = b.minY;
  }
  return *W > 0 && *H > 0;
}

}  // namespace

PlotFrame FrameOfDocument(int width, int height) {
  PlotFrame f;
  f.W = width - 1;
  f.H = height - 1;
  f.minX = OriginOf(f.W);
  f.minY = OriginOf(f.H);
  return f;
}

Design DesignOfHouse(const TTAVIDoc& doc, const DynamicTest& dynamic) {
  return DesignOf(doc.Width, doc.Height, doc.Tiles, doc.BaseHeight(), dynamic);
}

Design DesignOfImage(const HouseImage& image, const DynamicTest& dynamic) {
  return DesignOf(image.Width, image.Height, image.Tiles, image.BaseHeight, dynamic);
}

bool BuildDesignImage(const Design& design, int baseHeight, const ITileFacts* facts,
                      HouseImage& image, std::string* error) {
  image.ClearTiles();
  Bounds b;
  for (const DesignComponent& c : design.components)
    if (c.id != 0) b.Add(c);
  if (!b.any) {
    *error = "the design has no components";
    return false;
  }
  int W, H;
  int64_t originX, originY;
  if (!PlotFor(design, b, &W, &H, &originX, &originY)) {
    *error = "the design spans x " + std::to_string(b.minX) + ".." + std::to_string(b.maxX) +
             ", y " + std::to_string(b.minY) + ".." + std::to_string(b.maxY) +
             "; a plot holds at most 31x31 cells and the steps row";
    return false;
  }
  if (b.minZ < INT16_MIN || b.maxZ > INT16_MAX) {
    *error = "the design's altitudes run outside -32768..32767";
    return false;
  }
  const LaidCount laid =
      LayComponents(design.components, originX, originY, baseHeight, facts, image, true);
  if (laid.aboveTop > 0) {
    *error = std::to_string(laid.aboveTop) + " components stand above floor 4 at base height " +
             std::to_string(baseHeight) + " (highest z " + std::to_string(b.maxZ) + ")";
    image.ClearTiles();
    return false;
  }
  if (laid.dropped > 0) {
    *error = std::to_string(laid.dropped) + " components do not fit: a cell holds at most " +
             std::to_string(kLayers) + " tiles";
    image.ClearTiles();
    return false;
  }
  image.Width = W + 1;
  image.Height = H + 1;
  image.SetBaseHeight(baseHeight);
  return true;
}

LoadResult ImportDesign(TTAVIDoc& doc, const Design& design, int baseHeight) {
  std::string error;
  auto image = NewHouseImage();
  if (!BuildDesignImage(design, baseHeight, doc.Facts(), *image, &error))
    return LoadResult::Failure(error);
  TakeOverImage(doc, *image);
  return LoadResult::Success(baseHeight);
}

}  // namespace tavi
