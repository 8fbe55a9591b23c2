#include "settings/recovery.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <random>

#include "io/atomic_file.h"
#include "io/house_file.h"

namespace tavi {

// ---- schedule ----

void RecoverySchedule::Edited(int64_t nowMs, int count) {
  if (count <= 0) return;
  if (pending_ == 0) firstPendingMs_ = nowMs;
  pending_ += count;
}

bool RecoverySchedule::Due(int64_t nowMs) const {
  return pending_ >= kEdits || (pending_ > 0 && nowMs - firstPendingMs_ >= kMilliseconds);
}

void RecoverySchedule::Written() {
  pending_ = 0;
}

// ---- store ----

namespace {

constexpr char kPrefix[] = "recovery-";
// A house file is at most a few MB; a copy far beyond that is no copy.
constexpr size_t kMaxCopyBytes = size_t(256) << 20;

// mkdir -p with 0700: the copies are the user's own work.
bool MakePrivateFolders(const std::string& path) {
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != '/') continue;
    const std::string part = path.substr(0, i);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string NewId() {
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device device;
  std::mt19937 engine(device() ^ unsigned(::getpid()));
  std::string id = std::to_string(::getpid()) + "-";
  for (int i = 0; i < 8; ++i) id += kChars[engine() % (sizeof kChars - 1)];
  return id;
}

// Opens (creating) and locks a lock file without waiting; -1 when another
// process holds it.
int TakeLock(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

struct RecoveryStore::Shared {
  std::mutex mutex;
  uint64_t epoch = 0;
  std::string lastName;
  bool nameWritten = false;
};

std::string RecoveryStore::DefaultFolder() {
  if (const char* xdg = std::getenv("XDG_STATE_HOME"); xdg && xdg[0] == '/')
    return std::string(xdg) + (std::string(xdg).back() == '/' ? "" : "/") + "tavi/";
  if (const char* home = std::getenv("HOME"); home && home[0])
    return std::string(home) + (std::string(home).back() == '/' ? "" : "/") + ".local/state/tavi/";
  return "";
}

RecoveryStore::RecoveryStore(std::string folder)
    : folder_(std::move(folder)), shared_(std::make_unique<Shared>()) {
  if (folder_.empty()) return;
  if (folder_.back() != '/') folder_ += '/';
  if (!MakePrivateFolders(folder_)) return;
  for (int attempt = 0; attempt < 10 && lockFd_ < 0; ++attempt) {
    id_ = NewId();
    struct stat st {};
    if (::lstat(PathOf(id_, ".lock").c_str(), &st) == 0) continue;  // taken
    lockFd_ = TakeLock(PathOf(id_, ".lock"));
    // Another editor's clean-up may have removed the lock file between its
    // creation and the lock: the lock must be on the file at the name.
    struct stat held {};
    if (lockFd_ >= 0 &&
        (::fstat(lockFd_, &held) != 0 || ::stat(PathOf(id_, ".lock").c_str(), &st) != 0 ||
         held.st_ino != st.st_ino || held.st_dev != st.st_dev)) {
      ::close(lockFd_);
      lockFd_ = -1;
    }
  }
}

RecoveryStore::~RecoveryStore() {
  Release();
  if (lockFd_ >= 0) {
    // Without a copy the lock file has no use; with one it stays beside it,
    // unlocked, for the next start.
    if (!HasCopy()) ::unlink(PathOf(id_, ".lock").c_str());
    ::close(lockFd_);
  }
}

std::string RecoveryStore::PathOf(const std::string& id, const char* ext) const {
  return folder_ + kPrefix + id + ext;
}

uint64_t RecoveryStore::Epoch() const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->epoch;
}

bool RecoveryStore::Write(const std::string& houseText, const std::string& fileName, uint64_t epoch,
                          std::string* error) {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  if (!Usable()) {
    if (error) *error = "no state folder for the recovery copy";
    return false;
  }
  if (epoch != shared_->epoch) return true;  // saved or replaced meanwhile
  // The name first: a copy is never paired with an older house's name.
  if (!shared_->nameWritten || shared_->lastName != fileName) {
    if (!WriteFileAtomically(PathOf(id_, ".name"), fileName, error)) return false;
    shared_->lastName = fileName;
    shared_->nameWritten = true;
  }
  return WriteFileAtomically(PathOf(id_, ".tav"), houseText, error);
}

void RecoveryStore::DeleteFiles(const std::string& id) {
  ::unlink(PathOf(id, ".tav").c_str());
  ::unlink(PathOf(id, ".name").c_str());
}

void RecoveryStore::DeleteLeftovers(const std::string& id) {
  // What a write cut short by the end of its editor left: temporary files
  // of the copy and of its name.
  const std::string tav = TemporaryNamePrefix(kPrefix + id + ".tav");
  const std::string name = TemporaryNamePrefix(kPrefix + id + ".name");
  std::vector<std::string> found;
  if (DIR* d = ::opendir(folder_.c_str())) {
    while (const dirent* e = ::readdir(d)) {
      const std::string entry = e->d_name;
      if (entry.compare(0, tav.size(), tav) == 0 || entry.compare(0, name.size(), name) == 0)
        found.push_back(entry);
    }
    ::closedir(d);
  }
  for (const std::string& entry : found) ::unlink((folder_ + entry).c_str());
}

void RecoveryStore::Remove() {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  ++shared_->epoch;
  shared_->nameWritten = false;
  if (Usable()) DeleteFiles(id_);
}

bool RecoveryStore::HasCopy() const {
  struct stat st {};
  return Usable() && ::stat(PathOf(id_, ".tav").c_str(), &st) == 0;
}

void RecoveryStore::ListIds(std::vector<std::string>* copies,
                            std::vector<std::string>* locks) const {
  DIR* d = ::opendir(folder_.c_str());
  if (!d) return;
  const std::string prefix = kPrefix;
  auto idOf = [&](const std::string& name, const std::string& ext, std::vector<std::string>* to) {
    if (name.size() > prefix.size() + ext.size() && name.compare(0, prefix.size(), prefix) == 0 &&
        name.compare(name.size() - ext.size(), ext.size(), ext) == 0)
      to->push_back(name.substr(prefix.size(), name.size() - prefix.size() - ext.size()));
  };
  while (const dirent* e = ::readdir(d)) {
    idOf(e->d_name, ".tav", copies);
    idOf(e->d_name, ".lock", locks);
  }
  ::closedir(d);
}

void RecoveryStore::ClearLeftoverLocks(const std::vector<std::string>& copies,
                                       const std::vector<std::string>& locks) {
  // An editor that ended before it wrote a copy left only its lock file
  // (and perhaps a write cut short): nothing to offer, so it goes.
  for (const std::string& id : locks) {
    if (id == id_ || std::find(copies.begin(), copies.end(), id) != copies.end()) continue;
    const int fd = TakeLock(PathOf(id, ".lock"));
    if (fd < 0) continue;
    struct stat st {};
    if (::stat(PathOf(id, ".tav").c_str(), &st) != 0) {
      DeleteLeftovers(id);
      ::unlink(PathOf(id, ".name").c_str());
      ::unlink(PathOf(id, ".lock").c_str());
    }
    ::close(fd);
  }
}

std::vector<RecoveryCopy> RecoveryStore::Orphans() {
  std::vector<RecoveryCopy> copies;
  if (!Usable()) return copies;
  std::vector<std::string> ids, locks;
  ListIds(&ids, &locks);
  ClearLeftoverLocks(ids, locks);
  for (const std::string& id : ids) {
    if (id == id_) continue;
    if (std::any_of(held_.begin(), held_.end(), [&](const Held& h) { return h.id == id; }))
      continue;
    // A running editor holds its lock; a copy whose lock can be taken is
    // nobody's. Taking it keeps other starting editors away from it.
    const int fd = TakeLock(PathOf(id, ".lock"));
    if (fd < 0) continue;
    RecoveryCopy copy;
    copy.id = id;
    std::string error;
    struct stat st {};
    if (::stat(PathOf(id, ".tav").c_str(), &st) != 0 ||
        !ReadWholeFile(PathOf(id, ".tav"), &copy.houseText, &error, kMaxCopyBytes)) {
      ::close(fd);
      continue;
    }
    copy.time = int64_t(st.st_mtime);
    ReadWholeFile(PathOf(id, ".name"), &copy.fileName, &error, 4096);
    held_.push_back({id, fd});
    copies.push_back(std::move(copy));
  }
  std::sort(copies.begin(), copies.end(),
            [](const RecoveryCopy& a, const RecoveryCopy& b) { return a.time > b.time; });
  return copies;
}

bool RecoveryStore::Adopt(const RecoveryCopy& copy) {
  if (!Usable()) return false;
  {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    if (::rename(PathOf(copy.id, ".tav").c_str(), PathOf(id_, ".tav").c_str()) != 0) return false;
    if (::rename(PathOf(copy.id, ".name").c_str(), PathOf(id_, ".name").c_str()) != 0)
      ::unlink(PathOf(id_, ".name").c_str());
    shared_->nameWritten = false;
  }
  Discard(copy);  // what is left of it: its lock file
  return true;
}

void RecoveryStore::Discard(const RecoveryCopy& copy) {
  for (auto it = held_.begin(); it != held_.end(); ++it) {
    if (it->id != copy.id) continue;
    DeleteFiles(copy.id);
    DeleteLeftovers(copy.id);
    ::unlink(PathOf(copy.id, ".lock").c_str());
    ::close(it->fd);
    held_.erase(it);
    return;
  }
}

void RecoveryStore::Release() {
  for (const Held& h : held_) ::close(h.fd);
  held_.clear();
}

}  // namespace tavi
