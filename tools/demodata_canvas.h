#pragma once
// A small software canvas for the demo client's pictures: 16-bit 1-5-5-5
// pixels with a coverage mask, an isometric projection of one cell, filled
// polygons with per-pixel colour, and the two picture encodings of art.mul.
#include <cstdint>
#include <functional>
#include <vector>

namespace tavi::demo {

struct Rgb {
  int r = 0, g = 0, b = 0;
};

// Scales a colour by f (clamped to 0..255 per channel).
Rgb Shade(Rgb c, double f);
Rgb Mix(Rgb a, Rgb b, double t);
// 1-5-5-5 pixel of a colour; never 0, so that a picture never holds the
// value a reader could take for "nothing".
uint16_t Pack555(Rgb c);

// Deterministic noise in -1..1 from integer coordinates and a seed.
double Noise(int x, int y, uint32_t seed);

// A point of the cell's space: u along x (0..1 across the cell), v along y,
// z in altitude units (4 pixels each).
struct P3 {
  double u, v, z;
};
struct P2 {
  double x, y;
};

class Canvas {
 public:
  // A picture 44 pixels wide whose cell square (44 x 44) lies at its bottom;
  // `lift` altitude units of room above the cell.
  explicit Canvas(int lift);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Covered(int x, int y) const { return on_[size_t(y) * width_ + x] != 0; }
  uint16_t At(int x, int y) const { return px_[size_t(y) * width_ + x]; }

  P2 Project(P3 p) const;
  void Set(int x, int y, Rgb c);

  // Fills a polygon given in the cell's space; colour(s, t) receives the
  // point's coordinates in the frame (origin, axisS, axisT) of the face.
  void FillFace(const std::vector<P3>& poly, P3 origin, P3 axisS, P3 axisT,
                const std::function<Rgb(double s, double t)>& colour);
  // Fills a polygon given in pixels with one colour function of the pixel.
  void FillPixels(const std::vector<P2>& poly, const std::function<Rgb(int x, int y)>& colour);

  // Darkens every covered pixel next to an uncovered one (or the border).
  void Outline(double factor);

  // Run-length item art: probe, width, height, row table, runs.
  std::vector<uint8_t> EncodeItem() const;

 private:
  int width_, height_, lift_;
  std::vector<uint16_t> px_;
  std::vector<uint8_t> on_;
};

// Raw land diamond: 44 rows, 1012 pixels, row r covering its x0..x1.
std::vector<uint8_t> EncodeLand(const std::function<Rgb(int x, int y)>& colour);

}  // namespace tavi::demo
