#pragma once
// The ground drawn around the plot: 128 x 128 land tiles of the client, drawn
// at random from the land ids of a ground type.
#include <array>
#include <cstdint>

namespace tavi {

constexpr int kBackgroundSize = 128;

// 128 x 128 land ids, [row][column].
using TBackgroundMap = std::array<std::array<uint16_t, kBackgroundSize>, kBackgroundSize>;
// Fills the map for a ground type with uniform random draws from `seed`;
// an unknown type leaves the map as it was.
void FillBackgroundMap(TBackgroundMap& map, int bgType, uint32_t seed);

}  // namespace tavi
