// The demo client written as each client generation (loose files, packed
// containers, the older layout) reads as the same tile facts and pictures.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>

#include "client/tile_data.h"
#include "support/demo_client.h"

namespace tavi {
namespace {

using test::DemoGeneration;

const TUOTileData* Tiles(DemoGeneration g) {
  static std::map<DemoGeneration, std::unique_ptr<TUOTileData>> loaded;
  auto& t = loaded[g];
  if (!t) {
    const test::DemoPaths p = test::DemoClientPaths(g);
    if (p.tileData.empty()) return nullptr;
    t = TUOTileData::Create(p.artIdx, p.tileData, p.art);
  }
  return t.get();
}

class Generations : public ::testing::TestWithParam<DemoGeneration> {
 protected:
  void SetUp() override {
    loose_ = Tiles(DemoGeneration::kLoose);
    tiles_ = Tiles(GetParam());
    ASSERT_FALSE(!loose_ || !tiles_) << "no demo client";
  }
  const TUOTileData* loose_ = nullptr;
  const TUOTileData* tiles_ = nullptr;
};

TEST_P(Generations, SameTileFacts) {
  const TUOTileData& t = *tiles_;
  EXPECT_EQ(t.Layout, GetParam() == DemoGeneration::kOld ? TileDataLayout::kFlags32
                                                         : TileDataLayout::kFlags64);
  EXPECT_EQ(t.ArtInContainer, GetParam() == DemoGeneration::kPacked);
  EXPECT_EQ(t.ItemRecordCount, loose_->ItemRecordCount);
  for (int id = 0; id < kMaxItems; ++id)
    ASSERT_EQ(std::memcmp(&t.ItemData[id], &loose_->ItemData[id], sizeof(TileInfo)), 0) << id;
  ASSERT_EQ(t.ItemCount, loose_->ItemCount);
  EXPECT_EQ(std::memcmp(t.ItemIds, loose_->ItemIds, sizeof(t.ItemIds)), 0);
  EXPECT_EQ(std::memcmp(t.ItemIndexOf, loose_->ItemIndexOf, sizeof(t.ItemIndexOf)), 0);
  EXPECT_EQ(std::memcmp(t.TileCategory, loose_->TileCategory, sizeof(t.TileCategory)), 0);
  EXPECT_EQ(std::memcmp(t.Lights, loose_->Lights, sizeof(t.Lights)), 0);
}

TEST_P(Generations, SamePictures) {
  const TUOTileData& t = *tiles_;
  int pictures = 0;
  for (uint32_t i = 0; i < kContainerArtIndices; ++i) {
    ASSERT_EQ(t.HasArt(i), loose_->HasArt(i)) << i;
    if (!t.HasArt(i)) continue;
    ++pictures;
    ArtRGBA a, b;
    ASSERT_EQ(t.LoadArtRGBA(i, &a), loose_->LoadArtRGBA(i, &b)) << i;
    ASSERT_EQ(a.Pixels, b.Pixels) << i;
    ASSERT_EQ(a.ArtWidth, b.ArtWidth) << i;
    ASSERT_EQ(a.ArtHeight, b.ArtHeight) << i;
    TBitmap24 x(44, 80, 7), y(44, 80, 7);
    t.DrawArt(x, i, 0, 0);
    loose_->DrawArt(y, i, 0, 0);
    ASSERT_EQ(x.Bits, y.Bits) << i;
  }
  EXPECT_EQ(uint32_t(pictures), loose_->PictureCount());
  EXPECT_GT(pictures, 1500);
}

INSTANTIATE_TEST_SUITE_P(Demo, Generations, ::testing::ValuesIn(test::kAllGenerations),
                         [](const auto& p) {
                           return std::string(test::DemoGenerationName(p.param));
                         });

}  // namespace
}  // namespace tavi
