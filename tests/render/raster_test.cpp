#include "render/raster.h"

#include <gtest/gtest.h>

#include "render/projection.h"
#include "render_house.h"

namespace tavi {
namespace {

const uint8_t* Px(const RasterFrame& f, int x, int y) {
  return &f.Rgb[(size_t(y) * f.Width + x) * 3];
}

DrawItem TileAt(uint32_t art, int x, int y, int key, DrawColor c = {}) {
  DrawItem it;
  it.Art = art;
  it.X = x;
  it.Y = y;
  it.Key = key;
  it.Color = c;
  return it;
}

TEST(Raster, LandTileCoversItsSquareAndOddWidthsShiftHalfAPixel) {
  TMemoryArtSource art;
  art.SetSolid(1, 44, 44, 255, 0, 0);
  art.SetSolid(2, 45, 10, 0, 0, 255);
  DrawList list;
  list.Items.push_back(TileAt(1, 10, 10, 100));
  RasterFrame f;
  ASSERT_TRUE(RasterizeScene(list, &art, RasterView{80, 80, 1.0, 0, 0}, &f));
  EXPECT_EQ(Px(f, 9, 30)[0], 128);   // clear grey left of it
  EXPECT_EQ(Px(f, 54, 30)[0], 128);  // and right of it
  EXPECT_EQ(Px(f, 30, 9)[0], 128);
  EXPECT_EQ(Px(f, 30, 54)[0], 128);
  EXPECT_EQ(Px(f, 30, 30)[0], 255);
  EXPECT_NEAR(f.DepthAt(30, 30), 1 - 100 / 10240.0, 1e-6);
  EXPECT_FLOAT_EQ(f.DepthAt(5, 5), 1.0f);

  list.Items[0] = TileAt(2, 10, 10, 100);  // 45 wide: from 9.5 to 54.5
  ASSERT_TRUE(RasterizeScene(list, &art, RasterView{80, 80, 1.0, 0, 0}, &f));
  EXPECT_EQ(Px(f, 8, 50)[2], 128);
  EXPECT_GT(Px(f, 10, 50)[2], 200);
  EXPECT_GT(Px(f, 53, 50)[2], 200);
  EXPECT_EQ(Px(f, 55, 50)[2], 128);
  EXPECT_EQ(Px(f, 30, 43)[2], 128);  // 10 high, bottom on the square's bottom
}

TEST(Raster, DepthKeysDecideAndEqualKeysGoToTheLater) {
  TMemoryArtSource art;
  art.SetSolid(1, 44, 44, 255, 0, 0);
  art.SetSolid(2, 44, 44, 0, 255, 0);
  DrawList list;
  list.Items.push_back(TileAt(1, 0, 0, 300));
  list.Items.push_back(TileAt(2, 0, 0, 200));  // further away: hidden
  RasterFrame f;
  RasterizeScene(list, &art, RasterView{44, 44, 1.0, 0, 0}, &f);
  EXPECT_EQ(Px(f, 22, 22)[0], 255);
  list.Items[1].Key = 300;  // equal: the later one covers
  RasterizeScene(list, &art, RasterView{44, 44, 1.0, 0, 0}, &f);
  EXPECT_EQ(Px(f, 22, 22)[1], 255);
  // A ground tile lies at the far end whatever its key.
  list.Items[1].Ground = true;
  list.Items[1].Key = 9999;
  RasterizeScene(list, &art, RasterView{44, 44, 1.0, 0, 0}, &f);
  EXPECT_EQ(Px(f, 22, 22)[0], 255);
}

TEST(Raster, TintModulatesTransparentTexelsAreDropped) {
  TMemoryArtSource art;
  ArtRGBA pic;  // 5 x 1: three opaque texels, then transparent ones
  pic.ArtWidth = 5;
  pic.ArtHeight = 1;
  pic.TexWidth = 8;
  pic.TexHeight = 1;
  pic.Pixels.assign(8 * 4, 0);
  for (int x = 0; x < 3; ++x) {
    pic.Pixels[x * 4] = pic.Pixels[x * 4 + 1] = pic.Pixels[x * 4 + 2] = 200;
    pic.Pixels[x * 4 + 3] = 255;
  }
  art.Set(7, pic);
  DrawList list;
  list.Items.push_back(TileAt(7, 0, 0, 100, DrawColor{1, 0.5f, 0, 1}));
  RasterFrame f;
  // 20 times larger: the picture covers 20 * (19.5 .. 24.5) by 20 * (43 .. 44).
  RasterizeScene(list, &art, RasterView{600, 900, 20.0, 0, 0}, &f);
  const int left = 390, row = 870;
  const uint8_t* p = Px(f, left + 30, row);
  EXPECT_EQ(p[0], 200);
  EXPECT_EQ(p[1], 100);
  EXPECT_EQ(p[2], 0);
  // Half way into the transparent texel the fragment is blended...
  EXPECT_GT(Px(f, left + 59, row)[0], 100);
  EXPECT_LT(Px(f, left + 59, row)[0], 128);
  // ...and where no opaque texel reaches, it is dropped (depth untouched).
  EXPECT_EQ(Px(f, left + 89, row)[0], 128);
  EXPECT_FLOAT_EQ(f.DepthAt(left + 89, row), 1.0f);
  EXPECT_LT(f.DepthAt(left + 59, row), 1.0f);
}

TEST(Raster, NightHalvesTheFrameAndLightsRestoreIt) {
  TMemoryArtSource art;
  art.SetSolid(1, 44, 44, 200, 100, 50);
  DrawList list;
  list.Night = true;
  list.Items.push_back(TileAt(1, 0, 0, 100));
  list.Items.push_back(TileAt(1, 200, 0, 100));
  list.Lights.push_back(DrawLight{22, 22, 10, 96, 128, 96});
  RasterFrame f;
  RasterizeScene(list, &art, RasterView{300, 100, 1.0, 0, 0}, &f);
  EXPECT_EQ(Px(f, 22, 22)[0], 200);   // inside the light: full brightness
  EXPECT_EQ(Px(f, 222, 22)[0], 100);  // elsewhere half
  EXPECT_EQ(Px(f, 222, 22)[2], 25);
  EXPECT_EQ(Px(f, 150, 90)[0], 64);  // the grey clear colour too
  uint8_t rim = Px(f, 40, 40)[0];    // 16 into the 40-unit rim
  EXPECT_GT(rim, 100);
  EXPECT_LT(rim, 200);
}

TEST(Raster, ScrollAndZoomMoveTheFrame) {
  TMemoryArtSource art;
  art.SetSolid(1, 44, 44, 255, 255, 255);
  DrawList list;
  list.Items.push_back(TileAt(1, 100, 100, 10));
  RasterFrame f;
  RasterizeScene(list, &art, RasterView{100, 100, 0.5, 20, 30}, &f);
  // Scene (100..144) at half size is 50..72, minus the scroll.
  EXPECT_EQ(Px(f, 29, 30)[0], 128);
  EXPECT_EQ(Px(f, 31, 30)[0], 255);
  EXPECT_EQ(Px(f, 51, 30)[0], 255);
  EXPECT_EQ(Px(f, 53, 30)[0], 128);
  EXPECT_EQ(Px(f, 40, 19)[0], 128);
  EXPECT_EQ(Px(f, 40, 21)[0], 255);
}

TEST(Raster, BadPicturesAndViewsDrawNothing) {
  TMemoryArtSource art;
  ArtRGBA broken;  // claims a size its buffer does not hold
  broken.ArtWidth = broken.ArtHeight = broken.TexWidth = broken.TexHeight = 64;
  art.Set(1, broken);
  DrawList list;
  list.Items.push_back(TileAt(1, 0, 0, 10));
  list.Items.push_back(TileAt(99, 0, 0, 10));  // no picture at all
  list.Items.push_back(TileAt(0xFFFFFFFFu, 0, 0, 10));
  RasterFrame f;
  ASSERT_TRUE(RasterizeScene(list, &art, RasterView{64, 64, 1.0, 0, 0}, &f));
  EXPECT_EQ(Px(f, 20, 20)[0], 128);
  EXPECT_FALSE(RasterizeScene(list, &art, RasterView{0, 64, 1.0, 0, 0}, &f));
  EXPECT_FALSE(RasterizeScene(list, &art, RasterView{1 << 20, 1 << 20, 1.0, 0, 0}, &f));
  EXPECT_FALSE(RasterizeScene(list, &art, RasterView{64, 64, 0.0, 0, 0}, &f));
  EXPECT_TRUE(f.Rgb.empty());
}

TEST(Raster, GridDiamondsTileThePlaneWithoutOverlap) {
  DrawList list;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) {
      DrawItem it;
      it.Kind = DrawKind::kCell;
      ScenePoint a = CellAnchor(x, y, 3);
      it.X = a.X;
      it.Y = a.Y - 320;
      it.Key = 100;
      it.Color = DrawColor{0, 0, 0, 0.5f};
      list.Items.push_back(it);
    }
  RasterFrame f;
  RasterizeScene(list, nullptr, RasterView{132, 132, 1.0, 0, 0}, &f);
  // Inside the middle of the block every pixel is covered exactly once.
  for (int y = 44; y < 88; ++y)
    for (int x = 44; x < 88; ++x) ASSERT_EQ(Px(f, x, y)[0], 64) << x << "," << y;
}

}  // namespace
}  // namespace tavi
