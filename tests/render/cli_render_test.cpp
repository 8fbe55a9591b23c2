// tavi-cli render end to end on a house of the demo client, in each client
// generation.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "render/projection.h"
#include "support/demo_client.h"

namespace tavi {
namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

int Cli(const std::string& args) {
  std::string cmd = std::string("\"") + TAVI_CLI_PATH + "\" " + args + " >/dev/null 2>&1";
  int rc = std::system(cmd.c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

uint32_t Le32(const std::string& s, size_t at) {
  return uint8_t(s[at]) | uint8_t(s[at + 1]) << 8 | uint8_t(s[at + 2]) << 16 |
         uint32_t(uint8_t(s[at + 3])) << 24;
}
uint32_t Be32(const std::string& s, size_t at) {
  return uint32_t(uint8_t(s[at])) << 24 | uint8_t(s[at + 1]) << 16 | uint8_t(s[at + 2]) << 8 |
         uint8_t(s[at + 3]);
}

class CliRender : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = test::DemoClientDir();
    if (dir_.empty()) GTEST_SKIP() << "no demo client";
    tmp_ = ::testing::TempDir();
    house_ = tmp_ + "render_cli.tav";
    client_ = " --client \"" + dir_ + "\"";
    ASSERT_EQ(Cli("import-multi --id 100 --out \"" + house_ + "\"" + client_), 0);
  }
  std::string dir_, tmp_, house_, client_;
};

TEST_F(CliRender, WritesTheWholeSceneByExtension) {
  const std::string bmp = tmp_ + "render_cli.bmp";
  ASSERT_EQ(Cli("render \"" + house_ + "\" --out \"" + bmp + "\"" + client_), 0);
  std::string data = Slurp(bmp);
  ASSERT_GT(data.size(), 54u);
  EXPECT_EQ(data.substr(0, 2), "BM");
  const uint32_t w = Le32(data, 18), h = Le32(data, 22);
  // The demo's first house is 7 x 8 cells: 330 x 650 at 100 %.
  EXPECT_EQ(w, 330u);
  EXPECT_EQ(h, 650u);
  // Not an empty grey picture: some pixel differs from the clear colour.
  bool drawn = false;
  for (size_t i = 54; i < data.size() && !drawn; ++i) drawn = uint8_t(data[i]) != 128;
  EXPECT_TRUE(drawn);

  const std::string png = tmp_ + "render_cli.PNG";
  ASSERT_EQ(Cli("render \"" + house_ + "\" --out \"" + png +
                "\" --zoom 50% --night --no-grid"
                " --bg 4 --large-bg --floor 1" +
                client_),
            0);
  data = Slurp(png);
  ASSERT_GT(data.size(), 24u);
  EXPECT_EQ(data.substr(1, 3), "PNG");
  EXPECT_EQ(Be32(data, 16), 165u);
  EXPECT_EQ(Be32(data, 20), 325u);

  const std::string jpg = tmp_ + "render_cli.Jpg";
  ASSERT_EQ(Cli("render \"" + house_ + "\" --out \"" + jpg + "\" --zoom 2" + client_), 0);
  data = Slurp(jpg);
  ASSERT_GT(data.size(), 2u);
  EXPECT_EQ(uint8_t(data[0]), 0xFF);
  EXPECT_EQ(uint8_t(data[1]), 0xD8);
  // Any other extension gets BMP data.
  const std::string jpeg = tmp_ + "render_cli.jpeg";
  ASSERT_EQ(Cli("render \"" + house_ + "\" --out \"" + jpeg + "\"" + client_), 0);
  EXPECT_EQ(Slurp(jpeg).substr(0, 2), "BM");
  for (const auto& f : {bmp, png, jpg, jpeg}) std::remove(f.c_str());
}

TEST_F(CliRender, RefusesBadArguments) {
  const std::string out = tmp_ + "render_cli_bad.bmp";
  EXPECT_EQ(Cli("render \"" + house_ + "\" --out \"" + out + "\" --zoom 0" + client_), 2);
  EXPECT_EQ(Cli("render \"" + house_ + "\" --out \"" + out + "\" --zoom -1" + client_), 2);
  EXPECT_EQ(Cli("render \"" + house_ + "\" --out \"" + out + "\" --floor 5" + client_), 2);
  EXPECT_EQ(Cli("render \"" + house_ + "\" --out \"" + out + "\" --bg x" + client_), 2);
  EXPECT_EQ(Cli("render \"" + house_ + "\"" + client_), 2);
  EXPECT_EQ(Cli("render \"" + tmp_ + "missing.tav\" --out \"" + out + "\"" + client_), 1);
  EXPECT_EQ(Cli("render \"" + house_ + "\" --out /nonexistent-dir/x.bmp" + client_), 1);
  std::remove(out.c_str());
}

// A standard house imported and drawn from each client generation: the same
// picture as from the loose files, pixel for pixel.
class CliRenderGenerations : public ::testing::TestWithParam<test::DemoGeneration> {};

TEST_P(CliRenderGenerations, SamePictureAsFromLooseFiles) {
  const std::string loose = test::DemoClientDir(), dir = test::DemoClientDir(GetParam());
  if (loose.empty() || dir.empty()) GTEST_SKIP() << "no demo client";
  const std::string tmp =
                        ::testing::TempDir() + "render_gen_" + test::DemoGenerationName(GetParam()),
                    house = tmp + ".tav", mine = tmp + ".bmp", theirs = tmp + "_loose.bmp";
  const std::string client = " --client \"" + dir + "\"";
  ASSERT_EQ(Cli("import-multi --id 140 --out \"" + house + "\"" + client), 0);
  ASSERT_EQ(Cli("render \"" + house + "\" --out \"" + mine + "\" --night --bg 1" + client), 0);
  ASSERT_EQ(Cli("render \"" + house + "\" --out \"" + theirs + "\" --night --bg 1 --client \"" +
                loose + "\""),
            0);
  const std::string a = Slurp(mine), b = Slurp(theirs);
  EXPECT_GT(a.size(), 54u);
  EXPECT_TRUE(a == b);
  for (const auto& f : {house, mine, theirs}) std::remove(f.c_str());
}

INSTANTIATE_TEST_SUITE_P(Demo, CliRenderGenerations, ::testing::ValuesIn(test::kAllGenerations),
                         [](const auto& info) {
                           return std::string(test::DemoGenerationName(info.param));
                         });

}  // namespace
}  // namespace tavi
