// The clipboard cell stream over a corpus of generated houses and damaged
// streams: the encoded bytes and the decoded houses are folded into numbers
// recorded from a run of the coder, so any change to either side shows. When
// the format is changed on purpose, record the numbers the failing test prints.
#include <gtest/gtest.h>

#include "io/clip_text.h"
#include "io/house_image.h"
#include "support/rng.h"

namespace tavi {
namespace {

using test::Rng;

using Bytes = std::vector<uint8_t>;

struct Fnv {
  uint64_t hash = 1469598103934665603ull;
  void Add(uint64_t v) { hash = (hash ^ v) * 1099511628211ull; }
};

// Blocks of one tile (rectangles for the encoder to find), loose entries,
// stacks and altitudes outside what a record keeps.
void FillHouse(Rng& rng, HouseImage& image) {
  image.ClearTiles();
  image.Width = 1 + rng.Below(31);
  image.Height = 1 + rng.Below(31);
  const uint16_t palette[] = {1, 2, 3, 77, 1305, 16383, uint16_t(1 + rng.Below(16383))};
  for (int f = 0; f < kFloors; ++f) {
    for (int blocks = rng.Below(6); blocks > 0; --blocks) {
      const uint16_t id = palette[rng.Below(7)];
      const int16_t z = int16_t(rng.Chance(80) ? 0 : rng.Below(80) - 40);
      const int x0 = rng.Below(image.Width), y0 = rng.Below(image.Height);
      const int w = 1 + rng.Below(8), h = 1 + rng.Below(8);
      for (int y = y0; y < y0 + h && y < image.Height; ++y)
        for (int x = x0; x < x0 + w && x < image.Width; ++x)
          if (rng.Chance(93)) image.Append(f, x, y, id, z);
    }
    for (int n = rng.Below(40); n > 0; --n)
      image.Append(f, rng.Below(image.Width), rng.Below(image.Height), palette[rng.Below(7)],
                   int16_t(rng.Below(64) - 32));
  }
}

void FoldImage(Fnv& h, const HouseImage& image) {
  h.Add(uint64_t(image.Width) << 8 | uint64_t(image.Height));
  for (int f = 0; f < kFloors; ++f)
    for (int l = 0; l < kLayers; ++l)
      for (int y = 0; y < kGrid; ++y)
        for (int x = 0; x < kGrid; ++x) {
          const TileEntry& e = image.Tiles[f][l][y][x];
          if (e.Id != 0)
            h.Add(uint64_t(f) << 56 | uint64_t(l) << 48 | uint64_t(y) << 40 | uint64_t(x) << 32 |
                  uint64_t(uint16_t(e.Z)) << 16 | e.Id);
        }
}

TEST(ClipStreamCorpus, EncodedBytesAndTheirDecodingAreUnchanged) {
  Rng rng{5};
  auto image = NewHouseImage();
  auto back = NewHouseImage();
  Fnv bytes, decoded;
  size_t total = 0;
  for (int house = 0; house < 300; ++house) {
    FillHouse(rng, *image);
    const int base = rng.Below(32);
    Bytes cells;
    std::string error;
    image->BaseHeight = base;  // the plot word carries 0..31
    ASSERT_TRUE(EncodeCellStream(*image, &cells, &error)) << error;
    for (uint8_t b : cells) bytes.Add(b);
    total += cells.size();
    ASSERT_EQ(DecodeCellStream(cells, *back, &error), base) << error;
    FoldImage(decoded, *back);
  }
  EXPECT_EQ(total, 184341u);
  EXPECT_EQ(bytes.hash, 5071058562521040302u);
  EXPECT_EQ(decoded.hash, 9791112431767017125u);
}

TEST(ClipStreamCorpus, DamagedStreamsDecodeAsBefore) {
  Rng rng{29};
  auto image = NewHouseImage();
  auto back = NewHouseImage();
  Fnv decoded;
  int refused = 0;
  for (int house = 0; house < 300; ++house) {
    FillHouse(rng, *image);
    Bytes cells;
    std::string error;
    image->BaseHeight = 7;
    ASSERT_TRUE(EncodeCellStream(*image, &cells, &error)) << error;
    // Flipped bits, cut ends and bytes of pure noise.
    for (int n = rng.Below(6); n > 0; --n)
      cells[size_t(rng.Below(int(cells.size())))] ^= uint8_t(1 << rng.Below(8));
    if (rng.Chance(40)) cells.resize(size_t(rng.Below(int(cells.size()) + 1)));
    if (rng.Chance(20))
      for (int n = rng.Below(200); n > 0; --n) cells.push_back(uint8_t(rng.Next()));
    const int base = DecodeCellStream(cells, *back, &error);
    decoded.Add(uint64_t(int64_t(base)));
    if (base < 0) ++refused;
    FoldImage(decoded, *back);
  }
  EXPECT_EQ(refused, 1);
  EXPECT_EQ(decoded.hash, 7897519307509107371u);
}

}  // namespace
}  // namespace tavi
