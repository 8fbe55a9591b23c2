// tavi-cli render --night on a house without light sources: every channel of
// every pixel is within 2 of half the day picture, where half-transparent grid
// diamonds and filtered picture edges were drawn too.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "io/house_file.h"
#include "support/demo_client.h"
#include "support/dense_house.h"

namespace tavi {
namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

TEST(CliNight, HalfTheDayAtEveryPixel) {
  test::DenseHouse house(10);
  if (!house.Ok()) GTEST_SKIP() << "no demo client";
  for (int f = 0; f < kFloors; ++f)
    for (int l = 0; l < kLayers; ++l)
      for (int y = 0; y < kGrid; ++y)
        for (int x = 0; x < kGrid; ++x) {
          TileEntry& e = house.doc->Tiles[f][l][y][x];
          if (e.Id != 0 && e.Id < kCategoryIds && house.data->Lights[e.Id].Kind != 0)
            e.Id = house.things.front();
        }
  const std::string tmp = ::testing::TempDir();
  const std::string file = tmp + "cli_night.tav", day = tmp + "cli_day.bmp",
                    night = tmp + "cli_night.bmp";
  ASSERT_TRUE(SaveToFile(*house.doc, file, 7).ok);
  for (const char* zoom : {"100%", "75%"}) {
    const std::string common = std::string("\"") + TAVI_CLI_PATH + "\" render \"" + file +
                               "\" --zoom " + zoom + " --client \"" + test::DemoClientDir() +
                               "\" --out ";
    ASSERT_EQ(std::system((common + "\"" + day + "\" >/dev/null 2>&1").c_str()), 0);
    ASSERT_EQ(std::system((common + "\"" + night + "\" --night >/dev/null 2>&1").c_str()), 0);
    const std::string d = Slurp(day), n = Slurp(night);
    ASSERT_EQ(d.size(), n.size());
    ASSERT_GT(d.size(), 54u);
    const size_t start = uint8_t(d[10]) | uint8_t(d[11]) << 8;
    int bad = 0;
    for (size_t i = start; i < d.size(); ++i)
      if (std::abs(2 * int(uint8_t(n[i])) - int(uint8_t(d[i]))) > 4) ++bad;
    EXPECT_EQ(bad, 0) << "zoom " << zoom;
  }
  for (const auto& f : {file, day, night}) std::remove(f.c_str());
}

}  // namespace
}  // namespace tavi
