// The table of picture-name hashes compiled into the editor: each picture
// name's hash gives its art index, as hashing the name does, and every other
// hash gives none.
#include "client/art_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <unordered_set>
#include <vector>

#include "client/container.h"

namespace tavi {
namespace {

std::string PictureName(uint32_t index) {
  char name[40];
  std::snprintf(name, sizeof name, kArtNameFormat, index);
  return name;
}

TEST(ArtNames, EveryPictureNameGivesItsIndex) {
  for (uint32_t i = 0; i < kArtNames; ++i)
    ASSERT_EQ(ArtIndexOfNameHash(ContainerNameHash(PictureName(i))), int32_t(i)) << i;
  // Names are hashed in lower case, so the stored hash of any spelling is the same.
  EXPECT_EQ(ArtIndexOfNameHash(ContainerNameHash("Build/ArtLegacyMUL/00016384.TGA")), 0x4000);
}

TEST(ArtNames, OtherHashesGiveNoIndex) {
  std::unordered_set<uint64_t> pictures;
  for (uint32_t i = 0; i < kArtNames; ++i) pictures.insert(ContainerNameHash(PictureName(i)));
  EXPECT_EQ(ArtIndexOfNameHash(0), -1);
  // Names beside the pictures'.
  for (const char* name :
       {"build/artlegacymul/00081920.tga", "build/artlegacymul/0000001.tga",
        "build/artlegacymul/000000001.tga", "build/gumpartlegacymul/00000001.tga",
        "build/artlegacymul/00000001.bmp", "build/multicollection/000001.bin"})
    EXPECT_EQ(ArtIndexOfNameHash(ContainerNameHash(name)), -1) << name;
  // Hashes one bit away from a picture's, which start their probe anywhere,
  // and hashes from all over.
  size_t checked = 0;
  for (uint64_t h : pictures)
    for (int bit : {0, 13, 31, 32, 50, 63}) {
      const uint64_t other = h ^ (uint64_t(1) << bit);
      if (pictures.count(other)) continue;
      ASSERT_EQ(ArtIndexOfNameHash(other), -1) << std::hex << other;
      ++checked;
    }
  uint64_t x = 0x243F6A8885A308D3ull;
  for (int i = 0; i < 200000; ++i) {
    x ^= x << 13, x ^= x >> 7, x ^= x << 17;
    if (pictures.count(x) == 0) {
      ASSERT_EQ(ArtIndexOfNameHash(x), -1) << std::hex << x;
    }
  }
  EXPECT_GT(checked, 6 * size_t(kArtNames) - 10);
}

// The matcher tries the names after the previous picture's before the
// table; whatever the order of the entries, it gives what the table gives.
TEST(ArtNames, MatcherGivesWhatTheTableGives) {
  std::vector<uint64_t> byIndex;
  for (uint32_t i = 0; i < kArtNames; ++i) byIndex.push_back(ContainerNameHash(PictureName(i)));
  std::vector<std::vector<uint64_t>> orders(6);
  for (uint32_t i = 0; i < kArtNames; ++i) {
    orders[0].push_back(byIndex[i]);                                 // every name in order
    if (i % 2 == 0) orders[1].push_back(byIndex[i]);                 // gaps of one
    if (i % 5 == 0 || i % 97 == 3) orders[2].push_back(byIndex[i]);  // gaps of four and more
    orders[3].push_back(byIndex[kArtNames - 1 - i]);                 // backwards
    if (i % 3 == 0) orders[4].push_back(byIndex[i] ^ 1);             // other hashes between
    orders[4].push_back(byIndex[i]);
  }
  orders[5] = orders[0];
  std::shuffle(orders[5].begin(), orders[5].end(), std::mt19937(7));
  // The last name, then the first again, twice, and hash 0.
  orders[0].insert(orders[0].end(), {byIndex[0], byIndex[0], 0, byIndex[kArtNames - 1], 0});
  for (size_t o = 0; o < orders.size(); ++o) {
    ArtNameMatcher matcher;
    for (size_t i = 0; i < orders[o].size(); ++i)
      ASSERT_EQ(matcher.IndexOf(orders[o][i]), ArtIndexOfNameHash(orders[o][i]))
          << "order " << o << " entry " << i;
  }
}

}  // namespace
}  // namespace tavi
