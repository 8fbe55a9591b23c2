#pragma once
// Folder listing and case-insensitive names, as the client's folders are
// named on a case-insensitive file system.
#include <string>
#include <vector>

namespace tavi {

// Joins a folder and a name with one '/'.
std::string JoinPath(const std::string& dir, const std::string& name);
// The entry of `dir` whose name equals `name` ignoring ASCII case (an exact
// match wins); the full path, or "" when there is none.
std::string FindNoCase(const std::string& dir, const std::string& name);
// Names of the entries of `dir` (folders and files) that contain no '.',
// sorted by name; empty when the folder cannot be read.
std::vector<std::string> ListEntriesWithoutDot(const std::string& dir);

}  // namespace tavi
