#pragma once
// Which placed tile of the current floor lies under a point: every quad and
// grid diamond of the picking pass that touches the pixel gives a hit record
// (as a selection buffer would hold them), and the record whose depth matches
// the last frame's depth at that pixel wins.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/art_source.h"
#include "render/draw_list.h"

namespace tavi {

// What a pick names: one entry (cell and layer) of the current floor. The
// picking pass carries it as one number, (y * 32 + x) * 32 + layer; -1 names
// nothing.
struct PickName {
  int x = -1, y = -1, layer = -1;

  int32_t Encode() const { return (y * 32 + x) * 32 + layer; }
  // A negative number decodes to the empty name.
  static PickName Decode(int32_t name) {
    if (name < 0) return {};
    return {(name / 32) % 32, name / 1024, name % 32};
  }
  bool Empty() const { return layer < 0; }
};

constexpr int kSelectBufferSize = 1000;  // 32-bit words of the hit buffer
// Shown when the hit buffer overflows (the text ends in a backslash and 'n').
constexpr const char kBufferOverflowText[] = "Buffer overflow\\n";

// Hit records at drawing-surface point (px, py) (scroll included): each record
// is {name count, min depth, max depth, names...}, depths scaled to 0..2^32-1.
// Returns the hit count, or -1 when the records do not fit kSelectBufferSize.
int CollectHits(const DrawList& pass, IArtSource* art, double zoom, int px, int py,
                std::vector<uint32_t>* buffer);

// Chooses among the hit records: the one whose minimum depth is closest to
// `depth` (ties to the later), -1 for none. A negative hit count sets
// *overflow and gives -1; the main window then shows kBufferOverflowText in
// its status bar.
int SelectHit(int hitCount, const uint32_t* buffer, size_t words, float depth,
              bool* overflow = nullptr);

// CollectHits + SelectHit against the frame's depth at that pixel.
int PickTile(const DrawList& pass, IArtSource* art, double zoom, int px, int py, float depth,
             bool* overflow = nullptr);

}  // namespace tavi
