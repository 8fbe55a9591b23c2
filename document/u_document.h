#pragma once
// The house document: five floors of 32 x 32 cells, each cell a stack of up to
// 32 placed tiles, the per-cell summaries and the undo ring. Everything is one
// fixed block allocated with the document; edits never allocate.
#include <cstdint>
#include <cstring>

#include "document/doc_host.h"
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

  // Replaces the plot size (clamped to 1..32). Does not touch the tiles.
  void SetSize(int width, int height);
  bool InPlot(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
  static bool ValidFloor(int f) { return f >= 0 && f < kFloors; }

  // Empties all floors, optionally lays the default foundation on floor 0,
  // recomputes every cell, resets the undo ring (clearing Modified), Recalculate.
  void Clear(bool withFoundation);
  // Recomputes LayerCount and TopZ of one cell.
  void UpdateCell(int x, int y, int floor);
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
  int Undo();
  int Redo();

  // ---- price and customization check (document/customization.cpp) ----
  // The after-change hook: recounts the price and, while the host's
  // customization view is on, re-runs CheckCustomization.
  void Recalculate();
  // Number of customization parts inside the plot over all floors.
  int CountParts() const;
  // Rewrites Mark of every plot entry.
  void CheckCustomization();

  // ---- edit operations (placing, stacking, deleting, clipboard, wall
  // replacement, foundation builder) ----

 private:
  const ITileFacts* facts_;
  IDocHost* host_;
  PlainDocHost defaultHost_;
};

}  // namespace tavi
