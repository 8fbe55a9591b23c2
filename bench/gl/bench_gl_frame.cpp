// Frames of the house view through the OpenGL backend (Mesa under Xvfb) in a
// 1280 x 1024 view at 100 %, each against a floor: a minimal program of its
// own (no code of the view) that draws the same number of quads of the same
// sizes at the same places and depths, textured from one texture of its own
// with transparent texels, under the same tests (alpha, depth, blending), in
// one draw call.
//   dense: the dense 32 x 32 demo house (about 20,000 entries)
//   worst: every layer of every cell of every floor of a 32 x 32 plot
// Run under xvfb-run.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <memory>
#include <vector>

#include "bench/demo_house.h"
#include "bench/ratio.h"
#include "render/art_source.h"
#include "render/gl/gl_texture.h"
#include "render/projection.h"
#include "render/scene.h"
#include "settings/settings.h"

namespace tavi::bench {
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
Gl* g_gl = nullptr;  // created by main after the application object

struct Scene {
  PlainDocHost host;
  std::unique_ptr<TTAVIDoc> doc;
  TBackgroundMap ground{};
  ViewState state;
  int entries = 0;
  explicit Scene(bool worst) {
    DemoClient& d = DemoClient::Get();
    doc = std::make_unique<TTAVIDoc>(32, 32, d.data.get(), &host);
    doc->Clear(false);
    entries = worst ? BuildWorstHouse(*doc, d) : BuildDenseHouse(*doc, d);
    FillBackgroundMap(ground, 0, 1);
    state.CurrentFloor = 4;
    state.BackgroundMap = &ground;
    state.Zoom = 1.0;
    // The view shows the middle of the scene.
    const SurfaceSize s = SceneSize(32, 32);
    state.ScrollX = std::max(0, (s.Width - kViewW) / 2);
    state.ScrollY = std::max(0, (s.Height - kViewH) / 2);
  }
};

// The floor: its own texture, its own vertex array, one draw call.
class MinimalProgram {
 public:
  MinimalProgram(const DrawList& list, IArtSource& art) {
    glGenTextures(1, &tex_);
    glBindTexture(GL_TEXTURE_2D, tex_);
    std::vector<uint8_t> texels(kSide * kSide * 4);
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x) {
        uint8_t* p = &texels[size_t(y * kSide + x) * 4];
        p[0] = uint8_t(x * 3), p[1] = uint8_t(y * 5), p[2] = uint8_t(x ^ y);
        p[3] = (x + y) % 7 == 0 ? 0 : 255;  // transparent texels for the alpha test
      }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kSide, kSide, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 texels.data());
    for (const DrawItem& it : list.Items) {
      int w = 44, h = 44;
      if (it.Kind == DrawKind::kTile && !art.PictureSize(it.Art, &w, &h)) continue;
      const float z = -ItemDepth(it);
      const float l = it.X - (w - 44) / 2.0f, t = float(it.Y - (h - 44));
      const float s1 = float(w) / kSide, t1 = float(h) / kSide;
      quads_.push_back({l, t + h, z, 0, t1});
      quads_.push_back({l + w, t + h, z, s1, t1});
      quads_.push_back({l + w, t, z, s1, 0});
      quads_.push_back({l, t, z, 0, 0});
    }
  }
  ~MinimalProgram() { glDeleteTextures(1, &tex_); }
  size_t Quads() const { return quads_.size() / 4; }

  void Frame(int scrollX, int scrollY) {
    glViewport(0, 0, kViewW, kViewH);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kViewW, kViewH, 0, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(float(-scrollX), float(-scrollY), 0);
    glClearColor(0.5f, 0.5f, 0.5f, 1);
    glClearDepth(1);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor4f(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBindTexture(GL_TEXTURE_2D, tex_);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(V), &quads_[0].x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(V), &quads_[0].s);
    glDrawArrays(GL_QUADS, 0, GLsizei(quads_.size()));
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
  }

 private:
  static constexpr int kSide = 1024;  // wide and high enough for any picture here
  struct V {
    float x, y, z, s, t;
  };
  GLuint tex_ = 0;
  std::vector<V> quads_;
};

void FrameBench(benchmark::State& st, bool worst) {
  if (!g_gl || !g_gl->ok) return st.SkipWithError("no GL context");
  DemoClient& d = DemoClient::Get();
  if (!d.Ok()) return st.SkipWithError("no demo client");
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
  BuildScene(in, &list);
  tex.DrawFrame(list, scene.state.ScrollX, scene.state.ScrollY);  // pictures uploaded
  glFinish();
  MinimalProgram floor(list, art);
  // No target: a whole frame draws every quad; it is meant to stay near its floor.
  PathAgainstFloor(
      st, 0,
      [&] {
        BuildScene(in, &list);
        tex.DrawFrame(list, scene.state.ScrollX, scene.state.ScrollY);
        glFinish();
      },
      [&] {
        floor.Frame(scene.state.ScrollX, scene.state.ScrollY);
        glFinish();
      });
  st.counters["entries"] = scene.entries;
  st.counters["quads"] = double(floor.Quads());
  st.counters["draw_calls"] = double(tex.LastBatchCount());
  st.counters["pages"] = double(tex.PageCount());
  tex.Destroy();
}

void BM_DenseHouseFrame(benchmark::State& st) {
  FrameBench(st, false);
}
void BM_WorstCaseFrame(benchmark::State& st) {
  FrameBench(st, true);
}
BENCHMARK(BM_DenseHouseFrame)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(6);
BENCHMARK(BM_WorstCaseFrame)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);

}  // namespace
}  // namespace tavi::bench

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  tavi::bench::g_gl = new tavi::bench::Gl;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  delete tavi::bench::g_gl;
  return 0;
}
