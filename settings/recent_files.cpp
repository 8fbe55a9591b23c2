#include "settings/recent_files.h"

#include <algorithm>

#include "settings/profile_file.h"
#include "settings/settings.h"

namespace tavi {

namespace {

const char kSection[] = "TAVI";

std::string RecentKey(int index) {
  return "RecentFile" + std::to_string(index + 1);
}

struct FolderKey {
  FileKind kind;
  const char* key;
};
constexpr FolderKey kFolderKeys[] = {{FileKind::kHouse, "LastHouseFolder"},
                                     {FileKind::kImage, "LastImageFolder"},
                                     {FileKind::kClient, "LastClientFolder"},
                                     {FileKind::kImport, "LastImportFolder"}};

}  // namespace

void AddRecentFile(std::vector<std::string>* list, const std::string& path) {
  if (path.empty()) return;
  RemoveRecentFile(list, path);
  list->insert(list->begin(), path);
  if (list->size() > size_t(kMaxRecentFiles)) list->resize(size_t(kMaxRecentFiles));
}

bool RemoveRecentFile(std::vector<std::string>* list, const std::string& path) {
  const auto end = std::remove(list->begin(), list->end(), path);
  const bool any = end != list->end();
  list->erase(end, list->end());
  return any;
}

const std::string& FolderFor(const TSettings& s, FileKind kind) {
  switch (kind) {
    case FileKind::kImage:
      return s.ImageFolder;
    case FileKind::kClient:
      return s.ClientFolder;
    case FileKind::kImport:
      return s.ImportFolder;
    case FileKind::kHouse:
      break;
  }
  return s.HouseFolder;
}

std::string& FolderFor(TSettings& s, FileKind kind) {
  return const_cast<std::string&>(FolderFor(static_cast<const TSettings&>(s), kind));
}

std::string FolderOfPath(const std::string& path, bool isFolder) {
  if (path.empty()) return std::string();
  if (isFolder) return path.back() == '/' ? path : path + "/";
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void ReadRecentKeys(const ProfileFile& ini, TSettings* s) {
  s->RecentFiles.clear();
  for (int i = 0; i < kMaxRecentFiles; ++i) {
    const std::string path = ini.ReadString(kSection, RecentKey(i), "");
    if (path.empty() ||
        std::find(s->RecentFiles.begin(), s->RecentFiles.end(), path) != s->RecentFiles.end())
      continue;
    s->RecentFiles.push_back(path);
  }
  for (const FolderKey& f : kFolderKeys)
    FolderFor(*s, f.kind) = ini.ReadString(kSection, f.key, "");
}

void WriteRecentKeys(ProfileFile& ini, const TSettings& s) {
  for (int i = 0; i < kMaxRecentFiles; ++i) {
    const std::string path = size_t(i) < s.RecentFiles.size() ? s.RecentFiles[size_t(i)] : "";
    // A slot that held a file once is emptied; one never used stays absent.
    if (!path.empty() || ini.HasKey(kSection, RecentKey(i)))
      ini.WriteString(kSection, RecentKey(i), path);
  }
  for (const FolderKey& f : kFolderKeys) {
    const std::string& folder = FolderFor(s, f.kind);
    if (!folder.empty() || ini.HasKey(kSection, f.key)) ini.WriteString(kSection, f.key, folder);
  }
}

}  // namespace tavi
