// The configuration dialog's list entries and what they stand for.
#include "interaction/config_values.h"

#include <gtest/gtest.h>

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
