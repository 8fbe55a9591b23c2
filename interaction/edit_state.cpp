#include "interaction/edit_state.h"

#include "document/aos_tables.h"

namespace tavi {

int EditState::PlacedStairsRow() const {
  const int last = AosTableRows(kAosAutoStairs) - 1;
  return StairsRow < 0 ? 0 : (StairsRow > last ? last : StairsRow);
}

bool AddOnSelection(TTAVIDoc& doc, const EditState& edit, const CellRect& selection) {
  if (selection.Left == -1) return false;
  if (edit.AutoStairs)
    return doc.PlaceStairsInRect(selection, edit.Floor, edit.StairsDirection, edit.StairsRow);
  if (edit.Tile == 0) return false;
  doc.StackInRect(selection, edit.Floor, edit.Alt, edit.Mode, edit.Tile);
  return true;
}

bool DeleteOnSelection(TTAVIDoc& doc, const EditState& edit, const CellRect& selection) {
  if (selection.Left == -1) return false;
  doc.DeleteInRect(selection, edit.Floor);
  return true;
}

}  // namespace tavi
