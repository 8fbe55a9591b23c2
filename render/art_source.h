#pragma once
// Pictures by art index for the renderers: decoded once on first use and kept.
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "client/tile_data.h"

namespace tavi {

// The highest art index kept by any cache: land 0..0x3FFF, items 0x4000 + id.
constexpr uint32_t kArtIndexLimit = kItemArtBase + 0x10000;

class IArtSource {
 public:
  virtual ~IArtSource() = default;
  // The picture of an art index, or null when there is none (absent,
  // malformed, or an index beyond kArtIndexLimit). The pointer stays valid
  // for the life of the source.
  virtual const ArtRGBA* Picture(uint32_t index) = 0;
};

// Decodes from the client's art through TUOTileData::LoadArtRGBA. A picture
// that cannot be decoded is remembered as absent and not tried again.
class TArtCache : public IArtSource {
 public:
  explicit TArtCache(const TUOTileData* data);
  const ArtRGBA* Picture(uint32_t index) override;
  void Reset();  // forgets every decoded picture
  size_t DecodedCount() const { return decoded_; }

 private:
  const TUOTileData* data_;
  std::vector<std::unique_ptr<ArtRGBA>> pictures_;
  std::vector<uint8_t> tried_;
  size_t decoded_ = 0;
};

// Pictures set by hand (tests, benchmarks).
class TMemoryArtSource : public IArtSource {
 public:
  void Set(uint32_t index, ArtRGBA picture) { pictures_[index] = std::move(picture); }
  // A w x h picture of one colour (RGBA), transparent outside the top-left
  // w x h of its power-of-two texture.
  void SetSolid(uint32_t index, int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255);
  const ArtRGBA* Picture(uint32_t index) override;

 private:
  std::map<uint32_t, ArtRGBA> pictures_;
};

// Smallest power of two not below n (1 for n <= 1).
int TexSide(int n);

}  // namespace tavi
