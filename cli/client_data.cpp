#include "cli/client_data.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "client/discovery.h"
#include "client/paths.h"
#include "io/house_file.h"
#include "settings/settings.h"

namespace tavi::cli {

namespace {

bool IsFile(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Paths the settings name that are no files are looked up again in the
// client folder, as are the empty ones.
void FillFromFolder(ClientPaths& p) {
  if (p.dir.empty()) return;
  TSettings s;
  const std::pair<std::string*, std::string*> paths[] = {{&p.tileData, &s.TileData},
                                                         {&p.artIdx, &s.ArtIdx},
                                                         {&p.art, &s.Art},
                                                         {&p.multiIdx, &s.MultiIdx},
                                                         {&p.multi, &s.Multi}};
  for (const auto& [path, setting] : paths)
    if (IsFile(*path)) *setting = *path;
  CompleteClientPaths(s, p.dir);
  for (const auto& [path, setting] : paths) *path = IsFile(*setting) ? *setting : std::string();
}

std::string Missing(const ClientPaths& p, bool tiles, bool multis) {
  std::string missing;
  auto check = [&](const std::string& path, const char* name) {
    if (IsFile(path)) return;
    missing += missing.empty() ? "" : ", ";
    missing += name;
  };
  // A container stands for the pair of loose files: the index is not needed.
  if (tiles) {
    if (ClientFileKindOf(p.art) != ClientFileKind::kContainer) check(p.artIdx, "artidx.mul");
    check(p.art, "art.mul");
    check(p.tileData, "tiledata.mul");
  }
  if (multis) {
    if (ClientFileKindOf(p.multi) != ClientFileKind::kContainer) check(p.multiIdx, "multi.idx");
    check(p.multi, "multi.mul");
  }
  if (missing.empty()) return missing;
  return "client files not found: " + missing +
         (p.dir.empty() ? std::string(" (name the client folder with --client DIR)")
                        : " in '" + p.dir + "'");
}

std::string ExecutableDir() {
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return ".";
  std::string path(buf, size_t(n));
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

}  // namespace

ClientPaths ResolveClientPaths(const Args& args) {
  ClientPaths p;
  if (args.Has("client")) {
    p.dir = args.Get("client");
    FillFromFolder(p);
    return p;
  }
  // The editor's own settings first, then the registry of the Wine prefix and
  // the usual install folders for whatever is still empty.
  TSettings s = LoadSettings(SettingsFolder(ExecutableDir()) + "tavi.ini");
  DiscoverClientHere(s);
  p.dir = s.ClientDir;
  p.tileData = s.TileData;
  p.artIdx = s.ArtIdx;
  p.art = s.Art;
  p.multiIdx = s.MultiIdx;
  p.multi = s.Multi;
  FillFromFolder(p);
  if (p.dir.empty() && !p.tileData.empty()) {
    const size_t slash = p.tileData.rfind('/');
    if (slash != std::string::npos) p.dir = p.tileData.substr(0, slash + 1);
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

std::string ClientFolderForCli(const Args& args) {
  return ResolveClientPaths(args).dir;
}

std::unique_ptr<TTAVIDoc> LoadHouseForCli(const std::string& path, const ITileFacts* facts,
                                          IDocHost* host, int* baseHeight, std::string* error) {
  auto doc = std::make_unique<TTAVIDoc>(8, 8, facts, host);
  doc->Clear(false);
  const LoadResult result = LoadFromFile(*doc, path);
  if (!result.ok) {
    *error =
        result.failure == LoadFailure::kVersion ? "'" + path + "': " + result.error : result.error;
    return nullptr;
  }
  *baseHeight = result.baseHeight;
  return doc;
}

}  // namespace tavi::cli
