#pragma once
// Scratch folders and whole-file reads and writes for tests.
#include <filesystem>
#include <string>

namespace tavi::test {

// A new empty folder of its own, removed with everything in it at the end.
struct ScratchDir {
  std::filesystem::path path;
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  std::string File(const std::string& name) const { return (path / name).string(); }
};

// The whole file ("" when it cannot be read).
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& data);

}  // namespace tavi::test
