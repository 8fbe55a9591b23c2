// The configuration dialog's list entries and what they stand for.
#include "interaction/config_values.h"

#include <gtest/gtest.h>

#include <memory>

#include "document/doc_host.h"
#include "interaction/plot_resize.h"
#include "support/fake_tiles.h"

namespace tavi {
namespace {

TEST(ConfigValues, TextWidthEntries) {
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(TextWidthIndex(LineWidthOfIndex(i)), i);
    EXPECT_EQ(TextWidthIndex(LineWidthOfIndex(i) + 7), i);
  }
  EXPECT_EQ(LineWidthOfIndex(0), 36);
  EXPECT_EQ(LineWidthOfIndex(5), 76);
  // Just below 36 still truncates to the first entry; far below or above
  // the range shows the last one.
  EXPECT_EQ(TextWidthIndex(30), 0);
  EXPECT_EQ(TextWidthIndex(27), 5);
  EXPECT_EQ(TextWidthIndex(0), 5);
  EXPECT_EQ(TextWidthIndex(84), 5);
  EXPECT_EQ(TextWidthIndex(200), 5);
}

TEST(ConfigValues, PlotSizeEntries) {
  const std::vector<int> listed = PlotSizeChoices(12);
  ASSERT_EQ(listed.size(), 18u);
  EXPECT_EQ(listed.front(), 8);
  EXPECT_EQ(listed.back(), 25);
  EXPECT_EQ(PlotSizeChoiceIndex(listed, 8), 0);
  EXPECT_EQ(PlotSizeChoiceIndex(listed, 25), 17);
  EXPECT_EQ(PlotSizeChoiceIndex(listed, 30), -1);
  EXPECT_EQ(ChosenPlotSize(listed, PlotSizeChoiceIndex(listed, 18), 12), 18);
}

// A house larger or smaller than the lists offer (an imported castle of 30
// cells) gets an entry of its own, and no entry never shrinks the house.
TEST(ConfigValues, PlotSizeOutsideTheListStays) {
  const std::vector<int> large = PlotSizeChoices(30);
  ASSERT_EQ(large.size(), 19u);
  EXPECT_EQ(large.back(), 30);
  EXPECT_EQ(ChosenPlotSize(large, PlotSizeChoiceIndex(large, 30), 30), 30);
  const std::vector<int> small = PlotSizeChoices(5);
  EXPECT_EQ(small.front(), 5);
  EXPECT_EQ(PlotSizeChoiceIndex(small, 5), 0);
  EXPECT_EQ(PlotSizeChoiceIndex(small, 8), 1);
  for (int index : {-1, 19, 100}) EXPECT_EQ(ChosenPlotSize(large, index, 30), 30);
  EXPECT_EQ(ChosenPlotSize(large, 0, 30), 8);
}

}  // namespace
}  // namespace tavi

namespace tavi {
namespace {

// A smaller plot counts what it would drop: every floor and layer outside
// the new width or height, nothing of a plot that holds the old one.
TEST(PlotResize, EntriesOutsideTheNewPlotAreCounted) {
  test::FakeTileFacts facts;
  PlainDocHost host;
  auto doc = std::make_unique<TTAVIDoc>(30, 30, &facts, &host);
  for (auto& floor : doc->Tiles)
    for (auto& layer : floor)
      for (auto& row : layer)
        for (auto& e : row) e = TileEntry{};
  auto put = [&](int f, int layer, int x, int y) {
    doc->Tiles[f][layer][y][x].Id = 1234;
    doc->UpdateCell(x, y, f);
  };
  put(0, 0, 6, 6);    // inside 7 x 7
  put(1, 0, 7, 0);    // one column outside
  put(4, 3, 0, 7);    // one row outside, high layer on the top floor
  put(2, 0, 29, 29);  // the far corner
  put(2, 1, 29, 29);
  EXPECT_EQ(EntriesOutsidePlot(*doc, 7, 7), 4);
  EXPECT_EQ(EntriesOutsidePlot(*doc, 8, 7), 3);
  EXPECT_EQ(EntriesOutsidePlot(*doc, 8, 8), 2);
  EXPECT_EQ(EntriesOutsidePlot(*doc, 30, 30), 0);
  EXPECT_EQ(EntriesOutsidePlot(*doc, 32, 32), 0);
}

}  // namespace
}  // namespace tavi
