#pragma once
// A software renderer of a draw list, for the command-line tool and for
// reference tests: textured quads with bilinear sampling and wrap, alpha test,
// depth test "less or equal" on the keys, blending, colour modulation, grid
// diamonds, outlines and the night view. It needs no display and no GL.
#include <cstdint>
#include <vector>

#include "client/tile_data.h"
#include "render/art_source.h"
#include "render/draw_list.h"

namespace tavi {

// The biggest frame the renderer allocates, in pixels (8192 x 8192; a frame
// takes 7 bytes a pixel).
constexpr int64_t kMaxRasterPixels = int64_t(8192) * 8192;

struct RasterFrame {
  int Width = 0, Height = 0;
  std::vector<uint8_t> Rgb;  // 3 bytes per pixel, rows top first
  std::vector<float> Depth;  // window depth per pixel, rows top first
  float DepthAt(int x, int y) const {
    return (x < 0 || y < 0 || x >= Width || y >= Height) ? 1.0f : Depth[size_t(y) * Width + x];
  }
  TBitmap24 ToBitmap() const;  // B, G, R bytes
};

// Window pixels [X0, X1) x [Y0, Y1), rows from the top.
struct PixelRect {
  int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
  bool Empty() const { return X0 >= X1 || Y0 >= Y1; }
  int64_t Area() const { return Empty() ? 0 : int64_t(X1 - X0) * (Y1 - Y0); }
  bool Overlaps(const PixelRect& o) const {
    return X0 < o.X1 && o.X0 < X1 && Y0 < o.Y1 && o.Y0 < Y1;
  }
};

struct RasterView {
  int Width = 0, Height = 0;  // view size in pixels
  double Zoom = 1.0;
  int ScrollX = 0, ScrollY = 0;
};

// Moves the frame's pixels and depths by (-dx, -dy), as a scroll by (dx, dy)
// does; the pixels that come into view keep what they held.
void MoveFrame(RasterFrame* frame, int dx, int dy);

// Draws the list into a frame of the view's size. A view of 0 or fewer pixels,
// or larger than kMaxRasterPixels, gives an empty frame (returns false).
bool RasterizeScene(const DrawList& list, IArtSource* art, const RasterView& view,
                    RasterFrame* frame);

// Draws the pixels inside `rects` again onto a frame of the same view:
// cleared, then every item of the list, clipped to them, and the night view.
// Pixels outside stay as they are. False (frame untouched) when the frame
// does not have the view's size.
bool RasterizeRegion(const DrawList& list, IArtSource* art, const RasterView& view,
                     const std::vector<PixelRect>& rects, RasterFrame* frame);

}  // namespace tavi
