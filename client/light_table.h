#pragma once
// The light sources of the night view, per item id.
#include "client/tile_data.h"

namespace tavi {

// Zeroes lights[0 .. count-1] and writes every known light source below count.
void BuildLights(LightInfo* lights, int count);

}  // namespace tavi
