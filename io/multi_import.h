#pragma once
// Standard houses: a multi's component list (read from the client's multi
// files by client/multi_files) laid into a house.
#include <cstdint>
#include <string>
#include <vector>

#include "document/house_document.h"
#include "document/multi_component.h"
#include "document/tile_facts.h"
#include "io/house_image.h"
#include "io/io_result.h"

namespace tavi {

// Lays components into `image` (emptied first): plot = footprint, the base
// height given, altitudes split at it, tiles stacked by the import stacking rule.
// Footprints wider or deeper than 32 cells fail; components above floor 4 are
// skipped. `facts` may be null (no floor tiles then).
bool BuildMultiImage(const std::vector<MultiComponent>& components, int baseHeight,
                     const ITileFacts* facts, HouseImage& image, std::string* error);

// The laying step of both standard houses and design imports: each component
// goes to cell (x - originX, y - originY), its altitude split at the base
// height, stacked by the import stacking rule, then the stacks are closed.
// `image` must come emptied; its size is left to the caller. Counts what did
// not fit.
struct LaidCount {
  int aboveTop = 0;  // components above floor 4 (skipped)
  int dropped = 0;   // components of a full cell or outside the 32 x 32 block
};
// `Part` is MultiComponent or DesignComponent; with `skipEmpty` components
// of tile 0 are left out instead of holding a layer while stacking.
template <class Part>
LaidCount LayComponents(const std::vector<Part>& components, int64_t originX, int64_t originY,
                        int baseHeight, const ITileFacts* facts, HouseImage& image,
                        bool skipEmpty = false);

// Replaces the document with the house the components make. On failure the
// document is untouched. The result's base height is the one given.
LoadResult ImportMulti(TTAVIDoc& doc, const std::vector<MultiComponent>& components,
                       int baseHeight);

}  // namespace tavi
