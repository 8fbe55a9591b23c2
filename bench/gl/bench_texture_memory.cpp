// Memory of the view's pictures: a house of 20,480 distinct items (every cell
// of every floor of a 32 x 32 plot, four items a cell), each with a picture
// of its own (44 pixels wide, 44 to 124 high), drawn once through the OpenGL
// backend. Reported: the growth of the process's resident memory and the
// texture pages, each per byte of the pictures' own RGBA size (target 1.3).
// The growth includes everything the first frame brings: the draw buffers,
// the cache's tables and the driver's own.
// Run under xvfb-run.
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/synthetic_client.h"
#include "client/tile_data.h"
#include "document/doc_host.h"
#include "document/house_document.h"
#include "render/art_source.h"
#include "render/gl/gl_texture.h"
#include "render/scene.h"

namespace tavi::bench {
namespace {

constexpr int kViewW = 1280, kViewH = 1024;

size_t ResidentBytes() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return size_t(resident) * size_t(sysconf(_SC_PAGESIZE));
}

std::pair<int, int> ItemPicture(int id) {
  return {44, 44 + (id * 37) % 81};
}

void BM_TwentyThousandPictures(benchmark::State& st) {
  QOffscreenSurface surface;
  QSurfaceFormat f;
  f.setProfile(QSurfaceFormat::CompatibilityProfile);
  f.setDepthBufferSize(24);
  surface.setFormat(f);
  surface.create();
  QOpenGLContext context;
  context.setFormat(f);
  if (!context.create() || !context.makeCurrent(&surface)) return st.SkipWithError("no GL");
  QOpenGLFramebufferObject fbo(kViewW, kViewH, QOpenGLFramebufferObject::Depth);
  fbo.bind();

  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("tavi-bench-mem-" + std::to_string(getpid()));
  fs::create_directories(dir);
  WriteSyntheticClient(dir, false, [](int id) {
    return id >= 1 && id <= 20480 ? ItemPicture(id) : std::pair<int, int>{0, 0};
  });
  auto data = TUOTileData::Create((dir / "artidx.mul").string(), (dir / "tiledata.mul").string(),
                                  (dir / "art.mul").string());
  PlainDocHost host;
  auto doc = std::make_unique<TTAVIDoc>(32, 32, data.get(), &host);
  doc->Clear(false);
  uint16_t id = 1;
  for (int fl = 0; fl < kFloors; ++fl)
    for (int l = 0; l < 4; ++l)
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) doc->Tiles[fl][l][y][x] = TileEntry{int16_t(4 * l), id++, 0};
  doc->UpdateAllCells();
  ViewState state;
  state.CurrentFloor = 4;
  SceneInputs in;
  in.Doc = doc.get();
  in.State = &state;
  DrawList list;
  BuildScene(in, &list);

  size_t pictureBytes = 0;
  for (int i = 1; i <= 20480; ++i) {
    const auto [w, h] = ItemPicture(i);
    pictureBytes += size_t(w) * size_t(h) * 4;
  }
  // One pass only: memory a process has once had stays with it.
  double growth = 0, pages = 0;
  for (auto _ : st) {
    TArtCache art(data.get());
    TOpenGLTex tex;
    tex.Create(kViewW, kViewH);
    tex.SetArtSource(&art);
    glFinish();
    const size_t before = ResidentBytes();
    tex.DrawFrame(list, 0, 0);
    glFinish();
    const size_t after = ResidentBytes();
    growth = double(after > before ? after - before : 0);
    pages = double(tex.TextureBytes());
    st.counters["uploaded"] = double(tex.TexturesUploaded());
    st.counters["held_MB"] = double(art.PixelBytes()) / 1e6;
    tex.Destroy();
  }
  st.counters["pictures_MB"] = double(pictureBytes) / 1e6;
  st.counters["resident_MB"] = growth / 1e6;
  st.counters["ratio"] = growth / double(pictureBytes);
  st.counters["pages_ratio"] = pages / double(pictureBytes);
  st.counters["target"] = 1.3;
  std::error_code ec;
  fs::remove_all(dir, ec);
}
BENCHMARK(BM_TwentyThousandPictures)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace tavi::bench

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
