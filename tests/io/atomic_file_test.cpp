// The one file writer: what it promises about the target, its links, its
// permissions and its temporary files, and that a failed write changes nothing.
#include "io/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>

#include "io_test_util.h"

namespace tavi {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::vector<std::string> Entries(const TempDir& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir.path)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

TEST(AtomicFile, ReplacesTheFileWholeAndLeavesNothingElse) {
  TempDir dir;
  const std::string path = dir.File("house.tav");
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(path, "first", &error)) << error;
  WriteFile(dir.File("other.tav"), "x");
  ASSERT_TRUE(WriteFileAtomically(path, std::string(200000, 'b'), &error)) << error;
  EXPECT_EQ(ReadFile(path), std::string(200000, 'b'));
  ASSERT_TRUE(WriteFileAtomically(path, "", &error)) << error;
  EXPECT_EQ(ReadFile(path), "");
  EXPECT_EQ(Entries(dir), (std::vector<std::string>{"house.tav", "other.tav"}));
}

// A write that fails half-way (here: the file size limit, as a full disk
// would) reports the system's reason and leaves the old file and no
// temporary file behind.
TEST(AtomicFile, AFailingWriteLeavesTheOldFileWhole) {
  TempDir dir;
  const std::string path = dir.File("keep.tav");
  WriteFile(path, "old contents");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::string error;
    const bool ok = WriteFileAtomically(path, std::string(100000, 'n'), &error);
    _exit(ok ? 1 : error.find("File too large") != std::string::npos ? 0 : 2);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: reported success; 2: no system reason";
  EXPECT_EQ(ReadFile(path), "old contents");
  EXPECT_EQ(Entries(dir), std::vector<std::string>{"keep.tav"});
}

TEST(AtomicFile, MessagesGiveTheSystemsReason) {
  TempDir dir;
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(dir.File("no/such/folder/x.tav"), "x", &error));
  EXPECT_NE(error.find("no/such/folder/x.tav"), std::string::npos) << error;
  EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
  if (geteuid() != 0) {
    fs::create_directory(dir.File("locked"));
    ::chmod(dir.File("locked").c_str(), 0500);
    EXPECT_FALSE(WriteFileAtomically(dir.File("locked/x.tav"), "x", &error));
    ::chmod(dir.File("locked").c_str(), 0700);
    EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
  }
}

// Links keep pointing where they did; a link to a file that does not exist
// is refused and nothing is created through it.
TEST(AtomicFile, WritesThroughLiveLinksAndRefusesDanglingOnes) {
  TempDir dir;
  fs::create_directory(dir.File("real"));
  WriteFile(dir.File("real/a.tav"), "old");
  fs::create_symlink("real/a.tav", dir.path / "live.tav");
  fs::create_symlink("live.tav", dir.path / "chain.tav");
  fs::create_symlink(dir.File("real/new.tav"), dir.path / "dangling.tav");
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(dir.File("chain.tav"), "through two", &error)) << error;
  EXPECT_TRUE(fs::is_symlink(dir.path / "chain.tav"));
  EXPECT_TRUE(fs::is_symlink(dir.path / "live.tav"));
  EXPECT_EQ(ReadFile(dir.File("real/a.tav")), "through two");
  EXPECT_FALSE(WriteFileAtomically(dir.File("dangling.tav"), "new", &error));
  EXPECT_NE(error.find("names a file that does not exist"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_symlink(dir.path / "dangling.tav"));
  EXPECT_FALSE(fs::exists(dir.File("real/new.tav")));
  EXPECT_EQ(fs::directory_iterator(dir.File("real"))->path().filename(), "a.tav");

  fs::create_symlink("loop2", dir.path / "loop1");
  fs::create_symlink("loop1", dir.path / "loop2");
  EXPECT_FALSE(WriteFileAtomically(dir.File("loop1"), "x", &error));
  EXPECT_TRUE(fs::is_symlink(dir.path / "loop1"));
}

// In a world-writable sticky folder a link is followed only when it belongs
// to the writer or to the folder's owner; anyone else's link is refused by
// name and what it names stays as it was. Planting another user's link
// takes root (lchown); elsewhere the test is skipped.
TEST(AtomicFile, LinksInSharedStickyFoldersFollowTheKernelsRule) {
  if (geteuid() != 0) GTEST_SKIP() << "giving a link to another user takes root";
  TempDir dir;
  const std::string shared = dir.File("shared");
  fs::create_directory(shared);
  ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
  WriteFile(dir.File("victim"), "precious");
  const uid_t stranger = 54321;
  const std::string planted = shared + "/p.tav";
  fs::create_symlink(dir.File("victim"), planted);
  ASSERT_EQ(::lchown(planted.c_str(), stranger, stranger), 0);
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(planted, "house", &error));
  EXPECT_NE(error.find("'" + planted + "'"), std::string::npos) << error;
  EXPECT_NE(error.find("another user"), std::string::npos) << error;
  EXPECT_EQ(ReadFile(dir.File("victim")), "precious");
  EXPECT_TRUE(fs::is_symlink(planted));

  // A dangling link of another user is refused before it is looked into.
  const std::string dangling = shared + "/d.tav";
  fs::create_symlink(dir.File("created-through"), dangling);
  ASSERT_EQ(::lchown(dangling.c_str(), stranger, stranger), 0);
  EXPECT_FALSE(WriteFileAtomically(dangling, "house", &error));
  EXPECT_FALSE(fs::exists(dir.File("created-through")));

  // The writer's own link is followed, and so is the folder owner's.
  const std::string own = shared + "/own.tav";
  fs::create_symlink(dir.File("victim"), own);
  ASSERT_TRUE(WriteFileAtomically(own, "mine", &error)) << error;
  EXPECT_EQ(ReadFile(dir.File("victim")), "mine");
  ASSERT_EQ(::chown(shared.c_str(), stranger, stranger), 0);
  ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
  ASSERT_TRUE(WriteFileAtomically(planted, "owner's", &error)) << error;
  EXPECT_EQ(ReadFile(dir.File("victim")), "owner's");

  // Without the sticky bit the folder is no shared one: links are followed.
  ASSERT_EQ(::chown(shared.c_str(), 0, 0), 0);
  ASSERT_EQ(::chmod(shared.c_str(), 0777), 0);
  ASSERT_TRUE(WriteFileAtomically(planted, "plain", &error)) << error;
  EXPECT_EQ(ReadFile(dir.File("victim")), "plain");
}

// A file the writer could not open for writing is refused with the system's
// reason, as the shell's ">" refuses it, instead of being replaced by a
// rename. Root may write anything, so the test writes as nobody.
TEST(AtomicFile, RefusesAFileTheUserCannotWrite) {
  TempDir dir;
  const std::string folder = dir.File("open");
  fs::create_directory(folder);
  ASSERT_EQ(::chmod(folder.c_str(), 0777), 0);
  ASSERT_EQ(::chmod(dir.path.c_str(), 0755), 0);
  const std::string path = folder + "/read-only.tav";
  WriteFile(path, "keep me");
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) _exit(3);
    std::string error;
    const bool ok = WriteFileAtomically(path, "replaced", &error);
    _exit(ok ? 1 : error.find("Permission denied") != std::string::npos ? 0 : 2);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: replaced; 2: no system reason; 3: no user nobody";
  EXPECT_EQ(ReadFile(path), "keep me");
  EXPECT_EQ(ModeOf(path), mode_t(0444));
}

// Two writers of one file at once (two editors closing, two tavi-cli runs):
// each one's clean-up leaves the other's locked temporary file alone, so
// both succeed, the last rename wins and the file is always one whole
// version. 30 pairs of real processes, released together.
TEST(AtomicFile, ConcurrentWritersOfOneFileAllSucceed) {
  TempDir dir;
  const std::string path = dir.File("shared.ini");
  const std::string versions[2] = {std::string(300000, 'a'), std::string(200000, 'b')};
  int failures = 0;
  for (int pair = 0; pair < 30; ++pair) {
    int gate[2];
    ASSERT_EQ(::pipe(gate), 0);
    pid_t children[2];
    for (int w = 0; w < 2; ++w) {
      children[w] = fork();
      ASSERT_GE(children[w], 0);
      if (children[w] == 0) {
        ::close(gate[1]);
        char c;
        while (::read(gate[0], &c, 1) > 0) {
        }
        bool ok = true;
        for (int round = 0; round < 4; ++round)
          ok = WriteFileAtomically(path, versions[w], nullptr) && ok;
        _exit(ok ? 0 : 1);
      }
    }
    ::close(gate[0]);
    ::close(gate[1]);  // both start now
    for (pid_t c : children) {
      int status = 0;
      waitpid(c, &status, 0);
      if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) ++failures;
    }
    const std::string now = ReadFile(path);
    EXPECT_TRUE(now == versions[0] || now == versions[1]) << "pair " << pair << ": " << now.size();
  }
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(Entries(dir), std::vector<std::string>{"shared.ini"});
}

// The clean-up decides by the lock, not by luck: a temporary file that a
// writer holds survives another write of the target; once released, the
// next write removes it.
TEST(AtomicFile, CleanUpLeavesAHeldTemporaryFileAlone) {
  TempDir dir;
  const std::string held = dir.File(TemporaryNamePrefix("p.tav") + "Held01");
  WriteFile(held, "being written");
  const int fd = ::open(held.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(dir.File("p.tav"), "one", &error)) << error;
  EXPECT_TRUE(fs::exists(held));
  ::close(fd);
  ASSERT_TRUE(WriteFileAtomically(dir.File("p.tav"), "two", &error)) << error;
  EXPECT_EQ(Entries(dir), std::vector<std::string>{"p.tav"});
}

// A file with a second name is written under the name given: that name gets
// the new contents, the other keeps the old ones.
TEST(AtomicFile, AHardLinksOtherNameKeepsTheOldContents) {
  TempDir dir;
  WriteFile(dir.File("a.tav"), "old");
  fs::create_hard_link(dir.File("a.tav"), dir.path / "b.tav");
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(dir.File("a.tav"), "new", &error)) << error;
  EXPECT_EQ(ReadFile(dir.File("a.tav")), "new");
  EXPECT_EQ(ReadFile(dir.File("b.tav")), "old");
}

// Whatever is not a regular file stays as it is: a folder (also one named
// with a trailing slash), a FIFO, a device reached through a link.
TEST(AtomicFile, RefusesTargetsThatAreNoRegularFile) {
  TempDir dir;
  std::string error;
  fs::create_directory(dir.File("folder"));
  EXPECT_FALSE(WriteFileAtomically(dir.File("folder"), "x", &error));
  EXPECT_NE(error.find("is a directory"), std::string::npos) << error;
  EXPECT_FALSE(WriteFileAtomically(dir.File("folder") + "/", "x", &error));
  EXPECT_NE(error.find("is a directory"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_empty(dir.File("folder")));
  EXPECT_FALSE(WriteFileAtomically(dir.File("new-folder/"), "x", &error));

  ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
  EXPECT_FALSE(WriteFileAtomically(dir.File("pipe"), "x", &error));
  EXPECT_NE(error.find("FIFO"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_fifo(dir.File("pipe")));

  fs::create_symlink("/dev/null", dir.path / "null-link");
  EXPECT_FALSE(WriteFileAtomically(dir.File("null-link"), "x", &error));
  EXPECT_NE(error.find("device"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_TRUE(fs::is_symlink(dir.path / "null-link"));
  EXPECT_EQ(Entries(dir), (std::vector<std::string>{"folder", "null-link", "pipe"}));
}

TEST(AtomicFile, KeepsPermissionsAndGivesNewFilesTheUmask) {
  TempDir dir;
  const std::string path = dir.File("mode.tav");
  WriteFile(path, "old");
  ::chmod(path.c_str(), 0604);
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(path, "new", &error)) << error;
  EXPECT_EQ(ModeOf(path), mode_t(0604));

  const mode_t old = ::umask(027);
  const bool ok = WriteFileAtomically(dir.File("fresh.tav"), "x", &error);
  ::umask(old);
  ASSERT_TRUE(ok) << error;
  EXPECT_EQ(ModeOf(dir.File("fresh.tav")), mode_t(0640));
}

// Temporary files are recognisable by name: what a killed write of this
// target left is removed by its next write; other targets' are not touched.
TEST(AtomicFile, NextWriteRemovesTheTargetsStaleTemporaries) {
  TempDir dir;
  const std::string prefix = TemporaryNamePrefix("pic.png");
  EXPECT_EQ(prefix, ".pic.png.tavi-tmp-");
  WriteFile(dir.File(prefix + "a1B2c3"), "half");
  WriteFile(dir.File(TemporaryNamePrefix("other.png") + "a1B2c3"), "someone else's");
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(dir.File("pic.png"), "whole", &error)) << error;
  EXPECT_EQ(Entries(dir), (std::vector<std::string>{".other.png.tavi-tmp-a1B2c3", "pic.png"}));
}

// Nothing planted at a temporary name is followed: the names the writers
// once used, linked to a victim, leave the victim alone.
TEST(AtomicFile, PlantedLinksAtTemporaryNamesAreNotFollowed) {
  TempDir dir;
  WriteFile(dir.File("victim"), "precious");
  for (const char* planted : {"pic.png.tmp~", "pic.png.tmp"})
    fs::create_symlink(dir.File("victim"), dir.path / planted);
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(dir.File("pic.png"), "picture", &error)) << error;
  EXPECT_EQ(ReadFile(dir.File("victim")), "precious");
  EXPECT_EQ(ReadFile(dir.File("pic.png")), "picture");
}

}  // namespace
}  // namespace tavi
