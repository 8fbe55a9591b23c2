// The tavi-cli commands for house files, clipboard text, standard houses and
// the house cache, run as a user would run them.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/cli_run.h"
#include "support/demo_client.h"
#include "support/scratch_dir.h"

namespace tavi {
namespace {

using test::CliRun;
using Args = std::vector<std::string>;

CliRun Cli(const Args& args, const std::string& input = "") {
  return test::RunCli(args, input);
}

int Lines(const std::string& s) {
  return test::LineCount(s);
}

const char* kHouse =
    "\"TAVI File ver 1.00\",5,4,12\r\n"
    "0,0,0,0,102\r\n0,1,0,0,99\r\n0,1,0,7,12788\r\n1,2,2,3,1234\r\n";

TEST(CliIo, InfoAndClipRoundTrip) {
  test::ScratchDir dir;
  const std::string house = dir.File("Small House.tav");
  test::WriteFile(house, kHouse);
  CliRun r = Cli({"info", house, "--client", dir.File("none")});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "size: 5x4\nbase: 12\nentries: 4\n");
  EXPECT_EQ(r.err, "");
  // A file cut short in its last line: the same facts and a warning.
  const std::string cut = dir.File("cut.tav");
  test::WriteFile(cut, std::string(kHouse).substr(0, std::string(kHouse).size() - 2));
  CliRun cr = Cli({"info", cut, "--client", dir.File("none")});
  EXPECT_EQ(cr.code, 0) << cr.err;
  EXPECT_EQ(cr.out, r.out);
  EXPECT_NE(cr.err.find("the file may be cut short"), std::string::npos) << cr.err;

  r = Cli({"clip-export", house, "--width", "44"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.compare(0, 46, "TAVI File ver 1.00=Small House==============\r\n"), 0);
  EXPECT_EQ(r.out.substr(r.out.size() - 46), std::string(44, '=') + "\r\n");
  const CliRun named = Cli({"clip-export", house, "--name", "Villa"});
  EXPECT_EQ(named.out.compare(0, 24, "TAVI File ver 1.00=Villa"), 0);

  const std::string back = dir.File("back.tav");
  CliRun imp = Cli({"clip-import", "--out", back}, r.out);
  ASSERT_EQ(imp.code, 0) << imp.err;
  // The base height 12 comes back as the 9 the editor's control can hold.
  EXPECT_EQ(test::ReadFile(back),
            "\"TAVI File ver 1.00\",5,4,9\r\n"
            "0,0,0,0,102\r\n0,1,0,0,99\r\n0,1,0,7,12788\r\n1,2,2,3,1234\r\n");
}

TEST(CliIo, FileNamesReachTheCommandAsTyped) {
  // Quotes, dollars and spaces are nothing special to the command.
  test::ScratchDir dir;
  const std::string house = dir.File("Bob's \"$HOME\" `x` house.tav");
  test::WriteFile(house, kHouse);
  const CliRun r = Cli({"clip-export", house, "--width", "76"});
  ASSERT_EQ(r.code, 0) << r.err;
  std::string header = "TAVI File ver 1.00=Bob's \"$HOME\" `x` house";
  header.resize(76, '=');
  EXPECT_EQ(r.out.substr(0, r.out.find('\r')), header);
}

TEST(CliIo, BadInputAndUsageGiveOneLineAndNoFile) {
  test::ScratchDir dir;
  const std::string out = dir.File("out.tav");
  test::WriteFile(dir.File("bad.tav"), "TAVI File ver 1.00,8,8,7\r\n");
  test::WriteFile(dir.File("wide.tav"), "\"TAVI File ver 1.00\",32,4,7\r\n");
  const std::vector<std::pair<Args, int>> cases = {
      {{"info", dir.File("bad.tav")}, 1},
      {{"info", dir.File("missing.tav")}, 1},
      {{"info"}, 2},
      {{"clip-export", dir.File("wide.tav")}, 1},
      {{"clip-export", dir.File("bad.tav"), "--width", "0"}, 2},
      {{"clip-import", "--out", out}, 1},
      {{"clip-import"}, 2},
      {{"import-multi", "--out", out, "--client", dir.File("none"), "--id", "100"}, 1},
      {{"import-multi", "--id", "x", "--out", out}, 2},
      {{"import-multi", "--id", "100", "--base", "10", "--out", out}, 2},
      {{"list-cache", dir.File("nothing.dat")}, 1},
      {{"import-cache", dir.File("nothing.dat"), "--out", out}, 2},
  };
  for (const auto& [args, code] : cases) {
    const CliRun r = Cli(args, "not a house\r\n");
    EXPECT_EQ(r.code, code) << ::testing::PrintToString(args);
    EXPECT_EQ(Lines(r.err), 1) << ::testing::PrintToString(args) << ": " << r.err;
    EXPECT_FALSE(std::filesystem::exists(out)) << ::testing::PrintToString(args);
  }
}

TEST(CliIo, CacheListAndImport) {
  test::ScratchDir dir;
  const std::string cache = dir.File("Multicache.dat");
  test::WriteFile(cache,
                  "header\r\n1 2 2 4 5 6 7\r\n20\t0\t-5\t-6\t0\r\n30 0 5 6 27\r\n"
                  "1 2 1 4 5 6 7\r\n50 0 0 0 7\r\n");
  const CliRun r = Cli({"list-cache", cache});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, " 0: 11x13\n 1:  1x 1\n");
  const std::string demo = test::DemoClientDir();
  const std::string out = dir.File("cache.tav");
  const CliRun imp = Cli({"import-cache", cache, "--house", "0", "--out", out, "--client", demo});
  ASSERT_EQ(imp.code, 0) << imp.err;
  const std::string want = "\"TAVI File ver 1.00\",11,13,6\r\n0,0,0,0,20\r\n2,10,12,0,30\r\n";
  EXPECT_EQ(test::ReadFile(out), want);
  const CliRun none = Cli({"import-cache", cache, "--house", "5", "--out", out, "--client", demo});
  EXPECT_EQ(none.code, 1);
  EXPECT_EQ(test::ReadFile(out), want);  // the earlier file stands
}

TEST(CliIo, ImportMultiUsesTheMenuBaseHeight) {
  const std::string demo = test::DemoClientDir();
  test::ScratchDir dir;
  const std::string out = dir.File("keep.tav");
  CliRun r = Cli({"import-multi", "--id", "124", "--out", out, "--client", demo});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(test::ReadFile(out).find("\"TAVI File ver 1.00\","), 0u);
  EXPECT_NE(test::ReadFile(out).find(",6\r\n"), std::string::npos);
  r = Cli({"import-multi", "--id", "124", "--base", "3", "--out", out, "--client", demo});
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string text = test::ReadFile(out);
  EXPECT_EQ(text.substr(text.find('\r') - 2, 2), ",3");
  r = Cli({"info", out, "--client", demo});
  EXPECT_NE(r.out.find("parts: "), std::string::npos);
  EXPECT_NE(r.out.find("price: "), std::string::npos);
}

}  // namespace
}  // namespace tavi
