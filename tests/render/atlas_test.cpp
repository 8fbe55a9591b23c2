// The texture atlas of the OpenGL view: pictures never overlap, stay inside
// their pages, and the pages of a large set of pictures take little more
// memory than the pictures themselves.
#include "render/atlas.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace tavi {
namespace {

struct Placed {
  TAtlasAllocator::Place at;
  int w, h;
};

// Fills an atlas with pictures (borders of one texel added, as the view
// does) and checks every block; returns page bytes per picture byte.
double Fill(const std::vector<std::pair<int, int>>& sizes) {
  TAtlasAllocator atlas;
  std::vector<Placed> placed;
  size_t pictureBytes = 0;
  for (auto [w, h] : sizes) {
    Placed p{{}, w + 2, h + 2};
    EXPECT_TRUE(atlas.Allocate(p.w, p.h, &p.at));
    EXPECT_GE(p.at.X, 0);
    EXPECT_GE(p.at.Y, 0);
    EXPECT_LE(p.at.X + p.w, atlas.PageSide(size_t(p.at.Page)));
    EXPECT_LE(p.at.Y + p.h, atlas.PageSide(size_t(p.at.Page)));
    placed.push_back(p);
    pictureBytes += size_t(w) * h * 4;
  }
  // No two blocks of a page share a texel (blocks sorted by page, then a
  // sweep over each page's blocks).
  std::vector<std::vector<const Placed*>> pages(atlas.PageCount());
  for (const Placed& p : placed) pages[size_t(p.at.Page)].push_back(&p);
  for (size_t pg = 0; pg < pages.size(); ++pg) {
    const int side = atlas.PageSide(pg);
    EXPECT_LE(side, kMaxAtlasSide);
    std::vector<uint8_t> used(size_t(side) * side, 0);
    for (const Placed* p : pages[pg])
      for (int y = p->at.Y; y < p->at.Y + p->h; ++y)
        for (int x = p->at.X; x < p->at.X + p->w; ++x) {
          uint8_t& u = used[size_t(y) * side + x];
          if (u) {
            ADD_FAILURE() << "overlap on page " << pg << " at " << x << "," << y;
            return 0;
          }
          u = 1;
        }
  }
  return double(atlas.PageBytes()) / double(pictureBytes);
}

TEST(Atlas, ManyPicturesOfMixedSizesPackTightly) {
  std::mt19937 rng(5);
  std::vector<std::pair<int, int>> demoLike, mixed;
  const int heights[] = {44, 56, 60, 64, 84, 96, 124};
  for (int i = 0; i < 20480; ++i) {
    demoLike.emplace_back(44, heights[rng() % 7]);
    mixed.emplace_back(8 + int(rng() % 120), 8 + int(rng() % 150));
  }
  EXPECT_LE(Fill(demoLike), 1.3);
  EXPECT_LE(Fill(mixed), 1.3);
  // A small house's few pictures take a small first page.
  TAtlasAllocator small;
  TAtlasAllocator::Place at;
  ASSERT_TRUE(small.Allocate(46, 46, &at));
  EXPECT_EQ(small.PageBytes(), size_t(kFirstAtlasSide) * kFirstAtlasSide * 4);
}

TEST(Atlas, TheFirstPageGrowsBeforeASecondOpens) {
  TAtlasAllocator atlas;
  TAtlasAllocator::Place at;
  std::vector<int> sides;
  int grown = 0;
  while (atlas.PageCount() < 2) {
    ASSERT_TRUE(atlas.Allocate(46, 86, &at));
    if (atlas.GrownPage() >= 0) {
      EXPECT_EQ(atlas.GrownPage(), 0);
      EXPECT_EQ(atlas.GrownFromSide() * 2, atlas.PageSide(0));
      ++grown;
    }
    if (sides.empty() || sides.back() != atlas.PageSide(0)) sides.push_back(atlas.PageSide(0));
  }
  EXPECT_EQ(sides, (std::vector<int>{kFirstAtlasSide, 1024, kMaxAtlasSide}));
  EXPECT_EQ(grown, 2);
  EXPECT_EQ(at.Page, 1);  // the second page only once the first is at its largest
  EXPECT_EQ(atlas.PageSide(1), kMaxAtlasSide);
}

TEST(Atlas, RefusesWhatCannotFit) {
  TAtlasAllocator atlas;
  TAtlasAllocator::Place at;
  EXPECT_FALSE(atlas.Allocate(kMaxAtlasSide + 1, 4, &at));
  EXPECT_FALSE(atlas.Allocate(0, 4, &at));
  EXPECT_TRUE(atlas.Allocate(kMaxAtlasSide, kMaxAtlasSide, &at));
  EXPECT_EQ(atlas.PageSide(size_t(at.Page)), kMaxAtlasSide);
  atlas.maxPages = atlas.PageCount();
  EXPECT_FALSE(atlas.Allocate(kMaxAtlasSide, 1, &at));
  EXPECT_FALSE(atlas.AllocateOn(99, 4, 4, &at));
}

}  // namespace
}  // namespace tavi
