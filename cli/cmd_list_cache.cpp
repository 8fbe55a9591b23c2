// tavi-cli list-cache CACHEFILE: the cached houses as the import dialog lists them.
#include <iostream>

#include "cli/command.h"
#include "io/multi_cache.h"

namespace tavi::cli {
namespace {

int RunListCache(const Args& args) {
  if (args.positional.size() != 1) return Usage("list-cache needs one cache file");
  std::vector<std::string> lines;
  std::string error;
  if (!ReadCacheLines(args.positional[0], &lines, &error)) return Fail(error);
  for (const CachedHouse& h : ListCachedHouses(lines)) std::cout << CachedHouseLabel(h) << "\n";
  return kOk;
}

const Registrar reg("list-cache", "CACHEFILE",
                    "prints the cached houses as the import dialog lists them", {}, {},
                    &RunListCache);

}  // namespace
}  // namespace tavi::cli
