// The recovery copy: when it is written, whose it is, and what the next
// start finds after an editor ended without removing it (also by kill -9).
#include "settings/recovery.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <tuple>

#include "io/atomic_file.h"
#include "support/scratch_dir.h"

namespace tavi {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::ScratchDir;

TEST(RecoverySchedule, TwentyEditsOrThirtySecondsOfEditing) {
  RecoverySchedule s;
  EXPECT_FALSE(s.Due(1000000));  // nothing to hold
  s.Edited(1000, 19);
  EXPECT_FALSE(s.Due(1000));
  s.Edited(1500);
  EXPECT_TRUE(s.Due(1500));  // the 20th edit
  s.Written();
  EXPECT_FALSE(s.Pending());
  // The 30 seconds run from the first edit the copy does not hold yet.
  s.Edited(100000);
  s.Edited(120000);
  EXPECT_FALSE(s.Due(129999));
  EXPECT_TRUE(s.Due(130000));
  s.Written();
  EXPECT_FALSE(s.Due(200000));
}

TEST(RecoveryStore, TheStateFolderFollowsXdgThenHome) {
  const char* oldState = std::getenv("XDG_STATE_HOME");
  const char* oldHome = std::getenv("HOME");
  const std::string savedState = oldState ? oldState : "", savedHome = oldHome ? oldHome : "";
  ::setenv("XDG_STATE_HOME", "/x/state", 1);
  EXPECT_EQ(RecoveryStore::DefaultFolder(), "/x/state/tavi/");
  ::setenv("XDG_STATE_HOME", "relative", 1);  // not absolute: ignored
  ::setenv("HOME", "/home/u", 1);
  EXPECT_EQ(RecoveryStore::DefaultFolder(), "/home/u/.local/state/tavi/");
  for (const auto& [name, value, was] : {std::make_tuple("XDG_STATE_HOME", &savedState, oldState),
                                         std::make_tuple("HOME", &savedHome, oldHome)}) {
    if (was)
      ::setenv(name, value->c_str(), 1);
    else
      ::unsetenv(name);
  }
}

// A running editor's copy is its own: another store never sees it. Once
// that editor is gone without removing it, the next store finds it with its
// file name, holds it against a third, and adopts, discards or keeps it.
TEST(RecoveryStore, CopiesOfEditorsGoneAreOfferedOnceAndOthersNever) {
  ScratchDir dir;
  const std::string folder = dir.File("state/tavi/");
  const char kHouse[] = "\"TAVI File ver 1.00\",2,2,5\r\n0,0,0,0,1234\r\n";
  auto first = std::make_unique<RecoveryStore>(folder);
  ASSERT_TRUE(first->Usable());
  EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
  std::string error;
  ASSERT_TRUE(first->Write(kHouse, "/home/u/Villa.tav", first->Epoch(), &error)) << error;
  EXPECT_TRUE(first->HasCopy());
  {
    RecoveryStore second(folder);
    EXPECT_TRUE(second.Orphans().empty());  // the first editor still runs
  }
  first.reset();  // ends without Remove: as after a crash

  RecoveryStore second(folder);
  std::vector<RecoveryCopy> found = second.Orphans();
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].houseText, kHouse);
  EXPECT_EQ(found[0].fileName, "/home/u/Villa.tav");
  EXPECT_GT(found[0].time, 0);
  {
    RecoveryStore third(folder);
    EXPECT_TRUE(third.Orphans().empty());  // held by the second
  }
  second.Release();  // Cancel: kept for the next start
  {
    RecoveryStore third(folder);
    ASSERT_EQ(third.Orphans().size(), 1u);
  }
  found = second.Orphans();
  ASSERT_EQ(found.size(), 1u);
  ASSERT_TRUE(second.Adopt(found[0]));  // Yes: it is the second's copy now
  EXPECT_TRUE(second.HasCopy());
  EXPECT_EQ(ReadFile(folder + "recovery-" + second.Id() + ".tav"), kHouse);
  EXPECT_TRUE(second.Orphans().empty());

  // No: deleted with its files.
  {
    RecoveryStore fourth(folder);
    ASSERT_TRUE(fourth.Write(kHouse, "", fourth.Epoch(), &error)) << error;
  }
  found = second.Orphans();
  ASSERT_EQ(found.size(), 1u);
  second.Discard(found[0]);
  second.Remove();
  EXPECT_FALSE(second.HasCopy());
  int left = 0;
  for (const auto& e : fs::directory_iterator(folder))
    left += e.path().filename().string() != "recovery-" + second.Id() + ".lock";
  EXPECT_EQ(left, 0);
}

// An editor that ended before writing a copy left its lock file, and one
// killed while writing left a temporary file: the next start clears them,
// never a running editor's.
TEST(RecoveryStore, LeftoversOfEditorsGoneAreCleared) {
  ScratchDir dir;
  const std::string folder = dir.File("s") + "/";
  RecoveryStore running(folder);
  test::WriteFile(folder + "recovery-1-gone.lock", "");
  test::WriteFile(folder + TemporaryNamePrefix("recovery-1-gone.tav") + "AbC123", "half");
  RecoveryStore next(folder);
  EXPECT_TRUE(next.Orphans().empty());
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  std::vector<std::string> expected{"recovery-" + running.Id() + ".lock",
                                    "recovery-" + next.Id() + ".lock"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names, expected);
}

// A snapshot taken before a Remove (the house was saved meanwhile) writes
// nothing: a write on its way never brings a removed copy back.
TEST(RecoveryStore, AWriteOvertakenByARemoveWritesNothing) {
  ScratchDir dir;
  RecoveryStore store(dir.File("s"));
  const uint64_t before = store.Epoch();
  store.Remove();
  std::string error;
  EXPECT_TRUE(store.Write("\"TAVI File ver 1.00\",1,1,7\r\n", "", before, &error));
  EXPECT_FALSE(store.HasCopy());
  EXPECT_TRUE(store.Write("\"TAVI File ver 1.00\",1,1,7\r\n", "", store.Epoch(), &error));
  EXPECT_TRUE(store.HasCopy());
  store.Remove();
}

// A state folder that cannot be made gives an unusable store, not a crash.
TEST(RecoveryStore, NoFolderNoCopy) {
  ScratchDir dir;
  test::WriteFile(dir.File("file"), "x");
  RecoveryStore store(dir.File("file/tavi"));
  EXPECT_FALSE(store.Usable());
  std::string error;
  EXPECT_FALSE(store.Write("x", "", store.Epoch(), &error));
  EXPECT_TRUE(store.Orphans().empty());
}

// A real editor process killed with SIGKILL: while it runs its copy is
// nobody else's; after the kill the next start finds it whole.
TEST(RecoveryStore, ACopyOutlivesKill9) {
  ScratchDir dir;
  const std::string folder = dir.File("state");
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(ready[0]);
    RecoveryStore store(folder);
    std::string error;
    const bool ok = store.Write("\"TAVI File ver 1.00\",3,3,7\r\n0,1,1,0,99\r\n", "a.tav",
                                store.Epoch(), &error);
    const char c = ok ? 'y' : 'n';
    if (::write(ready[1], &c, 1) != 1) _exit(1);
    for (;;) ::pause();
  }
  ::close(ready[1]);
  char c = 0;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  ::close(ready[0]);
  ASSERT_EQ(c, 'y');
  RecoveryStore mine(folder);
  EXPECT_TRUE(mine.Orphans().empty());
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  const std::vector<RecoveryCopy> found = mine.Orphans();
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].houseText, "\"TAVI File ver 1.00\",3,3,7\r\n0,1,1,0,99\r\n");
  EXPECT_EQ(found[0].fileName, "a.tav");
}

}  // namespace
}  // namespace tavi
