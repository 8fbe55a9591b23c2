#pragma once
// Writes the synthetic demo client: tiledata.mul, artidx.mul, art.mul,
// multi.idx, multi.mul and desktop/<account>/<shard>/<character>/Multicache.dat.
// The output is the same on every run.
#include <cstdint>
#include <string>
#include <vector>

namespace tavi::demo {

struct WrittenFile {
  std::string path;
  uint64_t bytes = 0;
};

// Creates `dir` (and its parents) and writes every file into it. On failure
// returns false with a one-line message in *error; files written so far stay.
bool WriteDemoClient(const std::string& dir, std::vector<WrittenFile>* written, std::string* error);

// The file contents, for callers that want them in memory.
std::vector<uint8_t> BuildTileData();
// Builds art.mul and artidx.mul together.
void BuildArt(std::vector<uint8_t>* art, std::vector<uint8_t>* index);
void BuildMultis(std::vector<uint8_t>* mul, std::vector<uint8_t>* index);

// Number of records in the item section and of entries in the two index files.
constexpr int kTileDataItems = 0x4000;
constexpr int kArtIndexEntries = 0x8000;
constexpr int kMultiIndexEntries = 0x2000;

}  // namespace tavi::demo
