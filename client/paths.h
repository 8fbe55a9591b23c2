#pragma once
// Folder entries matched the way Windows matches them: without regard to case.
#include <string>
#include <vector>

#include "client/client_paths.h"

namespace tavi {

// The path (dir + "/" + entry) of the entry of `dir` whose name equals `name`
// ignoring ASCII case; an exact match wins, else the first match in name
// order. Empty when there is none or the folder cannot be read.
std::string FindCaseInsensitive(const std::string& dir, const std::string& name);

// Follows a relative path ("a/b/c", '/' separated) from `base` one entry at a
// time, each matched ignoring case. Empty when some entry is missing.
std::string ResolveCaseInsensitive(const std::string& base, const std::string& relative);

// What a client file path names: nothing (no regular file there), a loose
// file (art.mul, multi.mul, ...) or a packed container.
enum class ClientFileKind { kAbsent, kLoose, kContainer };
ClientFileKind ClientFileKindOf(const std::string& path);
// "absent", "loose" or "container".
const char* ClientFileKindName(ClientFileKind kind);

// Whether the files the editor needs to start exist, as the settings name
// them: tiledata.mul, art.mul and artidx.mul, or tiledata.mul and the art
// container (which needs no artidx.mul). The paths that do not (the bare
// file name for an empty path) are added to `missing`.
bool ClientFilesPresent(const ClientPaths& s, std::vector<std::string>* missing = nullptr);

}  // namespace tavi
