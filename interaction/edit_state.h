#pragma once
// The editor's edit state: what the next click on the drawing surface does.
// One plain object, owned by the main window. The control and AoS windows show
// it and write the user's changes into it; the mouse rules, the document's host
// and the menu commands read it. The base height is not here: it belongs to
// the house (TTAVIDoc::BaseHeight), and the control window's bar shows that.
#include <cstdint>

#include "document/house_document.h"
#include "render/view_state.h"

namespace tavi {

struct EditState {
  int Floor = 1;  // the floor bar, 0..4
  int Alt = 0;    // the altitude bar: the lowest altitude of a placement
  // The control window's edit mode (EditMode); -1 when none is chosen.
  int Mode = kModeImmediate;
  uint16_t Tile = 0;       // the current tile; 0 = none chosen yet
  bool PartsLock = false;  // "Parts Lock": painted parts cannot be moved or removed

  // The automatic staircase: on while the AoS window is shown on
  // "Stairs(Auto Stack)"; the grid's selected column is the climbing
  // direction and its row the material. The row is kept as the grid has it.
  bool AutoStairs = false;
  int StairsDirection = 0;
  int StairsRow = 0;

  // The material row a click places: the grid's row kept to the staircase
  // table (the grid may still have another type's rows for a moment).
  int PlacedStairsRow() const;
};

// The control window's "Add" on a selection of the current floor: the
// automatic staircase while it is on, else the current tile stacked on each
// cell by the edit mode's rule. False when nothing was done (no selection, no
// tile chosen, or a staircase that could not be laid).
bool AddOnSelection(TTAVIDoc& doc, const EditState& edit, const CellRect& selection);
// The control window's "Delete": every entry of the selection's cells on the
// current floor. False when there is no selection.
bool DeleteOnSelection(TTAVIDoc& doc, const EditState& edit, const CellRect& selection);

}  // namespace tavi
