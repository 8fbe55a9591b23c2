#pragma once
// The customization rule check: marks (Mark 1) every entry that does not stand
// properly. On every floor above the foundation a part is proper only when it
// is reached from the foundation's edges or from a carrying wall below, through
// joined walls and continuous floor runs; loose parts, floors without walls
// under them, parts over stairs and parts that stick up through the next floor
// stay marked.
//
// CheckRules drives named passes, floor by floor from the ground floor up:
//   ground floor       what stands on the foundation
//   floor runs         floor pieces between two proper ones
//   parts on floors    a part lying on a proper floor piece
//   wall runs          joined walls between two proper ones
//   neighbour step     one step along the joins of proper walls
//   stack inheritance  what stands on a piece shares its mark
//   over stairs        nothing stands over a staircase of the floor below
//   carrying           full-height walls carry the floor above
//   headroom           nothing sticks up through the part lying over it
namespace tavi {

class TTAVIDoc;
class TileFactCache;

// Rewrites the Mark of every entry of the plot up to each floor's highest
// stack; the foundation (floor 0) is always proper. `facts` is reset to the
// document's tile facts first.
void CheckRules(TTAVIDoc& doc, TileFactCache& facts);

}  // namespace tavi
