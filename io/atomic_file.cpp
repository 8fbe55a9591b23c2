#include "io/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <random>
#include <vector>

namespace tavi {

namespace {

constexpr char kTempMarker[] = ".tavi-tmp-";
constexpr size_t kSuffixLength = 6;
// A temporary name must fit NAME_MAX (255) with the dot, marker and suffix.
constexpr size_t kMaxNameInTemp = 200;
// As many links as the kernel follows before ELOOP.
constexpr int kMaxLinks = 40;

struct Target {
  std::string path;  // the file finally written (links followed)
  std::string dir;   // its folder
  std::string name;  // its name in the folder
  bool exists = false;
  struct stat st {};
};

std::string Quoted(const std::string& path) {
  return "'" + path + "'";
}

void SplitPath(const std::string& path, std::string* dir, std::string* name) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    *dir = ".";
    *name = path;
  } else {
    *dir = slash == 0 ? "/" : path.substr(0, slash);
    *name = path.substr(slash + 1);
  }
}

const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "something other than a file";
}

bool ReadLink(const std::string& path, size_t sizeHint, std::string* out) {
  std::vector<char> buf(sizeHint + 1 < 256 ? 256 : sizeHint + 1);
  for (;;) {
    const ssize_t n = ::readlink(path.c_str(), buf.data(), buf.size());
    if (n < 0) return false;
    if (size_t(n) < buf.size()) {
      out->assign(buf.data(), size_t(n));
      return true;
    }
    buf.resize(buf.size() * 2);  // the link grew since lstat
  }
}

// The kernel's rule for links in shared folders (fs.protected_symlinks): a
// link in a world-writable sticky folder is followed only when it belongs to
// the one following it or to the folder's owner.
bool MayFollow(const std::string& dir, const struct stat& link) {
  struct stat folder {};
  if (::stat(dir.c_str(), &folder) != 0) return true;  // lstat of the link just worked
  const mode_t shared = S_ISVTX | S_IWOTH;
  if ((folder.st_mode & shared) != shared) return true;
  return link.st_uid == ::geteuid() || link.st_uid == folder.st_uid;
}

// Sets *error to why `requested` cannot be written; always false.
bool Refuse(const std::string& requested, const std::string& why, std::string* error) {
  if (error) *error = "cannot write " + Quoted(requested) + ": " + why;
  return false;
}

// `path` (reached after `links` links) could not be looked at, for the
// reason `why` (an errno). Nothing there is a new file, unless a link led
// there or the name is a folder's. A missing folder shows when the temporary
// file is created.
bool TargetMissing(const std::string& requested, const std::string& path, int links, int why,
                   Target* t, std::string* error) {
  if (links > 0)
    return Refuse(requested,
                  "it is a link that names a file that does not exist (" + Quoted(path) + ")",
                  error);
  if (why != ENOENT) return Refuse(requested, std::strerror(why), error);
  if (t->name.empty() || t->name == "." || t->name == "..")
    return Refuse(requested, "it names a directory, not a file", error);
  t->path = path;
  t->exists = false;
  return true;
}

// `path` is there and is no link: only a regular file that may be opened for
// writing is a target. It is refused as the shell's ">" would refuse it, not
// replaced behind the file's back; opening without O_TRUNC changes nothing.
bool TargetExisting(const std::string& requested, const std::string& path, const struct stat& st,
                    Target* t, std::string* error) {
  t->path = path;
  t->exists = true;
  t->st = st;
  const std::string via = path == requested ? "" : " (through a link to " + Quoted(path) + ")";
  if (S_ISREG(st.st_mode)) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return Refuse(requested, std::strerror(errno) + via, error);
    ::close(fd);
    return true;
  }
  if (S_ISDIR(st.st_mode)) return Refuse(requested, "it is a directory" + via, error);
  return Refuse(
      requested,
      std::string("it is ") + KindOf(st.st_mode) + via + ", not a regular file; it was left alone",
      error);
}

// Moves *path to where the link at *path (the `links`th followed, lying in
// `dir`) points; false when it may not or cannot be followed.
bool FollowLink(const std::string& requested, int links, const std::string& dir,
                const struct stat& st, std::string* path, std::string* error) {
  if (links == kMaxLinks) return Refuse(requested, std::strerror(ELOOP), error);
  if (!MayFollow(dir, st))
    return Refuse(requested,
                  "the link " + Quoted(*path) +
                      " lies in a shared folder and belongs to another user; it was not followed",
                  error);
  std::string link;
  if (!ReadLink(*path, size_t(st.st_size), &link))
    return Refuse(requested, std::strerror(errno), error);
  if (link.empty()) return Refuse(requested, std::strerror(ENOENT), error);
  *path = link[0] == '/' ? link : dir + "/" + link;
  return true;
}

// Follows symbolic links from `requested` to the file that is to be written.
bool ResolveTarget(const std::string& requested, Target* t, std::string* error) {
  std::string path = requested;
  for (int links = 0;; ++links) {
    SplitPath(path, &t->dir, &t->name);
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
      return TargetMissing(requested, path, links, errno, t, error);
    if (!S_ISLNK(st.st_mode)) return TargetExisting(requested, path, st, t, error);
    if (!FollowLink(requested, links, t->dir, st, &path, error)) return false;
  }
}

std::string RandomSuffix() {
  static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  static std::mt19937_64 engine = [] {
    std::random_device device;
    std::seed_seq seed{device(), device(), unsigned(::getpid())};
    return std::mt19937_64(seed);
  }();
  std::string s(kSuffixLength, 'x');
  for (char& c : s) c = kChars[engine() % (sizeof kChars - 1)];
  return s;
}

// A temporary file is locked from just after its creation until its rename.
// One that is unlocked, whole-file sized or older than this, is stale; an
// empty young one may be a writer's between its creation and its lock.
constexpr int kYoungSeconds = 60;

bool IsStale(const std::string& path) {
  struct stat named {};
  if (::lstat(path.c_str(), &named) != 0) return false;
  if (!S_ISREG(named.st_mode)) return true;  // planted, never ours to keep
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  bool stale = false;
  struct stat held {};
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 &&
      held.st_dev == named.st_dev && held.st_ino == named.st_ino && held.st_nlink > 0) {
    const bool young = held.st_size == 0 && ::time(nullptr) - held.st_mtime < kYoungSeconds;
    stale = !young;
  }
  ::close(fd);  // drops the lock
  return stale;
}

// Removes what interrupted writes of the same target left in its folder,
// never a file that a running writer holds.
void RemoveStaleTemporaries(const Target& t) {
  const std::string prefix = TemporaryNamePrefix(t.name);
  DIR* d = ::opendir(t.dir.c_str());
  if (!d) return;
  std::vector<std::string> found;
  while (const dirent* e = ::readdir(d)) {
    const std::string name = e->d_name;
    if (name.size() == prefix.size() + kSuffixLength && name.compare(0, prefix.size(), prefix) == 0)
      found.push_back(name);
  }
  ::closedir(d);
  for (const std::string& name : found) {
    const std::string path = t.dir + "/" + name;
    if (IsStale(path)) ::unlink(path.c_str());
  }
}

bool WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    done += size_t(n);
  }
  return true;
}

// After the rename the new file is in place; flushing the folder makes the
// rename itself survive a crash. A folder that cannot be flushed changes
// nothing about the result.
void SyncFolder(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

std::string TemporaryNamePrefix(const std::string& fileName) {
  return "." + fileName.substr(0, kMaxNameInTemp) + kTempMarker;
}

namespace {

// Creates a new temporary file beside the target, named *tmp, with `mode`
// (less the umask); tries other names while the name is taken. The file, or
// -1 with errno set.
int CreateTemporary(const Target& t, mode_t mode, std::string* tmp) {
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    *tmp = t.dir + "/" + TemporaryNamePrefix(t.name) + RandomSuffix();
    fd = ::open(tmp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0 && errno != EEXIST) break;
  }
  return fd;
}

// Gives the file the owner, group and mode of the file it replaces. Owner and
// group stay where the system allows it (for another user's file it does not:
// the new file is then ours). The group goes before the mode, which a group
// change could clear. False, errno set, when the mode cannot be set.
bool KeepOwnerAndMode(int fd, const struct stat& old) {
  struct stat mine {};
  if (::fstat(fd, &mine) == 0 && (mine.st_uid != old.st_uid || mine.st_gid != old.st_gid))
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) errno = 0;
  return ::fchmod(fd, old.st_mode & 07777) == 0;
}

}  // namespace

bool WriteFileAtomically(const std::string& target, std::string_view bytes, std::string* error) {
  Target t;
  if (!ResolveTarget(target, &t, error)) return false;
  RemoveStaleTemporaries(t);

  // A new file is created with 0666 and the kernel applies the umask (and a
  // default ACL of the folder); a replaced file gets its old mode below.
  std::string tmp;
  const int fd = CreateTemporary(t, t.exists ? 0600 : 0666, &tmp);
  if (fd < 0) {
    if (error)
      *error = "cannot write " + Quoted(target) + ": cannot create a file in " + Quoted(t.dir) +
               ": " + std::strerror(errno);
    return false;
  }
  // Held until after the rename, so no other writer's clean-up takes the
  // file away. A folder without locks (some network shares) still writes.
  while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
  }
  bool ok = !t.exists || KeepOwnerAndMode(fd, t.st);
  ok = ok && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  int saved = errno;
  if (ok && ::rename(tmp.c_str(), t.path.c_str()) != 0) {
    ok = false;
    saved = errno;
  }
  if (!ok) {
    ::unlink(tmp.c_str());
    ::close(fd);
    if (error) *error = "cannot write " + Quoted(target) + ": " + std::strerror(saved);
    return false;
  }
  ::close(fd);  // the data is on disk already (fsync above)
  SyncFolder(t.dir);
  return true;
}

}  // namespace tavi
