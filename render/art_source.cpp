#include "render/art_source.h"

namespace tavi {

int TexSide(int n) {
  int p = 1;
  while (n > 1) {
    n = (n + 1) / 2;
    p *= 2;
  }
  return p;
}

TArtCache::TArtCache(const TUOTileData* data)
    : data_(data), pictures_(kArtIndexLimit), tried_(kArtIndexLimit, 0) {}

const ArtRGBA* TArtCache::Picture(uint32_t index) {
  if (index >= kArtIndexLimit || !data_) return nullptr;
  if (!tried_[index]) {
    tried_[index] = 1;
    auto pic = std::make_unique<ArtRGBA>();
    // A picture is kept only when its buffer really holds the sizes it
    // claims; anything else draws nothing.
    if (data_->LoadArtRGBA(index, pic.get()) && pic->ArtWidth > 0 && pic->ArtHeight > 0 &&
        pic->TexWidth >= pic->ArtWidth && pic->TexHeight >= pic->ArtHeight &&
        pic->Pixels.size() >= size_t(pic->TexWidth) * pic->TexHeight * 4) {
      pictures_[index] = std::move(pic);
      ++decoded_;
    }
  }
  return pictures_[index].get();
}

void TArtCache::Reset() {
  for (auto& p : pictures_) p.reset();
  std::fill(tried_.begin(), tried_.end(), 0);
  decoded_ = 0;
}

void TMemoryArtSource::SetSolid(uint32_t index, int w, int h, uint8_t r, uint8_t g, uint8_t b,
                                uint8_t a) {
  ArtRGBA pic;
  pic.ArtWidth = w;
  pic.ArtHeight = h;
  pic.TexWidth = TexSide(w);
  pic.TexHeight = TexSide(h);
  pic.Pixels.assign(size_t(pic.TexWidth) * pic.TexHeight * 4, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &pic.Pixels[(size_t(y) * pic.TexWidth + x) * 4];
      p[0] = r;
      p[1] = g;
      p[2] = b;
      p[3] = a;
    }
  Set(index, std::move(pic));
}

const ArtRGBA* TMemoryArtSource::Picture(uint32_t index) {
  auto it = pictures_.find(index);
  return it == pictures_.end() ? nullptr : &it->second;
}

}  // namespace tavi
