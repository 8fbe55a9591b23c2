// tavi-cli import-design and export-design, and the game's limits in check.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "io/design_formats.h"
#include "support/cli_run.h"
#include "support/demo_client.h"
#include "support/scratch_dir.h"

namespace tavi::test {
namespace {

// The worked example as a house: a 2 x 2 plot, three tiles on floor 1.
const char* kSmall =
    "\"TAVI File ver 1.00\",3,3,7\r\n1,0,0,0,12788\r\n1,1,0,0,7\r\n1,0,1,0,1653\r\n";

TEST(CliDesign, ExportsEachFormatAndImportsItBack) {
  ScratchDir dir;
  const std::string house = dir.File("Demo.tav");
  WriteFile(house, kSmall);
  const std::string text = dir.File("demo.uoa.txt");
  CliRun r = RunCli({"export-design", house, "--out", text});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadFile(text),
            "6 version\r\n1 template id\r\n-1 item version\r\n3 num components\r\n"
            "12788 0 0 7 1\r\n7 1 0 7 1\r\n1653 0 1 7 1\r\n");
  for (const char* format : {"uoa", "txt", "uoab", "csv", "wsc"}) {
    const std::string design = dir.File(std::string("d.") + format);
    r = RunCli({"export-design", house, "--out", design, "--format", format});
    ASSERT_EQ(r.code, 0) << format << ": " << r.err;
    const std::string back = dir.File("back.tav");
    r = RunCli({"import-design", design, "--out", back, "--format", format, "--client", "none"});
    ASSERT_EQ(r.code, 0) << format << ": " << r.err;
    // The smallest plot that holds it (row 1 is the steps row of a 2 x 1
    // plot), the tiles where they were: z 7 is floor 1 at Z 0, and world
    // items stand on the ground.
    const std::string f = std::string(format) == "wsc" ? "0" : "1";
    EXPECT_EQ(ReadFile(back), "\"TAVI File ver 1.00\",3,2,7\r\n" + f + ",0,0,0,12788\r\n" + f +
                                  ",1,0,0,7\r\n" + f + ",0,1,0,1653\r\n")
        << format;
  }
  // The format told by the file: extension and content.
  r = RunCli({"import-design", dir.File("d.uoab"), "--out", dir.File("b.tav"), "--base", "9"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadFile(dir.File("b.tav")).substr(0, 26), "\"TAVI File ver 1.00\",3,2,9");
}

TEST(CliDesign, DoorsGoOutDynamicByTheTileData) {
  const std::string& demo = DemoClientDir();
  ScratchDir dir;
  const std::string house = dir.File("Demo.tav");
  WriteFile(house, kSmall);
  const std::string out = dir.File("d.txt");
  CliRun r = RunCli({"export-design", house, "--out", out, "--doors", "dynamic", "--client", demo});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadFile(out).substr(0, 15), "0x31F4 0 0 7 1\r");
  r = RunCli(
      {"export-design", house, "--out", out, "--doors", "dynamic", "--client", dir.File("none")});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(RunCli({"export-design", house, "--out", out, "--doors", "static"}).code, 2);
}

TEST(CliDesign, SeveralDesignsAskForOne) {
  ScratchDir dir;
  Design a, b;
  a.name = "Cottage";
  a.components = {{7, 0, 0, 0}};
  b.name = "Tower";
  b.components = {{8, 0, 0, 0}, {8, 0, 0, 20}};
  const std::string file = dir.File("lib.uoa");
  WriteFile(file, WriteUoaBinary({a, b}));
  const std::string out = dir.File("h.tav");
  CliRun r = RunCli({"import-design", file, "--out", out});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("2 designs (1 'Cottage', 2 'Tower')"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(out));
  r = RunCli({"import-design", file, "--out", out, "--design", "2", "--client", "none"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadFile(out), "\"TAVI File ver 1.00\",2,2,7\r\n0,0,0,0,8\r\n1,0,0,13,8\r\n");
  EXPECT_EQ(RunCli({"import-design", file, "--out", out, "--design", "3"}).code, 1);
}

TEST(CliDesign, BadInputAndBadUsage) {
  ScratchDir dir;
  const std::string bad = dir.File("bad.uoa.txt");
  WriteFile(bad,
            "6 version\r\n1 template id\r\n-1 item version\r\n1 num components\r\n7 0 zz 0 1\r\n");
  const std::string out = dir.File("h.tav");
  CliRun r = RunCli({"import-design", bad, "--out", out});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find(bad + ": line 5: 'zz'"), std::string::npos) << r.err;
  EXPECT_EQ(LineCount(r.err), 1);
  EXPECT_FALSE(std::filesystem::exists(out));
  // Too wide for the document: refused, not cut.
  const std::string wide = dir.File("wide.txt");
  WriteFile(wide, "0x7 -20 0 0 1\r\n0x7 20 0 0 1\r\n");
  r = RunCli({"import-design", wide, "--out", out});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(LineCount(r.err), 1);
  EXPECT_EQ(RunCli({"import-design", bad}).code, 2);
  EXPECT_EQ(RunCli({"import-design", bad, "--out", out, "--format", "xml"}).code, 2);
  EXPECT_EQ(RunCli({"import-design", bad, "--out", out, "--base", "10"}).code, 2);
  EXPECT_EQ(RunCli({"import-design", bad, "--out", out, "--design", "0"}).code, 2);
  EXPECT_EQ(RunCli({"export-design", bad + ".missing", "--out", out}).code, 1);
  EXPECT_EQ(RunCli({"export-design", bad, "--out", out, "--format", "uoax"}).code, 2);
}

TEST(CliDesign, CheckReportsTheGamesLimits) {
  const std::string& demo = DemoClientDir();
  ScratchDir dir;
  const std::string house = dir.File("h.tav");
  WriteFile(house, "\"TAVI File ver 1.00\",9,16,7\r\n4,1,1,0,7\r\n");
  const CliRun r = RunCli({"check", house, "--client", demo});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("\ngame: the game offers no 8x15 plot\n"), std::string::npos) << r.out;
  WriteFile(house, "\"TAVI File ver 1.00\",11,11,7\r\n4,1,1,0,7\r\n");
  EXPECT_NE(RunCli({"check", house, "--client", demo})
                .out.find("\ngame: floor 4 is used; the game gives a 10x10 plot three floors\n"),
            std::string::npos);
}

}  // namespace
}  // namespace tavi::test
