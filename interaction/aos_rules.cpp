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

bool ReplaceByAosType(TTAVIDoc& doc, int aosType, const CellRect& selection, int floor, int row) {
  switch (aosType) {
    case kAosWalls:
      doc.ReplaceWalls(selection, floor, row);
      return true;
    case kAosDoors:
      doc.ReplaceDoors(selection, floor, row);
      return true;
    case kAosStairs:
    case kAosAutoStairs:
      doc.ReplaceStairs(selection, floor, row);
      return true;
    case kAosEnchancements:
      doc.ReplaceEnchancements(selection, floor, row);
      return true;
    default:
      return false;
  }
}

int AosTypeAfterCatalogueClick(int aosType) {
  return aosType == kAosDoors || aosType == kAosRoofs ? aosType - 1 : aosType;
}

}  // namespace tavi
