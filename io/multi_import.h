#pragma once
// Standard houses: a multi's component list (read from the client's multi
// files by client/multi_files) laid into a house.
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

// Replaces the document with the house the components make. On failure the
// document is untouched. The result's base height is the one given.
LoadResult ImportMulti(TTAVIDoc& doc, const std::vector<MultiComponent>& components,
                       int baseHeight);

}  // namespace tavi
