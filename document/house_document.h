#pragma once
// The house document: five floors of 32 x 32 cells, each cell a stack of up to
// 32 placed tiles, the per-cell summaries and the undo ring. Everything is one
// fixed block allocated with the document; edits never allocate.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "document/doc_host.h"
#include "document/tile_fact_cache.h"
#include "document/tile_facts.h"

namespace tavi {

constexpr int kFloors = 5;
constexpr int kLayers = 32;
constexpr int kGrid = 32;       // cells per side of the tile block
constexpr int kUndoSlots = 17;  // the ring keeps 16 steps

// One placed tile. Three 16-bit fields in this order; 6 bytes.
struct TileEntry {
  int16_t Z;      // bottom altitude relative to the floor's base
  uint16_t Id;    // item id; 0 = empty
  uint16_t Mark;  // low byte 1 = flagged by the customization check; never saved
};
static_assert(sizeof(TileEntry) == 6, "TileEntry must be 6 bytes");

// One floor: [layer][y][x], one contiguous block of 196,608 bytes.
using FloorImage = TileEntry[kLayers][kGrid][kGrid];
static_assert(sizeof(FloorImage) == 196608, "floor image must be 196,608 bytes");

// The base height of floors 1..4 above the foundation runs from 0 to 9; every
// value a file, a clipboard text or a user gives is put into that range here.
inline int ClampBaseHeight(int base) {
  return base < 0 ? 0 : (base > 9 ? 9 : base);
}
constexpr int kDefaultBaseHeight = 7;

// A rectangle of cells, bounds included: left, top, right, bottom. Left = -1
// means that nothing is selected.
struct CellRect {
  int32_t Left = -1, Top = 0, Right = 0, Bottom = 0;
  bool Empty() const { return Left < 0; }
};

// A set of cells over the five floors: bit x of Rows[floor][y]. The cells an
// edit touched are kept in one, so that what follows an edit (the cell
// summaries now, a partial redraw later) can tell which cells changed.
struct CellSet {
  uint32_t Rows[kFloors][kGrid] = {};

  void Add(int floor, int x, int y) { Rows[floor][y] |= uint32_t(1) << x; }
  void AddFloor(int floor) {
    for (uint32_t& row : Rows[floor]) row = ~uint32_t(0);
  }
  bool Has(int floor, int x, int y) const { return (Rows[floor][y] >> x) & 1u; }
  bool WholeFloor(int floor) const;
  bool Empty() const;
  int Count() const;
};

// The tables whose rows the part replacement swaps between.
enum class ReplaceTable { kWalls, kDoors, kStairs, kEnchancements };

// The first line of the cut/copy clipboard text.
extern const char kClipHeader[];  // "TAVI File ver 1.00"
// True when text starts with the header line (the paste command is offered).
bool IsSelectionClipText(const std::string& text);

// The AoS window's price texts: "%10.0n gp" of the price, and "+", " " or "-"
// (price above, equal to or below the reference) followed by "%9.0n" of the
// difference; numbers grouped by `sep` (none when 0), no decimals.
std::string FormatPriceLabel(int64_t price, char sep);
std::string FormatDeltaLabel(int64_t price, int64_t reference, char sep);

class TTAVIDoc {
 public:
  // Sizes outside 1..32 are clamped into that range.
  TTAVIDoc(int width, int height, const ITileFacts* facts, IDocHost* host);
  ~TTAVIDoc();
  TTAVIDoc(const TTAVIDoc&) = delete;
  TTAVIDoc& operator=(const TTAVIDoc&) = delete;

  // ---- fields, in the documented order ----
  int32_t Width;
  int32_t Height;
  bool Modified = false;
  int32_t LayerCount[kFloors][kGrid][kGrid];
  int32_t TopZ[kFloors][kGrid][kGrid];
  FloorImage Tiles[kFloors];
  FloorImage UndoSlots[kUndoSlots];
  int32_t UndoFloor[kUndoSlots];
  int32_t UndoPos = 0, UndoTop = 0, UndoBottom = 0;

  // ---- collaborators ----
  const ITileFacts* Facts() const { return facts_; }
  IDocHost* Host() const { return host_; }
  void SetFacts(const ITileFacts* facts) { facts_ = facts; }
  void SetHost(IDocHost* host) { host_ = host ? host : &defaultHost_; }

  // One edit of the house, from the undo snapshot to the recount. The
  // operation names the cells it changes; when the scope ends it recomputes
  // their summaries (UpdateCell, or the whole floor), which counts them as
  // changed (ChangedCellsSince), keeps them as the document's LastEdit and
  // runs Recalculate
  // once. The constructor with a floor takes that floor's undo snapshot;
  // without one the caller has taken it (a drag places many tiles under one
  // snapshot) or takes it with Snapshot.
  class EditScope {
   public:
    EditScope(TTAVIDoc& doc, int floor);
    explicit EditScope(TTAVIDoc& doc);
    ~EditScope();
    EditScope(const EditScope&) = delete;
    EditScope& operator=(const EditScope&) = delete;

    // Takes the undo snapshot of a floor (an edit over several floors takes
    // one per floor, before changing it).
    void Snapshot(int floor) { doc_.PushUndo(floor); }
    // The cell (x, y) of `floor` was changed, or may have been.
    void Cell(int x, int y, int floor) {
      if (x >= 0 && y >= 0 && x < kGrid && y < kGrid && ValidFloor(floor))
        touched_.Add(floor, x, y);
    }
    // Every cell of a floor.
    void Floor(int floor) {
      if (ValidFloor(floor)) touched_.AddFloor(floor);
    }
    // The house now differs from the saved one.
    void Changed() { doc_.Modified = true; }

   private:
    TTAVIDoc& doc_;
    CellSet touched_;
  };

  // The cells the last finished EditScope touched.
  const CellSet& LastEdit() const { return lastEdit_; }

  // For tests: empty when the document is consistent, else what is wrong
  // first: inside the plot every stack is packed (no entry above an empty
  // layer) and LayerCount and TopZ agree with the tiles.
  std::string CheckInvariants() const;

  // Counts the changes of the house as drawn: tiles, marks, cell summaries
  // and plot size. Every operation that changes them ends in UpdateCell,
  // UpdateFloorCells, CheckCustomization, Undo, Redo or SetSize, which count
  // it; code that writes Tiles directly calls Touch (or UpdateCell)
  // afterwards. The view compares it to know when a frame must be drawn again.
  uint64_t Revision() const { return revision_; }
  // Counts the changes to the house (each undo step taken, each Undo and
  // Redo); the editor's recovery copy follows it.
  uint64_t EditCount() const { return editCount_; }
  // A change that may concern any cell (the whole house is drawn again).
  void Touch() { wholeRevision_ = ++revision_; }
  // The cells whose drawing may have changed since revision `since`, as
  // floor * 1024 + y * 32 + x, ascending, into *cells. False when a change
  // since then was not limited to known cells (Touch, a whole floor, the plot
  // size) or `since` is not a revision of this document: then any cell may
  // have changed. UpdateCell, Undo, Redo and the rule check's marks tell
  // their cells.
  bool ChangedCellsSince(uint64_t since, std::vector<int>* cells) const;

  // The height of floor 1 above the foundation (0..9): house data, saved in
  // the file and carried by the clipboard text. Setting it clamps it. It is
  // not part of the undo history and does not mark the house modified.
  int BaseHeight() const { return baseHeight_; }
  void SetBaseHeight(int base) { baseHeight_ = ClampBaseHeight(base); }

  // Replaces the plot size (clamped to 1..32). Does not touch the tiles.
  void SetSize(int width, int height);
  bool InPlot(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
  static bool ValidFloor(int f) { return f >= 0 && f < kFloors; }

  // Empties all floors, optionally lays the default foundation on floor 0,
  // recomputes every cell, resets the undo ring (clearing Modified), Recalculate.
  void Clear(bool withFoundation);
  // Recomputes LayerCount and TopZ of one cell.
  void UpdateCell(int x, int y, int floor);
  // UpdateCell on every cell of a floor inside the first `width` x `height`
  // cells, in one sequential pass over the floor image.
  void UpdateFloorCells(int floor, int width, int height);
  // UpdateCell on all 32 x 32 cells of every floor.
  void UpdateAllCells();

  // Tile predicates (through the tile facts; false without facts).
  bool IsFloorTile(uint16_t id) const;
  bool IsWallPart(uint16_t id) const;
  bool IsRoofPart(uint16_t id) const;
  bool IsPressPart(uint16_t id) const;
  uint16_t Category(uint16_t id) const { return facts_ ? facts_->Category(id) : 0; }
  int TileHeight(uint16_t id) const { return facts_ ? facts_->TileHeight(id) : 0; }

  // ---- undo ring ----
  void ResetUndo();
  void PushUndo(int floor);
  bool CanUndo() const { return UndoPos != UndoBottom; }
  bool CanRedo() const { return UndoPos != UndoTop; }
  // Both return the floor restored (0 when there was nothing to do) and set
  // Modified, for the house is then a changed one.
  int Undo();
  int Redo();

  // ---- price (document/price.cpp) and rule check (document/rule_check.cpp) ----
  // The after-change hook: recounts the price and, while the host's
  // customization view is on, re-runs CheckCustomization.
  void Recalculate();
  // Number of customization parts inside the plot over all floors.
  int CountParts() const;
  // Rewrites Mark of every plot entry.
  void CheckCustomization();
  // Highest LayerCount over the plot of a floor: no entry lies above it.
  int FloorTop(int floor) const;

  // ---- edit operations (placing, stacking, deleting, clipboard, wall
  // replacement, foundation builder) ----
  // Every operation ignores cells outside the plot, floors outside 0..4 and
  // layers outside 0..31.

  // Places one tile by its kind (floor, wall part, roof part, other) into
  // `image` (the floor's own Tiles or a scratch copy for the preview), reading
  // this document's LayerCount/TopZ. Takes no undo snapshot. With preview it
  // writes the image only and returns false; otherwise it updates the cell,
  // sets Modified, recalculates and returns true (false when the same floor,
  // wall or roof tile is already there, or the cell is outside the plot).
  bool PlaceTile(int x, int y, bool preview, FloorImage& image, int minZ, uint16_t id, int floor);
  // A four-step staircase from (x, y) climbing in `direction` (1 north,
  // 2 east, 3 south, 4 west) of stairs table `row`. Always returns true.
  bool PlaceAutoStairs(int x, int y, bool preview, FloorImage& image, int direction, int row,
                       int floor);
  // A staircase across the rectangle (four lines at most). Always returns true.
  bool PlaceStairsInRect(const CellRect& rect, int floor, int direction, int row);
  // Stacks `id` on every cell of the rectangle when mode is 1 ("Stack").
  void StackInRect(const CellRect& rect, int floor, int minZ, int mode, uint16_t id);
  // Removes one entry per cell: the top one, or with Parts Lock the highest
  // one that is not a customization part.
  void DeleteInRect(const CellRect& rect, int floor);
  // Removes one entry; the entries resting on it drop by its height.
  void DeleteEntry(int x, int y, int floor, int layer);
  // Moves an entry one unit up / down, or past its neighbour. Return the new
  // list position (counted from the top of the stack) or -1 when refused.
  int RaiseEntry(int x, int y, int floor, int layer);
  int LowerEntry(int x, int y, int floor, int layer);
  // Removes one entry; the entries above close up keeping their altitude.
  void RemoveEntry(int x, int y, int floor, int layer);

  // Selection clipboard text (header line, then "dx,dy,z,id" per entry, CR LF).
  void CopyRect(const CellRect& rect, int floor, ITextClipboard& clipboard);
  void CutRect(const CellRect& rect, int floor, ITextClipboard& clipboard);
  // Pastes the clipboard's entries with (dx, dy) = (0, 0) at (x0, y0), raised
  // by alt. `mode` has no effect.
  void PasteAt(int x0, int y0, int alt, int mode, int floor, const ITextClipboard& clipboard);
  // Pastes a selection text directly (the core of PasteAt).
  void PasteText(int x0, int y0, int alt, int floor, const std::string& text);

  // Swaps every part in the rectangle for the piece of the same column in
  // row `targetRow` of the table. False (and nothing changed) when the
  // rectangle is less than two cells wide or high.
  bool ReplaceParts(ReplaceTable table, const CellRect& rect, int floor, int targetRow);
  bool ReplaceWalls(const CellRect& r, int floor, int row) {
    return ReplaceParts(ReplaceTable::kWalls, r, floor, row);
  }
  bool ReplaceDoors(const CellRect& r, int floor, int row) {
    return ReplaceParts(ReplaceTable::kDoors, r, floor, row);
  }
  bool ReplaceStairs(const CellRect& r, int floor, int row) {
    return ReplaceParts(ReplaceTable::kStairs, r, floor, row);
  }
  bool ReplaceEnchancements(const CellRect& r, int floor, int row) {
    return ReplaceParts(ReplaceTable::kEnchancements, r, floor, row);
  }

  // Re-lays the foundation outline, floor, post, sign and hanger on floor 0
  // and sets the base height to the foundation height (6 or 7).
  void BuildFoundation(uint16_t sign, uint16_t hanger, uint16_t post, uint16_t edgeNS,
                       uint16_t cornerSE, uint16_t edgeWE, uint16_t cornerNW);
  // Removes every entry that is not a customization part from floors 1..4
  // (one undo step per floor).
  void DeleteExceptCustomization();

 private:
  bool ValidCell(int x, int y, int floor) const { return ValidFloor(floor) && InPlot(x, y); }
  // The part of a rectangle inside the plot (corners put in order); false when
  // the rectangle is empty or lies wholly outside.
  bool ClipToPlot(const CellRect& in, CellRect* out) const;
  // Parts Lock is on and the tile is a customization part.
  bool LockedPart(uint16_t id) const;
  // CheckInvariants for one cell.
  std::string CheckCell(int x, int y, int floor) const;
  // Removes the entry of `layer`, closing the stack up (all fields move).
  void RemoveLayer(int x, int y, int floor, int layer);

  // Counts a change of one cell (see ChangedCellsSince).
  void TouchCell(int x, int y, int floor) { cellRevision_[floor][y * kGrid + x] = ++revision_; }
  // LayerCount and TopZ of a floor's cells inside width x height, uncounted.
  void FindFloorSummaries(int floor, int width, int height);
  // Counts the cells of `floor` whose stacks differ from `image` in the
  // first `layers` layers as changed (an undo step restored or about to be).
  void TouchCellsDiffering(int floor, const FloorImage& image, int layers);

  const ITileFacts* facts_;
  IDocHost* host_;
  uint64_t revision_ = 0;
  uint64_t editCount_ = 0;
  // The revision of the last change of the whole house, and of each cell.
  uint64_t wholeRevision_ = 0;
  uint64_t cellRevision_[kFloors][kGrid * kGrid] = {};
  int baseHeight_ = kDefaultBaseHeight;
  CellSet lastEdit_;
  PlainDocHost defaultHost_;
  // Filled during one price count or rule check, forgotten at the next.
  TileFactCache factCache_;
  uint8_t partState_[0x4000];  // the price count's part flags (Recalculate)
  // The parts of each floor at the last count, good while the house is at
  // revision countRevision_ and the tile facts are countFacts_. An undo or a
  // redo changes one floor, so its count (recountFloor_) recounts that one.
  int64_t floorParts_[kFloors] = {};
  uint64_t countRevision_ = ~uint64_t(0);
  const ITileFacts* countFacts_ = nullptr;
  int recountFloor_ = -1;
  // The parts of one floor, through partState_ and the fact cache.
  int64_t CountFloorParts(int floor);
  // Before an undo or redo changes `floor`: the next Recalculate may recount
  // that floor alone when nothing else changed since the last count.
  void RecountOnly(int floor);
};

}  // namespace tavi
