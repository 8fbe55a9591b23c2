#include "interaction/window_place.h"

#include <algorithm>

namespace tavi {

ScreenPoint DockedControlWindow(const ScreenRect& mainFrame, int controlWidth, int screenWidth,
                                bool clampToScreen) {
  ScreenPoint at{mainFrame.Left + mainFrame.Width, mainFrame.Top};
  if (clampToScreen && screenWidth >= 0 && screenWidth <= at.X) at.X = screenWidth - controlWidth;
  return at;
}

ScreenPoint DockedOnNarrowScreen(ScreenPoint at, int mainWidth, int controlWidth,
                                 const ScreenRect& area) {
  if (mainWidth + controlWidth <= area.Width) return at;
  at.X = std::max(area.Left, std::min(at.X, area.Left + area.Width - controlWidth));
  return at;
}

FirstShowPlace FirstShowPlacement(const ScreenRect& mainFrame, bool automatic, int controlWidth,
                                  int controlHeight, const ScreenRect& area, int minMainWidth) {
  const int areaEnd = area.Left + area.Width;  // the first column outside
  const int areaFoot = area.Top + area.Height;
  ScreenRect main = mainFrame;
  main.Width = std::min(main.Width, area.Width);
  main.Height = std::min(main.Height, area.Height);
  if (automatic) {
    main.Left = area.Left + std::max(0, (area.Width - main.Width - controlWidth) / 2);
    main.Top = area.Top + std::max(0, (area.Height - main.Height) / 2);
  }
  if (main.Left + main.Width + controlWidth > areaEnd)
    main.Left = std::max(area.Left, areaEnd - main.Width - controlWidth);
  if (main.Left + main.Width + controlWidth > areaEnd)
    main.Width = std::min(main.Width, std::max(minMainWidth, areaEnd - main.Left - controlWidth));
  main.Left = std::max(area.Left, std::min(main.Left, areaEnd - main.Width));
  main.Top =
      std::max(area.Top, std::min(main.Top, areaFoot - std::max(main.Height, controlHeight)));

  FirstShowPlace place{main, ScreenPoint{main.Left + main.Width, main.Top}};
  if (place.Control.X + controlWidth > areaEnd)
    place.Control.X = std::max(area.Left, areaEnd - controlWidth);
  return place;
}

}  // namespace tavi
