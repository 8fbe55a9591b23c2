#include "render/pick.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

constexpr double kDepthScale = 4294967295.0;

// Distance from v to the interval [lo, hi] (0 inside).
double Gap(double v, double lo, double hi) {
  return v < lo ? lo - v : (v > hi ? v - hi : 0);
}

}  // namespace

int CollectHits(const DrawList& pass, IArtSource* art, double zoom, int px, int py,
                std::vector<uint32_t>* buffer) {
  buffer->clear();
  if (!(zoom > 0)) return 0;
  // The pixel's square in scene units.
  const double x0 = px / zoom, x1 = (px + 1.0) / zoom;
  const double y0 = py / zoom, y1 = (py + 1.0) / zoom;
  int hits = 0;
  bool overflow = false;
  bool hit = false;
  uint32_t minD = 0, maxD = 0;
  uint32_t name = uint32_t(-1);
  auto flush = [&] {
    if (!hit) return;
    hit = false;
    if (buffer->size() + 4 > size_t(kSelectBufferSize)) {
      overflow = true;
      return;
    }
    buffer->insert(buffer->end(), {1u, minD, maxD, name});
    ++hits;
  };
  for (const DrawItem& it : pass.Items) {
    bool touches = false;
    if (it.Kind == DrawKind::kTile) {
      flush();  // every tile loads its own name first
      name = uint32_t(it.Name);
      int w = 0, h = 0;
      if (!art || !art->PictureSize(it.Art, &w, &h)) continue;
      QuadRect r = TileRect(it.X, it.Y, w, h);
      touches = r.Left < x1 && r.Right > x0 && r.Top < y1 && r.Bottom > y0;
    } else if (it.Kind == DrawKind::kCell) {
      double cx = it.X + 22.0, cy = it.Y + 22.0;
      touches = Gap(cx, x0, x1) + Gap(cy, y0, y1) < 22.0;
    }
    if (!touches) continue;
    uint32_t d = uint32_t(std::lround(double(ItemDepth(it)) * kDepthScale));
    if (!hit) {
      hit = true;
      minD = maxD = d;
    } else {
      minD = std::min(minD, d);
      maxD = std::max(maxD, d);
    }
  }
  flush();
  return overflow ? -1 : hits;
}

int SelectHit(int hitCount, const uint32_t* buffer, size_t words, float depth, bool* overflow) {
  if (overflow) *overflow = hitCount < 0;
  if (hitCount <= 0 || !buffer) return -1;
  float best = 1.0f;
  int32_t winner = 0;  // the winner's first name; a list holding 0 at the start
  size_t pos = 0;
  for (int i = 0; i < hitCount; ++i) {
    if (pos + 3 > words) break;
    uint32_t n = buffer[pos];
    uint32_t minDepth = buffer[pos + 1];
    if (n > words - pos - 3) break;  // a record running past the buffer ends the scan
    int32_t first = n > 0 ? int32_t(buffer[pos + 3]) : -1;
    float d = static_cast<float>(std::fabs(minDepth / kDepthScale - double(depth)));
    if (d <= best || winner < 0) {
      best = d;
      winner = first;
    }
    pos += 3 + n;
  }
  return winner < 0 ? -1 : winner;
}

int PickTile(const DrawList& pass, IArtSource* art, double zoom, int px, int py, float depth,
             bool* overflow) {
  std::vector<uint32_t> buffer;
  buffer.reserve(kSelectBufferSize);
  int hits = CollectHits(pass, art, zoom, px, py, &buffer);
  return SelectHit(hits, buffer.data(), buffer.size(), depth, overflow);
}

}  // namespace tavi
