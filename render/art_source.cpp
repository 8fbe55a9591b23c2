#include "render/art_source.h"

#include <algorithm>

namespace tavi {

int TexSide(int n) {
  int p = 1;
  while (n > 1) {
    n = (n + 1) / 2;
    p *= 2;
  }
  return p;
}

bool IsKeptPicture(const ArtRGBA& pic) {
  return pic.ArtWidth > 0 && pic.ArtHeight > 0 && pic.TexWidth >= pic.ArtWidth &&
         pic.TexHeight >= pic.ArtHeight &&
         pic.Pixels.size() == size_t(pic.ArtWidth) * pic.ArtHeight * 4;
}

bool ShrinkToPicture(ArtRGBA* pic) {
  if (IsKeptPicture(*pic)) return true;
  const int w = pic->ArtWidth, h = pic->ArtHeight, tw = pic->TexWidth;
  if (w <= 0 || h <= 0 || tw < w || pic->TexHeight < h ||
      pic->Pixels.size() < size_t(tw) * pic->TexHeight * 4)
    return false;
  std::vector<uint8_t> own(size_t(w) * h * 4);
  for (int y = 0; y < h; ++y)
    std::copy_n(&pic->Pixels[size_t(y) * tw * 4], size_t(w) * 4, &own[size_t(y) * w * 4]);
  pic->Pixels = std::move(own);
  return true;
}

bool IArtSource::PictureSize(uint32_t index, int* width, int* height) {
  const ArtRGBA* pic = Picture(index);
  if (!pic) return false;
  *width = pic->ArtWidth;
  *height = pic->ArtHeight;
  return true;
}

TArtCache::TArtCache(const TUOTileData* data)
    : data_(data), pictures_(kArtIndexLimit), state_(kArtIndexLimit, kUntried) {}

bool TArtCache::Decode(uint32_t index) {
  auto pic = std::make_unique<ArtRGBA>();
  // A picture is kept only when its buffer really holds the sizes it
  // claims; anything else draws nothing.
  if (!data_->LoadArtRGBA(index, pic.get()) || !ShrinkToPicture(pic.get())) return false;
  pixelBytes_ += pic->Pixels.size();
  pictures_[index] = std::move(pic);
  return true;
}

const ArtRGBA* TArtCache::Picture(uint32_t index) {
  if (index >= kArtIndexLimit || !data_) return nullptr;
  switch (state_[index]) {
    case kUntried:
      state_[index] = Decode(index) ? kHeld : kAbsent;
      if (state_[index] == kHeld) ++decoded_;
      break;
    case kReleased:  // its pixels are wanted again
      state_[index] = Decode(index) ? kHeld : kAbsent;
      break;
    default:
      break;
  }
  return state_[index] == kHeld ? pictures_[index].get() : nullptr;
}

bool TArtCache::PictureSize(uint32_t index, int* width, int* height) {
  if (index >= kArtIndexLimit || !data_) return false;
  if (state_[index] == kUntried && !Picture(index)) return false;
  if (state_[index] != kHeld && state_[index] != kReleased) return false;
  *width = pictures_[index]->ArtWidth;
  *height = pictures_[index]->ArtHeight;
  return true;
}

void TArtCache::Release(uint32_t index) {
  if (index >= kArtIndexLimit || state_[index] != kHeld) return;
  ArtRGBA& pic = *pictures_[index];
  pixelBytes_ -= pic.Pixels.size();
  std::vector<uint8_t>().swap(pic.Pixels);
  state_[index] = kReleased;
}

void TArtCache::Reset() {
  for (auto& p : pictures_) p.reset();
  std::fill(state_.begin(), state_.end(), kUntried);
  decoded_ = 0;
  pixelBytes_ = 0;
}

void TMemoryArtSource::SetSolid(uint32_t index, int w, int h, uint8_t r, uint8_t g, uint8_t b,
                                uint8_t a) {
  ArtRGBA pic;
  pic.ArtWidth = w;
  pic.ArtHeight = h;
  pic.TexWidth = TexSide(w);
  pic.TexHeight = TexSide(h);
  pic.Pixels.resize(size_t(w > 0 ? w : 0) * (h > 0 ? h : 0) * 4);
  for (size_t i = 0; i < pic.Pixels.size(); i += 4) {
    pic.Pixels[i] = r;
    pic.Pixels[i + 1] = g;
    pic.Pixels[i + 2] = b;
    pic.Pixels[i + 3] = a;
  }
  Set(index, std::move(pic));
}

void TMemoryArtSource::Set(uint32_t index, ArtRGBA picture) {
  // A picture whose buffer fits neither layout is kept as it is: the
  // renderers check the sizes and draw nothing for it.
  ShrinkToPicture(&picture);
  pictures_[index] = std::move(picture);
}

const ArtRGBA* TMemoryArtSource::Picture(uint32_t index) {
  auto it = pictures_.find(index);
  return it == pictures_.end() ? nullptr : &it->second;
}

}  // namespace tavi
