#include "document/house_document.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavi {

namespace {
int ClampSize(int v) {
  return std::clamp(v, 1, kGrid);
}
}  // namespace

TTAVIDoc::TTAVIDoc(int width, int height, const ITileFacts* facts, IDocHost* host)
    : Width(ClampSize(width)), Height(ClampSize(height)), facts_(facts), host_(nullptr) {
  SetHost(host);
  std::memset(LayerCount, 0, sizeof(LayerCount));
  std::memset(TopZ, 0, sizeof(TopZ));
  std::memset(Tiles, 0, sizeof(Tiles));
  std::memset(UndoFloor, 0, sizeof(UndoFloor));
}

TTAVIDoc::~TTAVIDoc() = default;

void TTAVIDoc::SetSize(int width, int height) {
  Touch();
  Width = ClampSize(width);
  Height = ClampSize(height);
}

void TTAVIDoc::UpdateCell(int x, int y, int floor) {
  if (x < 0 || y < 0 || x >= kGrid || y >= kGrid || !ValidFloor(floor)) return;
  TouchCell(x, y, floor);
  LayerCount[floor][y][x] = 0;
  TopZ[floor][y][x] = 0;
  for (int layer = kLayers - 1; layer >= 0; --layer) {
    const TileEntry& e = Tiles[floor][layer][y][x];
    if (e.Id != 0) {
      LayerCount[floor][y][x] = layer + 1;
      TopZ[floor][y][x] = e.Z + TileHeight(e.Id);
      return;
    }
  }
}

namespace {

// One past the highest non-empty layer of every cell of a floor inside the
// first `width` x `height` cells, found in one pass over the image in memory
// order.
#if defined(__SSE2__)
// Sixteen bytes at a time: each row of 32 entries (96 16-bit words) becomes
// a mask of its non-zero words, of which those of the ids count. The highest
// layer whose mask holds a cell's id is that cell's top.
constexpr uint64_t kIdWordsLow = 0x2492492492492492ull;  // words 1, 4, .., 61
constexpr uint64_t kIdWordsHigh = 0x49249249ull;         // words 64, 67, .., 94

void FindTops(const FloorImage& image, int width, int height, uint8_t (&top)[kGrid][kGrid]) {
  static_assert(sizeof(TileEntry[kGrid]) == 12 * sizeof(__m128i), "a row is twelve vectors");
  uint64_t low[kGrid][kLayers], high[kGrid][kLayers];
  const __m128i zero = _mm_setzero_si128();
  for (int layer = 0; layer < kLayers; ++layer)
    for (int y = 0; y < height; ++y) {
      const auto* v = reinterpret_cast<const __m128i*>(image[layer][y]);
      uint64_t words[6];  // bit j of words[k]: word 16k + j is 0
      for (int k = 0; k < 6; ++k) {
        const __m128i a = _mm_cmpeq_epi16(_mm_loadu_si128(v + 2 * k), zero);
        const __m128i b = _mm_cmpeq_epi16(_mm_loadu_si128(v + 2 * k + 1), zero);
        words[k] = uint32_t(_mm_movemask_epi8(_mm_packs_epi16(a, b)));
      }
      low[y][layer] = ~(words[0] | words[1] << 16 | words[2] << 32 | words[3] << 48) & kIdWordsLow;
      high[y][layer] = ~(words[4] | words[5] << 16) & kIdWordsHigh;
    }
  // The id words of the cells inside the plot.
  uint64_t plotLow = 0, plotHigh = 0;
  for (int x = 0; x < width; ++x) {
    const int w = 3 * x + 1;
    if (w < 64)
      plotLow |= 1ull << w;
    else
      plotHigh |= 1ull << (w - 64);
  }
  for (int y = 0; y < height; ++y) {
    std::memset(top[y], 0, sizeof top[y]);
    uint64_t openLow = plotLow, openHigh = plotHigh;
    for (int layer = kLayers - 1; layer >= 0 && (openLow | openHigh); --layer) {
      uint64_t hits = low[y][layer] & openLow;
      openLow &= ~hits;
      for (; hits; hits &= hits - 1) top[y][(__builtin_ctzll(hits) - 1) / 3] = uint8_t(layer + 1);
      hits = high[y][layer] & openHigh;
      openHigh &= ~hits;
      for (; hits; hits &= hits - 1) top[y][(__builtin_ctzll(hits) + 63) / 3] = uint8_t(layer + 1);
    }
  }
}
#else
void FindTops(const FloorImage& image, int width, int height, uint8_t (&top)[kGrid][kGrid]) {
  std::memset(top, 0, sizeof top);
  for (int layer = 0; layer < kLayers; ++layer)
    for (int y = 0; y < height; ++y) {
      const TileEntry* row = image[layer][y];
      // Arithmetic instead of a branch, which the stacks' gaps would make
      // unpredictable: layers ascend, so a non-empty entry raises the top.
      const unsigned next = unsigned(layer + 1);
      for (int x = 0; x < width; ++x) {
        const unsigned mine = next * unsigned(row[x].Id != 0);
        top[y][x] = uint8_t(mine > top[y][x] ? mine : top[y][x]);
      }
    }
}
#endif

}  // namespace

void TTAVIDoc::UpdateFloorCells(int floor, int width, int height) {
  if (!ValidFloor(floor)) return;
  Touch();
  FindFloorSummaries(floor, width, height);
}

void TTAVIDoc::FindFloorSummaries(int floor, int width, int height) {
  width = std::clamp(width, 0, kGrid);
  height = std::clamp(height, 0, kGrid);
  // The tile facts are asked once per cell, for its top entry only.
  uint8_t top[kGrid][kGrid];
  const FloorImage& image = Tiles[floor];
  FindTops(image, width, height, top);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int count = top[y][x];
      LayerCount[floor][y][x] = count;
      if (count == 0) {
        TopZ[floor][y][x] = 0;
      } else {
        const TileEntry& e = image[count - 1][y][x];
        TopZ[floor][y][x] = e.Z + TileHeight(e.Id);
      }
    }
}

bool TTAVIDoc::ChangedCellsSince(uint64_t since, std::vector<int>* cells) const {
  cells->clear();
  if (since > revision_ || wholeRevision_ > since) return false;
  for (int f = 0; f < kFloors; ++f)
    for (int c = 0; c < kGrid * kGrid; ++c)
      if (cellRevision_[f][c] > since) cells->push_back(f * kGrid * kGrid + c);
  return true;
}

void TTAVIDoc::TouchCellsDiffering(int floor, const FloorImage& image, int layers) {
  uint32_t differs[kGrid] = {};  // bit x of row y
  const FloorImage& now = Tiles[floor];
  for (int layer = 0; layer < layers; ++layer)
    for (int y = 0; y < kGrid; ++y) {
      if (std::memcmp(now[layer][y], image[layer][y], sizeof(now[layer][y])) == 0) continue;
      for (int x = 0; x < kGrid; ++x)
        if (std::memcmp(&now[layer][y][x], &image[layer][y][x], sizeof(TileEntry)) != 0)
          differs[y] |= 1u << x;
    }
  for (int y = 0; y < kGrid; ++y)
    for (int x = 0; x < kGrid; ++x)
      if (differs[y] >> x & 1u) TouchCell(x, y, floor);
}

int TTAVIDoc::FloorTop(int floor) const {
  int top = 0;
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) top = std::max(top, LayerCount[floor][y][x]);
  return std::min(top, kLayers);
}

void TTAVIDoc::UpdateAllCells() {
  for (int f = 0; f < kFloors; ++f) UpdateFloorCells(f, kGrid, kGrid);
}

namespace {

// Every entry of every floor emptied (Z and Id; Mark stays).
void EmptyAllTiles(TTAVIDoc& doc) {
  for (auto& floor : doc.Tiles)
    for (auto& layer : floor)
      for (auto& row : layer)
        for (auto& e : row) {
          e.Z = 0;
          e.Id = 0;
        }
}

// The default foundation on floor 0 of an empty house: the outline, its
// floor at 7, the steps along the front, the post, the sign and its hanger.
void LayDefaultFoundation(TTAVIDoc& doc) {
  const int W = doc.Width, H = doc.Height;
  // Writes outside the plot (plots narrower or shallower than 2 cells) are skipped.
  auto put = [&](int x, int y, int layer, uint16_t id, int16_t z) {
    if (!doc.InPlot(x, y)) return;
    TileEntry& e = doc.Tiles[0][layer][y][x];
    e.Id = id;
    e.Z = z;
    e.Mark = 0;
  };
  put(0, 0, 0, 102, 0);
  for (int y = 1; y <= H - 2; ++y) put(0, y, 0, 100, 0);
  for (int x = 1; x <= W - 3; ++x) put(x, H - 2, 0, 99, 0);
  put(W - 2, H - 2, 0, 101, 0);
  for (int y = 1; y <= H - 3; ++y) put(W - 2, y, 0, 100, 0);
  for (int x = 1; x <= W - 2; ++x) put(x, 0, 0, 99, 0);
  for (int y = 1; y <= H - 2; ++y)
    for (int x = 1; x <= W - 2; ++x) put(x, y, doc.Tiles[0][0][y][x].Id == 0 ? 0 : 1, 12788, 7);
  for (int x = 1; x <= W - 2; ++x) put(x, H - 1, 0, 1873, 0);
  put(0, H - 2, 1, 9, 7);
  put(0, H - 1, 0, 3026, 7);
  put(0, H - 1, 1, 2970, 7);
}

}  // namespace

void TTAVIDoc::Clear(bool withFoundation) {
  EmptyAllTiles(*this);
  if (withFoundation) LayDefaultFoundation(*this);
  UpdateAllCells();
  ResetUndo();
  Recalculate();
}

bool TTAVIDoc::IsFloorTile(uint16_t id) const {
  return facts_ && facts_->TileHeight(id) == 0 && facts_->IsBackground(id);
}

bool TTAVIDoc::IsWallPart(uint16_t id) const {
  const uint16_t c = Category(id);
  return (c & kCatPart) && !(c & (kCatFloorKind | kCatRoofKind));
}

bool TTAVIDoc::IsRoofPart(uint16_t id) const {
  const uint16_t c = Category(id);
  return (c & kCatPart) && (c & kCatRoofKind);
}

bool TTAVIDoc::IsPressPart(uint16_t id) const {
  return IsFloorTile(id) || IsWallPart(id) || IsRoofPart(id);
}

// ---- edits ----

bool CellSet::WholeFloor(int floor) const {
  for (uint32_t row : Rows[floor])
    if (row != ~uint32_t(0)) return false;
  return true;
}

bool CellSet::Empty() const {
  for (const auto& floor : Rows)
    for (uint32_t row : floor)
      if (row != 0) return false;
  return true;
}

int CellSet::Count() const {
  int n = 0;
  for (const auto& floor : Rows)
    for (uint32_t row : floor) n += __builtin_popcount(row);
  return n;
}

TTAVIDoc::EditScope::EditScope(TTAVIDoc& doc, int floor) : doc_(doc) {
  doc_.PushUndo(floor);
}

TTAVIDoc::EditScope::EditScope(TTAVIDoc& doc) : doc_(doc) {}

TTAVIDoc::EditScope::~EditScope() {
  for (int f = 0; f < kFloors; ++f) {
    if (touched_.WholeFloor(f)) {
      doc_.UpdateFloorCells(f, kGrid, kGrid);
      continue;
    }
    for (int y = 0; y < kGrid; ++y)
      for (uint32_t row = touched_.Rows[f][y]; row != 0; row &= row - 1)
        doc_.UpdateCell(__builtin_ctz(row), y, f);
  }
  doc_.lastEdit_ = touched_;
  // UpdateCell counted each cell as changed (UpdateFloorCells the whole
  // house), so that the view draws those cells alone.
  doc_.Recalculate();
}

std::string TTAVIDoc::CheckCell(int x, int y, int f) const {
  int count = 0;
  while (count < kLayers && Tiles[f][count][y][x].Id != 0) ++count;
  for (int l = count; l < kLayers; ++l)
    if (Tiles[f][l][y][x].Id != 0)
      return "layer " + std::to_string(l) + " lies above an empty layer";
  if (LayerCount[f][y][x] != count)
    return "LayerCount " + std::to_string(LayerCount[f][y][x]) + ", the stack holds " +
           std::to_string(count);
  const TileEntry* top = count == 0 ? nullptr : &Tiles[f][count - 1][y][x];
  const int topZ = top ? top->Z + TileHeight(top->Id) : 0;
  if (TopZ[f][y][x] != topZ)
    return "TopZ " + std::to_string(TopZ[f][y][x]) + ", the stack reaches " + std::to_string(topZ);
  return {};
}

std::string TTAVIDoc::CheckInvariants() const {
  for (int f = 0; f < kFloors; ++f)
    for (int y = 0; y < Height; ++y)
      for (int x = 0; x < Width; ++x) {
        const std::string problem = CheckCell(x, y, f);
        if (!problem.empty())
          return "floor " + std::to_string(f) + " cell " + std::to_string(x) + "," +
                 std::to_string(y) + ": " + problem;
      }
  return {};
}

// ---- undo ring: 17 floor images, at most 16 steps ----

void TTAVIDoc::ResetUndo() {
  UndoTop = UndoBottom = UndoPos;
  Modified = false;
}

void TTAVIDoc::PushUndo(int floor) {
  if (!ValidFloor(floor)) return;
  ++editCount_;
  const int next = (UndoPos + 1) % kUndoSlots;
  if (next == UndoBottom) UndoBottom = (UndoBottom + 1) % kUndoSlots;
  std::memcpy(UndoSlots[UndoPos], Tiles[floor], sizeof(FloorImage));
  UndoFloor[UndoPos] = floor;
  UndoPos = next;
  UndoTop = next;
}

int TTAVIDoc::Undo() {
  if (UndoPos == UndoBottom) return 0;
  ++editCount_;
  const int old = UndoPos;
  UndoPos = (old + kUndoSlots - 1) % kUndoSlots;
  const int f = UndoFloor[UndoPos];
  RecountOnly(f);
  const int topBefore = FloorTop(f);
  std::memcpy(UndoSlots[old], Tiles[f], sizeof(FloorImage));
  UndoFloor[old] = f;
  std::memcpy(Tiles[f], UndoSlots[UndoPos], sizeof(FloorImage));
  FindFloorSummaries(f, Width, Height);
  // Only the cells the step changes are counted, so that the view draws them
  // alone; no entry lies above the higher of the two floors' tops.
  TouchCellsDiffering(f, UndoSlots[old], std::max(topBefore, FloorTop(f)));
  // The house differs from what was last saved (or loaded): a Save, Undo,
  // Close must still ask.
  Modified = true;
  Recalculate();
  return f;
}

int TTAVIDoc::Redo() {
  if (UndoPos == UndoTop) return 0;
  ++editCount_;
  UndoPos = (UndoPos + 1) % kUndoSlots;
  const int f = UndoFloor[UndoPos];
  RecountOnly(f);
  TouchCellsDiffering(f, UndoSlots[UndoPos], kLayers);
  std::memcpy(Tiles[f], UndoSlots[UndoPos], sizeof(FloorImage));
  FindFloorSummaries(f, Width, Height);
  Modified = true;
  Recalculate();
  return f;
}

}  // namespace tavi
