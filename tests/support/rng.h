#pragma once
// A small random number generator for generated test corpora: splitmix64,
// the same sequence on every platform and library, so recorded results stay
// good.
#include <cstdint>

namespace tavi::test {

struct Rng {
  uint64_t state;
  uint32_t Next() {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return uint32_t((z ^ (z >> 31)) >> 16);
  }
  int Below(int n) { return n > 0 ? int(Next() % uint32_t(n)) : 0; }
  bool Chance(int percent) { return Below(100) < percent; }
};

}  // namespace tavi::test
