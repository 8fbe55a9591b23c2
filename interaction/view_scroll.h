#pragma once
// How the main view's scroll position follows a zoom and the arrow keys.
// Scene points scale with the zoom; the scroll position is the surface pixel
// at the view's top-left corner.

namespace tavi {

struct ScrollPosition {
  int X = 0, Y = 0;
};

// The scroll position after the zoom changed from `oldZoom` to `newZoom`
// that keeps the scene point under (anchorX, anchorY) (view pixels) where it
// is; an anchor outside the view (the pointer is elsewhere) stands for the
// view's centre. The result lies within the new surface's scroll range
// (`newSurfaceW` x `newSurfaceH` seen through `viewW` x `viewH`).
ScrollPosition ScrollAfterZoom(double oldZoom, double newZoom, ScrollPosition scroll, int anchorX,
                               int anchorY, int viewW, int viewH, int newSurfaceW, int newSurfaceH);

// One arrow key's scroll step: a tenth of the view's side, at least 16
// pixels. `dx`, `dy` are -1, 0 or 1; the result stays within the range.
ScrollPosition ScrollByArrow(ScrollPosition scroll, int dx, int dy, int viewW, int viewH,
                             int surfaceW, int surfaceH);

}  // namespace tavi
