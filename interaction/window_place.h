#pragma once
// Where the control window and the tool windows go on the screen. Rectangles
// are window frames in screen pixels.

namespace tavi {

struct ScreenRect {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  int Right() const { return Left + Width - 1; }  // the last column inside
  int Bottom() const { return Top + Height - 1; }
};

struct ScreenPoint {
  int X = 0, Y = 0;
};

// The control window docked at the main window's right edge, tops level.
// With `clampToScreen` (a resize, not a move), a left edge at or beyond the
// screen width is pulled back so that the window ends at the screen's edge;
// `screenWidth` below 0 means no screen is known.
ScreenPoint DockedControlWindow(const ScreenRect& mainFrame, int controlWidth, int screenWidth,
                                bool clampToScreen);

// On a screen too narrow for the main window and the control window side
// by side, the docked control window stays inside `area`, over the main
// window's right part, wherever the main window is; on a wide enough screen
// `at` is kept.
ScreenPoint DockedOnNarrowScreen(ScreenPoint at, int mainWidth, int controlWidth,
                                 const ScreenRect& area);

// Where the main window goes when it is first shown, so that it and the
// control window docked at its right edge lie wholly inside `area` (the
// screen's available part). Frames include the window manager's borders.
// A main window that has no place of its own yet (`automatic`) is centred
// with the control window beside it; one that has keeps its place where the
// pair fits. Where it does not, the main window moves left, then narrows
// down to `minMainWidth`; only a screen too small even for that leaves the
// control window over the main window's right part (`Control`).
struct FirstShowPlace {
  ScreenRect Main;
  ScreenPoint Control;
};
FirstShowPlace FirstShowPlacement(const ScreenRect& mainFrame, bool automatic, int controlWidth,
                                  int controlHeight, const ScreenRect& area, int minMainWidth);

}  // namespace tavi
