#pragma once
// The synthetic demo client, written once per test program and generation by
// the demo data library into a temporary folder. Returns the folder; when it
// cannot be written, throws std::runtime_error with the writer's message, so
// the test that asked fails and says why.
#include <ostream>
#include <string>

#include "tools/demodata.h"

namespace tavi::test {

// The client generations the demo can be written as: loose files, packed
// containers, and the older layout (32-bit tile flags, 12-byte multi records).
using DemoGeneration = demo::Generation;
constexpr DemoGeneration kAllGenerations[] = {DemoGeneration::kLoose, DemoGeneration::kPacked,
                                              DemoGeneration::kOld};

// "loose", "packed", "old", as `tavi-cli demodata --generation` takes them.
inline const char* DemoGenerationName(DemoGeneration g) {
  return demo::GenerationName(g);
}
inline std::ostream& operator<<(std::ostream& out, DemoGeneration g) {
  return out << DemoGenerationName(g);
}

const std::string& DemoClientDir(DemoGeneration g = DemoGeneration::kLoose);

// The files of a demo client of any generation, as the settings would name
// them after discovery: the index paths are empty where a container stands
// in for the pair.
struct DemoPaths {
  std::string artIdx, art, tileData, multiIdx, multi;
};
DemoPaths DemoClientPaths(DemoGeneration g);

}  // namespace tavi::test
