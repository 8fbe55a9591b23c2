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
  EXPECT_EQ(PlotSizeIndex(8), 0);
  EXPECT_EQ(PlotSizeIndex(25), 17);
  EXPECT_EQ(PlotSizeOfIndex(PlotSizeIndex(18)), 18);
  EXPECT_EQ(PlotSizeOfIndex(-1), 7);  // no entry chosen
}

}  // namespace
}  // namespace tavi
