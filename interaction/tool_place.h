#pragma once
// Where a tool window (the object catalogue, the AoS window) opens the first
// time, with its size: wholly inside the screen's available area and over
// no other window's controls. Rectangles are window frames (or parts of
// windows) in screen pixels.
#include <vector>

#include "interaction/window_place.h"

namespace tavi {

struct ToolPlaceInput {
  ScreenRect area;           // the screen's available part
  ScreenRect control;        // the control window's frame
  int prefW = 0, prefH = 0;  // the tool window's frame at its own size
  int minW = 0, minH = 0;    // the smallest frame that keeps its controls whole
  // The first tool window, when this is the second: its frame, and how far
  // down from its top its list starts (its menus and tabs lie above).
  const ScreenRect* first = nullptr;
  int firstListTop = 0;
  // The main window's drawing surface on the screen (null: unknown).
  const ScreenRect* surface = nullptr;
  // Parts the window must not cover: the control window, the main window's
  // menu bar, scroll bars and status bar, the first tool window's menus.
  std::vector<ScreenRect> keepClear;
};

// The frame of the tool window. Tried in turn, each shrunk to the room it
// has (never below the minimum): below the control window (beside the first
// tool window for the second); for the second, lower down over the first
// one's list; over the drawing surface beside the control window, then at
// its left edge. The first that covers nothing of `keepClear` wins; when
// each covers something (a screen too small for all), the one covering the
// fewest pixels of it. The result always lies on the screen.
ScreenRect PlaceToolWindow(const ToolPlaceInput& in);

// Whether two rectangles share a pixel.
bool Overlap(const ScreenRect& a, const ScreenRect& b);

}  // namespace tavi
