// Decoding land diamonds and run-length item art from art.mul.
#include <gtest/gtest.h>

#include <memory>

#include "client/tile_data.h"
#include "client_files.h"

namespace tavi {
namespace {

using test::ArtFiles;
using test::TempDir;
using ArtRun = ArtFiles::Run;

constexpr uint32_t kItem = kItemArtBase;

class Art : public ::testing::Test {
 protected:
  TempDir dir;
  ArtFiles art;
  std::unique_ptr<TUOTileData> tiles;

  void Load() {
    art.Write(dir);
    test::WriteBytes(dir / "tiledata.mul", test::TileDataFile(1).bytes);
    tiles = TUOTileData::Create(dir / "artidx.mul", dir / "tiledata.mul", dir / "art.mul");
  }
  // RGBA of a decoded texture pixel.
  static std::vector<int> At(const ArtRGBA& a, int x, int y) {
    const uint8_t* p = &a.Pixels[(size_t(y) * a.TexWidth + x) * 4];
    return {p[0], p[1], p[2], p[3]};
  }
  static std::vector<int> BgrAt(TBitmap24& b, int x, int y) {
    const uint8_t* p = b.Pixel(x, y);
    return {p[0], p[1], p[2]};
  }
  static int Opaque(const ArtRGBA& a) {
    int n = 0;
    for (size_t i = 3; i < a.Pixels.size(); i += 4) n += a.Pixels[i] == 255;
    return n;
  }
};

const std::vector<int> kClear = {0, 0, 0, 0};

TEST_F(Art, LandDiamondStartsAtTheEntrysFirstByte) {
  // Pixel i holds i + 1, so that no pixel is 0 and the probe reads as land.
  art.AddLand(5, [](int i) { return uint16_t(i + 1); });
  art.AddLand(6, [](int i) { return uint16_t(i == 1 ? 1 : 0); });  // probe 0x10000
  Load();
  ArtRGBA a;
  ASSERT_TRUE(tiles->LoadArtRGBA(5, &a));
  EXPECT_EQ(a.ArtWidth, 44);
  EXPECT_EQ(a.ArtHeight, 44);
  EXPECT_EQ(a.TexWidth, 64);
  EXPECT_EQ(a.TexHeight, 64);
  ASSERT_EQ(a.Pixels.size(), 64u * 64u * 4u);
  EXPECT_EQ(Opaque(a), 1012);
  // Row 0: pixels 0 and 1 (values 1 and 2) at columns 21 and 22 only.
  EXPECT_EQ(At(a, 20, 0), kClear);
  EXPECT_EQ(At(a, 21, 0), (std::vector<int>{0, 0, 8, 255}));
  EXPECT_EQ(At(a, 22, 0), (std::vector<int>{0, 0, 16, 255}));
  EXPECT_EQ(At(a, 23, 0), kClear);
  // Row 21 is the widest (44 pixels), row 22 too; row 43 has two again.
  EXPECT_NE(At(a, 0, 21)[3], 0);
  EXPECT_NE(At(a, 43, 22)[3], 0);
  EXPECT_EQ(At(a, 20, 43), kClear);
  auto rgba = [](int v) {
    return std::vector<int>{(v >> 10 & 31) * 255 / 31, (v >> 5 & 31) * 255 / 31,
                            (v & 31) * 255 / 31, 255};
  };
  EXPECT_EQ(At(a, 21, 43), rgba(1011));
  EXPECT_EQ(At(a, 22, 43), rgba(1012));
  EXPECT_EQ(At(a, 0, 22), rgba(507));  // rows 0..21 hold 506 pixels
  EXPECT_EQ(At(a, 0, 21), rgba(463));
  EXPECT_EQ(At(a, 44, 21), kClear);
  EXPECT_EQ(At(a, 0, 44), kClear);

  // First 4 bytes 00 00 01 00: land, whose first pixel is black.
  ASSERT_TRUE(tiles->LoadArtRGBA(6, &a));
  EXPECT_EQ(a.ArtWidth, 44);
  EXPECT_EQ(At(a, 21, 0), (std::vector<int>{0, 0, 0, 255}));
  EXPECT_EQ(At(a, 22, 0), (std::vector<int>{0, 0, 8, 255}));
}

TEST_F(Art, PixelFormat) {
  // 5-bit channels widen by v * 255 / 31; bit 15 is ignored; 0 is opaque black.
  art.AddItem(kItem + 1, 5, 1, {{{0, 5, {0x7C00, 0x03E0, 0x001F, 0x8421, 0x0000}}}});
  Load();
  ArtRGBA a;
  ASSERT_TRUE(tiles->LoadArtRGBA(kItem + 1, &a));
  EXPECT_EQ(At(a, 0, 0), (std::vector<int>{255, 0, 0, 255}));
  EXPECT_EQ(At(a, 1, 0), (std::vector<int>{0, 255, 0, 255}));
  EXPECT_EQ(At(a, 2, 0), (std::vector<int>{0, 0, 255, 255}));
  EXPECT_EQ(At(a, 3, 0), (std::vector<int>{8, 8, 8, 255}));
  EXPECT_EQ(At(a, 4, 0), (std::vector<int>{0, 0, 0, 255}));
  EXPECT_EQ(At(a, 5, 0), kClear);  // texture padding

  TBitmap24 bmp(5, 1, 0x77);
  tiles->DrawArt(bmp, kItem + 1, 0, 0);
  EXPECT_EQ(BgrAt(bmp, 0, 0), (std::vector<int>{0, 0, 255}));
  EXPECT_EQ(BgrAt(bmp, 2, 0), (std::vector<int>{255, 0, 0}));
  EXPECT_EQ(BgrAt(bmp, 4, 0), (std::vector<int>{0, 0, 0}));
}

TEST_F(Art, RunsRowTableAndTextureSizes) {
  // Row 0: a gap of 2, three pixels, a gap of 1, one pixel. Row 1: empty.
  // Row 2: one pixel at column 43.
  art.AddItem(kItem + 2, 44, 60,
              {{{2, 3, {0x7FFF, 0x7FFF, 0x7FFF}}, {1, 1, {0x001F}}}, {}, {{43, 1, {0x7C00}}}});
  art.AddItem(kItem + 3, 65, 1, {{{64, 1, {0x03E0}}}});
  art.AddItem(kItem + 4, 1, 1, {{{0, 1, {0}}}});
  Load();
  ArtRGBA a;
  ASSERT_TRUE(tiles->LoadArtRGBA(kItem + 2, &a));
  EXPECT_EQ(a.ArtWidth, 44);
  EXPECT_EQ(a.ArtHeight, 60);
  EXPECT_EQ(a.TexWidth, 64);
  EXPECT_EQ(a.TexHeight, 64);
  EXPECT_EQ(Opaque(a), 5);
  EXPECT_EQ(At(a, 1, 0), kClear);
  EXPECT_EQ(At(a, 2, 0)[3], 255);
  EXPECT_EQ(At(a, 4, 0)[3], 255);
  EXPECT_EQ(At(a, 5, 0), kClear);
  EXPECT_EQ(At(a, 6, 0), (std::vector<int>{0, 0, 255, 255}));
  EXPECT_EQ(At(a, 43, 2), (std::vector<int>{255, 0, 0, 255}));

  ASSERT_TRUE(tiles->LoadArtRGBA(kItem + 3, &a));
  EXPECT_EQ(a.TexWidth, 128);
  EXPECT_EQ(a.TexHeight, 1);
  EXPECT_EQ(At(a, 64, 0), (std::vector<int>{0, 255, 0, 255}));
  ASSERT_TRUE(tiles->LoadArtRGBA(kItem + 4, &a));
  EXPECT_EQ(a.TexWidth, 1);
  EXPECT_EQ(a.TexHeight, 1);
  EXPECT_EQ(a.Pixels.size(), 4u);
}

TEST_F(Art, RowsAreFoundThroughTheRowTable) {
  // Row data stored in reverse order: the table, not the file order, decides.
  std::vector<uint8_t> v;
  test::Put32(v, 1);
  test::Put16(v, 2);
  test::Put16(v, 2);
  test::Put16(v, 6);                                             // row 0 starts 6 words in
  test::Put16(v, 0);                                             // row 1 at the start
  for (uint16_t w : {0, 1, 0x001F, 0, 0, 0}) test::Put16(v, w);  // row 1: blue at 0
  for (uint16_t w : {1, 1, 0x7C00, 0, 0}) test::Put16(v, w);     // row 0: red at 1
  art.AddRaw(kItem + 9, v);
  Load();
  ArtRGBA a;
  ASSERT_TRUE(tiles->LoadArtRGBA(kItem + 9, &a));
  EXPECT_EQ(At(a, 1, 0), (std::vector<int>{255, 0, 0, 255}));
  EXPECT_EQ(At(a, 0, 1), (std::vector<int>{0, 0, 255, 255}));
  EXPECT_EQ(Opaque(a), 2);
}

TEST_F(Art, MalformedItemArt) {
  art.AddItem(kItem + 1, 0, 5, {});
  art.AddItem(kItem + 2, 1024, 1, {{{0, 1, {1}}}});
  art.AddItem(kItem + 3, 1023, 1, {{{1022, 1, {1}}}});
  // Runs past the picture's width are clipped at the width.
  art.AddItem(kItem + 4, 3, 2, {{{2, 4, {1, 2, 3, 4}}}, {{0, 1, {5}}}});
  // A run reaching column 2048 ends the picture; row 0 stays.
  art.AddItem(kItem + 5, 4, 3, {{{0, 1, {1}}}, {{1000, 1048, {}}}, {{0, 1, {1}}}});
  // Row 1 never ends: the decoder stops at the end of the file.
  art.AddItem(kItem + 6, 4, 2, {{{0, 1, {1}}}, {}});
  art.art.resize(art.art.size() - 4);
  Load();
  ArtRGBA a;
  a.ArtWidth = 77;
  EXPECT_FALSE(tiles->LoadArtRGBA(kItem + 1, &a));
  EXPECT_FALSE(tiles->LoadArtRGBA(kItem + 2, &a));
  EXPECT_EQ(a.ArtWidth, 77);  // a rejected picture leaves the result alone
  ASSERT_TRUE(tiles->LoadArtRGBA(kItem + 3, &a));
  EXPECT_EQ(a.TexWidth, 1024);
  EXPECT_EQ(At(a, 1022, 0)[3], 255);

  ASSERT_TRUE(tiles->LoadArtRGBA(kItem + 4, &a));
  EXPECT_EQ(a.TexWidth, 4);
  EXPECT_EQ(At(a, 2, 0)[3], 255);
  EXPECT_EQ(At(a, 3, 0), kClear);  // inside the texture, outside the picture
  EXPECT_EQ(At(a, 0, 1)[3], 255);
  EXPECT_EQ(Opaque(a), 2);

  ASSERT_TRUE(tiles->LoadArtRGBA(kItem + 5, &a));
  EXPECT_EQ(At(a, 0, 0)[3], 255);
  EXPECT_EQ(At(a, 0, 2), kClear);

  ASSERT_TRUE(tiles->LoadArtRGBA(kItem + 6, &a));
  EXPECT_EQ(Opaque(a), 1);
  TBitmap24 bmp(4, 2);
  tiles->DrawArt(bmp, kItem + 4, 0, 0);
  tiles->DrawArt(bmp, kItem + 6, 0, 0);
}

TEST_F(Art, AbsentAndTruncatedPictures) {
  art.AddItem(kItem + 1, 2, 2, {{{0, 2, {1, 1}}}, {{0, 2, {1, 1}}}});
  art.SetEntry(kItem + 2, -1);
  art.SetEntry(kItem + 3, 1 << 30);  // past the end of art.mul
  std::vector<uint8_t> cut;
  test::Put32(cut, 1);
  test::Put16(cut, 2);
  test::Put16(cut, 9);
  test::Put16(cut, 0);  // the row table ends after one of nine rows
  art.AddRaw(kItem + 5, cut);
  art.SetEntry(kItem + 4, int32_t(art.art.size()) - 3);  // too short for the probe
  Load();
  EXPECT_TRUE(tiles->HasArt(kItem + 1));
  ArtRGBA a;
  for (uint32_t index : {kItem + 2, kItem + 3, kItem + 4, kItem + 5, kItem + 99,
                         uint32_t(kMaxArtIndex), 0xFFFFFFFFu}) {
    EXPECT_FALSE(tiles->LoadArtRGBA(index, &a)) << index;
    TBitmap24 bmp(8, 8, 0x55);
    tiles->DrawArt(bmp, index, 0, 0);
    EXPECT_EQ(bmp.Bits, std::vector<uint8_t>(8 * 8 * 3, 0x55)) << index;
  }
  EXPECT_FALSE(tiles->HasArt(kItem + 2));
  EXPECT_FALSE(tiles->HasArt(kItem + 3));
  EXPECT_FALSE(tiles->LoadArtRGBA(kItem + 1, nullptr));
}

TEST_F(Art, LandCutShortKeepsThePixelsPresent) {
  const int32_t at = art.AddLand(7, [](int) { return uint16_t(0x7FFF); });
  art.art.resize(size_t(at) + 101);  // 50 pixels and a half
  Load();
  ArtRGBA a;
  ASSERT_TRUE(tiles->LoadArtRGBA(7, &a));
  EXPECT_EQ(Opaque(a), 50);
  TBitmap24 bmp(44, 44);
  tiles->DrawArt(bmp, 7, 0, 0);
  int white = 0;
  for (size_t i = 0; i < bmp.Bits.size(); i += 3) white += bmp.Bits[i] == 255;
  EXPECT_EQ(white, 50);
}

TEST_F(Art, DrawArtPlacesAndClips) {
  // 6 x 3 item art, every pixel white.
  const ArtRun white{0, 6, std::vector<uint16_t>(6, 0x7FFF)};
  art.AddItem(kItem + 1, 6, 3, {{white}, {white}, {white}});
  art.AddLand(2, [](int) { return uint16_t(0x7FFF); });
  Load();
  auto whiteAt = [](TBitmap24& b, int x, int y) { return b.Pixel(x, y)[0] == 255; };

  // Centred: (10 - 6) / 2 = 2.
  TBitmap24 bmp(10, 5);
  tiles->DrawArt(bmp, kItem + 1, 0, 0);
  EXPECT_FALSE(whiteAt(bmp, 1, 0));
  EXPECT_TRUE(whiteAt(bmp, 2, 0));
  EXPECT_TRUE(whiteAt(bmp, 7, 2));
  EXPECT_FALSE(whiteAt(bmp, 8, 2));
  EXPECT_FALSE(whiteAt(bmp, 2, 3));

  // Wider than the bitmap: left edge (3 - 6) / 2 = -1, clipped on both sides.
  TBitmap24 narrow(3, 3);
  tiles->DrawArt(narrow, kItem + 1, 0, 0);
  for (int x = 0; x < 3; ++x) EXPECT_TRUE(whiteAt(narrow, x, 1));
  // An odd difference truncates toward zero: (5 - 6) / 2 = 0.
  TBitmap24 five(5, 1);
  tiles->DrawArt(five, kItem + 1, 0, 0);
  for (int x = 0; x < 5; ++x) EXPECT_TRUE(whiteAt(five, x, 0));

  // Rows above and below the bitmap are skipped.
  TBitmap24 low(6, 2);
  tiles->DrawArt(low, kItem + 1, 0, -2);
  EXPECT_TRUE(whiteAt(low, 0, 0));
  EXPECT_FALSE(whiteAt(low, 0, 1));
  TBitmap24 high(6, 2);
  tiles->DrawArt(high, kItem + 1, 0, 1);
  EXPECT_FALSE(whiteAt(high, 0, 0));
  EXPECT_TRUE(whiteAt(high, 0, 1));

  // Land keeps its top-left corner at (x, y), clipped on every side.
  TBitmap24 land(44, 44);
  tiles->DrawArt(land, 2, 0, 0);
  EXPECT_TRUE(whiteAt(land, 21, 0));
  EXPECT_FALSE(whiteAt(land, 20, 0));
  EXPECT_TRUE(whiteAt(land, 0, 21));
  TBitmap24 part(10, 10);
  tiles->DrawArt(part, 2, -20, -21);
  EXPECT_TRUE(whiteAt(part, 0, 0));
  EXPECT_TRUE(whiteAt(part, 9, 9));

  // A bitmap whose pixels do not match its size is left alone.
  TBitmap24 broken(10, 10);
  broken.Bits.resize(5);
  tiles->DrawArt(broken, kItem + 1, 0, 0);
  tiles->DrawArt(broken, 2, 0, 0);
  EXPECT_EQ(broken.Bits, std::vector<uint8_t>(5, 0));
}

}  // namespace
}  // namespace tavi
