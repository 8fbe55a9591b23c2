#include "render/projection.h"

#include <cmath>
#include <cstdlib>

namespace tavi {

namespace {

int SurfaceSide(double scenePixels, double zoom) {
  double v = std::trunc(scenePixels * zoom);
  if (!(v >= 0)) return 0;
  if (v > kMaxSurfaceSide) return kMaxSurfaceSide;
  return static_cast<int>(v);
}

}  // namespace

SurfaceSize SceneSize(int plotWidth, int plotHeight) {
  int side = (plotWidth + plotHeight) * kHalfCell;
  return {side, side + kSceneTopMargin};
}

SurfaceSize PaintBoxSize(int plotWidth, int plotHeight, double zoom) {
  SurfaceSize s = SceneSize(plotWidth, plotHeight);
  return {SurfaceSide(s.Width, zoom), SurfaceSide(s.Height, zoom)};
}

double ZoomStepIn(double zoom) {
  if (zoom < 1.0) return zoom + 0.0625;
  if (zoom < 2.0) return zoom + 0.125;
  return zoom;
}

double ZoomStepOut(double zoom) {
  if (zoom > 1.0) return zoom - 0.125;
  if (zoom > 0.25) return zoom - 0.0625;
  return zoom;
}

int ZoomPercent(double zoom) {
  // 1.95 + 0.125 is 2.075 in binary floating point a hair below the decimal
  // value; the cut must still give 207, so a tiny allowance is added first.
  return static_cast<int>(std::trunc(zoom * 100 + 1e-9));
}

int64_t RoundHalfEven(double v) {
  return static_cast<int64_t>(std::nearbyint(v));
}

TProjection::TProjection() {
  for (auto& floor : anchors_)
    for (auto& row : floor)
      for (auto& p : row) p = ScenePoint{};
}

bool TProjection::SetZoom(double zoom) {
  if (!(zoom > 0)) return false;  // also refuses NaN
  if (zoom < kMinZoom) zoom = kMinZoom;
  if (zoom > kMaxZoom) zoom = kMaxZoom;
  zoom_ = zoom;
  return true;
}

void TProjection::RebuildAnchors(int plotWidth, int plotHeight, int baseHeight) {
  width_ = plotWidth < 0 ? 0 : (plotWidth > kGrid ? kGrid : plotWidth);
  height_ = plotHeight < 0 ? 0 : (plotHeight > kGrid ? kGrid : plotHeight);
  for (int f = 0; f < kFloors; ++f) {
    int lift = f == 0 ? 0 : baseHeight * kAltitudePixels + (f - 1) * kFloorStep * kAltitudePixels;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        ScenePoint p = CellAnchor(x, y, height_);
        p.Y -= lift;
        anchors_[f][y][x] = p;
      }
  }
}

bool TProjection::CellAtPoint(double px, double py, int floor, int* x, int* y) const {
  if (floor < 0 || floor >= kFloors) return false;
  double fx = px / zoom_, fy = py / zoom_;
  // Points far outside any cell cannot match; keep the conversion defined.
  if (!(std::fabs(fx) < 1e9) || !(std::fabs(fy) < 1e9)) return false;
  int64_t sx = RoundHalfEven(fx), sy = RoundHalfEven(fy);
  for (int cy = 0; cy < height_; ++cy)
    for (int cx = 0; cx < width_; ++cx) {
      const ScenePoint& a = anchors_[floor][cy][cx];
      if (std::llabs(a.X + kHalfCell - sx) + std::llabs(a.Y + kHalfCell - sy) < kHalfCell) {
        *x = cx;
        *y = cy;
        return true;
      }
    }
  return false;
}

}  // namespace tavi
