#include "io/folder_list.h"

#include <dirent.h>

#include <algorithm>

namespace tavi {

namespace {
bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
    if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca + 32);
    if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb + 32);
    if (ca != cb) return false;
  }
  return true;
}

std::vector<std::string> EntryNames(const std::string& dir) {
  std::vector<std::string> names;
  DIR* d = opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return names;
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    names.push_back(std::move(name));
  }
  closedir(d);
  std::sort(names.begin(), names.end());
  return names;
}
}  // namespace

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  if (dir.back() == '/') return dir + name;
  return dir + "/" + name;
}

std::string FindNoCase(const std::string& dir, const std::string& name) {
  if (dir.empty() || name.empty()) return {};
  const std::vector<std::string> names = EntryNames(dir);
  for (const std::string& n : names)
    if (n == name) return JoinPath(dir, n);
  for (const std::string& n : names)
    if (EqualNoCase(n, name)) return JoinPath(dir, n);
  return {};
}

std::vector<std::string> ListEntriesWithoutDot(const std::string& dir) {
  std::vector<std::string> out;
  if (dir.empty()) return out;
  for (std::string& n : EntryNames(dir))
    if (n.find('.') == std::string::npos) out.push_back(std::move(n));
  return out;
}

}  // namespace tavi
