#pragma once
// The editor's settings: one field per key of section "TAVI" of tavi.ini, read
// and written in the key order below. The file is a profile text file written
// in place: every other line is kept.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "client/background_map.h"
#include "client/client_paths.h"

namespace tavi {

constexpr int kMaxBookmarkCodes = 64;

// The client's file paths (ArtIdx, Art, TileData, MultiIdx, Multi) come first,
// from ClientPaths, which also holds the discovered ClientDir.
struct TSettings : ClientPaths {
  int32_t Width = 8;
  int32_t Height = 8;
  bool isStayOnTop = false;
  int32_t JpegQuality = 2;
  int32_t Language = 0;
  int32_t nBookmark = 0;
  std::array<uint16_t, kMaxBookmarkCodes> BookmarkCodes{};
  int32_t LineWidth = 76;
  bool isLargeBG = false;
  int32_t BGType = 0;
  bool UpdateCheck = false;
  int32_t LastCheck = 0;
  int32_t LastAccount = 0;
  int32_t LastShard = 0;
  int32_t LastChar = 0;
  // Addresses of the update check and the home page; overridable for tests.
  std::string UpdateURL;
  std::string HomeURL;
  // The house files last opened or saved, most recent first, and the
  // folders the file dialogs last used (settings/recent_files.h).
  std::vector<std::string> RecentFiles;
  std::string HouseFolder, ImageFolder, ClientFolder, ImportFolder;
  // Never stored: the view scale, 1.0 after every read.
  double Zoom = 1.0;
};

// Reads every key (missing keys and bad numbers give the defaults). nBookmark
// is bounded to 0..64. A missing file gives all defaults; so does one that is
// there but cannot be read whole, and `problem` then says why (SaveSettings
// leaves such a file alone).
TSettings LoadSettings(const std::string& iniPath, std::string* problem = nullptr);
// Writes every key in place, keeping all other lines, the client file paths
// as WithoutMissingClientPaths leaves them. Returns false with a message when
// the file cannot be written.
bool SaveSettings(const std::string& iniPath, const TSettings& s, std::string* error = nullptr);
// The settings with every client file path that names nothing on disk made
// empty: such a path (the bare names left when no client was found) is never
// stored, so that the next start looks for the client again.
TSettings WithoutMissingClientPaths(const TSettings& s);

class ProfileFile;
// The same, on a profile already in memory.
TSettings ReadSettings(const ProfileFile& ini);
void WriteSettings(ProfileFile& ini, const TSettings& s);

// Where tavi.ini lives: beside the executable when that folder already holds
// one, else $XDG_CONFIG_HOME/tavi/ (~/.config/tavi/). Returns the folder,
// ending in '/'. Nothing is ever put beside the program otherwise: when the
// configuration folder cannot be made (its name is taken by a file or a FIFO,
// no HOME) the result is empty and `problem` says why.
std::string SettingsFolder(const std::string& executableDir, std::string* problem = nullptr);

}  // namespace tavi
