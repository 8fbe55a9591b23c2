// tavi-cli check on a small house with the demo client.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/demo_client.h"

namespace tavi::test {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// Runs tavi-cli with the arguments; returns the exit code, stdout in *out.
int Cli(const std::string& args, std::string* out) {
  const fs::path o = fs::temp_directory_path() / ("tavi-check-" + std::to_string(getpid()));
  const std::string cmd =
      std::string("\"") + TAVI_CLI_PATH + "\" " + args + " >\"" + o.string() + "\" 2>/dev/null";
  const int status = std::system(cmd.c_str());
  *out = Slurp(o);
  fs::remove(o);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CliCheck, ListsMarkedEntriesThenTheirNumber) {
  const std::string& demo = DemoClientDir();
  if (demo.empty()) GTEST_SKIP() << "no demo client";
  const fs::path house =
      fs::temp_directory_path() / ("tavi-check-" + std::to_string(getpid()) + ".tav");
  {
    std::ofstream f(house, std::ios::binary);
    // Foundation floor (never marked), a wall on the north line (proper), the
    // same wall on the west line with a chair on it (both marked), and a floor
    // on floor 2 with nothing carrying it.
    f << "\"TAVI File ver 1.00\",8,8,7\r\n0,1,1,7,12788\r\n1,3,0,0,10\r\n1,0,3,0,10\r\n"
         "1,0,3,20,14002\r\n2,2,2,0,1305\r\n";
  }
  std::string out;
  EXPECT_EQ(Cli("check \"" + house.string() + "\" --client \"" + demo + "\"", &out), 0);
  EXPECT_EQ(out, "1 0 3 0 10\n1 0 3 1 14002\n2 2 2 0 1305\nmarked: 3\n");
  EXPECT_EQ(Cli("check \"" + house.string() + "\" --client \"" + demo + "/none\"", &out), 1);
  EXPECT_EQ(Cli("check", &out), 2);
  EXPECT_EQ(Cli("check \"" + (house.string() + ".missing") + "\" --client \"" + demo + "\"", &out),
            1);
  fs::remove(house);
}

}  // namespace
}  // namespace tavi::test
