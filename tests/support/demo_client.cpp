#include "support/demo_client.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#ifndef TAVI_CLI_PATH
#define TAVI_CLI_PATH "tavi-cli"
#endif

namespace tavi::test {

const std::string& DemoClientDir() {
  static const std::string dir = [] {
    namespace fs = std::filesystem;
    const fs::path base = fs::temp_directory_path() / ("tavi-demo-" + std::to_string(::getpid()));
    fs::create_directories(base);
    const std::string cmd =
        std::string("\"") + TAVI_CLI_PATH + "\" demodata \"" + base.string() + "\" >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0 || !fs::exists(base / "tiledata.mul")) {
      std::error_code ec;
      fs::remove_all(base, ec);  // nothing usable: leave no folder behind
      return std::string();
    }
    return base.string();
  }();
  // The folder is removed when the test program ends.
  static const struct Cleanup {
    ~Cleanup() {
      std::error_code ec;
      if (!dir.empty()) std::filesystem::remove_all(dir, ec);
    }
  } cleanup;
  return dir;
}

}  // namespace tavi::test
