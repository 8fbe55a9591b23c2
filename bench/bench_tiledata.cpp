// Loading the tile data of a client (the demo client, and a synthetic one as
// large as a real client) against reading raw the two files it reads; then
// the decoding of pictures.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/ratio.h"
#include "bench/synthetic_client.h"
#include "client/tile_data.h"
#include "tools/demodata.h"

namespace {

namespace fs = std::filesystem;

// The demo client (its tile data is small: only the items it draws).
const fs::path& DemoDir() {
  static const fs::path dir = [] {
    const fs::path d =
        fs::temp_directory_path() / ("tavi-bench-tiles-" + std::to_string(::getpid()));
    fs::create_directories(d);
    std::string error;
    if (!tavi::demo::WriteDemoClient(d.string(), nullptr, &error))
      tavi::bench::WriteSyntheticClient(d, true, [](int id) {
        return id % 3 ? std::pair<int, int>{44, 44 + id % 81} : std::pair<int, int>{0, 0};
      });
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

// A client as large as a real one: all 65,536 item records and 0x14000 art
// index entries, two thirds of them with a (small) picture behind them.
const fs::path& RealSizeDir() {
  static const fs::path dir = [] {
    const fs::path d =
        fs::temp_directory_path() / ("tavi-bench-realsize-" + std::to_string(::getpid()));
    fs::create_directories(d);
    tavi::bench::WriteSyntheticClient(d, true, [](int id) {
      return id % 3 ? std::pair<int, int>{4 + id % 5, 6 + id % 7} : std::pair<int, int>{0, 0};
    });
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

// One read of a whole file into a buffer of its size.
size_t ReadAll(const fs::path& path, std::vector<uint8_t>& bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  struct stat st;
  if (fd < 0 || ::fstat(fd, &st) != 0) return 0;
  bytes.resize(size_t(st.st_size));
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) break;
    done += size_t(n);
  }
  ::close(fd);
  return done;
}

// The floor of loading the tile data: the two files it reads, read raw, and
// the art file opened (the loader only opens it; the decoders read it later).
struct RawRead {
  std::vector<uint8_t> idx, td;
  size_t Run(const fs::path& dir) {
    size_t bytes = ReadAll(dir / "artidx.mul", idx) + ReadAll(dir / "tiledata.mul", td);
    const int fd = ::open((dir / "art.mul").c_str(), O_RDONLY);
    struct stat st;
    if (fd >= 0) {
      benchmark::DoNotOptimize(::fstat(fd, &st));
      ::close(fd);
    }
    benchmark::DoNotOptimize(td.data());
    return bytes;
  }
};

void TileDataCreate(benchmark::State& state, const fs::path& dir) {
  RawRead raw;
  uint32_t items = 0;
  size_t bytes = 0;
  // No target is set for this one: the ratio is for information.
  tavi::bench::PathAgainstFloor(
      state, 0,
      [&] {
        auto t =
            tavi::TUOTileData::Create((dir / "artidx.mul").string(),
                                      (dir / "tiledata.mul").string(), (dir / "art.mul").string());
        items = t->ItemCount;
        benchmark::DoNotOptimize(t.get());
      },
      [&] { bytes = raw.Run(dir); });
  state.counters["items"] = items;
  state.counters["bytes_read"] = double(bytes);
}

void BM_TileDataCreateDemo(benchmark::State& state) {
  TileDataCreate(state, DemoDir());
}
BENCHMARK(BM_TileDataCreateDemo)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_TileDataCreateRealSize(benchmark::State& state) {
  TileDataCreate(state, RealSizeDir());
}
BENCHMARK(BM_TileDataCreateRealSize)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace

namespace {

// Pictures of every item of the client, decoded for textures and as thumbnails.
void BM_LoadArtRGBA(benchmark::State& state) {
  const fs::path& dir = DemoDir();
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
  const fs::path& dir = DemoDir();
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
