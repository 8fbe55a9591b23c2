#pragma once
// Category words and heights of item ids, asked of the tile facts once per id
// and kept until the next Reset: one rule check or price count asks for the
// same few ids thousands of times. A fixed block held by the document, so that
// neither ever allocates.
#include <cstdint>
#include <cstring>

#include "document/tile_facts.h"

namespace tavi {

class TileFactCache {
 public:
  // Forgets every id; later lookups go to `facts` (none: every word and
  // height is 0).
  void Reset(const ITileFacts* facts) {
    facts_ = facts;
    std::memset(catKnown_, 0, sizeof(catKnown_));
    std::memset(heightKnown_, 0, sizeof(heightKnown_));
  }
  uint16_t Category(uint16_t id) {
    if (id < kIds && Known(catKnown_, id)) return cat_[id];
    const uint16_t c = facts_ ? facts_->Category(id) : 0;
    if (id < kIds) {
      cat_[id] = c;
      SetKnown(catKnown_, id);
    }
    return c;
  }
  int Height(uint16_t id) {
    if (id < kIds && Known(heightKnown_, id)) return height_[id];
    const uint8_t h = facts_ ? facts_->TileHeight(id) : 0;
    if (id < kIds) {
      height_[id] = h;
      SetKnown(heightKnown_, id);
    }
    return h;
  }

 private:
  static constexpr int kIds = 0x4000;  // ids with category words
  static bool Known(const uint32_t* bits, uint16_t id) { return (bits[id >> 5] >> (id & 31)) & 1u; }
  static void SetKnown(uint32_t* bits, uint16_t id) { bits[id >> 5] |= 1u << (id & 31); }

  const ITileFacts* facts_ = nullptr;
  uint16_t cat_[kIds];
  uint8_t height_[kIds];
  uint32_t catKnown_[kIds / 32] = {};
  uint32_t heightKnown_[kIds / 32] = {};
};

}  // namespace tavi
