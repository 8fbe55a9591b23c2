#include "interaction/demo_client_use.h"

#include <filesystem>

#include "client/discovery.h"
#include "client/paths.h"

namespace tavi {

namespace {

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
  UseClientFolder(demo, folder);
  if (!ClientFilesPresent(demo)) return false;
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
