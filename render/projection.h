#pragma once
// The isometric projection of the plot: where each cell, floor and altitude is
// drawn, the zoom and its steps, and the cell under a point of the drawing
// surface. A cell is a 44 x 44 diamond, x runs down to the right, y down to the
// left, one altitude unit is 4 pixels. Scene units are pixels at zoom 1, origin
// at the top-left of the scene, y downwards.
#include <cstdint>

#include "document/house_document.h"

namespace tavi {

constexpr int kCellPixels = 44;
constexpr int kHalfCell = 22;
constexpr int kSceneTopMargin = 320;  // room above the plot for the upper floors
constexpr int kAltitudePixels = 4;
constexpr int kFloorStep = 20;  // altitude between two upper floors

// The zoom accepted by SetZoom: 1 % .. 1600 %. Larger values would make the
// drawing surface tens of thousands of pixels wide for no use.
constexpr double kMinZoom = 0.01;
constexpr double kMaxZoom = 16.0;
// The drawing surface never grows beyond this many pixels per side.
constexpr int kMaxSurfaceSide = 32767;

struct ScenePoint {
  int32_t X = 0, Y = 0;
};

// Top-left corner of the 44 x 44 bounding square of cell (x, y) on floor 0 at
// altitude 0, for a plot `plotHeight` rows deep. Defined for cells outside the
// plot too (the ground around it).
inline ScenePoint CellAnchor(int x, int y, int plotHeight) {
  return {kHalfCell * (x + plotHeight - 1 - y), kHalfCell * (x + y) + kSceneTopMargin};
}

// Base altitude of a floor: 0 for the foundation, then baseHeight, +20 per floor.
inline int FloorBase(int floor, int baseHeight) {
  return floor <= 0 ? 0 : baseHeight + (floor - 1) * kFloorStep;
}

struct SurfaceSize {
  int Width = 0, Height = 0;
};

// The whole scene at zoom 1: (W + H) * 22 by (W + H) * 22 + 320.
SurfaceSize SceneSize(int plotWidth, int plotHeight);
// The drawing surface at a zoom: each side truncated toward zero, at most
// kMaxSurfaceSide.
SurfaceSize PaintBoxSize(int plotWidth, int plotHeight, double zoom);

// Page Up / Page Down zoom steps, and the zoom box text value (percent, cut).
double ZoomStepIn(double zoom);
double ZoomStepOut(double zoom);
int ZoomPercent(double zoom);

// Rounds to the nearest integer, halves to the even neighbour.
int64_t RoundHalfEven(double v);

// The view's zoom and its table of cell anchors per floor.
class TProjection {
 public:
  TProjection();

  double Zoom() const { return zoom_; }
  // Stores a new zoom. A zoom of 0 or less (or not a number) is refused and
  // the previous one kept (returns false); others are bounded to
  // kMinZoom..kMaxZoom.
  bool SetZoom(double zoom);

  // Rebuilds the anchor table (part of RefreshView): every plot cell of every
  // floor; floors 1..4 are lifted by baseHeight * 4 + (f - 1) * 80 pixels.
  // Cells outside the plot keep their old entries.
  void RebuildAnchors(int plotWidth, int plotHeight, int baseHeight);
  ScenePoint Anchor(int floor, int x, int y) const { return anchors_[floor][y][x]; }
  int PlotWidth() const { return width_; }
  int PlotHeight() const { return height_; }

  // The drawing surface size for the current plot and zoom.
  SurfaceSize PaintBox() const { return PaintBoxSize(width_, height_, zoom_); }

  // The cell whose open diamond holds a point of the drawing surface (which
  // includes the scroll offset), on `floor`. The first cell in row-major order
  // wins; a point on the border of two diamonds belongs to neither.
  bool CellAtPoint(double px, double py, int floor, int* x, int* y) const;

 private:
  double zoom_ = 1.0;
  int width_ = 0, height_ = 0;
  ScenePoint anchors_[kFloors][kGrid][kGrid];
};

}  // namespace tavi
