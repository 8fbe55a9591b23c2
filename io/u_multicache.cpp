#include "io/u_multicache.h"

namespace tavi {

std::string DesktopFolder(const std::string&) { return {}; }
std::vector<std::string> ListAccounts(const std::string&) { return {}; }
std::vector<std::string> ListShards(const std::string&, const std::string&) { return {}; }
std::vector<std::string> ListCharacters(const std::string&, const std::string&,
                                        const std::string&) {
  return {};
}
std::string CacheFilePath(const std::string&, const std::string&, const std::string&,
                          const std::string&) {
  return {};
}
bool ReadCacheLines(const std::string&, std::vector<std::string>* lines, std::string* error) {
  lines->clear();
  if (error) *error = "not ready";
  return false;
}
std::vector<std::string> SplitCacheLine(const std::string&) { return {}; }
std::vector<CachedHouse> ListCachedHouses(const std::vector<std::string>&) { return {}; }
std::string CachedHouseLabel(const CachedHouse&) { return {}; }
int BuildCacheImage(const std::vector<std::string>&, int, const ITileFacts*, HouseImage&,
                    std::string* error) {
  if (error) *error = "not ready";
  return -1;
}
LoadResult ImportMultiCache(TTAVIDoc&, const std::vector<std::string>&, int) {
  return LoadResult::Failure("not ready");
}

}  // namespace tavi
