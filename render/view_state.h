#pragma once
// Everything a frame of the house view reads besides the document and the tile
// data: the control window's values, the mouse state, the View menu switches,
// the ground and the zoom and scroll of the view. The main window fills one and
// hands it to the view; the command-line renderer fills one for the whole scene.
#include <array>
#include <cstdint>

#include "client/background_map.h"
#include "document/house_document.h"

namespace tavi {

class TProjection;

enum EditMode : int { kModeImmediate = 0, kModeStack = 1, kModeInner = 2 };

// The five View menu switches, with their start-up values.
struct ViewSwitches {
  bool HideWalls = false;      // "&Hide Walls"
  bool ShowGrid = true;        // "Show &Grid"
  bool ShowDownstairs = true;  // "Show Downstair walls"
  bool ShowCustomize = true;   // "Show Customize Propriety"
  bool Night = false;          // "Night mode"
};

// The view redraws only the changed part of its frame when no more than the
// placement inputs (Alt, CurrentTile, the stairs), the mouse state and the
// selection changed; any other field that differs makes it draw the whole
// frame (render/repaint.cpp, SameViewBasis). A new field that changes more
// than the current floor's marked cells belongs in that comparison.
struct ViewState {
  // ---- control window ----
  int CurrentFloor = 0;  // 0..4
  int Alt = 0;           // minimum altitude of a placement
  int BaseHeight = 7;    // 0..9
  int EditMode = kModeImmediate;
  uint16_t CurrentTile = 0;

  // ---- auto-stairs preview: the AoS window is visible on "Stairs(Auto Stack)" ----
  bool AutoStairs = false;
  int StairsDirection = 0;  // the grid's selected column
  int StairsRow = 0;        // the grid's selected row

  // ---- mouse state ----
  int HoverX = -1, HoverY = -1;  // -1 = no hover cell
  int HoverLayer = 0;
  bool ShiftDown = false;
  uint16_t CarriedId = 0;                                    // picked up in "Inner" mode; 0 = none
  CellRect Selection;                                        // Left -1 = none
  std::array<std::array<bool, kGrid>, kGrid> HiddenCells{};  // [y][x]

  // ---- View menu ----
  ViewSwitches View;

  // ---- ground ----
  const TBackgroundMap* BackgroundMap = nullptr;  // null: no ground drawn
  bool LargeBG = false;

  // ---- the anchor table for the selection outlines (null: computed from
  // BaseHeight as RefreshView would) ----
  const TProjection* Projection = nullptr;

  // ---- view ----
  double Zoom = 1.0;
  int ScrollX = 0, ScrollY = 0;  // scroll position of the drawing surface

  bool IsHidden(int x, int y) const {
    return x >= 0 && y >= 0 && x < kGrid && y < kGrid && HiddenCells[y][x];
  }
};

}  // namespace tavi
