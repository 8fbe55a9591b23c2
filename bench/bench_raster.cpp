// The software renderer (what `tavi-cli render` draws with) on a dense and on
// the worst-case house at zoom 1, the whole scene in view, each against a
// blit of the same quads with alpha and depth test: one picture texel per
// pixel, no filtering, no blending, one thread. The command itself, writing
// a BMP, is measured against the same floor.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "bench/demo_house.h"
#include "bench/ratio.h"
#include "io/house_file.h"
#include "render/art_source.h"
#include "render/projection.h"
#include "render/raster.h"
#include "render/scene.h"
#include "settings/settings.h"

namespace tavi::bench {
namespace {

struct RenderCase {
  PlainDocHost host;
  std::unique_ptr<TTAVIDoc> doc;
  TBackgroundMap ground{};
  ViewState state;
  DrawList list;
  RasterView view;
  std::string file;
  int entries = 0;

  RenderCase(const DemoClient& d, bool worst) {
    doc = std::make_unique<TTAVIDoc>(32, 32, d.data.get(), &host);
    doc->Clear(false);
    entries = worst ? BuildWorstHouse(*doc, d) : BuildDenseHouse(*doc, d);
    host.showPropriety = true;
    doc->Recalculate();
    FillBackgroundMap(ground, 0, 1);
    state.CurrentFloor = 4;
    state.BackgroundMap = &ground;
    SceneInputs in;
    in.Doc = doc.get();
    in.Lights = d.data->Lights;
    in.State = &state;
    BuildScene(in, &list);
    const SurfaceSize s = PaintBoxSize(32, 32, 1.0);
    view = RasterView{s.Width, s.Height, 1.0, 0, 0};
    file = d.dir + (worst ? "/worst.tav" : "/dense.tav");
    SaveToFile(*doc, file);
  }
};

// The floor: every quad of the list as a plain blit.
struct Blit {
  std::vector<uint8_t> rgb;
  std::vector<float> depth;
  void Run(const DrawList& list, IArtSource& art, const RasterView& v) {
    rgb.assign(size_t(v.Width) * v.Height * 3, 128);
    depth.assign(size_t(v.Width) * v.Height, 1.0f);
    for (const DrawItem& it : list.Items) {
      const float z = ItemDepth(it);
      int w = 44, h = 44, left = it.X, top = it.Y;
      const ArtRGBA* pic = nullptr;
      if (it.Kind == DrawKind::kTile) {
        pic = art.Picture(it.Art);
        if (!pic) continue;
        w = pic->ArtWidth, h = pic->ArtHeight;
        left = it.X - (w - 44) / 2, top = it.Y - (h - 44);
      }
      const uint8_t colour[4] = {uint8_t(it.Color.R * 255), uint8_t(it.Color.G * 255),
                                 uint8_t(it.Color.B * 255), 255};
      const int x0 = std::max(0, -left), x1 = std::min(w, v.Width - left);
      const int y0 = std::max(0, -top), y1 = std::min(h, v.Height - top);
      for (int y = y0; y < y1; ++y) {
        float* d = &depth[size_t(top + y) * v.Width + size_t(left)];
        uint8_t* out = &rgb[(size_t(top + y) * v.Width + size_t(left)) * 3];
        const uint8_t* src = pic ? PictureTexel(*pic, 0, y) : nullptr;
        for (int x = x0; x < x1; ++x) {
          const uint8_t* t = src ? src + x * 4 : colour;
          if (t[3] == 0 || !(z <= d[x])) continue;
          d[x] = z;
          out[x * 3] = t[0], out[x * 3 + 1] = t[1], out[x * 3 + 2] = t[2];
        }
      }
    }
    benchmark::DoNotOptimize(rgb.data());
  }
};

void Renderer(benchmark::State& st, bool worst) {
  DemoClient& d = DemoClient::Get();
  if (!d.Ok()) return st.SkipWithError("no demo client");
  RenderCase c(d, worst);
  TArtCache art(d.data.get());
  RasterFrame frame;
  RasterizeScene(c.list, &art, c.view, &frame);  // every picture decoded once
  Blit blit;
  PathAgainstFloor(
      st, 3.0, [&] { RasterizeScene(c.list, &art, c.view, &frame); },
      [&] { blit.Run(c.list, art, c.view); });
  st.counters["entries"] = c.entries;
  st.counters["quads"] = double(c.list.Items.size());
}

void Command(benchmark::State& st, bool worst) {
  DemoClient& d = DemoClient::Get();
  if (!d.Ok()) return st.SkipWithError("no demo client");
  RenderCase c(d, worst);
  TArtCache art(d.data.get());
  Blit blit;
  blit.Run(c.list, art, c.view);
  const std::string out = d.dir + "/out.bmp";
  const std::string cmd = std::string("\"") + TAVI_CLI_PATH + "\" render \"" + c.file +
                          "\" --out \"" + out + "\" --client \"" + d.dir + "\"";
  bool ok = true;
  PathAgainstFloor(
      st, 3.0, [&] { ok = ok && std::system(cmd.c_str()) == 0; },
      [&] { blit.Run(c.list, art, c.view); });
  if (!ok) st.SkipWithError("tavi-cli render failed");
  std::remove(out.c_str());
}

void BM_RendererDense(benchmark::State& st) {
  Renderer(st, false);
}
void BM_RendererWorst(benchmark::State& st) {
  Renderer(st, true);
}
void BM_CliRenderDense(benchmark::State& st) {
  Command(st, false);
}
void BM_CliRenderWorst(benchmark::State& st) {
  Command(st, true);
}
BENCHMARK(BM_RendererDense)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_RendererWorst)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);
BENCHMARK(BM_CliRenderDense)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_CliRenderWorst)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);

}  // namespace
}  // namespace tavi::bench
