// Frames of the house view through the OpenGL backend (Mesa under Xvfb),
// each beside a minimal program path that draws the very same quads with the
// same textures, state and window size in one draw call, in the same run.
//   dense: a realistic 25 x 25 house, floors 0..4 built, about 6,000 tiles
//   worst: every layer of every cell of every floor of a 32 x 32 plot
// The view is 1280 x 1024. Run under xvfb-run.
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "settings/settings.h"
#include "client/tile_data.h"
#include "document/doc_host.h"
#include "document/house_document.h"
#include "render/art_source.h"
#include "render/gl/gl_texture.h"
#include "render/scene.h"

namespace tavi {
namespace {

constexpr int kViewW = 1280, kViewH = 1024;

struct Gl {
  QOffscreenSurface surface;
  QOpenGLContext context;
  std::unique_ptr<QOpenGLFramebufferObject> fbo;
  bool ok = false;
  Gl() {
    QSurfaceFormat f;
    f.setProfile(QSurfaceFormat::CompatibilityProfile);
    f.setDepthBufferSize(24);
    surface.setFormat(f);
    surface.create();
    context.setFormat(f);
    if (!context.create() || !context.makeCurrent(&surface)) return;
    fbo =
        std::make_unique<QOpenGLFramebufferObject>(kViewW, kViewH, QOpenGLFramebufferObject::Depth);
    ok = fbo->bind();
  }
};

struct Demo {
  std::string dir;
  std::unique_ptr<TUOTileData> data;
  std::vector<uint16_t> floors, walls, things;
  Demo() {
    namespace fs = std::filesystem;
    fs::path base = fs::temp_directory_path() / ("tavi-glbench-" + std::to_string(::getpid()));
    fs::create_directories(base);
    std::string cmd =
        std::string("\"") + TAVI_CLI_PATH + "\" demodata \"" + base.string() + "\" >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0) return;
    dir = base.string();
    data = TUOTileData::Create(dir + "/artidx.mul", dir + "/tiledata.mul", dir + "/art.mul");
    for (uint32_t id = 1; id < 0x4000; ++id) {
      if (!data->HasArt(kItemArtBase + id)) continue;
      int h = data->TileHeight(uint16_t(id));
      if (h == 0 && data->IsBackground(uint16_t(id)))
        floors.push_back(uint16_t(id));
      else if (h == 20 && (data->Category(uint16_t(id)) & kCatPart))
        walls.push_back(uint16_t(id));
      else if (h > 0 && h < 16)
        things.push_back(uint16_t(id));
    }
  }
  ~Demo() {
    std::error_code ec;
    if (!dir.empty()) std::filesystem::remove_all(dir, ec);
  }
};

Gl* g_gl = nullptr;  // created by main after the application object

Demo& TheDemo() {
  static Demo demo;
  return demo;
}

// Floors everywhere, walls along the outline and every fifth line, and a few
// things standing in most rooms.
int BuildDense(TTAVIDoc& doc, const Demo& d) {
  int n = 0;
  auto put = [&](int f, int x, int y, uint16_t id, int z) {
    int L = doc.LayerCount[f][y][x];
    if (L >= kLayers) return;
    doc.Tiles[f][L][y][x] = TileEntry{int16_t(z), id, 0};
    doc.UpdateCell(x, y, f);
    ++n;
  };
  for (int f = 0; f < kFloors; ++f)
    for (int y = 0; y < 25; ++y)
      for (int x = 0; x < 25; ++x) {
        put(f, x, y, d.floors[(x + y + f) % d.floors.size()], f == 0 ? 7 : 0);
        if (f == 0) continue;
        bool wall = x == 0 || y == 0 || x % 5 == 0 || y % 5 == 0;
        if (wall && (x + y) % 7 != 3)
          put(f, x, y, d.walls[(x * 3 + y + f) % d.walls.size()], 0);
        else if ((x * 7 + y * 3 + f) % 4 != 0) {
          put(f, x, y, d.things[(x + y * 5 + f) % d.things.size()], 0);
          put(f, x, y, d.things[(x * 2 + y + f) % d.things.size()], 4);
        }
      }
  return n;
}

void BuildWorst(TTAVIDoc& doc, const Demo& d) {
  for (int f = 0; f < kFloors; ++f)
    for (int L = 0; L < kLayers; ++L)
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
          const auto& pool = L == 0 ? d.floors : (L % 3 == 0 ? d.walls : d.things);
          doc.Tiles[f][L][y][x] = TileEntry{int16_t(L % 20), pool[(x + y + L) % pool.size()], 0};
        }
  doc.UpdateAllCells();
}

struct Scene {
  PlainDocHost host;
  std::unique_ptr<TTAVIDoc> doc;
  TBackgroundMap ground{};
  ViewState state;
  int tiles = 0;
  explicit Scene(bool worst) {
    Demo& d = TheDemo();
    int side = worst ? 32 : 25;
    doc = std::make_unique<TTAVIDoc>(side, side, d.data.get(), &host);
    doc->Clear(false);
    if (worst) {
      BuildWorst(*doc, d);
      tiles = kFloors * kLayers * 32 * 32;
    } else {
      tiles = BuildDense(*doc, d);
    }
    FillBackgroundMap(ground, 0, 1);
    state.CurrentFloor = 4;
    state.BackgroundMap = &ground;
    state.Zoom = 1.0;
    // The view shows the middle of the scene.
    state.ScrollX = std::max(0, (2 * side * 22 - kViewW) / 2);
    state.ScrollY = std::max(0, (2 * side * 22 + 320 - kViewH) / 2);
  }
};

void FrameBench(benchmark::State& st, bool worst, bool minimal) {
  Gl& gl = *g_gl;
  Demo& d = TheDemo();
  if (!gl.ok || !d.data || d.floors.empty() || d.walls.empty() || d.things.empty()) {
    st.SkipWithError("no GL context or no demo client");
    return;
  }
  Scene scene(worst);
  TArtCache art(d.data.get());
  TOpenGLTex tex;
  tex.Create(kViewW, kViewH);
  tex.SetArtSource(&art);
  SceneInputs in;
  in.Doc = scene.doc.get();
  in.Lights = d.data->Lights;
  in.State = &scene.state;
  DrawList list;
  // One frame first: pictures decoded and uploaded, quads recorded.
  tex.RecordFrames(true);
  BuildScene(in, &list);
  tex.DrawFrame(list, scene.state.ScrollX, scene.state.ScrollY);
  glFinish();
  tex.RecordFrames(false);
  const std::vector<TOpenGLTex::Vertex> quads = tex.LastFrameVertices();
  if (minimal && tex.PageCount() != 1) {
    st.SkipWithError("pictures do not fit one page");
    return;
  }
  for (auto _ : st) {
    if (minimal) {
      tex.ApplyFrameState(scene.state.ScrollX, scene.state.ScrollY);
      glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
      glBindTexture(GL_TEXTURE_2D, tex.PageTexture(0));
      glEnableClientState(GL_VERTEX_ARRAY);
      glEnableClientState(GL_TEXTURE_COORD_ARRAY);
      glEnableClientState(GL_COLOR_ARRAY);
      const GLsizei stride = sizeof(TOpenGLTex::Vertex);
      glVertexPointer(3, GL_FLOAT, stride, &quads[0].X);
      glTexCoordPointer(2, GL_FLOAT, stride, &quads[0].S);
      glColorPointer(4, GL_FLOAT, stride, &quads[0].R);
      glDrawArrays(GL_QUADS, 0, GLsizei(quads.size()));
      glDisableClientState(GL_COLOR_ARRAY);
      glDisableClientState(GL_TEXTURE_COORD_ARRAY);
      glDisableClientState(GL_VERTEX_ARRAY);
    } else {
      BuildScene(in, &list);
      tex.DrawFrame(list, scene.state.ScrollX, scene.state.ScrollY);
    }
    glFinish();
  }
  st.counters["fps"] = benchmark::Counter(double(st.iterations()), benchmark::Counter::kIsRate);
  st.counters["tiles"] = scene.tiles;
  st.counters["quads"] = double(quads.size() / 4);
  st.counters["batches"] = double(tex.LastBatchCount());
  // Pixels covered by all quads inside the view (overdraw included).
  double covered = 0;
  for (size_t q = 0; q + 3 < quads.size(); q += 4) {
    float x0 = quads[q].X, x1 = quads[q].X, y0 = quads[q].Y, y1 = quads[q].Y;
    for (int k = 1; k < 4; ++k) {
      x0 = std::min(x0, quads[q + k].X), x1 = std::max(x1, quads[q + k].X);
      y0 = std::min(y0, quads[q + k].Y), y1 = std::max(y1, quads[q + k].Y);
    }
    x0 = std::max(x0 - scene.state.ScrollX, 0.0f),
    x1 = std::min(x1 - scene.state.ScrollX, float(kViewW));
    y0 = std::max(y0 - scene.state.ScrollY, 0.0f),
    y1 = std::min(y1 - scene.state.ScrollY, float(kViewH));
    if (x1 > x0 && y1 > y0) covered += double(x1 - x0) * (y1 - y0);
  }
  st.counters["Mpixels"] = covered / 1e6;
  tex.Destroy();
}

void BM_DenseHouseFrame(benchmark::State& st) {
  FrameBench(st, false, false);
}
void BM_DenseHouseMinimal(benchmark::State& st) {
  FrameBench(st, false, true);
}
void BM_WorstCaseFrame(benchmark::State& st) {
  FrameBench(st, true, false);
}
void BM_WorstCaseMinimal(benchmark::State& st) {
  FrameBench(st, true, true);
}
// The two paths of each scene alternate so that a busy machine weighs on both alike.
BENCHMARK(BM_DenseHouseFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(4);
BENCHMARK(BM_DenseHouseMinimal)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(4);
BENCHMARK(BM_WorstCaseFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_WorstCaseMinimal)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace
}  // namespace tavi

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  tavi::g_gl = new tavi::Gl;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  delete tavi::g_gl;
  return 0;
}
