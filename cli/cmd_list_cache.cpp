// tavi-cli list-cache CACHEFILE: the cached houses as the import dialog lists them.
#include <iostream>

#include "cli/command.h"
#include "io/multi_cache.h"

namespace tavi::cli {
namespace {

int RunListCache(const Args& args) {
  if (args.positional.size() != 1) return Usage("list-cache needs one cache file");
  std::string text;
  std::string error;
  if (!ReadCacheText(args.positional[0], &text, &error)) return Fail(error);
  for (const CachedHouse& h : ListCachedHouses(text)) std::cout << CachedHouseLabel(h) << "\n";
  return kOk;
}

const Registrar reg("list-cache", "CACHEFILE",
                    "prints the cached houses as the import dialog lists them", {}, {},
                    &RunListCache);

}  // namespace
}  // namespace tavi::cli
