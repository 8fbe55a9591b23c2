#pragma once
// The recovery copy of unsaved work. While a house has unsaved changes the
// editor keeps a copy of it in the user's state folder
// ($XDG_STATE_HOME/tavi/, else ~/.local/state/tavi/):
//   recovery-<id>.tav   the house, in the house file format (the base height
//                       in its header), written with WriteFileAtomically;
//   recovery-<id>.name  the name of the file the house belongs to ("" for an
//                       unnamed house);
//   recovery-<id>.lock  locked by the running editor that owns the copy.
// Every editor has an id of its own, so several editors at once each keep
// their own copy. A copy whose lock can be taken belongs to no running editor:
// its editor ended without removing it (a crash, a kill, a power cut), and the
// next start offers it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tavi {

// When the copy is written: after kEdits edits, or once kSeconds have passed
// since the first edit it does not hold yet. The clock is the caller's (ms).
class RecoverySchedule {
 public:
  static constexpr int kEdits = 20;
  static constexpr int64_t kMilliseconds = 30000;

  // `count` edits made at `nowMs`.
  void Edited(int64_t nowMs, int count = 1);
  bool Due(int64_t nowMs) const;
  bool Pending() const { return pending_ > 0; }
  // The copy now holds every edit so far.
  void Written();

 private:
  int pending_ = 0;
  int64_t firstPendingMs_ = 0;
};

// A copy left by an editor that is no longer running.
struct RecoveryCopy {
  std::string id;
  std::string fileName;  // the file it belongs to ("" when unnamed)
  int64_t time = 0;      // when it was last written (seconds since 1970)
  std::string houseText;
};

class RecoveryStore {
 public:
  // The state folder ($XDG_STATE_HOME/tavi/, else ~/.local/state/tavi/),
  // ending in '/'; empty when neither names one.
  static std::string DefaultFolder();

  // Uses `folder` (made when missing) under a new id, locked for the life of
  // the store. Not Usable() when the folder cannot be made or locked.
  explicit RecoveryStore(std::string folder);
  ~RecoveryStore();
  RecoveryStore(const RecoveryStore&) = delete;
  RecoveryStore& operator=(const RecoveryStore&) = delete;

  bool Usable() const { return lockFd_ >= 0; }
  const std::string& Folder() const { return folder_; }
  const std::string& Id() const { return id_; }

  // Counts the Removes: a snapshot taken before a Remove is out of date.
  uint64_t Epoch() const;
  // Writes this editor's copy: the house file text and the file it belongs
  // to, taken when Epoch() was `epoch`. Safe to call from a worker thread
  // while another thread calls Remove: a write that a Remove overtook writes
  // nothing (and returns true).
  bool Write(const std::string& houseText, const std::string& fileName, uint64_t epoch,
             std::string* error);
  // Removes this editor's copy (saved, New, Open, a clean exit).
  void Remove();
  bool HasCopy() const;

  // The copies of editors that are no longer running, newest first. The
  // store holds each one found (so that no other starting editor takes it)
  // until Adopt, Discard or Release.
  std::vector<RecoveryCopy> Orphans();
  // The copy becomes this editor's own (its files renamed to this store's id).
  bool Adopt(const RecoveryCopy& copy);
  // The copy is deleted.
  void Discard(const RecoveryCopy& copy);
  // Lets go of every copy Orphans found and this store did not adopt or
  // discard: they stay for the next start.
  void Release();

 private:
  std::string PathOf(const std::string& id, const char* ext) const;
  void DeleteFiles(const std::string& id);
  void DeleteLeftovers(const std::string& id);
  void ListIds(std::vector<std::string>* copies, std::vector<std::string>* locks) const;
  void ClearLeftoverLocks(const std::vector<std::string>& copies,
                          const std::vector<std::string>& locks);

  std::string folder_;
  std::string id_;
  int lockFd_ = -1;
  struct Held {
    std::string id;
    int fd;
  };
  std::vector<Held> held_;
  struct Shared;
  std::unique_ptr<Shared> shared_;
};

}  // namespace tavi
