#pragma once
// The software renderer as it was before it was made fast: every fragment
// sampled bilinearly in floating point, one item after the other. The tests
// compare the renderer's frames with this one's. Pictures come padded to
// their power-of-two texture, as the art decoder gives them.
#include <functional>

#include "render/raster.h"

namespace tavi::test {

using PaddedPictures = std::function<const ArtRGBA*(uint32_t index)>;

bool ReferenceRasterize(const DrawList& list, const PaddedPictures& art, const RasterView& view,
                        RasterFrame* frame);

}  // namespace tavi::test
