#include "interaction/window_place.h"

#include <algorithm>

namespace tavi {

namespace {

// Room between the control window and a tool window below it.
constexpr int kGap = 8;
// How far a tool window that must overlap another one is moved down.
constexpr int kOverlapDrop = 64;

}  // namespace

ScreenPoint DockedControlWindow(const ScreenRect& mainFrame, int controlWidth, int screenWidth,
                                bool clampToScreen) {
  ScreenPoint at{mainFrame.Left + mainFrame.Width, mainFrame.Top};
  if (clampToScreen && screenWidth >= 0 && screenWidth <= at.X) at.X = screenWidth - controlWidth;
  return at;
}

ScreenPoint ToolWindowOpening(const ScreenRect& controlFrame, int column, int toolWidth,
                              int toolHeight, const ScreenRect* area) {
  ScreenPoint at{controlFrame.Left + column, controlFrame.Bottom() + kGap};
  if (!area) return at;
  if (column > 0 && at.X + toolWidth > area->Right() + 1) at.Y += kOverlapDrop;
  at.X = std::max(area->Left, std::min(at.X, area->Right() - toolWidth));
  at.Y = std::max(area->Top, std::min(at.Y, area->Bottom() - toolHeight));
  return at;
}

}  // namespace tavi
