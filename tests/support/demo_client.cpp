#include "support/demo_client.h"

#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "tools/demodata.h"

namespace tavi::test {

namespace {

namespace fs = std::filesystem;

std::string WriteDemo(DemoGeneration g) {
  const fs::path base =
      fs::temp_directory_path() /
      ("tavi-demo-" + std::to_string(::getpid()) +
       (g == DemoGeneration::kLoose ? std::string() : std::string("-") + DemoGenerationName(g)));
  std::string error;
  const bool written = demo::WriteDemoClient(base.string(), nullptr, &error, g);
  if (written && fs::exists(base / "tiledata.mul")) return base.string();
  std::error_code ec;
  fs::remove_all(base, ec);  // nothing usable: leave no folder behind
  if (written) error = "no tiledata.mul was written";
  // The demo client is the project's own: a failure to write it is a fault
  // that the test using it reports, never a reason to skip.
  throw std::runtime_error("the " + std::string(DemoGenerationName(g)) +
                           " demo client could not be written to '" + base.string() +
                           "': " + error);
}

// Each folder is removed when the test program ends.
struct DemoFolder {
  std::string dir;
  explicit DemoFolder(DemoGeneration g) : dir(WriteDemo(g)) {}
  ~DemoFolder() {
    std::error_code ec;
    if (!dir.empty()) fs::remove_all(dir, ec);
  }
};

}  // namespace

const std::string& DemoClientDir(DemoGeneration g) {
  static const DemoFolder loose(DemoGeneration::kLoose);
  if (g == DemoGeneration::kLoose) return loose.dir;
  if (g == DemoGeneration::kPacked) {
    static const DemoFolder packed(DemoGeneration::kPacked);
    return packed.dir;
  }
  static const DemoFolder old(DemoGeneration::kOld);
  return old.dir;
}

DemoPaths DemoClientPaths(DemoGeneration g) {
  const std::string& dir = DemoClientDir(g);
  DemoPaths p;
  if (dir.empty()) return p;
  p.tileData = dir + "/tiledata.mul";
  if (g == DemoGeneration::kPacked) {
    p.art = dir + "/artLegacyMUL.uop";
    p.multi = dir + "/MultiCollection.uop";
  } else {
    p.artIdx = dir + "/artidx.mul";
    p.art = dir + "/art.mul";
    p.multiIdx = dir + "/multi.idx";
    p.multi = dir + "/multi.mul";
  }
  return p;
}

}  // namespace tavi::test
