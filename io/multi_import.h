#pragma once
// Standard houses from the client's multi.idx (12-byte entries: offset,
// length, unused) and multi.mul (16-byte components: id, x, y, z, flags,
// unused).
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "document/tile_facts.h"
#include "document/house_document.h"
#include "io/house_image.h"
#include "io/io_result.h"

namespace tavi {

struct MultiComponent {
  uint16_t id;
  int16_t x, y, z;
};

// Reads the component list of a multi id. Fails with a message for an id
// outside the index, a list outside multi.mul or a list without components.
bool ReadMultiComponents(std::istream& idx, std::istream& mul, int multiId,
                         std::vector<MultiComponent>* out, std::string* error);

// Lays components into `image` (emptied first): plot = footprint, altitudes
// split at the base height, tiles stacked by the import stacking rule.
// Footprints wider or deeper than 32 cells fail; components above floor 4 are
// skipped. `facts` may be null (no floor tiles then).
bool BuildMultiImage(const std::vector<MultiComponent>& components, int baseHeight,
                     const ITileFacts* facts, HouseImage& image, std::string* error);

// Replaces the document with a standard house. On failure the document is
// untouched. The result's base height is the one given.
LoadResult ImportMulti(TTAVIDoc& doc, int multiId, int baseHeight, const std::string& idxPath,
                       const std::string& mulPath);

}  // namespace tavi
