#pragma once
// Writes the synthetic demo client: tiledata.mul, artidx.mul, art.mul,
// multi.idx, multi.mul and desktop/<account>/<shard>/<character>/Multicache.dat.
// The same content comes in each client generation: loose files (the
// default), packed containers (artLegacyMUL.uop and MultiCollection.uop
// instead of the art and multi files) or the older layout (tiledata.mul with
// 32-bit flags, multi.mul with 12-byte records). The output is the same on
// every run.
#include <cstdint>
#include <string>
#include <vector>

namespace tavi::demo {

enum class Generation { kLoose, kPacked, kOld };

// "loose", "packed", "old".
const char* GenerationName(Generation generation);
// Reads a generation name; false for anything else.
bool ParseGeneration(const std::string& name, Generation* generation);

struct WrittenFile {
  std::string path;
  uint64_t bytes = 0;
};

// Creates `dir` (and its parents) and writes every file into it. On failure
// returns false with a one-line message in *error; files written so far stay.
bool WriteDemoClient(const std::string& dir, std::vector<WrittenFile>* written, std::string* error,
                     Generation generation = Generation::kLoose);

// The file contents, for callers that want them in memory.
std::vector<uint8_t> BuildTileData(Generation generation = Generation::kLoose);
// Builds art.mul and artidx.mul together.
void BuildArt(std::vector<uint8_t>* art, std::vector<uint8_t>* index);
// Builds multi.mul and multi.idx together; the older generation writes
// 12-byte component records.
void BuildMultis(std::vector<uint8_t>* mul, std::vector<uint8_t>* index,
                 Generation generation = Generation::kLoose);
// The packed containers: every picture of art.mul under its art index, and
// every multi (zlib) with the housing entry that is no multi.
std::vector<uint8_t> BuildArtContainer();
std::vector<uint8_t> BuildMultiContainer();

// Number of records in the item section and of entries in the two index files.
constexpr int kTileDataItems = 0x4000;
constexpr int kArtIndexEntries = 0x8000;
constexpr int kMultiIndexEntries = 0x2000;

}  // namespace tavi::demo
