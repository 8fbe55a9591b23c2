#pragma once
// Pictures by art index for the renderers: decoded once on first use and kept.
//
// A kept picture holds only its own ArtWidth x ArtHeight pixels (RGBA, rows of
// ArtWidth, top first), not the padding of its power-of-two texture. TexWidth
// and TexHeight still name that texture's size, because sampling wraps around
// at it: beyond an edge a sample reads the picture's opposite edge when the
// picture fills its texture that way, and transparent black otherwise.
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "client/tile_data.h"

namespace tavi {

// The highest art index kept by any cache: land 0..0x3FFF, items 0x4000 + id.
constexpr uint32_t kArtIndexLimit = kItemArtBase + 0x10000;

// True when the picture's buffer holds the ArtWidth x ArtHeight pixels it claims.
bool IsKeptPicture(const ArtRGBA& pic);
// Turns a picture padded to its texture (as the art decoder gives it) into a
// kept one; a picture already at its own size stays as it is. False when the
// buffer holds neither.
bool ShrinkToPicture(ArtRGBA* pic);
// The texel at (x, y) of a kept picture, in its own coordinates.
inline const uint8_t* PictureTexel(const ArtRGBA& pic, int x, int y) {
  return &pic.Pixels[(size_t(y) * pic.ArtWidth + x) * 4];
}
// Where wrap-around sampling of texel column (or row) i lands in the picture:
// 0 .. size - 1, or -1 for the transparent padding of the texture.
inline int WrapTexel(long long i, int size, int texSize) {
  const int m = int(((i % texSize) + texSize) % texSize);
  return m < size ? m : -1;
}

class IArtSource {
 public:
  virtual ~IArtSource() = default;
  // The picture of an art index, or null when there is none (absent,
  // malformed, or an index beyond kArtIndexLimit). The pointer stays valid
  // for the life of the source.
  virtual const ArtRGBA* Picture(uint32_t index) = 0;
  // The picture's size without needing its pixels (picking); false when
  // there is no picture.
  virtual bool PictureSize(uint32_t index, int* width, int* height);
  // The caller has copied the picture's pixels elsewhere (a texture): the
  // source may free them. Its size stays known; a later Picture() decodes
  // the picture again.
  virtual void Release(uint32_t /*index*/) {}
};

// Decodes from the client's art through TUOTileData::LoadArtRGBA. A picture
// that cannot be decoded is remembered as absent and not tried again.
class TArtCache : public IArtSource {
 public:
  explicit TArtCache(const TUOTileData* data);
  const ArtRGBA* Picture(uint32_t index) override;
  bool PictureSize(uint32_t index, int* width, int* height) override;
  void Release(uint32_t index) override;
  void Reset();  // forgets every decoded picture
  size_t DecodedCount() const { return decoded_; }
  // Bytes of pixels held now.
  size_t PixelBytes() const { return pixelBytes_; }

 private:
  // Decodes the picture into its slot (sizes and pixels); false when absent.
  bool Decode(uint32_t index);
  enum State : uint8_t { kUntried, kAbsent, kHeld, kReleased };
  const TUOTileData* data_;
  std::vector<std::unique_ptr<ArtRGBA>> pictures_;
  std::vector<uint8_t> state_;
  size_t decoded_ = 0, pixelBytes_ = 0;
};

// Pictures set by hand (tests, benchmarks).
class TMemoryArtSource : public IArtSource {
 public:
  // Takes a picture padded to its texture or one at its own size.
  void Set(uint32_t index, ArtRGBA picture);
  // A w x h picture of one colour (RGBA).
  void SetSolid(uint32_t index, int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255);
  const ArtRGBA* Picture(uint32_t index) override;

 private:
  std::map<uint32_t, ArtRGBA> pictures_;
};

// Smallest power of two not below n (1 for n <= 1).
int TexSide(int n);

}  // namespace tavi
