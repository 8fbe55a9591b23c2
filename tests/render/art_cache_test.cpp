#include <gtest/gtest.h>

#include "client/tile_data.h"
#include "render/art_source.h"
#include "support/demo_client.h"

namespace tavi {
namespace {

TEST(ArtCache, DecodesEachPictureOnceAndRemembersAbsentOnes) {
  const std::string dir = test::DemoClientDir();
  if (dir.empty()) GTEST_SKIP() << "no demo client";
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

}  // namespace
}  // namespace tavi
