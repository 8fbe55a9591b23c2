#pragma once
// The one way every file of the editor and of tavi-cli is replaced: house
// files, settings, catalogue pages, pictures and every --out. A reader, a
// crash or a full disk sees either the old file or the new one, whole.
#include <string>
#include <string_view>

namespace tavi {

// Writes `bytes` to `target`:
// - the bytes go to a new temporary file ".<name>.tavi-tmp-XXXXXX" in the
//   target's folder, created exclusively (never through something planted at
//   its name), flushed to disk, renamed over the target, and the folder is
//   flushed after the rename;
// - temporary files of the same target left by an interrupted write are
//   removed first;
// - a symbolic link keeps pointing where it did: the file it names is
//   written, also when that file does not exist yet;
// - a target that exists and is no regular file (a directory, a FIFO, a
//   device, a socket) is refused and left alone;
// - a replaced file keeps its permissions; a new file gets 0666 less the umask.
// False with one line naming the file and the system's reason when the file
// cannot be written; the target is then as it was.
bool WriteFileAtomically(const std::string& target, std::string_view bytes, std::string* error);

// The start of the names of `fileName`'s temporary files (".<name>.tavi-tmp-").
std::string TemporaryNamePrefix(const std::string& fileName);

}  // namespace tavi
