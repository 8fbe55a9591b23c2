#pragma once
// What the other windows do by the AoS objects window's type list: which
// parts "Replace Walls" swaps, and how a click in the object catalogue moves
// the list.
#include "document/aos_tables.h"
#include "document/house_document.h"

namespace tavi {

// Walls, doors, stairs of both kinds and enchancements can be replaced;
// floors and roofs cannot.
bool CanReplaceParts(int aosType);

// The replacement works on a selection at least two cells wide and two
// high; a single column or row is left alone, so the command is not offered.
bool SelectionAllowsReplace(const CellRect& selection);

// Replaces the parts of the type inside `selection` on `floor` by those of
// row `row`. False, with nothing changed, for a type that cannot be replaced
// or a selection the replacement does not work on.
bool ReplaceByAosType(TTAVIDoc& doc, int aosType, const CellRect& selection, int floor, int row);

// A click on the catalogue's grid moves the type list one entry up from
// Doors (to Walls) and from Roofs (to Stairs(Auto Stack)); every other type
// stays.
int AosTypeAfterCatalogueClick(int aosType);

}  // namespace tavi
