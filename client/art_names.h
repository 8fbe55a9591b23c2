#pragma once
// The art container names each picture after its art index,
// "build/artlegacymul/%08u.tga", and stores only the names' hashes. Those
// hashes are constants: tools/gen_art_name_table.cpp computes them when the
// editor is built and lays them out as an open-addressing table from a
// name's hash to its art index (the generated art_name_table.cpp belongs to
// this library). Opening a container then maps every entry to its picture
// with one probe and hashes no name.
#include <cstddef>
#include <cstdint>

namespace tavi {

constexpr char kArtNameFormat[] = "build/artlegacymul/%08u.tga";
// Art indices with a name in the table: every land tile and every item id the
// tile data can hold.
constexpr uint32_t kArtNames = 0x14000;

// 2^18 slots for 81,920 names: with less than a third of them in use,
// nearly every probe ends at its first or second slot.
constexpr int kArtNameSlotBits = 18;
constexpr size_t kArtNameSlots = size_t(1) << kArtNameSlotBits;
static_assert(kArtNames < kArtNameSlots, "the table needs empty slots");

// Where the probe for a hash starts.
constexpr size_t ArtNameHomeSlot(uint64_t hash) {
  return size_t((hash * 0x9E3779B97F4A7C15ull) >> (64 - kArtNameSlotBits));
}

// The table: a name's hash (0 in an empty slot; no name hashes to 0) and
// the art index it names.
extern const uint64_t kArtNameSlotHash[kArtNameSlots];
extern const uint32_t kArtNameSlotIndex[kArtNameSlots];

// The art index whose picture name has this hash; -1 for any other hash.
inline int32_t ArtIndexOfNameHash(uint64_t hash) {
  if (hash == 0) return -1;
  for (size_t slot = ArtNameHomeSlot(hash);; slot = (slot + 1) & (kArtNameSlots - 1)) {
    const uint64_t here = kArtNameSlotHash[slot];
    if (here == hash) return int32_t(kArtNameSlotIndex[slot]);
    if (here == 0) return -1;
  }
}

// A hint that ArtIndexOfNameHash(hash) follows soon.
inline void PrefetchArtNameSlot(uint64_t hash) {
  __builtin_prefetch(&kArtNameSlotHash[ArtNameHomeSlot(hash)]);
  __builtin_prefetch(&kArtNameSlotIndex[ArtNameHomeSlot(hash)]);
}

}  // namespace tavi
