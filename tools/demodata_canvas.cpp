#include "tools/demodata_canvas.h"

#include <algorithm>
#include <cmath>

namespace tavi::demo {

namespace {

int Clamp255(double v) {
  // Halves round up; for v >= 0 the floor is what a cast would give.
  return v < 0 ? 0 : v > 255 ? 255 : int(std::floor(v + 0.5));
}

void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(uint8_t(v & 0xFF));
  out.push_back(uint8_t(v >> 8));
}

// Any value from 1 to 0xFFFF in the first four bytes marks run-length art.
constexpr uint32_t kItemProbe = 0x00000001;

}  // namespace

Rgb Shade(Rgb c, double f) {
  return {Clamp255(c.r * f), Clamp255(c.g * f), Clamp255(c.b * f)};
}

Rgb Mix(Rgb a, Rgb b, double t) {
  return {Clamp255(a.r + (b.r - a.r) * t), Clamp255(a.g + (b.g - a.g) * t),
          Clamp255(a.b + (b.b - a.b) * t)};
}

uint16_t Pack555(Rgb c) {
  const uint16_t v =
      uint16_t(((Clamp255(c.r) >> 3) << 10) | ((Clamp255(c.g) >> 3) << 5) | (Clamp255(c.b) >> 3));
  return v == 0 ? uint16_t(0x0421) : v;  // the darkest grey instead of 0
}

double Noise(int x, int y, uint32_t seed) {
  uint32_t h = uint32_t(x) * 0x27d4eb2du ^ uint32_t(y) * 0x165667b1u ^ seed * 0x9e3779b9u;
  h ^= h >> 15;
  h *= 0x85ebca6bu;
  h ^= h >> 13;
  h *= 0xc2b2ae35u;
  h ^= h >> 16;
  return double(h & 0xFFFF) / 32767.5 - 1.0;
}

Canvas::Canvas(int lift)
    : width_(44),
      height_(44 + 4 * std::max(0, lift)),
      lift_(std::max(0, lift)),
      px_(size_t(width_) * height_, 0),
      on_(size_t(width_) * height_, 0) {}

P2 Canvas::Project(P3 p) const {
  return {22.0 + 22.0 * (p.u - p.v), 22.0 * (p.u + p.v) - 4.0 * p.z + 4.0 * lift_};
}

void Canvas::Set(int x, int y, Rgb c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  px_[size_t(y) * width_ + x] = Pack555(c);
  on_[size_t(y) * width_ + x] = 1;
}

void Canvas::FillPixels(const std::vector<P2>& poly,
                        const std::function<Rgb(int x, int y)>& colour) {
  if (poly.size() < 3) return;
  double minY = poly[0].y, maxY = poly[0].y;
  for (const P2& p : poly) minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
  const int y0 = std::max(0, int(std::floor(minY)));
  const int y1 = std::min(height_ - 1, int(std::ceil(maxY)));
  std::vector<double> xs;
  for (int y = y0; y <= y1; ++y) {
    const double cy = y + 0.5;
    xs.clear();
    for (size_t i = 0; i < poly.size(); ++i) {
      const P2 a = poly[i], b = poly[(i + 1) % poly.size()];
      if ((a.y <= cy && b.y > cy) || (b.y <= cy && a.y > cy))
        xs.push_back(a.x + (cy - a.y) * (b.x - a.x) / (b.y - a.y));
    }
    std::sort(xs.begin(), xs.end());
    for (size_t i = 0; i + 1 < xs.size(); i += 2) {
      const int xa = std::max(0, int(std::ceil(xs[i] - 0.5)));
      const int xb = std::min(width_ - 1, int(std::ceil(xs[i + 1] - 0.5)) - 1);
      for (int x = xa; x <= xb; ++x) Set(x, y, colour(x, y));
    }
  }
}

void Canvas::FillFace(const std::vector<P3>& poly, P3 origin, P3 axisS, P3 axisT,
                      const std::function<Rgb(double s, double t)>& colour) {
  std::vector<P2> flat;
  flat.reserve(poly.size());
  for (const P3& p : poly) flat.push_back(Project(p));
  // Screen frame of the face: pixel = O + s * A + t * B, solved per pixel.
  const P2 o = Project(origin);
  const P2 a0 = Project({origin.u + axisS.u, origin.v + axisS.v, origin.z + axisS.z});
  const P2 b0 = Project({origin.u + axisT.u, origin.v + axisT.v, origin.z + axisT.z});
  const double ax = a0.x - o.x, ay = a0.y - o.y, bx = b0.x - o.x, by = b0.y - o.y;
  const double det = ax * by - ay * bx;
  FillPixels(flat, [&](int x, int y) {
    if (std::fabs(det) < 1e-9) return colour(0, 0);
    const double dx = x + 0.5 - o.x, dy = y + 0.5 - o.y;
    return colour((dx * by - dy * bx) / det, (ax * dy - ay * dx) / det);
  });
}

void Canvas::Outline(double factor) {
  std::vector<uint8_t> edge(on_.size(), 0);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      if (!Covered(x, y)) continue;
      const bool border = x == 0 || y == 0 || x == width_ - 1 || y == height_ - 1 ||
                          !Covered(x - 1, y) || !Covered(x + 1, y) || !Covered(x, y - 1) ||
                          !Covered(x, y + 1);
      edge[size_t(y) * width_ + x] = border;
    }
  for (size_t i = 0; i < edge.size(); ++i) {
    if (!edge[i]) continue;
    const uint16_t p = px_[i];
    const Rgb c{((p >> 10) & 31) * 255 / 31, ((p >> 5) & 31) * 255 / 31, (p & 31) * 255 / 31};
    px_[i] = Pack555(Shade(c, factor));
  }
}

std::vector<uint8_t> Canvas::EncodeItem() const {
  std::vector<uint8_t> out;
  out.reserve(8 + height_ * 2 + size_t(width_) * height_ * 2);
  Put16(out, uint16_t(kItemProbe & 0xFFFF));
  Put16(out, uint16_t(kItemProbe >> 16));
  Put16(out, uint16_t(width_));
  Put16(out, uint16_t(height_));
  const size_t table = out.size();
  out.resize(out.size() + size_t(height_) * 2, 0);
  const size_t dataStart = out.size();
  for (int y = 0; y < height_; ++y) {
    const size_t words = (out.size() - dataStart) / 2;
    out[table + 2 * y] = uint8_t(words & 0xFF);
    out[table + 2 * y + 1] = uint8_t(words >> 8);
    int column = 0;  // where the previous run ended
    int x = 0;
    while (x < width_) {
      if (!Covered(x, y)) {
        ++x;
        continue;
      }
      int end = x;
      while (end < width_ && Covered(end, y)) ++end;
      Put16(out, uint16_t(x - column));
      Put16(out, uint16_t(end - x));
      for (int i = x; i < end; ++i) Put16(out, At(i, y));
      column = end;
      x = end;
    }
    Put16(out, 0);
    Put16(out, 0);
  }
  return out;
}

std::vector<uint8_t> EncodeLand(const std::function<Rgb(int x, int y)>& colour) {
  std::vector<uint8_t> out;
  out.reserve(2024);
  for (int r = 0; r < 44; ++r) {
    const int x0 = r < 22 ? 21 - r : r - 22;
    const int x1 = r < 22 ? 22 + r : 65 - r;
    for (int x = x0; x <= x1; ++x) Put16(out, Pack555(colour(x, r)));
  }
  return out;
}

}  // namespace tavi::demo
