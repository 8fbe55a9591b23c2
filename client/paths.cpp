#include "client/paths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <utility>

#include "client/container.h"

namespace tavi {

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::string Join(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  return dir.back() == '/' ? dir + name : dir + "/" + name;
}

}  // namespace

std::string FindCaseInsensitive(const std::string& dir, const std::string& name) {
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
    return std::string();
  const std::string folder = dir.empty() ? std::string(".") : dir;
  struct stat st {};
  if (::lstat(Join(folder, name).c_str(), &st) == 0) return Join(dir, name);
  DIR* d = ::opendir(folder.c_str());
  if (!d) return std::string();
  std::vector<std::string> matches;
  while (const dirent* e = ::readdir(d))
    if (SameIgnoringCase(e->d_name, name)) matches.push_back(e->d_name);
  ::closedir(d);
  if (matches.empty()) return std::string();
  return Join(dir, *std::min_element(matches.begin(), matches.end()));
}

std::string ResolveCaseInsensitive(const std::string& base, const std::string& relative) {
  std::string path = base;
  size_t pos = 0;
  while (pos <= relative.size()) {
    size_t slash = relative.find('/', pos);
    if (slash == std::string::npos) slash = relative.size();
    const std::string part = relative.substr(pos, slash - pos);
    pos = slash + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      path = Join(path, "..");
      continue;
    }
    path = FindCaseInsensitive(path, part);
    if (path.empty()) return path;
  }
  return path;
}

ClientFileKind ClientFileKindOf(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
    return ClientFileKind::kAbsent;
  return IsContainerPath(path) ? ClientFileKind::kContainer : ClientFileKind::kLoose;
}

const char* ClientFileKindName(ClientFileKind kind) {
  switch (kind) {
    case ClientFileKind::kLoose:
      return "loose";
    case ClientFileKind::kContainer:
      return "container";
    case ClientFileKind::kAbsent:
      break;
  }
  return "absent";
}

bool ClientFilesPresent(const ClientPaths& s, std::vector<std::string>* missing) {
  bool all = true;
  const std::pair<const std::string*, const char*> files[] = {
      {&s.ArtIdx, "artidx.mul"}, {&s.Art, "art.mul"}, {&s.TileData, "tiledata.mul"}};
  const bool artContainer = ClientFileKindOf(s.Art) == ClientFileKind::kContainer;
  for (const auto& [path, name] : files) {
    if (path == &s.ArtIdx && artContainer) continue;  // the container holds the index
    struct stat st {};
    if (!path->empty() && ::stat(path->c_str(), &st) == 0 && S_ISREG(st.st_mode)) continue;
    all = false;
    if (missing) missing->push_back(path->empty() ? std::string(name) : *path);
  }
  return all;
}

}  // namespace tavi
