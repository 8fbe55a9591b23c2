// tavi-cli demodata DIR [--generation loose|packed|old]: writes the synthetic
// demo client into DIR, in the layout of one client generation.
#include <iostream>

#include "cli/command.h"
#include "tools/demodata.h"

namespace tavi::cli {

namespace {

int RunDemoData(const Args& args) {
  if (args.positional.size() != 1) return Usage("demodata needs exactly one folder");
  demo::Generation generation = demo::Generation::kLoose;
  if (args.Has("generation") && !demo::ParseGeneration(args.Get("generation"), &generation))
    return Usage("--generation must be loose, packed or old");
  std::vector<demo::WrittenFile> written;
  std::string error;
  const bool ok = demo::WriteDemoClient(args.positional[0], &written, &error, generation);
  for (const auto& f : written) std::cout << "wrote " << f.path << " (" << f.bytes << " bytes)\n";
  if (!ok) return Fail(error);
  return kOk;
}

const Registrar reg("demodata", "DIR [--generation loose|packed|old]",
                    "writes a small synthetic client (tile data, art, multis, multi caches) "
                    "into DIR, the same on every run; --generation picks the file layout: "
                    "loose files (default), packed containers, or the older layout",
                    {"generation"}, {}, &RunDemoData);

}  // namespace

}  // namespace tavi::cli
