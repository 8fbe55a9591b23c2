// The object catalogue's "Main" tab with about 16,000 items: laying out and
// drawing one screen of cells, and scrolling by one screen.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QScrollBar>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "app/catalogue_window.h"
#include "app/picture_grid.h"
#include "client/tile_data.h"
#include "tools/demodata.h"

namespace {

using namespace tavi;
namespace fs = std::filesystem;

std::unique_ptr<TUOTileData> g_tiles;
constexpr int kItems = 16000;

// The demo client, with every item id below kItems given a picture (items
// without one borrow the picture of an item that has one), so the catalogue
// lists about as many items as a full client.
bool MakeClient(const fs::path& dir) {
  std::string error;
  if (!demo::WriteDemoClient(dir.string(), nullptr, &error)) return false;
  std::fstream idx(dir / "artidx.mul", std::ios::in | std::ios::out | std::ios::binary);
  std::ostringstream text;
  text << idx.rdbuf();
  const std::string bytes = text.str();
  std::vector<char> data(bytes.begin(), bytes.end());
  auto* entries = reinterpret_cast<ArtIndexEntry*>(data.data());
  const size_t count = data.size() / sizeof(ArtIndexEntry);
  std::vector<ArtIndexEntry> withArt;
  for (size_t i = kItemArtBase; i < count; ++i)
    if (entries[i].Offset >= 0 && entries[i].Length > 0) withArt.push_back(entries[i]);
  if (withArt.empty() || count < kItemArtBase + kItems) return false;
  for (int id = 0; id < kItems; ++id) {
    ArtIndexEntry& e = entries[kItemArtBase + id];
    if (e.Offset < 0 || e.Length <= 0) e = withArt[size_t(id) % withArt.size()];
  }
  idx.seekp(0);
  idx.write(data.data(), std::streamsize(data.size()));
  return bool(idx);
}

ToolHost Host() {
  ToolHost h;
  h.tiles = g_tiles.get();
  return h;
}

void BM_LayOutAndDrawFirstScreen(benchmark::State& state) {
  int cells = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto form = std::make_unique<TObjForm>(Host(), QString());
    form->resize(420, 900);
    state.ResumeTiming();
    form->show();
    QApplication::processEvents();
    const QPixmap shot = form->Grid()->viewport()->grab();
    benchmark::DoNotOptimize(shot.cacheKey());
    cells = form->ThumbnailsDrawn();
    state.PauseTiming();
    form.reset();
    state.ResumeTiming();
  }
  state.counters["items"] = g_tiles->ItemCount;
  state.counters["cells_drawn"] = cells;
}
BENCHMARK(BM_LayOutAndDrawFirstScreen)->Unit(benchmark::kMillisecond);

void ScrollBench(benchmark::State& state, bool backAndForth) {
  TObjForm form(Host(), QString());
  form.resize(420, 900);
  form.show();
  QApplication::processEvents();
  PictureGrid* g = form.Grid();
  const int page = g->VisibleRows();
  int screens = 0;
  for (auto _ : state) {
    int next = g->TopRow() + page;
    if (backAndForth) next = g->TopRow() == 0 ? page : 0;
    if (next > g->verticalScrollBar()->maximum()) next = 0;
    g->verticalScrollBar()->setValue(next);
    const QPixmap shot = g->viewport()->grab();
    benchmark::DoNotOptimize(shot.cacheKey());
    ++screens;
  }
  state.counters["cells_per_screen"] = g->ColCount() * page;
  state.counters["thumbnails_drawn"] = form.ThumbnailsDrawn();
}

void BM_ScrollOneScreenNewCells(benchmark::State& state) {
  ScrollBench(state, false);
}
void BM_ScrollOneScreenCached(benchmark::State& state) {
  ScrollBench(state, true);
}
BENCHMARK(BM_ScrollOneScreenNewCells)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollOneScreenCached)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const fs::path dir =
      fs::temp_directory_path() / ("tavi-bench-catalogue-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  if (!MakeClient(dir)) {
    std::fprintf(stderr, "could not write the demo client\n");
    return 1;
  }
  g_tiles = TUOTileData::Create((dir / "artidx.mul").string(), (dir / "tiledata.mul").string(),
                                (dir / "art.mul").string());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  g_tiles.reset();
  fs::remove_all(dir);
  return 0;
}
