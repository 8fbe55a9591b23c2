// tavi-cli render end to end on a house of the demo client.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "render/projection.h"
#include "support/cli_run.h"
#include "support/demo_client.h"
#include "support/scratch_dir.h"

namespace tavi {
namespace {

using test::ReadFile;

// The exit code of tavi-cli with the arguments.
int Cli(const std::vector<std::string>& args) {
  return test::RunCli(args).code;
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
    house_ = scratch_.File("render_cli.tav");
    ASSERT_EQ(Cli({"import-multi", "--id", "100", "--out", house_, "--client", dir_}), 0);
  }
  // The render command on the house with the demo client and `options`.
  int Render(std::vector<std::string> options) {
    std::vector<std::string> args = {"render", house_};
    args.insert(args.end(), options.begin(), options.end());
    args.insert(args.end(), {"--client", dir_});
    return Cli(args);
  }
  test::ScratchDir scratch_;
  std::string dir_, house_;
};

TEST_F(CliRender, WritesTheWholeSceneByExtension) {
  const std::string bmp = scratch_.File("render_cli.bmp");
  ASSERT_EQ(Render({"--out", bmp}), 0);
  std::string data = ReadFile(bmp);
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

  const std::string png = scratch_.File("render_cli.PNG");
  ASSERT_EQ(Render({"--out", png, "--zoom", "50%", "--night", "--no-grid", "--bg", "4",
                    "--large-bg", "--floor", "1"}),
            0);
  data = ReadFile(png);
  ASSERT_GT(data.size(), 24u);
  EXPECT_EQ(data.substr(1, 3), "PNG");
  EXPECT_EQ(Be32(data, 16), 165u);
  EXPECT_EQ(Be32(data, 20), 325u);

  const std::string jpg = scratch_.File("render_cli.Jpg");
  ASSERT_EQ(Render({"--out", jpg, "--zoom", "2"}), 0);
  data = ReadFile(jpg);
  ASSERT_GT(data.size(), 2u);
  EXPECT_EQ(uint8_t(data[0]), 0xFF);
  EXPECT_EQ(uint8_t(data[1]), 0xD8);
  // Any other extension gets BMP data.
  const std::string jpeg = scratch_.File("render_cli.jpeg");
  ASSERT_EQ(Render({"--out", jpeg}), 0);
  EXPECT_EQ(ReadFile(jpeg).substr(0, 2), "BM");
}

TEST_F(CliRender, RefusesBadArguments) {
  const std::string out = scratch_.File("render_cli_bad.bmp");
  EXPECT_EQ(Render({"--out", out, "--zoom", "0"}), 2);
  EXPECT_EQ(Render({"--out", out, "--zoom", "-1"}), 2);
  EXPECT_EQ(Render({"--out", out, "--floor", "5"}), 2);
  EXPECT_EQ(Render({"--out", out, "--bg", "x"}), 2);
  EXPECT_EQ(Render({}), 2);
  EXPECT_EQ(Cli({"render", scratch_.File("missing.tav"), "--out", out, "--client", dir_}), 1);
  EXPECT_EQ(Render({"--out", "/nonexistent-dir/x.bmp"}), 1);
  EXPECT_FALSE(std::filesystem::exists(out));
}

// A standard house imported and drawn from each client generation: the same
// picture as from the loose files, pixel for pixel.
class CliRenderGenerations : public ::testing::TestWithParam<test::DemoGeneration> {};

TEST_P(CliRenderGenerations, SamePictureAsFromLooseFiles) {
  const std::string loose = test::DemoClientDir(), dir = test::DemoClientDir(GetParam());
  test::ScratchDir scratch;
  const std::string house = scratch.File("house.tav"), mine = scratch.File("mine.bmp"),
                    theirs = scratch.File("loose.bmp");
  ASSERT_EQ(Cli({"import-multi", "--id", "140", "--out", house, "--client", dir}), 0);
  ASSERT_EQ(Cli({"render", house, "--out", mine, "--night", "--bg", "1", "--client", dir}), 0);
  ASSERT_EQ(Cli({"render", house, "--out", theirs, "--night", "--bg", "1", "--client", loose}), 0);
  const std::string a = ReadFile(mine), b = ReadFile(theirs);
  EXPECT_GT(a.size(), 54u);
  EXPECT_TRUE(a == b);
}

INSTANTIATE_TEST_SUITE_P(Demo, CliRenderGenerations, ::testing::ValuesIn(test::kAllGenerations),
                         [](const auto& p) {
                           return std::string(test::DemoGenerationName(p.param));
                         });

}  // namespace
}  // namespace tavi
