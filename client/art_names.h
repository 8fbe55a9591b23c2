#pragma once
// The art container names each picture after its art index,
// "build/artlegacymul/%08u.tga", and stores only the names' hashes. Those
// hashes are constants: tools/gen_art_name_table.cpp computes them when the
// editor is built and lays them out as an open-addressing table from a
// name's hash to its art index (the generated art_name_table.cpp belongs to
// this library), beside the hashes in the order of the indices. Opening a
// container then maps every entry to its picture without hashing any name.
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

// Where the probe for a hash starts: its top bits (the name hashes are
// evenly spread, and a file's hashes can only walk the clusters of the
// fixed table, the longest of which the generator reports). Entries listed
// in the order of their hashes thus probe the table front to back.
constexpr size_t ArtNameHomeSlot(uint64_t hash) {
  return size_t(hash >> (64 - kArtNameSlotBits));
}

// The table: a name's hash (0 in an empty slot; no name hashes to 0) and
// the art index it names.
extern const uint64_t kArtNameSlotHash[kArtNameSlots];
extern const uint32_t kArtNameSlotIndex[kArtNameSlots];
// The hash of each art index's name.
extern const uint64_t kArtNameHash[kArtNames];

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

// Maps the hashes of a container's entries, one after the other, to art
// indices. In a container written in the order of its names, gaps and all
// (as the demo client's and the tests' are), an entry is mostly one of the
// few names after the previous picture's: it is compared with those first,
// memory read a moment ago, and looked up in the table only when it is none
// of them. The answer is the same either way.
class ArtNameMatcher {
 public:
  int32_t IndexOf(uint64_t hash) {
    for (uint32_t k = 0; k < kGuesses && next_ + k < kArtNames; ++k)
      if (kArtNameHash[next_ + k] == hash) {
        next_ += k + 1;
        inOrder_ = true;
        return int32_t(next_ - 1);
      }
    inOrder_ = false;
    const int32_t index = ArtIndexOfNameHash(hash);
    if (index >= 0) next_ = uint32_t(index) + 1;
    return index;
  }
  // Whether the last entry followed its predecessor: the next ones are
  // likely to, and need no table slot fetched ahead.
  bool InOrder() const { return inOrder_; }

 private:
  static constexpr uint32_t kGuesses = 4;  // a gap of up to 3 absent pictures
  uint32_t next_ = 0;
  bool inOrder_ = true;
};

}  // namespace tavi
