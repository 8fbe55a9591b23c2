// tavi-cli check on a small house with the demo client.
#include <gtest/gtest.h>

#include <string>

#include "support/cli_run.h"
#include "support/demo_client.h"
#include "support/scratch_dir.h"

namespace tavi::test {
namespace {

TEST(CliCheck, ListsMarkedEntriesThenTheirNumber) {
  const std::string& demo = DemoClientDir();
  ScratchDir dir;
  const std::string house = dir.File("check.tav");
  // Foundation floor (never marked), a wall on the north line (proper), the
  // same wall on the west line with a chair on it (both marked), and a floor
  // on floor 2 with nothing carrying it.
  WriteFile(house,
            "\"TAVI File ver 1.00\",8,8,7\r\n0,1,1,7,12788\r\n1,3,0,0,10\r\n1,0,3,0,10\r\n"
            "1,0,3,20,14002\r\n2,2,2,0,1305\r\n");
  CliRun r = RunCli({"check", house, "--client", demo});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "1 0 3 0 10\n1 0 3 1 14002\n2 2 2 0 1305\nmarked: 3\n");
  EXPECT_EQ(RunCli({"check", house, "--client", demo + "/none"}).code, 1);
  EXPECT_EQ(RunCli({"check"}).code, 2);
  EXPECT_EQ(RunCli({"check", house + ".missing", "--client", demo}).code, 1);
}

}  // namespace
}  // namespace tavi::test
