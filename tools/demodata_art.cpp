#include "tools/demodata_art.h"

#include <algorithm>
#include <cmath>

namespace tavi::demo {

namespace {

constexpr double kWall = 0.16;  // wall thickness in cells

double Frac(double v) {
  return v - std::floor(v);
}

// Smooth value noise in 0..1 over a lattice of `cell` pixels.
double ValueNoise(double x, double y, double cell, uint32_t seed) {
  const double fx = x / cell, fy = y / cell;
  const int ix = int(std::floor(fx)), iy = int(std::floor(fy));
  const double tx = fx - ix, ty = fy - iy;
  const auto n = [&](int a, int b) { return (Noise(a, b, seed) + 1) / 2; };
  const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
  const double top = n(ix, iy) + (n(ix + 1, iy) - n(ix, iy)) * sx;
  const double bottom = n(ix, iy + 1) + (n(ix + 1, iy + 1) - n(ix, iy + 1)) * sx;
  return top + (bottom - top) * sy;
}

// Light falls from the upper left: tops are brightest, faces towards +y
// (lower left on screen) lighter than faces towards +x (lower right).
constexpr double kTopLight = 1.0, kLeftLight = 0.78, kRightLight = 0.6;

// Brightness of a facet from its normal (cell space, z in altitude units).
double FacetLight(P3 a, P3 b, P3 c) {
  const double ux = (b.u - a.u) * 32, uy = (b.v - a.v) * 32, uz = (b.z - a.z) * 5;
  const double vx = (c.u - a.u) * 32, vy = (c.v - a.v) * 32, vz = (c.z - a.z) * 5;
  double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
  if (nz < 0) nx = -nx, ny = -ny, nz = -nz;
  const double len = std::sqrt(nx * nx + ny * ny + nz * nz);
  if (len < 1e-9) return kTopLight;
  const double lx = -0.35, ly = 0.55, lz = 1.0;
  const double ll = std::sqrt(lx * lx + ly * ly + lz * lz);
  const double d = (nx * lx + ny * ly + nz * lz) / (len * ll);
  return 0.5 + 0.55 * std::max(0.0, d);
}

// The surface colour of a material at (s, t): on walls s runs along the face
// in cells and t upwards in altitude units; on floors and tops both are cells.
Rgb Surface(const Material& m, double s, double t, bool vertical, uint32_t seed) {
  const Rgb c = m.colour;
  const double grain = Noise(int(s * 64), int(t * (vertical ? 3 : 64)), seed) * 0.04;
  switch (m.pattern) {
    case Material::kBrick: {
      const double rowH = vertical ? 2.0 : 0.125;
      const int row = int(std::floor(t / rowH));
      const double along = s / 0.25 + (row & 1) * 0.5;
      if (Frac(t / rowH) < 0.2 || Frac(along) < 0.08) return Shade({200, 190, 175}, 0.9 + grain);
      return Shade(c, 0.92 + 0.1 * Noise(int(std::floor(along)), row, seed) + grain);
    }
    case Material::kBlocks: {
      const double rowH = vertical ? 3.0 : 0.25;
      const int row = int(std::floor(t / rowH));
      const double along = s / 0.4 + (row & 1) * 0.45;
      if (Frac(t / rowH) < 0.12 || Frac(along) < 0.05) return Shade(c, 0.7);
      return Shade(c, 0.95 + 0.08 * Noise(int(std::floor(along)), row, seed) + grain);
    }
    case Material::kPlanks: {
      const double w = vertical ? 0.14 : 0.125;
      const double across = vertical ? s : t;
      const int plank = int(std::floor(across / w));
      if (Frac(across / w) < 0.12) return Shade(c, 0.62);
      const double streak = Noise(plank, int((vertical ? t * 2 : s * 40)), seed) * 0.05;
      return Shade(c, 0.93 + 0.09 * Noise(plank, 7, seed) + streak);
    }
    case Material::kLogs: {
      const double rowH = vertical ? 2.5 : 0.2;
      const double f = Frac((vertical ? t : s) / rowH);
      return Shade(c, 0.62 + 0.45 * std::sin(3.14159 * f) + grain);
    }
    case Material::kTiles: {
      const double a = s / 0.25, b = vertical ? t / 2.5 : t / 0.25;
      if (Frac(a) < 0.07 || Frac(b) < 0.07) return Shade(c, 0.75);
      const bool odd = (int(std::floor(a)) + int(std::floor(b))) & 1;
      return Shade(c, (odd ? 0.9 : 1.0) + grain);
    }
    case Material::kTimber: {
      if (vertical) {
        const bool beam = Frac(s * 2) < 0.12 || Frac(t / 9.5) < 0.1 ||
                          std::fabs(Frac(s * 2) - Frac(t / 9.5)) < 0.07;
        if (beam) return Shade({92, 60, 36}, 1.0 + grain);
      }
      return Shade(c, 0.97 + grain);
    }
    case Material::kThatch: {
      const double streak = Noise(int(s * 60), int(t * (vertical ? 1 : 8)), seed);
      return Shade(c, 0.85 + 0.15 * streak);
    }
    case Material::kShingles: {
      const double rowH = vertical ? 2.0 : 0.15;
      const int row = int(std::floor(t / rowH));
      const double along = s / 0.16 + (row & 1) * 0.5;
      if (Frac(t / rowH) < 0.15 || Frac(along) < 0.08) return Shade(c, 0.68);
      return Shade(c, 0.95 + 0.08 * Noise(int(std::floor(along)), row, seed) + grain);
    }
    case Material::kPlainWall:
    default:
      return Shade(c, 0.97 + grain);
  }
}

using Paint = std::function<Rgb(double s, double t, bool vertical)>;

class Painter {
 public:
  Painter(Canvas& canvas, const Material& m, uint32_t seed) : c_(canvas), mat_(m), seed_(seed) {}

  Paint MaterialPaint() const {
    return
        [this](double s, double t, bool vertical) { return Surface(mat_, s, t, vertical, seed_); };
  }
  static Paint Flat(Rgb colour) {
    return [colour](double, double, bool) { return colour; };
  }

  // A box with its three visible faces; frontY/frontX paint the faces towards
  // +y and +x (s along the face, t = altitude), top the upper face (u, v).
  void Box(double u0, double u1, double v0, double v1, double z0, double z1, const Paint& frontY,
           const Paint& frontX, const Paint& top) {
    c_.FillFace({{u0, v1, z0}, {u1, v1, z0}, {u1, v1, z1}, {u0, v1, z1}}, {0, v1, 0}, {1, 0, 0},
                {0, 0, 1},
                [&](double s, double t) { return Shade(frontY(s, t, true), kLeftLight); });
    c_.FillFace({{u1, v0, z0}, {u1, v1, z0}, {u1, v1, z1}, {u1, v0, z1}}, {u1, 0, 0}, {0, 1, 0},
                {0, 0, 1},
                [&](double s, double t) { return Shade(frontX(s, t, true), kRightLight); });
    c_.FillFace({{u0, v0, z1}, {u1, v0, z1}, {u1, v1, z1}, {u0, v1, z1}}, {0, 0, z1}, {1, 0, 0},
                {0, 1, 0}, [&](double s, double t) { return Shade(top(s, t, false), kTopLight); });
  }
  void Box(double u0, double u1, double v0, double v1, double z0, double z1, const Paint& all) {
    Box(u0, u1, v0, v1, z0, z1, all, all, all);
  }

  // A sloped or flat facet of a roof, shaded by its tilt.
  void Facet(const std::vector<P3>& poly, const Paint& paint) {
    const double light = FacetLight(poly[0], poly[1], poly[2]);
    c_.FillFace(poly, {0, 0, 0}, {1, 0, 0}, {0, 1, 0},
                [&](double s, double t) { return Shade(paint(s, t, false), light); });
  }

  // A small flame standing on the point p.
  void Flame(P3 p, double size) {
    const P2 q = c_.Project(p);
    c_.FillPixels({{q.x, q.y - 4 * size},
                   {q.x + 1.6 * size, q.y - 1.2 * size},
                   {q.x, q.y + 0.4},
                   {q.x - 1.6 * size, q.y - 1.2 * size}},
                  [&](int, int y) {
                    const double f = (q.y - y) / (4 * size);
                    return Mix(Rgb{255, 250, 170}, Rgb{240, 120, 30}, std::clamp(f, 0.0, 1.0));
                  });
  }

  Canvas& canvas() { return c_; }

 private:
  Canvas& c_;
  const Material& mat_;
  uint32_t seed_;
};

// A wall face with an opening, window or door painted over the material.
Paint FrontPaint(const Paint& base, uint8_t front, double height, const Material& m) {
  if (front == kPlain) return base;
  return [base, front, height, m](double s, double t, bool vertical) {
    const double f = Frac(s);
    if (!vertical) return base(s, t, vertical);
    switch (front) {
      case kWindow: {
        const double lo = height * 0.4, hi = height * 0.78;
        if (f > 0.3 && f < 0.7 && t > lo && t < hi) {
          if (f < 0.34 || f > 0.66 || t < lo + 0.5 || t > hi - 0.5 || std::fabs(f - 0.5) < 0.025)
            return Rgb{232, 226, 210};
          return Mix(Rgb{40, 60, 96}, Rgb{110, 140, 180}, (t - lo) / (hi - lo));
        }
        return base(s, t, vertical);
      }
      case kDoorway: {
        const double top = height * 0.72;
        const double arch =
            top + 0.12 * height * std::sqrt(std::max(0.0, 1 - std::pow((f - 0.5) / 0.26, 2)));
        if (f > 0.24 && f < 0.76 && t < arch) return Rgb{34, 28, 24};
        return base(s, t, vertical);
      }
      case kDoor: {
        const double top = std::min(height - 1.5, 15.0);
        if (f > 0.2 && f < 0.8 && t < top) {
          if (f < 0.24 || f > 0.76 || t > top - 0.6) return Rgb{70, 46, 28};
          if (std::fabs(f - 0.68) < 0.035 && std::fabs(t - top * 0.5) < 0.5)
            return Rgb{220, 190, 90};
          const Rgb wood = m.pattern == Material::kPlanks ? m.colour : Rgb{128, 84, 48};
          const double plank = Frac((f - 0.24) / 0.13);
          return Shade(wood, plank < 0.12 ? 0.7 : 0.95 + 0.05 * Noise(int(f * 9), int(t), 5));
        }
        return base(s, t, vertical);
      }
      default:
        return base(s, t, vertical);
    }
  };
}

void DrawWall(Painter& p, const ItemFacts& item, const Material& m) {
  const double h = item.height;
  const Paint base = p.MaterialPaint();
  const Paint front = FrontPaint(base, item.front, h, m);
  const Paint top = Painter::Flat(Shade(m.colour, 1.08));
  switch (item.shape) {
    case Shape::kWallX:
      p.Box(0, 1, 0, kWall, 0, h, front, base, top);
      break;
    case Shape::kWallY:
      p.Box(0, kWall, 0, 1, 0, h, base, front, top);
      break;
    case Shape::kPost:
      p.Box(0, 0.24, 0, 0.24, 0, h, base, base, top);
      break;
    case Shape::kCorner:
      p.Box(0, kWall, 0, kWall, 0, h, base, base, top);
      p.Box(kWall, 1, 0, kWall, 0, h, front, base, top);
      p.Box(0, kWall, kWall, 1, 0, h, base, front, top);
      break;
    default:
      break;
  }
}

void DrawSteps(Painter& p, const ItemFacts& item) {
  const double h = item.height, mid = h / 2;
  const Paint m = p.MaterialPaint();
  p.Box(0, 1, 0, 1, 0, mid, m);
  if (item.shape == Shape::kStep) {
    switch (item.dir) {
      case kNorth:
        p.Box(0, 1, 0, 0.5, mid, h, m);
        break;
      case kEast:
        p.Box(0.5, 1, 0, 1, mid, h, m);
        break;
      case kSouth:
        p.Box(0, 1, 0.5, 1, mid, h, m);
        break;
      default:
        p.Box(0, 0.5, 0, 1, mid, h, m);
        break;
    }
  } else {
    switch (item.dir) {
      case kNorth:
        p.Box(0, 0.5, 0, 0.5, mid, h, m);
        break;
      case kEast:
        p.Box(0.5, 1, 0, 0.5, mid, h, m);
        break;
      case kSouth:
        p.Box(0.5, 1, 0.5, 1, mid, h, m);
        break;
      default:
        p.Box(0, 0.5, 0.5, 1, mid, h, m);
        break;
    }
  }
}

void DrawRoof(Painter& p, const ItemFacts& item, const Material& m) {
  Material roofMat = m;
  if (roofMat.pattern != Material::kThatch && roofMat.pattern != Material::kLogs)
    roofMat.pattern = Material::kShingles;
  const Paint paint = [roofMat](double s, double t, bool) {
    return Surface(roofMat, s, t, false, 11);
  };
  // Along-the-slope shingles: swap axes for slopes that rise along x.
  const Paint alongX = [roofMat](double s, double t, bool) {
    return Surface(roofMat, t, s, false, 11);
  };
  // Slopes rise by the piece's height across the cell; corners are the
  // outer corners of a hipped roof, rising towards the opposite corner.
  const double h = item.height, lo = 0;
  switch (item.variant % 8) {
    case 0:  // rises to the north
      p.Facet({{0, 0, h}, {1, 0, h}, {1, 1, lo}, {0, 1, lo}}, paint);
      break;
    case 1:  // rises to the east
      p.Facet({{0, 0, lo}, {1, 0, h}, {1, 1, h}, {0, 1, lo}}, alongX);
      break;
    case 2:  // rises to the south
      p.Facet({{0, 0, lo}, {1, 0, lo}, {1, 1, h}, {0, 1, h}}, paint);
      break;
    case 3:  // rises to the west
      p.Facet({{0, 0, h}, {1, 0, lo}, {1, 1, lo}, {0, 1, h}}, alongX);
      break;
    case 4:  // north-west corner, rising to the south-east
      p.Facet({{0, 0, lo}, {1, 0, lo}, {1, 1, h}}, paint);
      p.Facet({{0, 0, lo}, {1, 1, h}, {0, 1, lo}}, alongX);
      break;
    case 5:  // north-east corner, rising to the south-west
      p.Facet({{0, 0, lo}, {1, 0, lo}, {0, 1, h}}, paint);
      p.Facet({{1, 0, lo}, {1, 1, lo}, {0, 1, h}}, alongX);
      break;
    case 6:  // south-east corner, rising to the north-west
      p.Facet({{1, 0, lo}, {1, 1, lo}, {0, 0, h}}, alongX);
      p.Facet({{0, 0, h}, {1, 1, lo}, {0, 1, lo}}, paint);
      break;
    default:  // south-west corner, rising to the north-east
      p.Facet({{0, 0, lo}, {1, 0, h}, {0, 1, lo}}, alongX);
      p.Facet({{1, 0, h}, {1, 1, lo}, {0, 1, lo}}, paint);
      break;
  }
}

void DrawFurniture(Painter& p, const ItemFacts& item, const Material& m) {
  const Paint wood = p.MaterialPaint();
  const Paint dark = Painter::Flat(Shade(m.colour, 0.7));
  const Paint iron = Painter::Flat(Rgb{70, 70, 76});
  switch (item.shape) {
    case Shape::kChair:
      for (double lu : {0.3, 0.64})
        for (double lv : {0.3, 0.64}) p.Box(lu, lu + 0.06, lv, lv + 0.06, 0, 3, dark);
      p.Box(0.3, 0.7, 0.3, 0.7, 3, 3.6, wood);
      p.Box(0.3, 0.7, 0.3, 0.37, 3.6, 8, wood);
      break;
    case Shape::kTable:
      for (double lu : {0.12, 0.8})
        for (double lv : {0.18, 0.76}) p.Box(lu, lu + 0.07, lv, lv + 0.07, 0, 5, dark);
      p.Box(0.08, 0.92, 0.14, 0.86, 5, 6, wood);
      break;
    case Shape::kChest: {
      const Paint banded = [wood](double s, double t, bool v) {
        if (v && (std::fabs(Frac(s) - 0.3) < 0.03 || std::fabs(Frac(s) - 0.7) < 0.03))
          return Rgb{60, 60, 66};
        return wood(s, t, v);
      };
      p.Box(0.2, 0.8, 0.3, 0.72, 0, 3, banded);
      p.Box(0.2, 0.8, 0.3, 0.72, 3, 4, banded, banded, dark);
      p.Box(0.47, 0.53, 0.72, 0.75, 2.2, 3.2, Painter::Flat(Rgb{220, 190, 90}));
      break;
    }
    case Shape::kBox:
      p.Box(0.25, 0.75, 0.25, 0.75, 0, 3, wood);
      break;
    case Shape::kCandle:
      p.Box(0.42, 0.58, 0.42, 0.58, 0, 0.4, iron);
      p.Box(0.47, 0.53, 0.47, 0.53, 0.4, 2.5, Painter::Flat(Rgb{236, 230, 210}));
      p.Flame({0.5, 0.5, 2.5}, 1.4);
      break;
    case Shape::kLantern:
      p.Box(0.38, 0.62, 0.38, 0.62, 0, 0.5, iron);
      p.Box(0.4, 0.6, 0.4, 0.6, 0.5, 3.2, Painter::Flat(Rgb{250, 214, 120}));
      p.Box(0.36, 0.64, 0.36, 0.64, 3.2, 3.8, iron);
      break;
    case Shape::kBrazier:
      for (double l : {0.3, 0.64}) p.Box(l, l + 0.06, l, l + 0.06, 0, 2.5, iron);
      p.Box(0.22, 0.78, 0.22, 0.78, 2.5, 4.2, iron, iron, Painter::Flat(Rgb{200, 80, 30}));
      p.Flame({0.42, 0.5, 4.2}, 2.2);
      p.Flame({0.58, 0.5, 4.2}, 1.8);
      break;
    case Shape::kLampPost:
      p.Box(0.38, 0.62, 0.38, 0.62, 0, 1, iron);
      p.Box(0.46, 0.54, 0.46, 0.54, 1, 16, iron);
      p.Box(0.38, 0.62, 0.38, 0.62, 16, 19, Painter::Flat(Rgb{250, 220, 130}));
      p.Box(0.34, 0.66, 0.34, 0.66, 19, 20, iron);
      break;
    case Shape::kSign: {
      const Rgb tint = Mix(m.colour,
                           Rgb{40 + (item.variant * 37) % 200, 60 + (item.variant * 53) % 160,
                               50 + (item.variant * 71) % 180},
                           0.35);
      const Paint board = [tint](double s, double t, bool v) {
        // two lines of lettering on a lighter board with a dark rim
        if (v && (t < 4.5 || t > 10 || s < 0.22 || s > 0.81)) return Shade(tint, 0.6);
        if (v && Frac(s) > 0.3 && Frac(s) < 0.72 &&
            (std::fabs(t - 6.4) < 0.3 || std::fabs(t - 8.1) < 0.3))
          return Rgb{40, 30, 20};
        return Shade(tint, 1.25);
      };
      p.Box(0.45, 0.55, 0.15, 0.88, 4, 10.5, board, board, board);
      break;
    }
    case Shape::kHanger:
      p.Box(0.46, 0.54, 0.02, 0.92, 11.5, 12.4, iron);
      p.Box(0.47, 0.53, 0.28, 0.3, 10.5, 11.5, iron);
      p.Box(0.47, 0.53, 0.75, 0.77, 10.5, 11.5, iron);
      break;
    default:
      break;
  }
}

// Flat ground of one kind: colour with soft blotches and pixel grain.
Rgb GroundColour(Rgb base, int x, int y, uint32_t seed) {
  const double blot = ValueNoise(x, y, 7, seed) - 0.5;
  const double grain = Noise(x, y, seed + 1) * 0.06;
  return Shade(base, 1.0 + 0.22 * blot + grain);
}

Rgb SwampColour(int x, int y, uint32_t seed) {
  const double w = ValueNoise(x + 3 * seed, y, 9, 77);
  if (w > 0.62) return Mix(Rgb{46, 70, 64}, Rgb{80, 110, 100}, ValueNoise(x, y, 3, seed) * 0.6);
  const Rgb mud{84, 92, 52};
  return GroundColour(Mix(mud, Rgb{60, 90, 40}, ValueNoise(x, y, 5, seed + 9)), x, y, seed);
}

int LiftOf(const ItemFacts& s) {
  switch (s.shape) {
    case Shape::kFloor:
    case Shape::kSwamp:
      return 0;
    case Shape::kSign:
    case Shape::kHanger:
      return 13;
    case Shape::kChair:
      return 8;
    case Shape::kCandle:
    case Shape::kLantern:
      return 4;
    case Shape::kBrazier:
      return 7;
    default:
      return s.height;
  }
}

}  // namespace

const std::vector<LandType>& LandTypes() {
  static const std::vector<LandType> types = {
      {3, 6, "grass", {84, 140, 56}},      {22, 25, "sand", {220, 200, 140}},
      {113, 120, "dirt", {130, 96, 62}},   {172, 175, "jungle", {48, 104, 44}},
      {282, 285, "snow", {232, 236, 244}},
  };
  return types;
}

std::vector<uint8_t> DrawItemArt(const ItemFacts& item, uint16_t id) {
  if (item.shape == Shape::kNone) return {};
  const Material& m = Materials()[size_t(item.material) % Materials().size()];
  Canvas canvas(LiftOf(item));
  Painter p(canvas, m, id);
  double outline = 0.55;
  switch (item.shape) {
    case Shape::kFloor: {
      const Paint paint = p.MaterialPaint();
      const double turn = item.variant & 1;
      canvas.FillFace(
          {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {0, 0, 0}, {1, 0, 0}, {0, 1, 0},
          [&](double s, double t) { return turn ? paint(t, s, false) : paint(s, t, false); });
      outline = 0.88;
      break;
    }
    case Shape::kSwamp:
      canvas.FillFace({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {0, 0, 0}, {1, 0, 0}, {0, 1, 0},
                      [&](double s, double t) {
                        return SwampColour(int(s * 31 + 44 * item.variant), int(t * 31), id);
                      });
      outline = 1.0;
      break;
    case Shape::kWallX:
    case Shape::kWallY:
    case Shape::kPost:
    case Shape::kCorner:
      DrawWall(p, item, m);
      break;
    case Shape::kBlock:
      p.Box(0, 1, 0, 1, 0, item.height, p.MaterialPaint());
      break;
    case Shape::kStep:
    case Shape::kStepCorner:
      DrawSteps(p, item);
      break;
    case Shape::kRoof:
      DrawRoof(p, item, m);
      break;
    default:
      DrawFurniture(p, item, m);
      break;
  }
  if (outline < 1.0) canvas.Outline(outline);
  return canvas.EncodeItem();
}

std::vector<uint8_t> DrawLandArt(const LandType& type, uint16_t id) {
  return EncodeLand([&](int x, int y) { return GroundColour(type.colour, x, y, id); });
}

}  // namespace tavi::demo
