#include <gtest/gtest.h>

#include <cstring>

#include "client/tile_data.h"
#include "render/art_source.h"
#include "support/demo_client.h"

namespace tavi {
namespace {

TEST(ArtCache, DecodesEachPictureOnceAndRemembersAbsentOnes) {
  const std::string dir = test::DemoClientDir();
  auto data = TUOTileData::Create(dir + "/artidx.mul", dir + "/tiledata.mul", dir + "/art.mul");
  uint32_t present = 0, absent = 0;
  for (uint32_t i = kItemArtBase + 1; i < kArtIndexLimit && (!present || !absent); ++i) {
    if (!present && data->HasArt(i)) present = i;
    if (!absent && !data->HasArt(i)) absent = i;
  }
  ASSERT_NE(present, 0u);
  TArtCache cache(data.get());
  const ArtRGBA* a = cache.Picture(present);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(cache.Picture(present), a);
  EXPECT_EQ(cache.DecodedCount(), 1u);
  EXPECT_GE(a->TexWidth, a->ArtWidth);
  if (absent) {
    EXPECT_EQ(cache.Picture(absent), nullptr);
  }
  EXPECT_EQ(cache.Picture(kArtIndexLimit), nullptr);
  EXPECT_EQ(cache.Picture(0xFFFFFFFFu), nullptr);
  EXPECT_EQ(cache.DecodedCount(), 1u);
  cache.Reset();
  EXPECT_EQ(cache.DecodedCount(), 0u);
  EXPECT_NE(cache.Picture(present), nullptr);
  EXPECT_EQ(TexSide(300), 512);
  EXPECT_EQ(TexSide(44), 64);
  EXPECT_EQ(TexSide(1), 1);
}

// Kept pictures hold their own pixels only, not their texture's padding; a
// released picture keeps its size and decodes again when its pixels are
// wanted.
TEST(ArtCache, KeepsPicturesAtTheirOwnSizeAndLetsThemGo) {
  const std::string dir = test::DemoClientDir();
  auto data = TUOTileData::Create(dir + "/artidx.mul", dir + "/tiledata.mul", dir + "/art.mul");
  TArtCache cache(data.get());
  size_t own = 0;
  int pictures = 0;
  for (uint32_t i = 0; i < kArtIndexLimit && pictures < 200; ++i) {
    const ArtRGBA* a = cache.Picture(i);
    if (!a) continue;
    ++pictures;
    own += size_t(a->ArtWidth) * a->ArtHeight * 4;
    ASSERT_EQ(a->Pixels.size(), size_t(a->ArtWidth) * a->ArtHeight * 4);
    // The same texels as the decoder's padded buffer.
    ArtRGBA padded;
    ASSERT_TRUE(data->LoadArtRGBA(i, &padded));
    EXPECT_EQ(a->TexWidth, padded.TexWidth);
    for (int y = 0; y < a->ArtHeight; y += 7)
      for (int x = 0; x < a->ArtWidth; x += 5)
        ASSERT_EQ(0, std::memcmp(PictureTexel(*a, x, y),
                                 &padded.Pixels[(size_t(y) * padded.TexWidth + x) * 4], 4));
  }
  ASSERT_GT(pictures, 0);
  EXPECT_EQ(cache.PixelBytes(), own);

  uint32_t index = 0;
  while (!cache.Picture(index)) ++index;
  const int w = cache.Picture(index)->ArtWidth, h = cache.Picture(index)->ArtHeight;
  cache.Release(index);
  EXPECT_EQ(cache.PixelBytes(), own - size_t(w) * h * 4);
  int rw = 0, rh = 0;
  ASSERT_TRUE(cache.PictureSize(index, &rw, &rh));
  EXPECT_EQ(rw, w);
  EXPECT_EQ(rh, h);
  EXPECT_EQ(cache.PixelBytes(), own - size_t(w) * h * 4);  // the size alone decodes nothing
  const ArtRGBA* again = cache.Picture(index);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->Pixels.size(), size_t(w) * h * 4);
  EXPECT_EQ(cache.PixelBytes(), own);
  EXPECT_FALSE(cache.PictureSize(kArtIndexLimit, &rw, &rh));
}

}  // namespace
}  // namespace tavi
