// tavi-cli render --night on a house without light sources: every channel of
// every pixel is within 2 of half the day picture, where half-transparent grid
// diamonds and filtered picture edges were drawn too.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "io/house_file.h"
#include "support/cli_run.h"
#include "support/demo_client.h"
#include "support/dense_house.h"
#include "support/scratch_dir.h"

namespace tavi {
namespace {

TEST(CliNight, HalfTheDayAtEveryPixel) {
  test::DenseHouse house(10);
  ASSERT_TRUE(house.Ok()) << "no demo client";
  for (int f = 0; f < kFloors; ++f)
    for (int l = 0; l < kLayers; ++l)
      for (int y = 0; y < kGrid; ++y)
        for (int x = 0; x < kGrid; ++x) {
          TileEntry& e = house.doc->Tiles[f][l][y][x];
          if (e.Id != 0 && e.Id < kCategoryIds && house.data->Lights[e.Id].Kind != 0)
            e.Id = house.things.front();
        }
  test::ScratchDir scratch;
  const std::string file = scratch.File("night.tav"), day = scratch.File("day.bmp"),
                    night = scratch.File("night.bmp");
  ASSERT_TRUE(SaveToFile(*house.doc, file).ok);
  for (const char* zoom : {"100%", "75%"}) {
    const std::vector<std::string> common = {
        "render", file, "--zoom", zoom, "--client", test::DemoClientDir(), "--out"};
    std::vector<std::string> dayArgs = common, nightArgs = common;
    dayArgs.push_back(day);
    nightArgs.insert(nightArgs.end(), {night, "--night"});
    ASSERT_EQ(test::RunCli(dayArgs).code, 0);
    ASSERT_EQ(test::RunCli(nightArgs).code, 0);
    const std::string d = test::ReadFile(day), n = test::ReadFile(night);
    ASSERT_EQ(d.size(), n.size());
    ASSERT_GT(d.size(), 54u);
    const size_t start = uint8_t(d[10]) | uint8_t(d[11]) << 8;
    int bad = 0;
    for (size_t i = start; i < d.size(); ++i)
      if (std::abs(2 * int(uint8_t(n[i])) - int(uint8_t(d[i]))) > 4) ++bad;
    EXPECT_EQ(bad, 0) << "zoom " << zoom;
  }
}

}  // namespace
}  // namespace tavi
