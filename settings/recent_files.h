#pragma once
// The house files last opened or saved and the folders the file dialogs last
// used, kept in tavi.ini beside the other keys of section "TAVI"
// (RecentFile1..RecentFile8, Last...Folder). Versions that do not know these
// keys pass over them.
#include <string>
#include <vector>

namespace tavi {

class ProfileFile;
struct TSettings;

constexpr int kMaxRecentFiles = 8;

// Puts `path` first; an earlier entry of the same path goes, and the list
// keeps the 8 most recent. An empty path changes nothing.
void AddRecentFile(std::vector<std::string>* list, const std::string& path);
// Removes every entry of `path`; false when there was none.
bool RemoveRecentFile(std::vector<std::string>* list, const std::string& path);

// The kinds of file whose dialogs remember a folder each.
enum class FileKind { kHouse, kImage, kClient, kImport };
// The remembered folder of a kind (empty: none yet).
const std::string& FolderFor(const TSettings& s, FileKind kind);
std::string& FolderFor(TSettings& s, FileKind kind);
// The folder a chosen file lies in, ending in '/'; a folder itself when
// `isFolder`. Empty for an empty path.
std::string FolderOfPath(const std::string& path, bool isFolder = false);

// Reads and writes the list and the folders (used by ReadSettings and
// WriteSettings). Empty and repeated entries are dropped on reading.
void ReadRecentKeys(const ProfileFile& ini, TSettings* s);
void WriteRecentKeys(ProfileFile& ini, const TSettings& s);

}  // namespace tavi
