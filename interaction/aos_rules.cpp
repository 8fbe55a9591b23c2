#include "interaction/aos_rules.h"

namespace tavi {

bool CanReplaceParts(int aosType) {
  switch (aosType) {
    case kAosWalls:
    case kAosDoors:
    case kAosStairs:
    case kAosAutoStairs:
    case kAosEnchancements:
      return true;
    default:
      return false;
  }
}

bool SelectionAllowsReplace(const CellRect& selection) {
  return !selection.Empty() && selection.Left != selection.Right &&
         selection.Top != selection.Bottom;
}

bool ReplaceByAosType(TTAVIDoc& doc, int aosType, const CellRect& selection, int floor, int row) {
  switch (aosType) {
    case kAosWalls:
      return doc.ReplaceWalls(selection, floor, row);
    case kAosDoors:
      return doc.ReplaceDoors(selection, floor, row);
    case kAosStairs:
    case kAosAutoStairs:
      return doc.ReplaceStairs(selection, floor, row);
    case kAosEnchancements:
      return doc.ReplaceEnchancements(selection, floor, row);
    default:
      return false;
  }
}

int AosTypeAfterCatalogueClick(int aosType) {
  return aosType == kAosDoors || aosType == kAosRoofs ? aosType - 1 : aosType;
}

}  // namespace tavi
