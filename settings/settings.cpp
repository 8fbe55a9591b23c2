#include "settings/settings.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "settings/profile_file.h"
#include "settings/recent_files.h"

namespace tavi {

namespace {

const char kSection[] = "TAVI";

std::string BookmarkKey(int index) {
  char key[32];
  std::snprintf(key, sizeof key, "BookmarkCode%.2d", index);
  return key;
}

bool IsFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// mkdir -p; true when the folder exists afterwards, else `why` says what
// stands in the way.
bool MakeFolders(const std::string& path, std::string* why) {
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != '/') continue;
    const std::string part = path.substr(0, i);
    if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
      *why = "'" + part + "': " + std::strerror(errno);
      return false;
    }
    if (i == path.size() || i + 1 == path.size()) {
      if (!IsFolder(part)) {
        *why = "'" + part + "' is not a folder";
        return false;
      }
    }
  }
  return true;
}

std::string WithSlash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

}  // namespace

TSettings LoadSettings(const std::string& iniPath, std::string* problem) {
  ProfileFile ini;
  std::string error;
  if (!ini.Load(iniPath, &error)) {
    ini = ProfileFile();  // unreadable: every key at its default
    if (problem) *problem = error;
  }
  return ReadSettings(ini);
}

TSettings ReadSettings(const ProfileFile& ini) {
  TSettings s;
  s.BookmarkCodes.fill(0);
  s.Zoom = 1.0;
  s.ArtIdx = ini.ReadString(kSection, "ArtIdx", "");
  s.Art = ini.ReadString(kSection, "Art", "");
  s.TileData = ini.ReadString(kSection, "TileData", "");
  s.MultiIdx = ini.ReadString(kSection, "MultiIdx", "");
  s.Multi = ini.ReadString(kSection, "Multi", "");
  s.Width = ini.ReadInteger(kSection, "Width", 8);
  s.Height = ini.ReadInteger(kSection, "Height", 8);
  s.isStayOnTop = ini.ReadBool(kSection, "isStayOnTop", false);
  s.JpegQuality = ini.ReadInteger(kSection, "JpegQuality", 2);
  s.Language = ini.ReadInteger(kSection, "Language", 0);
  // At most 64 legacy codes are kept; a larger count reads the first 64.
  s.nBookmark = ini.ReadInteger(kSection, "nBookmark", 0);
  if (s.nBookmark < 0) s.nBookmark = 0;
  if (s.nBookmark > kMaxBookmarkCodes) s.nBookmark = kMaxBookmarkCodes;
  for (int i = 0; i < s.nBookmark; ++i) {
    const int32_t code = ini.ReadInteger(kSection, BookmarkKey(i), 0);
    s.BookmarkCodes[size_t(i)] = code >= 0 && code <= 0xFFFF ? uint16_t(code) : 0;
  }
  s.LineWidth = ini.ReadInteger(kSection, "LineWidth", 76);
  s.isLargeBG = ini.ReadBool(kSection, "isLargeBG", false);
  s.BGType = ini.ReadInteger(kSection, "BGType", 0);
  s.UpdateCheck = ini.ReadBool(kSection, "UpdateCheck", false);
  s.LastCheck = ini.ReadInteger(kSection, "LastCheck", 0);
  s.LastAccount = ini.ReadInteger(kSection, "LastAccount", 0);
  s.LastShard = ini.ReadInteger(kSection, "LastShard", 0);
  s.LastChar = ini.ReadInteger(kSection, "LastChar", 0);
  s.UpdateURL = ini.ReadString(kSection, "UpdateURL", "");
  s.HomeURL = ini.ReadString(kSection, "HomeURL", "");
  ReadRecentKeys(ini, &s);
  return s;
}

bool SaveSettings(const std::string& iniPath, const TSettings& s, std::string* error) {
  ProfileFile ini;
  if (!ini.Load(iniPath, error)) return false;
  WriteSettings(ini, WithoutMissingClientPaths(s));
  return ini.Save(iniPath, error);
}

TSettings WithoutMissingClientPaths(const TSettings& s) {
  TSettings out = s;
  for (std::string* path : {&out.ArtIdx, &out.Art, &out.TileData, &out.MultiIdx, &out.Multi}) {
    struct stat st {};
    if (!path->empty() && ::stat(path->c_str(), &st) != 0) path->clear();
  }
  return out;
}

void WriteSettings(ProfileFile& ini, const TSettings& s) {
  ini.WriteString(kSection, "ArtIdx", s.ArtIdx);
  ini.WriteString(kSection, "Art", s.Art);
  ini.WriteString(kSection, "TileData", s.TileData);
  ini.WriteString(kSection, "MultiIdx", s.MultiIdx);
  ini.WriteString(kSection, "Multi", s.Multi);
  ini.WriteInteger(kSection, "Width", s.Width);
  ini.WriteInteger(kSection, "Height", s.Height);
  ini.WriteBool(kSection, "isStayOnTop", s.isStayOnTop);
  ini.WriteInteger(kSection, "JpegQuality", s.JpegQuality);
  ini.WriteInteger(kSection, "Language", s.Language);
  const int n = s.nBookmark < 0 ? 0 : std::min(s.nBookmark, kMaxBookmarkCodes);
  ini.WriteInteger(kSection, "nBookmark", n);
  for (int i = 0; i < n; ++i)
    ini.WriteInteger(kSection, BookmarkKey(i), s.BookmarkCodes[size_t(i)]);
  ini.WriteInteger(kSection, "LineWidth", s.LineWidth);
  ini.WriteBool(kSection, "isLargeBG", s.isLargeBG);
  ini.WriteInteger(kSection, "BGType", s.BGType);
  ini.WriteBool(kSection, "UpdateCheck", s.UpdateCheck);
  ini.WriteInteger(kSection, "LastCheck", s.LastCheck);
  ini.WriteInteger(kSection, "LastAccount", s.LastAccount);
  ini.WriteInteger(kSection, "LastShard", s.LastShard);
  ini.WriteInteger(kSection, "LastChar", s.LastChar);
  if (!s.UpdateURL.empty()) ini.WriteString(kSection, "UpdateURL", s.UpdateURL);
  if (!s.HomeURL.empty()) ini.WriteString(kSection, "HomeURL", s.HomeURL);
  WriteRecentKeys(ini, s);
}

std::string SettingsFolder(const std::string& executableDir, std::string* problem) {
  // Portable use: a tavi.ini beside the program keeps everything there.
  if (!executableDir.empty() && IsFile(WithSlash(executableDir) + "tavi.ini"))
    return WithSlash(executableDir);
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && home[0]) {
    base = WithSlash(home) + ".config";
  }
  if (base.empty()) {
    if (problem) *problem = "neither XDG_CONFIG_HOME nor HOME names a folder for the settings";
    return "";
  }
  std::string folder = WithSlash(base) + "tavi/";
  std::string why;
  if (MakeFolders(folder, &why)) return folder;
  if (problem) *problem = "the settings folder '" + folder + "' cannot be used: " + why;
  return "";
}

}  // namespace tavi
