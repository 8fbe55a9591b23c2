// tavi-cli demodata DIR: writes the synthetic demo client into DIR.
#include <iostream>

#include "cli/command.h"
#include "tools/demodata.h"

namespace tavi::cli {

namespace {

int RunDemoData(const Args& args) {
  if (args.positional.size() != 1) return Usage("demodata needs exactly one folder");
  std::vector<demo::WrittenFile> written;
  std::string error;
  const bool ok = demo::WriteDemoClient(args.positional[0], &written, &error);
  for (const auto& f : written) std::cout << "wrote " << f.path << " (" << f.bytes << " bytes)\n";
  if (!ok) return Fail(error);
  return kOk;
}

const Registrar reg("demodata", "DIR",
                    "writes a small synthetic client (tile data, art, multis, multi caches) "
                    "into DIR, the same on every run",
                    {}, {}, &RunDemoData);

}  // namespace

}  // namespace tavi::cli
