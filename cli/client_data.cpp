#include "cli/client_data.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "client/discovery.h"
#include "client/paths.h"
#include "io/house_file.h"
#include "settings/settings.h"

namespace tavi::cli {

namespace {

// Why `path` cannot be read as a client file: "" for a regular file (or a
// link to one), "not found", or what stands there instead ("is a FIFO, not a
// file") or the system's reason.
std::string NotAFile(const std::string& path) {
  struct stat st {};
  if (path.empty()) return "not found";
  if (stat(path.c_str(), &st) != 0)
    return errno == ENOENT || errno == ENOTDIR ? "not found" : std::strerror(errno);
  if (S_ISREG(st.st_mode)) return "";
  const char* kind = S_ISDIR(st.st_mode)                          ? "a directory"
                     : S_ISFIFO(st.st_mode)                       ? "a FIFO"
                     : S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) ? "a device"
                     : S_ISSOCK(st.st_mode)                       ? "a socket"
                                                                  : "no regular file";
  return std::string("is ") + kind + ", not a file";
}

std::string Missing(const ClientPaths& p, bool tiles, bool multis) {
  std::string missing, wrong;
  auto check = [&](const std::string& path, const char* name) {
    const std::string why = NotAFile(path);
    if (why.empty()) return;
    if (why == "not found") {
      missing += missing.empty() ? "" : ", ";
      missing += name;
    } else {
      // Something is there that cannot be read: say what, for it is not missing.
      wrong += wrong.empty() ? "" : "; ";
      const bool kind = why.compare(0, 3, "is ") == 0;
      wrong += std::string(name) + " '" + path + (kind ? "' " : "': ") + why;
    }
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
  if (!wrong.empty()) return "client files cannot be read: " + wrong;
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

TSettings LoadCliSettings() {
  // Without a settings folder there are no stored settings: the defaults.
  const std::string folder = SettingsFolder(ExecutableDir());
  return folder.empty() ? TSettings() : LoadSettings(folder + "tavi.ini");
}

ClientPaths ResolveClientPaths(const Args& args) {
  // The folder given, else what the editor would use: its settings, then the
  // registry of the Wine prefix and the usual install folders.
  TSettings s;
  if (args.Has("client")) {
    UseClientFolder(s, args.Get("client"));
  } else {
    s = LoadCliSettings();
    DiscoverClientHere(s);
  }
  ClientPaths p{s.ClientDir, s.TileData, s.ArtIdx, s.Art, s.MultiIdx, s.Multi};
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
  if (!result.warning.empty())
    std::cerr << "tavi-cli: warning: '" << path << "': " << result.warning << "\n";
  *baseHeight = result.baseHeight;
  return doc;
}

}  // namespace tavi::cli
