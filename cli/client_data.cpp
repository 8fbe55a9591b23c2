#include "cli/client_data.h"

#include <sys/stat.h>

#include "io/folder_list.h"

namespace tavi::cli {

namespace {

bool IsFile(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void FillFromFolder(ClientPaths& p) {
  if (p.dir.empty()) return;
  auto fill = [&](std::string& path, const char* name) {
    if (path.empty() || !IsFile(path)) path = FindNoCase(p.dir, name);
  };
  fill(p.tileData, "tiledata.mul");
  fill(p.artIdx, "artidx.mul");
  fill(p.art, "art.mul");
  fill(p.multiIdx, "multi.idx");
  fill(p.multi, "multi.mul");
}

std::string Missing(const ClientPaths& p, bool tiles, bool multis) {
  std::string missing;
  auto check = [&](const std::string& path, const char* name) {
    if (IsFile(path)) return;
    missing += missing.empty() ? "" : ", ";
    missing += name;
  };
  if (tiles) {
    check(p.artIdx, "artidx.mul");
    check(p.art, "art.mul");
    check(p.tileData, "tiledata.mul");
  }
  if (multis) {
    check(p.multiIdx, "multi.idx");
    check(p.multi, "multi.mul");
  }
  if (missing.empty()) return missing;
  return "client files not found: " + missing +
         (p.dir.empty() ? std::string(" (name the client folder with --client DIR)")
                        : " in '" + p.dir + "'");
}

}  // namespace

ClientPaths ResolveClientPaths(const Args& args) {
  ClientPaths p;
  if (args.Has("client")) {
    p.dir = args.Get("client");
    FillFromFolder(p);
    return p;
  }
  return p;
}

std::unique_ptr<TUOTileData> LoadClientForCli(const Args& args, std::string* error) {
  const ClientPaths p = ResolveClientPaths(args);
  const std::string missing = Missing(p, true, false);
  if (!missing.empty()) {
    if (error) *error = missing;
    return nullptr;
  }
  try {
    return TUOTileData::Create(p.artIdx, p.tileData, p.art);
  } catch (const std::exception& e) {
    if (error) *error = e.what();
    return nullptr;
  }
}

bool MultiPathsForCli(const Args& args, std::string* idxPath, std::string* mulPath,
                      std::string* error) {
  const ClientPaths p = ResolveClientPaths(args);
  const std::string missing = Missing(p, false, true);
  if (!missing.empty()) {
    if (error) *error = missing;
    return false;
  }
  *idxPath = p.multiIdx;
  *mulPath = p.multi;
  return true;
}

std::string ClientFolderForCli(const Args& args) { return ResolveClientPaths(args).dir; }

}  // namespace tavi::cli
