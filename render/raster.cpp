#include "render/raster.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <thread>

namespace tavi {

namespace {

// Rows of the frame that one worker draws at a time. Every band runs through
// the whole draw list in order, so the frame does not depend on how the bands
// are shared out.
constexpr int kBandRows = 64;
constexpr unsigned kMaxWorkers = 8;

struct Rgbaf {
  float r, g, b, a;
};

// v / 255 for every byte value.
const std::array<float, 256>& Unit() {
  static const std::array<float, 256> table = [] {
    std::array<float, 256> t{};
    for (int i = 0; i < 256; ++i) t[size_t(i)] = float(i) / 255.0f;
    return t;
  }();
  return table;
}

// Rounds v * 255 to the nearest byte, halves away from zero, as lround would.
inline uint8_t ToByte(float v) {
  if (!(v > 0)) return 0;
  if (v >= 1) return 255;
  const float f = v * 255.0f;
  const int i = static_cast<int>(f);
  return static_cast<uint8_t>(i + (f - float(i) >= 0.5f ? 1 : 0));
}

// The first pixel whose centre lies at or after the edge e (pixel centres sit
// at i + 0.5): an edge through a centre includes that pixel on the left/top.
int FirstCentreAtOrAfter(double e) {
  return static_cast<int>(std::ceil(e - 0.5));
}

// One tile of the list with its picture and its pixels, worked out once
// before the bands are drawn.
struct PreparedTile {
  const ArtRGBA* Pic = nullptr;
  double Left = 0, Top = 0;  // window pixels
  int X0 = 0, X1 = 0, Y0 = 0, Y1 = 0;
};

// Where one column (or row) of a tile samples its picture: the two texels a
// bilinear sample mixes (-1 for transparent padding) and the weight of the
// second. A weight of 0 means the sample is the first texel itself.
struct Tap {
  int I0, I1;
  float W;
};

inline int Wrap(long long i, int size, int texSize) {
  return i >= 0 && i < size ? int(i) : WrapTexel(i, size, texSize);
}

inline Tap TapAt(double pos, double start, double zoom, int size, int texSize) {
  // Dividing by a zoom of 1 changes nothing, so that case skips the division.
  const double u = (zoom == 1.0 ? pos + 0.5 - start : (pos + 0.5 - start) / zoom) - 0.5;
  const double fu = std::floor(u);
  const auto i = static_cast<long long>(fu);
  return {Wrap(i, size, texSize), Wrap(i + 1, size, texSize), float(u - fu)};
}

// What an opaque texel becomes under a tint, per channel and byte value.
struct TintTable {
  DrawColor Tint{-1, -1, -1, -1};
  bool Plain = false;  // every byte lands unchanged
  std::array<std::array<uint8_t, 256>, 3> Out;
};

class BandRasterizer {
 public:
  // Draws into the rows y0 .. y1 - 1 and the columns x0 .. x1 - 1 only.
  BandRasterizer(const RasterView& view, RasterFrame* frame, int y0, int y1, int x0, int x1)
      : view_(view),
        f_(frame),
        zoom_(view.Zoom),
        by0_(y0),
        by1_(y1),
        bx0_(x0),
        bx1_(x1),
        unit_(Unit()) {}

  void Item(const DrawItem& it, const PreparedTile& p) {
    switch (it.Kind) {
      case DrawKind::kTile:
        if (p.Pic) Tile(it, p);
        break;
      case DrawKind::kCell:
        Cell(it);
        break;
      case DrawKind::kOutline:
        Outline(it);
        break;
    }
  }

  void Night(const DrawList& list) {
    const size_t begin = size_t(by0_) * f_->Width * 3, end = size_t(by1_) * f_->Width * 3;
    std::array<uint8_t, 256> half;
    for (int i = 0; i < 256; ++i) half[size_t(i)] = ToByte(unit_[size_t(i)] * 0.5f);
    // The captured frame: only this band's rows are ever read back.
    copy_.assign(f_->Rgb.begin() + std::ptrdiff_t(begin), f_->Rgb.begin() + std::ptrdiff_t(end));
    for (int y = by0_; y < by1_; ++y) {
      uint8_t* row = &f_->Rgb[size_t(y) * f_->Width * 3];
      for (int i = bx0_ * 3; i < bx1_ * 3; ++i) row[i] = half[row[i]];
    }
    for (const DrawLight& l : list.Lights) Light(l);
  }

 private:
  double WX(double sx) const { return sx * zoom_ - view_.ScrollX; }
  double WY(double sy) const { return sy * zoom_ - view_.ScrollY; }

  // Blends one fragment that passed the alpha test; depth test when `depth`
  // is not negative.
  void Fragment(int x, int y, const Rgbaf& c, float depth) {
    size_t i = size_t(y) * f_->Width + x;
    if (depth >= 0) {
      if (!(depth <= f_->Depth[i])) return;
      f_->Depth[i] = depth;
    }
    Blend(&f_->Rgb[i * 3], c);
  }

  void Blend(uint8_t* p, const Rgbaf& c) const {
    const float a = std::min(1.0f, std::max(0.0f, c.a));
    p[0] = ToByte(c.r * a + unit_[p[0]] * (1 - a));
    p[1] = ToByte(c.g * a + unit_[p[1]] * (1 - a));
    p[2] = ToByte(c.b * a + unit_[p[2]] * (1 - a));
  }

  // What every row of one tile's drawing shares: its columns in the band,
  // its depth and tint, and its picture's pixels.
  struct TileSpan {
    int X0, X1;
    float Depth;
    DrawColor Tint;
    const TintTable* Table;
    const uint8_t* Pixels;
    size_t Stride;
  };

  void Tile(const DrawItem& it, const PreparedTile& p) {
    const int y0 = std::max(p.Y0, by0_), y1 = std::min(p.Y1, by1_);
    const int x0 = std::max(p.X0, bx0_), x1 = std::min(p.X1, bx1_);
    if (y0 >= y1 || x0 >= x1) return;
    const ArtRGBA& pic = *p.Pic;
    const float depth = ItemDepth(it);
    const TintTable& table = TableFor(it.Color);
    const size_t stride = size_t(pic.ArtWidth) * 4;
    const TileSpan span{x0, x1, depth, it.Color, &table, pic.Pixels.data(), stride};
    const int h = pic.ArtHeight, texHeight = pic.TexHeight;
    const bool nearestCols = SampleColumns(p, x0, x1);
    for (int y = y0; y < y1; ++y) {
      const Tap row = TapAt(y, p.Top, zoom_, h, texHeight);
      if (row.W == 0 && nearestCols) {
        // The samples fall on texel centres: each pixel takes one texel.
        if (row.I0 >= 0) NearestRow(span, span.Pixels + size_t(row.I0) * span.Stride, y);
      } else {
        FilteredRow(span, row, y);
      }
    }
  }

  // Where each column x0 .. x1 - 1 samples the picture, into cols_. True when
  // every column falls on a texel centre.
  bool SampleColumns(const PreparedTile& p, int x0, int x1) {
    const int w = p.Pic->ArtWidth, texWidth = p.Pic->TexWidth;
    cols_.resize(size_t(x1 - x0));
    bool nearestCols = true;
    for (int x = x0; x < x1; ++x) {
      cols_[size_t(x - x0)] = TapAt(x, p.Left, zoom_, w, texWidth);
      nearestCols = nearestCols && cols_[size_t(x - x0)].W == 0;
    }
    return nearestCols;
  }

  // Row y of a tile whose samples fall on texel centres, `src` the picture
  // row they take.
  void NearestRow(const TileSpan& span, const uint8_t* src, int y) {
    const int x0 = span.X0, x1 = span.X1;
    const float depth = span.Depth;
    const DrawColor tint = span.Tint;
    const auto& opaque = span.Table->Out;
    const bool plain = span.Table->Plain;
    const size_t base = size_t(y) * f_->Width;
    float* depthRow = &f_->Depth[base];
    uint8_t* rgbRow = &f_->Rgb[base * 3];
    for (int x = x0; x < x1; ++x) {
      const int c = cols_[size_t(x - x0)].I0;
      if (c < 0 || !(depth <= depthRow[x])) continue;
      const uint8_t* t = src + size_t(c) * 4;
      const float a = unit_[t[3]] * tint.A;
      if (!(a > 0)) continue;  // alpha test
      depthRow[x] = depth;
      uint8_t* d = rgbRow + size_t(x) * 3;
      if (a < 1) {
        Blend(d, Rgbaf{unit_[t[0]] * tint.R, unit_[t[1]] * tint.G, unit_[t[2]] * tint.B, a});
      } else if (plain) {
        d[0] = t[0], d[1] = t[1], d[2] = t[2];
      } else {
        d[0] = opaque[0][t[0]], d[1] = opaque[1][t[1]], d[2] = opaque[2][t[2]];
      }
    }
  }

  // Row y of a tile sampled between texels: each pixel mixes the four texels
  // around its sample, padding counting as transparent.
  void FilteredRow(const TileSpan& span, const Tap row, int y) {
    const int x0 = span.X0, x1 = span.X1;
    const float depth = span.Depth;
    const DrawColor tint = span.Tint;
    const size_t base = size_t(y) * f_->Width;
    float* depthRow = &f_->Depth[base];
    uint8_t* rgbRow = &f_->Rgb[base * 3];
    const uint8_t* r0 = row.I0 >= 0 ? span.Pixels + size_t(row.I0) * span.Stride : nullptr;
    const uint8_t* r1 = row.I1 >= 0 ? span.Pixels + size_t(row.I1) * span.Stride : nullptr;
    static const uint8_t kClear[4] = {0, 0, 0, 0};
    for (int x = x0; x < x1; ++x) {
      if (!(depth <= depthRow[x])) continue;
      const Tap& col = cols_[size_t(x - x0)];
      auto at = [&](const uint8_t* r, int c) { return r && c >= 0 ? r + size_t(c) * 4 : kClear; };
      const uint8_t *p00 = at(r0, col.I0), *p10 = at(r0, col.I1), *p01 = at(r1, col.I0),
                    *p11 = at(r1, col.I1);
      // Where all four texels are transparent the alpha test fails anyway.
      if ((p00[3] | p10[3] | p01[3] | p11[3]) == 0) continue;
      auto sample = [&](int k) {
        const float top = p00[k] + (p10[k] - p00[k]) * col.W;
        const float bot = p01[k] + (p11[k] - p01[k]) * col.W;
        return (top + (bot - top) * row.W) / 255.0f;
      };
      const float a = sample(3) * tint.A;
      if (!(a > 0)) continue;  // alpha test
      const Rgbaf c{sample(0) * tint.R, sample(1) * tint.G, sample(2) * tint.B, a};
      depthRow[x] = depth;
      Blend(rgbRow + size_t(x) * 3, c);
    }
  }

  // The tints of a frame are few (white and the highlight colours): the
  // table of the last one is kept.
  const TintTable& TableFor(const DrawColor& c) {
    for (const TintTable& t : tints_)
      if (t.Tint == c) return t;
    TintTable& t = tints_[nextTint_];
    nextTint_ = (nextTint_ + 1) % tints_.size();
    t.Tint = c;
    const float f[3] = {c.R, c.G, c.B};
    t.Plain = true;
    for (size_t k = 0; k < 3; ++k)
      for (size_t v = 0; v < 256; ++v) {
        t.Out[k][v] = ToByte(unit_[v] * f[k]);
        t.Plain = t.Plain && t.Out[k][v] == v;
      }
    return t;
  }

  void Cell(const DrawItem& it) {
    double cx = WX(it.X + 22.0), cy = WY(it.Y + 22.0), rad = 22.0 * zoom_;
    int x0 = std::max(bx0_, FirstCentreAtOrAfter(cx - rad));
    int x1 = std::min(bx1_, FirstCentreAtOrAfter(cx + rad));
    int y0 = std::max(by0_, FirstCentreAtOrAfter(cy - rad));
    int y1 = std::min(by1_, FirstCentreAtOrAfter(cy + rad));
    Rgbaf c{it.Color.R, it.Color.G, it.Color.B, it.Color.A};
    if (!(c.a > 0)) return;
    float depth = ItemDepth(it);
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        double d = std::fabs(x + 0.5 - cx) + std::fabs(y + 0.5 - cy);
        // Of two diamonds sharing an edge only one takes a pixel on it: the
        // left edges belong to the diamond, as the GL rasteriser has it.
        bool inside = d < rad || (d == rad && x + 0.5 < cx);
        if (inside) Fragment(x, y, c, depth);
      }
  }

  void Line(double ax, double ay, double bx, double by, const Rgbaf& c, float depth) {
    double dx = bx - ax, dy = by - ay;
    int steps = int(std::ceil(std::max(std::fabs(dx), std::fabs(dy))));
    if (steps <= 0) return;
    for (int i = 0; i < steps; ++i) {
      double s = (i + 0.5) / steps;
      int x = int(std::floor(ax + dx * s)), y = int(std::floor(ay + dy * s));
      if (x >= bx0_ && y >= by0_ && x < bx1_ && y < by1_) Fragment(x, y, c, depth);
    }
  }

  void Outline(const DrawItem& it) {
    const double px[4] = {22, 42, 22, 2}, py[4] = {2, 22, 42, 22};
    Rgbaf c{it.Color.R, it.Color.G, it.Color.B, it.Color.A};
    float depth = ItemDepth(it);
    for (int k = 0; k < 4; ++k) {
      int n = (k + 1) % 4;
      Line(WX(it.X + px[k]), WY(it.Y + py[k]), WX(it.X + px[n]), WY(it.Y + py[n]), c, depth);
    }
  }

  // A light disc: the captured frame at full brightness inside the radius,
  // fading into the darkened frame over the next 40 units.
  void Light(const DrawLight& l) {
    auto clamp01 = [](float v) { return v < 0 ? 0.0f : (v > 1 ? 1.0f : v); };
    float cr = clamp01(l.R), cg = clamp01(l.G), cb = clamp01(l.B);
    double radius = std::max(0.0f, l.Radius);
    double cx = WX(l.X), cy = WY(l.Y), outer = (radius + 40) * zoom_;
    int x0 = std::max(bx0_, FirstCentreAtOrAfter(cx - outer));
    int x1 = std::min(bx1_, FirstCentreAtOrAfter(cx + outer));
    int y0 = std::max(by0_, FirstCentreAtOrAfter(cy - outer));
    int y1 = std::min(by1_, FirstCentreAtOrAfter(cy + outer));
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        double r = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / zoom_;
        float a = r < radius ? 1.0f : float(1.0 - (r - radius) / 40.0);
        if (!(a > 0)) continue;
        const uint8_t* s = &copy_[(size_t(y - by0_) * f_->Width + x) * 3];
        Fragment(x, y, Rgbaf{unit_[s[0]] * cr, unit_[s[1]] * cg, unit_[s[2]] * cb, a}, -1);
      }
  }

  RasterView view_;
  RasterFrame* f_;
  double zoom_;
  int by0_, by1_, bx0_, bx1_;
  const std::array<float, 256>& unit_;
  std::vector<Tap> cols_;
  std::vector<uint8_t> copy_;
  std::array<TintTable, 6> tints_;
  size_t nextTint_ = 0;
};

// Pictures and window pixels of every tile; the art source is asked here, on
// the calling thread only.
std::vector<PreparedTile> PrepareTiles(const DrawList& list, IArtSource* art,
                                       const RasterView& view) {
  std::vector<PreparedTile> out(list.Items.size());
  for (size_t i = 0; i < list.Items.size(); ++i) {
    const DrawItem& it = list.Items[i];
    if (it.Kind != DrawKind::kTile) continue;
    const ArtRGBA* pic = art ? art->Picture(it.Art) : nullptr;
    if (!pic || !IsKeptPicture(*pic)) continue;  // no picture draws nothing
    const QuadRect r = TileRect(it.X, it.Y, pic->ArtWidth, pic->ArtHeight);
    PreparedTile& p = out[i];
    p.Left = r.Left * view.Zoom - view.ScrollX;
    p.Top = r.Top * view.Zoom - view.ScrollY;
    p.X0 = std::max(0, FirstCentreAtOrAfter(p.Left));
    p.X1 = std::min(view.Width, FirstCentreAtOrAfter(r.Right * view.Zoom - view.ScrollX));
    p.Y0 = std::max(0, FirstCentreAtOrAfter(p.Top));
    p.Y1 = std::min(view.Height, FirstCentreAtOrAfter(r.Bottom * view.Zoom - view.ScrollY));
    if (p.X0 < p.X1 && p.Y0 < p.Y1) p.Pic = pic;
  }
  return out;
}

}  // namespace

TBitmap24 RasterFrame::ToBitmap() const {
  TBitmap24 bmp(Width, Height);
  for (size_t i = 0; i + 2 < Rgb.size(); i += 3) {
    bmp.Bits[i] = Rgb[i + 2];
    bmp.Bits[i + 1] = Rgb[i + 1];
    bmp.Bits[i + 2] = Rgb[i];
  }
  return bmp;
}

bool RasterizeScene(const DrawList& list, IArtSource* art, const RasterView& view,
                    RasterFrame* frame) {
  *frame = RasterFrame();
  if (view.Width <= 0 || view.Height <= 0 || !(view.Zoom > 0) ||
      int64_t(view.Width) * view.Height > kMaxRasterPixels)
    return false;
  frame->Width = view.Width;
  frame->Height = view.Height;
  const size_t n = size_t(view.Width) * view.Height;
  frame->Rgb.assign(n * 3, ToByte(0.5f));
  frame->Depth.assign(n, 1.0f);
  const std::vector<PreparedTile> tiles = PrepareTiles(list, art, view);

  const int bands = (view.Height + kBandRows - 1) / kBandRows;
  std::atomic<int> next{0};
  auto work = [&] {
    for (int b = next++; b < bands; b = next++) {
      BandRasterizer r(view, frame, b * kBandRows, std::min(view.Height, (b + 1) * kBandRows), 0,
                       view.Width);
      for (size_t i = 0; i < list.Items.size(); ++i) r.Item(list.Items[i], tiles[i]);
      if (list.Night) r.Night(list);
    }
  };
  const unsigned cores = std::max(1u, std::min(kMaxWorkers, std::thread::hardware_concurrency()));
  const unsigned helpers = std::min(cores, unsigned(bands)) - 1;
  std::vector<std::thread> threads;
  threads.reserve(helpers);
  for (unsigned i = 0; i < helpers; ++i) {
    try {
      threads.emplace_back(work);
    } catch (const std::system_error&) {
      break;  // no more threads: the bands left are drawn by those there are
    }
  }
  work();
  for (std::thread& t : threads) t.join();
  return true;
}

bool RasterizeRegion(const DrawList& list, IArtSource* art, const RasterView& view,
                     const std::vector<PixelRect>& rects, RasterFrame* frame) {
  if (view.Width <= 0 || view.Height <= 0 || !(view.Zoom > 0) || frame->Width != view.Width ||
      frame->Height != view.Height || frame->Rgb.size() != size_t(view.Width) * view.Height * 3 ||
      frame->Depth.size() != size_t(view.Width) * view.Height)
    return false;
  const std::vector<PreparedTile> tiles = PrepareTiles(list, art, view);
  const uint8_t grey = ToByte(0.5f);
  for (PixelRect r : rects) {
    r.X0 = std::max(r.X0, 0), r.Y0 = std::max(r.Y0, 0);
    r.X1 = std::min(r.X1, view.Width), r.Y1 = std::min(r.Y1, view.Height);
    if (r.Empty()) continue;
    for (int y = r.Y0; y < r.Y1; ++y) {
      const size_t row = size_t(y) * view.Width;
      std::fill(frame->Rgb.begin() + std::ptrdiff_t((row + size_t(r.X0)) * 3),
                frame->Rgb.begin() + std::ptrdiff_t((row + size_t(r.X1)) * 3), grey);
      std::fill(frame->Depth.begin() + std::ptrdiff_t(row + size_t(r.X0)),
                frame->Depth.begin() + std::ptrdiff_t(row + size_t(r.X1)), 1.0f);
    }
    BandRasterizer band(view, frame, r.Y0, r.Y1, r.X0, r.X1);
    for (size_t i = 0; i < list.Items.size(); ++i) band.Item(list.Items[i], tiles[i]);
    if (list.Night) band.Night(list);
  }
  return true;
}

void MoveFrame(RasterFrame* frame, int dx, int dy) {
  const int w = frame->Width, h = frame->Height;
  if (std::abs(dx) >= w || std::abs(dy) >= h || (dx == 0 && dy == 0)) return;
  // Rows are copied in an order that reads each before it is overwritten.
  const int n = w - std::abs(dx);
  const int dstX = std::max(0, -dx), srcX = std::max(0, dx);
  auto row = [&](int y) {
    const size_t dst = size_t(y) * w + dstX, src = size_t(y + dy) * w + srcX;
    std::memmove(&frame->Rgb[dst * 3], &frame->Rgb[src * 3], size_t(n) * 3);
    std::memmove(&frame->Depth[dst], &frame->Depth[src], size_t(n) * sizeof(float));
  };
  if (dy >= 0)
    for (int y = 0; y + dy < h; ++y) row(y);
  else
    for (int y = h - 1; y + dy >= 0; --y) row(y);
}

}  // namespace tavi
