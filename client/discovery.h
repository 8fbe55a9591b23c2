#pragma once
// Finding the game client's folder: the keys its installers leave in the
// registry (on Linux, the registry of a Wine prefix), then a short list of
// usual install folders. Only empty paths of the settings are completed.
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "client/client_paths.h"

namespace tavi {

// Read-only access to the local machine's registry. Key paths are relative to
// the local machine root and separated by backslashes; names compare without
// regard to case, as the registry does.
class IRegistry {
 public:
  virtual ~IRegistry() = default;
  // Whether the key exists (and so could be opened read-only).
  virtual bool OpenKey(const std::string& path) const = 0;
  // A string value of the key; false when the key or the value is missing or
  // holds no string.
  virtual bool ReadString(const std::string& path, const std::string& name,
                          std::string* value) const = 0;
  // The names of the key's subkeys, in the registry's order.
  virtual std::vector<std::string> SubkeyNames(const std::string& path) const = 0;
  // A Windows path of the registry's machine as a local path; empty when it
  // names nothing reachable from here.
  virtual std::string LocalPath(const std::string& windowsPath) const = 0;
};

// The registry of a Wine prefix, read from its system.reg.
class WineRegistry : public IRegistry {
 public:
  // system.reg files larger than this are not read.
  static constexpr size_t kMaxFileSize = 256u * 1024 * 1024;

  // Parses the text of a system.reg; `prefix` is the prefix folder that
  // holds drive_c/ and dosdevices/. Lines that do not parse are skipped.
  WineRegistry(const std::string& systemRegText, const std::string& prefix);
  // Reads prefix/system.reg; nullptr when it cannot be read.
  static std::unique_ptr<WineRegistry> Load(const std::string& prefix);
  // $WINEPREFIX, else ~/.wine.
  static std::string DefaultPrefix();

  bool OpenKey(const std::string& path) const override;
  bool ReadString(const std::string& path, const std::string& name,
                  std::string* value) const override;
  std::vector<std::string> SubkeyNames(const std::string& path) const override;
  std::string LocalPath(const std::string& windowsPath) const override;

 private:
  struct Key {
    std::vector<std::string> subkeys;  // names as written, first appearance first
    std::unordered_map<std::string, std::string> values;  // lower-case name -> string
  };
  Key& AddKey(const std::string& path);
  const Key* Find(const std::string& path) const;

  std::string prefix_;
  std::unordered_map<std::string, Key> keys_;  // lower-case path -> key
};

// Maps a Windows path ("C:\Program Files\x\") into a Wine prefix
// ("<prefix>/drive_c/Program Files/x/"): C: is drive_c, other letters go
// through dosdevices; existing folders are matched ignoring case. Empty for a
// drive the prefix does not have and for network paths.
std::string WindowsToPrefixPath(const std::string& prefix, const std::string& windowsPath);

// Existing usual install folders of the client inside the Wine prefixes
// `winePrefix` (may be empty) and ~/.wine.
std::vector<std::string> UsualClientFolders(const std::string& winePrefix, const std::string& home);

// The packed containers that newer clients ship instead of art.mul with
// artidx.mul and multi.mul with multi.idx.
constexpr const char kArtContainerName[] = "artLegacyMUL.uop";
constexpr const char kMultiContainerName[] = "MultiCollection.uop";

// Sets s.ClientDir (a local folder ending in '/', or empty) from the registry
// (nullptr: none) or else the first of `usualFolders` holding tiledata.mul,
// then completes each of the five client file paths that is empty or names
// nothing on disk; a path that names something is never replaced. Without a
// client folder the paths completed are the bare file names.
void DiscoverClient(ClientPaths& s, const IRegistry* registry,
                    const std::vector<std::string>& usualFolders);

// Takes `dir` as the client folder: ClientDir and all five paths, the file
// names matched ignoring case (tavi-cli --client, the editor's demo client).
// In both, Art and Multi name the loose files where the folder has both of
// the pair (art.mul and artidx.mul, multi.mul and multi.idx), else the
// container where it has one.
void UseClientFolder(ClientPaths& s, const std::string& dir);

// Completes the multi paths (MultiIdx, Multi) that are empty or name nothing
// on disk from the folder the art lies in (Art, else ArtIdx, else TileData,
// whichever names an existing file), matched as UseClientFolder does: the
// loose pair where the folder has both, else the container. A multi path
// that names something is kept. ClientDir becomes that folder when it is
// empty or names no folder, so that the cache import looks beside the art.
// Nothing changes when no art path names a file.
void CompleteFromArtFolder(ClientPaths& s);

// DiscoverClient with this machine's Wine registry ($WINEPREFIX, else
// ~/.wine) and the usual folders under $WINEPREFIX and $HOME.
void DiscoverClientHere(ClientPaths& s);

}  // namespace tavi
