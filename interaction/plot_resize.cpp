#include "interaction/plot_resize.h"

#include <algorithm>

namespace tavi {

int EntriesOutsidePlot(const TTAVIDoc& doc, int width, int height) {
  const int w = std::min(doc.Width, kGrid), h = std::min(doc.Height, kGrid);
  int count = 0;
  for (int f = 0; f < kFloors; ++f)
    for (int layer = 0; layer < kLayers; ++layer)
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          if ((x >= width || y >= height) && doc.Tiles[f][layer][y][x].Id != 0) ++count;
  return count;
}

}  // namespace tavi
