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
//   its name) and locked while it is written, flushed to disk, renamed over
//   the target, and the folder is flushed after the rename;
// - temporary files of the same target left by an interrupted write are
//   removed first; one that a running writer holds locked is left to it, so
//   several writers of one file all succeed and the last rename wins;
// - a symbolic link keeps pointing where it did: the file it names is
//   written. A link inside a world-writable sticky folder (/tmp) is followed
//   only when it belongs to the user or to the folder's owner, as the kernel
//   does with fs.protected_symlinks; a link to a file that does not exist is
//   refused, never created through;
// - a target that exists and is no regular file (a directory, a FIFO, a
//   device, a socket) is refused and left alone, and so is a file the user
//   could not open for writing (a read-only file), with the system's reason;
// - a replaced file keeps its permissions; a new file gets 0666 less the umask;
// - a file with several hard links gets a new inode under the written name:
//   its other names keep the old contents.
// False with one line naming the file and the system's reason when the file
// cannot be written; the target is then as it was.
bool WriteFileAtomically(const std::string& target, std::string_view bytes, std::string* error);

// The start of the names of `fileName`'s temporary files (".<name>.tavi-tmp-").
std::string TemporaryNamePrefix(const std::string& fileName);

}  // namespace tavi
