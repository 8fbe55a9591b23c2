#pragma once
// Designs in the community's exchange formats: a list of components (item id,
// tile offsets x and y, altitude z, flags), and the mapping between a house
// and such a list. The readers and writers of each format are in
// io/design_formats.h.
//
// Where the house sits: a document of Width x Height holds a plot of
// W = Width - 1 by H = Height - 1 (row H holds the front steps). The game's
// foundation of that plot has its origin so that columns run from
// minX = -floor((W - 1) / 2) over W tiles and rows from minY = -floor((H - 1) / 2)
// over H tiles, so cell (c, r) is at x = c + minX, y = r + minY. Floor 0 keeps
// its Z as z; floor f >= 1 is at z = base + 20 (f - 1) + Z.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "document/house_document.h"
#include "document/tile_facts.h"
#include "io/house_image.h"
#include "io/io_result.h"

namespace tavi {

struct DesignComponent {
  uint16_t id = 0;
  int32_t x = 0, y = 0, z = 0;
  uint8_t flags = 1;  // 1: a static part the client draws; 0: spawned by the server
  int16_t level = 0;  // the floor (binary designs)
  int16_t hue = 0;
};

struct Design {
  // Names of a binary design ("" when absent).
  std::string name, category, subsection;
  // True when x, y are offsets from a foundation's origin; false when they
  // start anywhere (the design is then laid by its bounds).
  bool anchored = true;
  // The plot's north-west corner in the design's coordinates (for writers
  // whose coordinates start there).
  int32_t originX = 0, originY = 0;
  std::vector<DesignComponent> components;
};

// The foundation frame of a document size.
struct PlotFrame {
  int W = 0, H = 0;        // the plot (document size minus the last column and row)
  int minX = 0, minY = 0;  // x, y of cell (0, 0)
};
PlotFrame FrameOfDocument(int width, int height);

// True for ids whose components the server spawns (doors). Empty = none.
using DynamicTest = std::function<bool(uint16_t)>;

// The components of the house, floor by floor, then rows, columns and
// layers; empty entries are left out. Flags are 1, or 0 where `dynamic` says so.
// Floors above 0 stand on the house's own base height.
Design DesignOfHouse(const TTAVIDoc& doc, const DynamicTest& dynamic = {});
Design DesignOfImage(const HouseImage& image, const DynamicTest& dynamic = {});

// Lays a design into `image` (emptied first): an anchored design on the
// smallest foundation frame that holds it, another by its bounds (their
// north-west corner at cell 0, 0); altitudes split at the base height and
// tiles stacked as standard houses are. Components of id 0 are skipped.
// Designs that do not fit the document (plot over 31 x 31, above floor 4,
// more than 32 tiles in a cell) fail with a one-line message. The image
// takes the base height given.
bool BuildDesignImage(const Design& design, int baseHeight, const ITileFacts* facts,
                      HouseImage& image, std::string* error);

// Replaces the document with the design (and its base height with the one
// given). On failure the document is untouched.
LoadResult ImportDesign(TTAVIDoc& doc, const Design& design, int baseHeight);

}  // namespace tavi
