#include "interaction/demo_client_use.h"

#include <filesystem>

#include "client/paths.h"

namespace tavi {

namespace {

std::string InFolder(const std::string& dir, const char* name) {
  const std::string found = FindCaseInsensitive(dir, name);
  return found.empty() ? dir + "/" + name : found;
}

bool SamePaths(const TSettings& a, const TSettings& b) {
  return a.ArtIdx == b.ArtIdx && a.Art == b.Art && a.TileData == b.TileData &&
         a.MultiIdx == b.MultiIdx && a.Multi == b.Multi;
}

}  // namespace

bool DemoClientUse::Adopt(TSettings& settings, const TSettings& stored, const std::string& dir) {
  if (dir.empty() || ClientFilesPresent(settings)) return false;
  std::error_code ec;
  const std::string abs = std::filesystem::absolute(dir, ec).lexically_normal().string();
  std::string folder = ec ? dir : abs;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  TSettings demo = settings;
  demo.ArtIdx = InFolder(folder, "artidx.mul");
  demo.Art = InFolder(folder, "art.mul");
  demo.TileData = InFolder(folder, "tiledata.mul");
  demo.MultiIdx = InFolder(folder, "multi.idx");
  demo.Multi = InFolder(folder, "multi.mul");
  if (!ClientFilesPresent(demo)) return false;
  demo.ClientDir = folder + "/";
  stored_ = stored;
  demo_ = demo;
  settings = demo;
  inUse_ = true;
  return true;
}

TSettings DemoClientUse::ToStore(const TSettings& current) const {
  TSettings out = current;
  if (!inUse_ || !SamePaths(current, demo_)) return out;
  out.ArtIdx = stored_.ArtIdx;
  out.Art = stored_.Art;
  out.TileData = stored_.TileData;
  out.MultiIdx = stored_.MultiIdx;
  out.Multi = stored_.Multi;
  return out;
}

}  // namespace tavi
