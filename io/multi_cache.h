#pragma once
// The client's per-character house cache: <client>/desktop/<account>/<shard>/
// <character>/Multicache.dat, a text file of houses, each a 7-field header
// whose third field counts the 5-field component lines (id, unused, x, y, z)
// after it. Tabs count as commas.
#include <string>
#include <string_view>
#include <vector>

#include "document/house_document.h"
#include "document/tile_facts.h"
#include "io/house_image.h"
#include "io/io_result.h"

namespace tavi {

// The client's "desktop" folder (matched ignoring case); "" when absent.
std::string DesktopFolder(const std::string& clientDir);
std::vector<std::string> ListAccounts(const std::string& clientDir);
std::vector<std::string> ListShards(const std::string& clientDir, const std::string& account);
std::vector<std::string> ListCharacters(const std::string& clientDir, const std::string& account,
                                        const std::string& shard);
// The character's Multicache.dat (matched ignoring case); "" when absent.
std::string CacheFilePath(const std::string& clientDir, const std::string& account,
                          const std::string& shard, const std::string& character);

// Whether any character folder under the desktop folder holds a
// Multicache.dat (at most the first 10,000 character folders are looked at).
bool AnyCacheFile(const std::string& clientDir);
// Reads the cache file's text; false with a message when it cannot be read
// or is empty. The lines are walked in place (CR LF, LF and a lone CR end a
// line), so a file of many short lines costs no more than its size.
bool ReadCacheText(const std::string& path, std::string* text, std::string* error);
// Splits one cache line: tabs become commas, then comma-text splitting.
std::vector<std::string> SplitCacheLine(std::string_view line);
// The text of lines held one by one, each ended by LF (tests and callers
// that build a cache in memory).
std::string JoinCacheLines(const std::vector<std::string>& lines);

struct CachedHouse {
  int number;  // counter of the listed houses, from 0
  int width;   // footprint in cells
  int height;
  int headerIndex;  // which header line (from 0) starts it: the number to import
};

// The houses as the import dialog lists them: a house is listed once its
// component countdown reaches 0.
std::vector<CachedHouse> ListCachedHouses(std::string_view text);
inline std::vector<CachedHouse> ListCachedHouses(const std::vector<std::string>& lines) {
  return ListCachedHouses(JoinCacheLines(lines));
}
// "%2d: %2dx%2d" of number, width, height.
std::string CachedHouseLabel(const CachedHouse& house);

// Fills `image` with house `houseNumber` (counted over 7-field header lines).
// Returns the base height it chooses and gives the image (6 when a component of id 20 or 189
// stands at z 0, else 7), or -1 with a message.
int BuildCacheImage(std::string_view text, int houseNumber, const ITileFacts* facts,
                    HouseImage& image, std::string* error);

// Replaces the document with a cached house, its base height included.
// On failure (no such house, component lines past the end or too short, too
// wide a house) the document and base height are untouched.
LoadResult ImportMultiCache(TTAVIDoc& doc, std::string_view text, int houseNumber);
inline LoadResult ImportMultiCache(TTAVIDoc& doc, const std::vector<std::string>& lines,
                                   int houseNumber) {
  return ImportMultiCache(doc, JoinCacheLines(lines), houseNumber);
}

}  // namespace tavi
