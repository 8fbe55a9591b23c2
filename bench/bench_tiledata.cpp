// Loading the tile data of a client against reading its three files raw.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "client/tile_data.h"

#ifndef TAVI_CLI_PATH
#define TAVI_CLI_PATH "tavi-cli"
#endif

namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A client as large as a real one: every item record, an index entry for
// every land tile and item, and a small picture behind each of them.
void WriteSyntheticClient(const fs::path& dir) {
  std::vector<uint8_t> td(493568, 0);
  for (int id = 0; id < 65536; ++id) {
    if (id % 32 == 0) td.insert(td.end(), 4, 0);
    std::vector<uint8_t> rec(41, 0);
    rec[20] = uint8_t(id % 21);
    rec[21] = 'a' + id % 26;
    td.insert(td.end(), rec.begin(), rec.end());
  }
  std::vector<uint8_t> art, idx;
  auto put32 = [](std::vector<uint8_t>& v, uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(uint8_t(x >> (8 * i)));
  };
  for (int i = 0; i < 0x4000 + 0x10000; ++i) {
    const bool present = i % 3 != 0;
    put32(idx, present ? uint32_t(art.size()) : 0xFFFFFFFFu);
    put32(idx, present ? 64 : 0);
    put32(idx, 0);
    if (present) art.insert(art.end(), 64, uint8_t(i));
  }
  WriteFile(dir / "tiledata.mul", td);
  WriteFile(dir / "artidx.mul", idx);
  WriteFile(dir / "art.mul", art);
}

const fs::path& ClientDir() {
  static const fs::path dir = [] {
    const fs::path d =
        fs::temp_directory_path() / ("tavi-bench-tiles-" + std::to_string(::getpid()));
    fs::create_directories(d);
    const std::string cmd =
        std::string("\"") + TAVI_CLI_PATH + "\" demodata \"" + d.string() + "\" >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0 || !fs::exists(d / "tiledata.mul")) WriteSyntheticClient(d);
    return d;
  }();
  static const struct Cleanup {
    ~Cleanup() {
      std::error_code ec;
      fs::remove_all(dir, ec);
    }
  } cleanup;
  return dir;
}

std::vector<uint8_t> ReadAll(const fs::path& path) {
  std::ifstream f(path, std::ios::binary | std::ios::ate);
  std::vector<uint8_t> bytes(size_t(f.tellg()));
  f.seekg(0);
  f.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
  return bytes;
}

void BM_ReadThreeFilesRaw(benchmark::State& state) {
  const fs::path& dir = ClientDir();
  size_t bytes = 0;
  for (auto _ : state) {
    std::vector<uint8_t> idx = ReadAll(dir / "artidx.mul");
    std::vector<uint8_t> td = ReadAll(dir / "tiledata.mul");
    std::vector<uint8_t> art = ReadAll(dir / "art.mul");
    bytes = idx.size() + td.size() + art.size();
    benchmark::DoNotOptimize(art.data());
  }
  state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_ReadThreeFilesRaw)->Unit(benchmark::kMillisecond);

void BM_TileDataCreate(benchmark::State& state) {
  const fs::path& dir = ClientDir();
  uint32_t items = 0;
  for (auto _ : state) {
    auto t = tavi::TUOTileData::Create((dir / "artidx.mul").string(),
                                       (dir / "tiledata.mul").string(), (dir / "art.mul").string());
    items = t->ItemCount;
    benchmark::DoNotOptimize(t.get());
  }
  state.counters["items"] = items;
}
BENCHMARK(BM_TileDataCreate)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// Pictures of every item of the client, decoded for textures and as thumbnails.
void BM_LoadArtRGBA(benchmark::State& state) {
  const fs::path& dir = ClientDir();
  auto t = tavi::TUOTileData::Create((dir / "artidx.mul").string(), (dir / "tiledata.mul").string(),
                                     (dir / "art.mul").string());
  uint32_t i = 0;
  for (auto _ : state) {
    tavi::ArtRGBA art;
    benchmark::DoNotOptimize(t->LoadArtRGBA(tavi::kItemArtBase + t->ItemIds[i], &art));
    i = (i + 1) % std::max<uint32_t>(1, t->ItemCount);
  }
}
BENCHMARK(BM_LoadArtRGBA);

void BM_DrawArtThumbnail(benchmark::State& state) {
  const fs::path& dir = ClientDir();
  auto t = tavi::TUOTileData::Create((dir / "artidx.mul").string(), (dir / "tiledata.mul").string(),
                                     (dir / "art.mul").string());
  tavi::TBitmap24 bmp(44, 80);
  uint32_t i = 0;
  for (auto _ : state) {
    t->DrawArt(bmp, tavi::kItemArtBase + t->ItemIds[i], 0, 0);
    benchmark::DoNotOptimize(bmp.Bits.data());
    i = (i + 1) % std::max<uint32_t>(1, t->ItemCount);
  }
}
BENCHMARK(BM_DrawArtThumbnail);

}  // namespace
