#pragma once
// Procedural pictures of the demo client: item art (run-length) for every
// catalogue shape, and raw land diamonds for the ground types.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/demodata_catalog.h"

namespace tavi::demo {

struct LandType {
  uint16_t first, last;
  const char* name;
  Rgb colour;
};

// The land tiles drawn under a house: grass, sand, dirt, jungle and snow.
const std::vector<LandType>& LandTypes();

// The item's picture as art.mul stores it; empty for Shape::kNone.
std::vector<uint8_t> DrawItemArt(const ItemFacts& item, uint16_t id);
// A land tile's 44 x 44 diamond (2024 bytes).
std::vector<uint8_t> DrawLandArt(const LandType& type, uint16_t id);

}  // namespace tavi::demo
