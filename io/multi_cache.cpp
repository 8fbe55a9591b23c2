#include "io/multi_cache.h"

#include <sys/stat.h>

#include <climits>
#include <cstdio>

#include "io/comma_text.h"
#include "io/folder_list.h"
#include "io/house_file.h"
#include "io/stacking.h"

namespace tavi {

namespace {

bool IsRegularFile(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

int Span(int64_t lo, int64_t hi) {
  const int64_t s = hi - lo + 1;
  return s > INT_MAX ? INT_MAX : static_cast<int>(s);
}

}  // namespace

std::string DesktopFolder(const std::string& clientDir) {
  return FindNoCase(clientDir, "desktop");
}

std::vector<std::string> ListAccounts(const std::string& clientDir) {
  return ListEntriesWithoutDot(DesktopFolder(clientDir));
}

std::vector<std::string> ListShards(const std::string& clientDir, const std::string& account) {
  const std::string desktop = DesktopFolder(clientDir);
  if (desktop.empty() || account.empty()) return {};
  return ListEntriesWithoutDot(JoinPath(desktop, account));
}

std::vector<std::string> ListCharacters(const std::string& clientDir, const std::string& account,
                                        const std::string& shard) {
  const std::string desktop = DesktopFolder(clientDir);
  if (desktop.empty() || account.empty() || shard.empty()) return {};
  return ListEntriesWithoutDot(JoinPath(JoinPath(desktop, account), shard));
}

std::string CacheFilePath(const std::string& clientDir, const std::string& account,
                          const std::string& shard, const std::string& character) {
  const std::string desktop = DesktopFolder(clientDir);
  if (desktop.empty() || account.empty() || shard.empty() || character.empty()) return {};
  const std::string dir = JoinPath(JoinPath(JoinPath(desktop, account), shard), character);
  const std::string path = FindNoCase(dir, "Multicache.dat");
  return IsRegularFile(path) ? path : std::string();
}

bool AnyCacheFile(const std::string& clientDir) {
  int looked = 0;
  for (const std::string& account : ListAccounts(clientDir))
    for (const std::string& shard : ListShards(clientDir, account))
      for (const std::string& character : ListCharacters(clientDir, account, shard)) {
        if (!CacheFilePath(clientDir, account, shard, character).empty()) return true;
        if (++looked >= 10000) return false;
      }
  return false;
}

bool ReadCacheText(const std::string& path, std::string* text, std::string* error) {
  text->clear();
  if (!ReadWholeFile(path, text, error)) return false;
  // Also what a FIFO without a writer reads as.
  if (text->empty()) {
    if (error) *error = "'" + path + "' is empty";
    return false;
  }
  return true;
}

std::vector<std::string> SplitCacheLine(std::string_view line) {
  std::string commas(line);
  for (char& c : commas)
    if (c == '\t') c = ',';
  return SplitCommaText(commas);
}

std::string JoinCacheLines(const std::vector<std::string>& lines) {
  size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 1;
  std::string text;
  text.reserve(size);
  for (const std::string& line : lines) {
    text += line;
    text += '\n';
  }
  return text;
}

namespace {

// The cells a house's components cover so far, from their x and y.
class Extent {
 public:
  void Add(int64_t x, int64_t y) {
    if (!any_ || x < minX_) minX_ = x;
    if (!any_ || x > maxX_) maxX_ = x;
    if (!any_ || y < minY_) minY_ = y;
    if (!any_ || y > maxY_) maxY_ = y;
    any_ = true;
  }
  int Width() const { return Span(minX_, maxX_); }
  int Height() const { return Span(minY_, maxY_); }

 private:
  int64_t minX_ = 0, maxX_ = 0, minY_ = 0, maxY_ = 0;
  bool any_ = false;
};

}  // namespace

std::vector<CachedHouse> ListCachedHouses(std::string_view text) {
  std::vector<CachedHouse> houses;
  int64_t countdown = 0;  // component lines left in the current house
  Extent extent;
  int header = -1;
  LineReader lines(text);
  std::string_view line;
  lines.Next(&line);  // the first line is the file's version
  while (lines.Next(&line)) {
    const std::vector<std::string> f = SplitCacheLine(line);
    if (f.size() == 7) {
      countdown = ReadNumber(f[2]);
      extent = Extent();
      ++header;
    } else if (f.size() == 5) {
      extent.Add(ReadNumber(f[2]), ReadNumber(f[3]));
      if (--countdown == 0)
        houses.push_back(
            {int(houses.size()), extent.Width(), extent.Height(), header < 0 ? 0 : header});
    }
  }
  return houses;
}

std::string CachedHouseLabel(const CachedHouse& house) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%2d: %2dx%2d", house.number, house.width, house.height);
  return buf;
}

namespace {

// Walks to the header line of house `houseNumber` (counted over 7-field
// lines); its index from 0, or 0 when there is none (line 0 is the file's
// version, never a header). `lines` is left on the header.
size_t FindHeader(LineReader& lines, int houseNumber, std::vector<std::string>* header) {
  std::string_view line;
  lines.Next(&line);
  int remaining = houseNumber;
  while (lines.Next(&line)) {
    std::vector<std::string> f = SplitCacheLine(line);
    if (f.size() != 7) continue;
    if (remaining-- == 0) {
      *header = std::move(f);
      return size_t(lines.Number() - 1);
    }
  }
  return 0;
}

// Whether `count` more lines follow where `lines` stands.
bool LinesAhead(LineReader lines, int64_t count) {
  std::string_view line;
  int64_t there = 0;
  while (there < count && lines.Next(&line)) ++there;
  return there == count;
}

}  // namespace

int BuildCacheImage(std::string_view text, int houseNumber, const ITileFacts* facts,
                    HouseImage& image, std::string* error) {
  image.ClearTiles();
  if (houseNumber < 0) {
    *error = "no house is selected";
    return -1;
  }
  LineReader lines(text);
  std::string_view line;
  std::vector<std::string> header;
  const size_t headerLine = FindHeader(lines, houseNumber, &header);
  if (headerLine == 0) {
    *error = "house " + std::to_string(houseNumber) + " is not in the cache";
    return -1;
  }
  const int64_t count = ReadNumber(header[2]);
  const std::string where =
      "house " + std::to_string(houseNumber) + " (line " + std::to_string(headerLine + 1) + ")";
  if (count <= 0) {
    *error = where + " has no components";
    return -1;
  }
  // Every component line must be there before any is read.
  if (!LinesAhead(lines, count)) {
    *error = where + ": its " + std::to_string(count) + " component lines run past the end";
    return -1;
  }
  struct Part {
    int32_t id, x, y, z;
  };
  std::vector<Part> parts;
  parts.reserve(size_t(count));
  int base = 7;
  for (int64_t k = 1; k <= count; ++k) {
    lines.Next(&line);
    const std::vector<std::string> f = SplitCacheLine(line);
    if (f.size() < 5) {
      *error = "line " + std::to_string(lines.Number()) + ": a component needs 5 fields, it has " +
               std::to_string(f.size());
      return -1;
    }
    const Part p{ReadNumber(f[0]), ReadNumber(f[2]), ReadNumber(f[3]), ReadNumber(f[4])};
    // Houses standing on a low foundation sit one unit lower.
    if (p.z == 0 && (p.id == 20 || p.id == 189)) base = 6;
    parts.push_back(p);
  }
  const Footprint area = FootprintOf(parts);
  if (!area.FitsPlot()) {
    *error = where + " covers " + area.Size() + " cells; a plot holds at most 32x32";
    return -1;
  }
  image.Width = int(area.width);
  image.Height = int(area.height);
  image.SetBaseHeight(base);
  for (const Part& p : parts) {
    const auto id = static_cast<uint16_t>(p.id);
    // Cached houses split their altitudes at 7 whatever base height they get.
    int floor, z;
    SplitAltitude(p.z, 7, &floor, &z);
    if (floor >= kFloors) continue;
    // The tile data knows ids 0..65535 only; a larger number in the cache
    // names no known tile, so it is no floor tile even though its low 16 bits
    // (what the entry keeps) may name one.
    const bool known = p.id >= 0 && p.id <= 0xFFFF;
    const bool isFloor = known && facts && facts->TileHeight(id) == 0 && facts->IsBackground(id);
    StackImportedTile(image.Tiles[floor], int(p.x - area.minX), int(p.y - area.minY), id,
                      static_cast<int16_t>(static_cast<uint16_t>(z)), isFloor);
  }
  // Components of tile 0 stack like others but leave empty layers behind.
  image.CompactStacks();
  return base;
}

LoadResult ImportMultiCache(TTAVIDoc& doc, std::string_view text, int houseNumber) {
  auto image = NewHouseImage();
  std::string error;
  const int base = BuildCacheImage(text, houseNumber, doc.Facts(), *image, &error);
  if (base < 0) return LoadResult::Failure(error);
  TakeOverImage(doc, *image);
  return LoadResult::Success(base);
}

}  // namespace tavi
