#include "interaction/tool_place.h"

#include <algorithm>
#include <cstdint>

namespace tavi {

namespace {

constexpr int kGap = 8;

// A window of the preferred size at (x, y), narrowed and lowered to the
// room up to the area's right and bottom edges; moved left and up as far as
// its minimum needs. False when even the minimum does not fit below `y`.
bool Fit(const ToolPlaceInput& in, int x, int y, ScreenRect* out) {
  const ScreenRect& a = in.area;
  const int right = a.Left + a.Width, foot = a.Top + a.Height;
  if (foot - y < in.minH) return false;
  ScreenRect r;
  r.Top = std::max(a.Top, y);
  r.Height = std::min(in.prefH, foot - r.Top);
  r.Width = std::min(in.prefW, a.Width);
  r.Left = std::max(a.Left, std::min(x, right - r.Width));
  if (r.Left + r.Width > right) r.Width = std::max(in.minW, right - r.Left);
  *out = r;
  return true;
}

// The pixels of `keepClear` that `r` covers.
int64_t Covered(const ToolPlaceInput& in, const ScreenRect& r) {
  int64_t sum = 0;
  for (const ScreenRect& k : in.keepClear) {
    if (!Overlap(r, k)) continue;
    const int w = std::min(r.Right(), k.Right()) - std::max(r.Left, k.Left) + 1;
    const int h = std::min(r.Bottom(), k.Bottom()) - std::max(r.Top, k.Top) + 1;
    sum += int64_t(w) * h;
  }
  return sum;
}

}  // namespace

bool Overlap(const ScreenRect& a, const ScreenRect& b) {
  return a.Width > 0 && a.Height > 0 && b.Width > 0 && b.Height > 0 && a.Left <= b.Right() &&
         b.Left <= a.Right() && a.Top <= b.Bottom() && b.Top <= a.Bottom();
}

ScreenRect PlaceToolWindow(const ToolPlaceInput& in) {
  std::vector<ScreenRect> tries;
  ScreenRect r;
  const int below = in.control.Bottom() + 1 + kGap;
  if (in.first) {
    // Beside the first one, below the control window.
    const int beside = in.first->Left + in.first->Width + kGap;
    if (beside + in.minW <= in.area.Left + in.area.Width && Fit(in, beside, below, &r))
      tries.push_back(r);
    // Over the first one's list, its menus and tabs left in reach.
    if (Fit(in, in.first->Left + kGap, in.first->Top + in.firstListTop, &r)) tries.push_back(r);
  } else if (Fit(in, in.control.Left, below, &r)) {
    tries.push_back(r);
  }
  if (in.surface) {
    // Over the drawing surface: against the control window (or the first
    // tool window already there), else at the surface's left edge.
    int x = in.surface->Left + in.surface->Width - in.prefW;
    if (in.first && in.first->Left < in.control.Left) x = in.first->Left - kGap - in.prefW;
    for (int left : {std::max(in.surface->Left, x), in.surface->Left}) {
      if (!Fit(in, left, in.surface->Top, &r)) continue;
      // Within the surface where the minimum allows, off its scroll bars.
      r.Height = std::min(r.Height, std::max(in.minH, in.surface->Height));
      r.Width = std::min(r.Width, std::max(in.minW, in.surface->Width));
      r.Left =
          std::max(in.area.Left, std::min(r.Left, in.surface->Left + in.surface->Width - r.Width));
      tries.push_back(r);
    }
  }
  // The first place that covers nothing; where each covers something (a
  // screen too small for all), the one that covers least.
  const ScreenRect* best = nullptr;
  int64_t least = 0;
  for (const ScreenRect& t : tries) {
    const int64_t covered = Covered(in, t);
    if (!best || covered < least) {
      best = &t;
      least = covered;
    }
    if (covered == 0) break;
  }
  if (best) return *best;
  // A screen too small even for the minimum: as much as the area holds.
  r.Width = std::min(in.prefW, in.area.Width);
  r.Height = std::min(in.prefH, in.area.Height);
  r.Left = in.area.Left + in.area.Width - r.Width;
  r.Top = in.area.Top + in.area.Height - r.Height;
  return r;
}

}  // namespace tavi
