// Import and export of a design of 100,000 components in each exchange
// format, against a plain read-and-split of the same file.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "bench/ratio.h"
#include "io/atomic_file.h"
#include "io/design.h"
#include "io/design_formats.h"

namespace {

using namespace tavi;
namespace bench = tavi::bench;

constexpr int kComponents = 100000;
constexpr DesignFormat kFormats[] = {DesignFormat::kUoaText, DesignFormat::kMultiText,
                                     DesignFormat::kUoaBinary, DesignFormat::kCsv,
                                     DesignFormat::kWsc};

struct NoFacts : ITileFacts {
  uint8_t TileHeight(uint16_t) const override { return 0; }
  bool IsBackground(uint16_t) const override { return false; }
  uint16_t Category(uint16_t) const override { return 0; }
};

std::string MemoryFolder() {
  struct stat st;
  return stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) ? "/dev/shm" : "/tmp";
}

// A 31 x 31 plot and its steps row, 21 tiles a cell on every floor until
// 100,000 components; each stack rises with its layers, as the editor keeps
// them, and stays on its floor at base height 7.
struct Big {
  NoFacts facts;
  PlainDocHost host;
  std::unique_ptr<TTAVIDoc> doc;
  std::string paths[5];
  Big() {
    doc = std::make_unique<TTAVIDoc>(32, 32, &facts, &host);
    doc->Clear(false);
    int n = 0;
    for (int f = 0; f < kFloors; ++f)
      for (int l = 0; l < 21; ++l)
        for (int y = 0; y < 32; ++y)
          for (int x = 0; x < 31 && n < kComponents; ++x, ++n)
            doc->Tiles[f][l][y][x] = {int16_t(f == 0 ? l * 6 / 20 : l * 19 / 20),
                                      uint16_t(1000 + l * 7 + (x + y) % 4), 0};
    doc->UpdateAllCells();
    const Design d = DesignOfHouse(*doc);
    for (int i = 0; i < 5; ++i) {
      paths[i] = MemoryFolder() + "/tavi-bench-design-" + std::to_string(getpid()) + "." +
                 DesignFormatName(kFormats[i]);
      std::string error;
      WriteFileAtomically(paths[i], WriteDesign(kFormats[i], d), &error);
    }
  }
  ~Big() {
    for (const std::string& p : paths) {
      std::remove(p.c_str());
      std::remove((p + ".out").c_str());
    }
  }
};

Big& House() {
  static Big big;
  return big;
}

// The floor: one read of the whole file into a buffer of its size and one
// pass cutting it into fields (views into a reserved vector): at blanks,
// commas and line ends, or into 12-byte records for the binary format.
struct Floor {
  std::vector<char> text;
  std::vector<std::string_view> fields;
  bool binary;
  Floor(const std::string& path, bool isBinary) : binary(isBinary) {
    struct stat st;
    if (stat(path.c_str(), &st) == 0) fields.reserve(size_t(st.st_size) / 2);
  }
  void Run(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0) return;
    text.resize(size_t(st.st_size));
    size_t done = 0;
    while (done < text.size()) {
      const ssize_t n = read(fd, text.data() + done, text.size() - done);
      if (n <= 0) break;
      done += size_t(n);
    }
    close(fd);
    fields.clear();
    if (binary) {
      for (size_t i = 0; i + 12 <= done; i += 12) fields.emplace_back(text.data() + i, 12);
    } else {
      size_t start = 0;
      for (size_t i = 0; i < done; ++i) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\n') {
          if (i > start) fields.emplace_back(text.data() + start, i - start);
          start = i + 1;
        }
      }
    }
    benchmark::DoNotOptimize(fields.data());
  }
};

void BM_DesignImport(benchmark::State& state) {
  Big& h = House();
  const int i = int(state.range(0));
  const std::string& path = h.paths[i];
  auto target = std::make_unique<TTAVIDoc>(8, 8, &h.facts, &h.host);
  target->Clear(false);
  Floor floor(path, kFormats[i] == DesignFormat::kUoaBinary);
  bool ok = true;
  std::string error;
  bench::PathAgainstFloor(
      state, 3.0,
      [&] {
        DesignFile file;
        ok = ok && ReadDesignFile(path, &kFormats[i], &file, &error) &&
             ImportDesign(*target, file.designs[0], 7).ok;
      },
      [&] { floor.Run(path); });
  if (!ok) state.SkipWithError("the design did not import");
  state.SetLabel(DesignFormatName(kFormats[i]));
}
BENCHMARK(BM_DesignImport)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseManualTime();

// The whole export: the components, the text and the file written beside
// the target and renamed over it, on a memory file system.
void BM_DesignExport(benchmark::State& state) {
  Big& h = House();
  const int i = int(state.range(0));
  const std::string& path = h.paths[i];
  const std::string out = path + ".out";
  Floor floor(path, kFormats[i] == DesignFormat::kUoaBinary);
  bool ok = true;
  std::string error;
  bench::PathAgainstFloor(
      state, 3.0,
      [&] {
        ok =
            ok && WriteFileAtomically(out, WriteDesign(kFormats[i], DesignOfHouse(*h.doc)), &error);
      },
      [&] { floor.Run(path); });
  if (!ok) state.SkipWithError("the design was not written");
  state.SetLabel(DesignFormatName(kFormats[i]));
}
BENCHMARK(BM_DesignExport)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
