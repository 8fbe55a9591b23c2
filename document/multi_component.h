#pragma once
// One component of a multi (a standard or cached house of the client): an item
// id and its offset from the multi's centre, in cells and altitude units.
#include <cstdint>

namespace tavi {

struct MultiComponent {
  uint16_t id;
  int16_t x, y, z;
};

}  // namespace tavi
