#include "support/scratch_dir.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>

namespace tavi::test {

ScratchDir::ScratchDir() {
  static std::atomic<int> counter{0};
  path = std::filesystem::temp_directory_path() /
         ("tavi-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path);
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(path, ec);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary);
  out << data;
}

}  // namespace tavi::test
