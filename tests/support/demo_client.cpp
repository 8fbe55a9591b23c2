#include "support/demo_client.h"

#include <unistd.h>

#include <filesystem>
#include <string>

#include "tools/demodata.h"

namespace tavi::test {

const std::string& DemoClientDir() {
  static const std::string dir = [] {
    namespace fs = std::filesystem;
    const fs::path base = fs::temp_directory_path() / ("tavi-demo-" + std::to_string(::getpid()));
    std::string error;
    if (!demo::WriteDemoClient(base.string(), nullptr, &error)) {
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
