#include "raster_reference.h"

#include <algorithm>
#include <cmath>

namespace tavi::test {

namespace {

struct Rgbaf {
  float r, g, b, a;
};

uint8_t ToByte(float v) {
  if (!(v > 0)) return 0;
  if (v >= 1) return 255;
  return static_cast<uint8_t>(std::lround(v * 255.0f));
}

// The first pixel whose centre lies at or after the edge e (pixel centres sit
// at i + 0.5): an edge through a centre includes that pixel on the left/top.
int FirstCentreAtOrAfter(double e) {
  return static_cast<int>(std::ceil(e - 0.5));
}

class Rasterizer {
 public:
  Rasterizer(const PaddedPictures* art, const RasterView& view, RasterFrame* frame)
      : art_(art), view_(view), f_(frame), zoom_(view.Zoom) {}

  void Clear() {
    f_->Width = view_.Width;
    f_->Height = view_.Height;
    size_t n = size_t(view_.Width) * view_.Height;
    f_->Rgb.assign(n * 3, ToByte(0.5f));
    f_->Depth.assign(n, 1.0f);
  }

  void Item(const DrawItem& it) {
    switch (it.Kind) {
      case DrawKind::kTile:
        Tile(it);
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
    std::vector<uint8_t> copy = f_->Rgb;  // the captured frame
    for (size_t i = 0; i < copy.size(); ++i) f_->Rgb[i] = ToByte(copy[i] / 255.0f * 0.5f);
    for (const DrawLight& l : list.Lights) Light(l, copy);
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
    uint8_t* p = &f_->Rgb[i * 3];
    float a = std::min(1.0f, std::max(0.0f, c.a));
    p[0] = ToByte(c.r * a + p[0] / 255.0f * (1 - a));
    p[1] = ToByte(c.g * a + p[1] / 255.0f * (1 - a));
    p[2] = ToByte(c.b * a + p[2] / 255.0f * (1 - a));
  }

  // Bilinear sample with wrap-around at texel position (u, v) (texel centres
  // at integer + 0.5).
  static Rgbaf Sample(const ArtRGBA& pic, double u, double v) {
    u -= 0.5;
    v -= 0.5;
    double fu = std::floor(u), fv = std::floor(v);
    float au = float(u - fu), av = float(v - fv);
    int w = pic.TexWidth, h = pic.TexHeight;
    auto wrap = [](long long i, int n) { return int(((i % n) + n) % n); };
    int x0 = wrap((long long)fu, w), x1 = wrap((long long)fu + 1, w);
    int y0 = wrap((long long)fv, h), y1 = wrap((long long)fv + 1, h);
    const uint8_t* px = pic.Pixels.data();
    auto at = [&](int x, int y) { return px + (size_t(y) * w + x) * 4; };
    const uint8_t *p00 = at(x0, y0), *p10 = at(x1, y0), *p01 = at(x0, y1), *p11 = at(x1, y1);
    Rgbaf r;
    float* out[4] = {&r.r, &r.g, &r.b, &r.a};
    for (int k = 0; k < 4; ++k) {
      float top = p00[k] + (p10[k] - p00[k]) * au;
      float bot = p01[k] + (p11[k] - p01[k]) * au;
      *out[k] = (top + (bot - top) * av) / 255.0f;
    }
    return r;
  }

  void Tile(const DrawItem& it) {
    const ArtRGBA* pic = art_ && *art_ ? (*art_)(it.Art) : nullptr;
    if (!pic || pic->ArtWidth <= 0 || pic->ArtHeight <= 0 || pic->TexWidth <= 0 ||
        pic->TexHeight <= 0 || pic->Pixels.size() < size_t(pic->TexWidth) * pic->TexHeight * 4)
      return;  // no picture draws nothing
    QuadRect r = TileRect(it.X, it.Y, pic->ArtWidth, pic->ArtHeight);
    double l = WX(r.Left), t = WY(r.Top), rr = WX(r.Right), b = WY(r.Bottom);
    int x0 = std::max(0, FirstCentreAtOrAfter(l));
    int x1 = std::min(f_->Width, FirstCentreAtOrAfter(rr));
    int y0 = std::max(0, FirstCentreAtOrAfter(t));
    int y1 = std::min(f_->Height, FirstCentreAtOrAfter(b));
    if (x0 >= x1 || y0 >= y1) return;
    float depth = ItemDepth(it);
    for (int y = y0; y < y1; ++y) {
      double v = (y + 0.5 - t) / zoom_;
      for (int x = x0; x < x1; ++x) {
        double u = (x + 0.5 - l) / zoom_;
        Rgbaf c = Sample(*pic, u, v);
        c.r *= it.Color.R;
        c.g *= it.Color.G;
        c.b *= it.Color.B;
        c.a *= it.Color.A;
        if (!(c.a > 0)) continue;  // alpha test
        Fragment(x, y, c, depth);
      }
    }
  }

  void Cell(const DrawItem& it) {
    double cx = WX(it.X + 22.0), cy = WY(it.Y + 22.0), rad = 22.0 * zoom_;
    int x0 = std::max(0, FirstCentreAtOrAfter(cx - rad));
    int x1 = std::min(f_->Width, FirstCentreAtOrAfter(cx + rad));
    int y0 = std::max(0, FirstCentreAtOrAfter(cy - rad));
    int y1 = std::min(f_->Height, FirstCentreAtOrAfter(cy + rad));
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
      if (x >= 0 && y >= 0 && x < f_->Width && y < f_->Height) Fragment(x, y, c, depth);
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
  void Light(const DrawLight& l, const std::vector<uint8_t>& copy) {
    auto clamp01 = [](float v) { return v < 0 ? 0.0f : (v > 1 ? 1.0f : v); };
    float cr = clamp01(l.R), cg = clamp01(l.G), cb = clamp01(l.B);
    double radius = std::max(0.0f, l.Radius);
    double cx = WX(l.X), cy = WY(l.Y), outer = (radius + 40) * zoom_;
    int x0 = std::max(0, FirstCentreAtOrAfter(cx - outer));
    int x1 = std::min(f_->Width, FirstCentreAtOrAfter(cx + outer));
    int y0 = std::max(0, FirstCentreAtOrAfter(cy - outer));
    int y1 = std::min(f_->Height, FirstCentreAtOrAfter(cy + outer));
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        double r = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / zoom_;
        float a = r < radius ? 1.0f : float(1.0 - (r - radius) / 40.0);
        if (!(a > 0)) continue;
        const uint8_t* s = &copy[(size_t(y) * f_->Width + x) * 3];
        Fragment(x, y, Rgbaf{s[0] / 255.0f * cr, s[1] / 255.0f * cg, s[2] / 255.0f * cb, a}, -1);
      }
  }

  const PaddedPictures* art_;
  RasterView view_;
  RasterFrame* f_;
  double zoom_;
};

}  // namespace

bool ReferenceRasterize(const DrawList& list, const PaddedPictures& art, const RasterView& view,
                        RasterFrame* frame) {
  *frame = RasterFrame();
  if (view.Width <= 0 || view.Height <= 0 || !(view.Zoom > 0) ||
      int64_t(view.Width) * view.Height > kMaxRasterPixels)
    return false;
  Rasterizer r(&art, view, frame);
  r.Clear();
  for (const DrawItem& it : list.Items) r.Item(it);
  if (list.Night) r.Night(list);
  return true;
}

}  // namespace tavi::test
