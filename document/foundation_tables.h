#pragma once
// The choices of the foundation style dialog: foundation styles (four tiles and
// a height each), signs, sign hangers and sign posts, laid out as the dialog's
// picture grids show them.
#include <cstdint>

namespace tavi {

struct FoundationStyle {
  uint16_t cornerSE;  // south-east corner
  uint16_t edgeNS;    // north and south edge
  uint16_t edgeWE;    // west and east edge
  uint16_t cornerNW;  // north-west corner
  int height;         // altitude of the foundation's floor tiles
};

constexpr int kFoundationStyleCount = 5;
constexpr int kDefaultFoundationStyle = 4;  // the foundation a new house gets
constexpr uint16_t kFoundationFloorTile = 12788;
extern const FoundationStyle kFoundationStyles[kFoundationStyleCount];
// The style's tiles, or the default style for an index outside 0..4.
const FoundationStyle& FoundationStyleAt(int index);
// 6 when the south-east corner is 20 or 189, else 7.
int FoundationHeight(uint16_t cornerSE);

// Picture grids: Columns x Rows, id at (column, row); 0 outside the grid and
// for the blank cells of the post grid.
constexpr int kSignColumns = 6, kSignRows = 9;
constexpr int kHangerColumns = 3, kHangerRows = 2;
constexpr int kPostColumns = 8, kPostRows = 4;
uint16_t SignAt(int column, int row);
uint16_t HangerAt(int column, int row);
uint16_t PostAt(int column, int row);

constexpr uint16_t kDefaultSign = 3026;    // column 5, row 3
constexpr uint16_t kDefaultHanger = 2970;  // column 1, row 0
constexpr uint16_t kDefaultPost = 9;       // column 0, row 0

}  // namespace tavi
