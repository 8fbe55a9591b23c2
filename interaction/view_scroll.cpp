#include "interaction/view_scroll.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

int Clamp(double v, int surface, int view) {
  const int top = std::max(0, surface - view);
  if (!(v > 0)) return 0;  // also NaN
  return v >= top ? top : int(std::lround(v));
}

}  // namespace

ScrollPosition ScrollAfterZoom(double oldZoom, double newZoom, ScrollPosition scroll, int anchorX,
                               int anchorY, int viewW, int viewH, int newSurfaceW,
                               int newSurfaceH) {
  if (anchorX < 0 || anchorY < 0 || anchorX >= viewW || anchorY >= viewH) {
    anchorX = viewW / 2;
    anchorY = viewH / 2;
  }
  if (!(oldZoom > 0) || !(newZoom > 0)) return scroll;
  const double scale = newZoom / oldZoom;
  ScrollPosition out;
  out.X = Clamp((scroll.X + anchorX) * scale - anchorX, newSurfaceW, viewW);
  out.Y = Clamp((scroll.Y + anchorY) * scale - anchorY, newSurfaceH, viewH);
  return out;
}

ScrollPosition ScrollByArrow(ScrollPosition scroll, int dx, int dy, int viewW, int viewH,
                             int surfaceW, int surfaceH) {
  const int stepX = std::max(16, viewW / 10), stepY = std::max(16, viewH / 10);
  ScrollPosition out;
  out.X = Clamp(double(scroll.X) + dx * stepX, surfaceW, viewW);
  out.Y = Clamp(double(scroll.Y) + dy * stepY, surfaceH, viewH);
  return out;
}

}  // namespace tavi
