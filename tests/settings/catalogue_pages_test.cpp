#include "settings/catalogue_pages.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tavi {
namespace {

namespace fs = std::filesystem;

class PageFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("pages_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Folder() const { return dir_.string() + "/"; }
  void Write(const char* name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
  }
  std::string Read(const char* name) {
    std::ifstream in(dir_ / name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  fs::path dir_;
};

// A page file that is there but could not be read whole (a FIFO with
// nothing writing to it, a folder, one over the size cap, an unreadable one)
// is named once with its reason, gives the pages that could be read, and is
// left exactly as it was by the save at exit.
TEST_F(PageFolder, FilesNotReadWholeAreReportedAndNeverRewritten) {
  Write("book_sys.ini", "[Walls]\r\n600\r\n");
  ASSERT_EQ(::mkfifo((dir_ / "bookmark.ini").c_str(), 0600), 0);
  CataloguePages p;
  p.Load(Folder(), nullptr, nullptr, 0);
  ASSERT_EQ(p.Pages.size(), 1u);
  EXPECT_EQ(p.Pages[0].Name, "Walls");
  ASSERT_EQ(p.Unread.size(), 1u);
  EXPECT_EQ(p.Unread[0].path, Folder() + "bookmark.ini");
  EXPECT_EQ(p.Unread[0].reason, "it is not a regular file");
  p.AddPage("mine");
  p.AddCode(0, 601);
  EXPECT_TRUE(p.Save(Folder()));
  EXPECT_TRUE(fs::is_fifo(dir_ / "bookmark.ini"));
  EXPECT_EQ(Read("book_sys.ini"), "[Walls]\r\n$0258\r\n$0259\r\n\r\n");

  // Over the cap: the pages of the part read are there, the file stays whole.
  fs::remove(dir_ / "bookmark.ini");
  std::string big = "[Big]\r\n$0001\r\n";
  big.resize((16u << 20) + 100, '\n');
  Write("bookmark.ini", big);
  p.Load(Folder(), nullptr, nullptr, 0);
  ASSERT_EQ(p.Pages.size(), 2u);
  EXPECT_EQ(p.Pages[1].Name, "Big");
  ASSERT_EQ(p.Unread.size(), 1u);
  EXPECT_EQ(p.Unread[0].reason, "it is larger than 16 MB");
  EXPECT_TRUE(p.Save(Folder()));
  EXPECT_EQ(fs::file_size(dir_ / "bookmark.ini"), big.size());

  fs::remove(dir_ / "bookmark.ini");
  fs::create_directory(dir_ / "bookmark.ini");
  if (::geteuid() != 0) ::chmod((dir_ / "book_sys.ini").c_str(), 0);
  p.Load(Folder(), nullptr, nullptr, 0);
  ASSERT_EQ(p.Unread.size(), ::geteuid() != 0 ? 2u : 1u);
  EXPECT_EQ(p.Unread.back().reason, "it is a folder");
  if (::geteuid() != 0) {
    EXPECT_EQ(p.Unread[0].reason, "Permission denied");
  }
  EXPECT_TRUE(p.Save(Folder()));
  EXPECT_TRUE(fs::is_directory(dir_ / "bookmark.ini"));
  ::chmod((dir_ / "book_sys.ini").c_str(), 0644);
  EXPECT_FALSE(Read("book_sys.ini").empty());

  // Missing files are no trouble: they are simply written.
  fs::remove_all(dir_ / "bookmark.ini");
  fs::remove(dir_ / "book_sys.ini");
  p.Load(Folder(), nullptr, nullptr, 0);
  EXPECT_TRUE(p.Unread.empty());
}

TEST(PageCode, ParsesDecimalHexAndRejectsTheRest) {
  uint16_t c = 0;
  EXPECT_TRUE(ParsePageCode("600", &c));
  EXPECT_EQ(c, 600);
  EXPECT_TRUE(ParsePageCode("$0A2C", &c));
  EXPECT_EQ(c, 2604);
  EXPECT_TRUE(ParsePageCode("$1FFFF", &c));  // the low 16 bits are kept
  EXPECT_EQ(c, 0xFFFF);
  EXPECT_TRUE(ParsePageCode("0", &c));
  EXPECT_EQ(c, 0);
  for (const char* bad : {"-1", "abc", "$", "12x", "99999999999", ""})
    EXPECT_FALSE(ParsePageCode(bad, &c)) << bad;
  EXPECT_EQ(FormatPageCode(2604), "$0A2C");
  EXPECT_EQ(FormatPageCode(0x12345 & 0xFFFF), "$2345");
}

TEST_F(PageFolder, SystemPageRoundTripsInItsOwnFormat) {
  Write("book_sys.ini", "[Walls]\r\n$0001\r\n600\r\n\r\n");
  CataloguePages p;
  int32_t legacy = 0;
  p.Load(Folder(), &legacy, nullptr, 0);
  ASSERT_EQ(p.Pages.size(), 1u);
  EXPECT_EQ(p.Pages[0].Name, "Walls");
  EXPECT_EQ(p.Pages[0].Codes, (std::vector<uint16_t>{1, 600}));
  EXPECT_EQ(p.SystemPageNames, (std::vector<std::string>{"Main", "Walls"}));
  ASSERT_TRUE(p.Save(Folder()));
  EXPECT_EQ(Read("book_sys.ini"), "[Walls]\r\n$0001\r\n$0258\r\n\r\n");
  EXPECT_EQ(Read("bookmark.ini"), "");  // rewritten even when empty
}

// The page files are replaced whole, never through a link planted at a
// temporary name beside them; a linked page file stays a link.
TEST_F(PageFolder, SavingFollowsNoPlantedLinkAndKeepsALinkedFile) {
  Write("victim", "precious");
  fs::create_symlink(dir_ / "victim", dir_ / "book_sys.ini.tmp");
  fs::create_symlink(dir_ / "victim", dir_ / "bookmark.ini.tmp");
  fs::create_directory(dir_ / "real");
  fs::create_symlink("real/mine.ini", dir_ / "bookmark.ini");
  CataloguePages p;
  p.AddCode(p.AddPage("Mine"), 7);
  // A link to nothing is refused, never created through...
  std::string error;
  EXPECT_FALSE(p.Save(Folder(), &error));
  EXPECT_NE(error.find("names a file that does not exist"), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(dir_ / "real/mine.ini"));
  // ... a link to a file is written through.
  Write("real/mine.ini", "");
  ASSERT_TRUE(p.Save(Folder()));
  EXPECT_EQ(Read("victim"), "precious");
  EXPECT_TRUE(fs::is_symlink(dir_ / "bookmark.ini"));
  EXPECT_EQ(Read("real/mine.ini"), "[Mine]\r\n$0007\r\n\r\n");
}

TEST_F(PageFolder, UserPagesGoToBookmarkUnlessNamedLikeASystemPage) {
  Write("book_sys.ini", "[Walls]\n$0001\n");
  CataloguePages p;
  p.Load(Folder(), nullptr, nullptr, 0);
  p.AddCode(p.AddPage("Mine"), 7);
  p.AddCode(p.AddPage("Walls"), 8);
  p.AddCode(p.AddPage("Main"), 9);
  ASSERT_TRUE(p.Save(Folder()));
  EXPECT_EQ(Read("bookmark.ini"), "[Mine]\r\n$0007\r\n\r\n");
  EXPECT_EQ(Read("book_sys.ini"),
            "[Walls]\r\n$0001\r\n\r\n[Walls]\r\n$0008\r\n\r\n[Main]\r\n$0009\r\n\r\n");
}

TEST_F(PageFolder, CodesBeforeTheFirstHeaderJoinThePreviousPage) {
  // ... the last page of book_sys.ini,
  Write("book_sys.ini", "[A]\n1\n[B]\n2\n");
  Write("bookmark.ini", "3\n[C]\n4\n");
  CataloguePages p;
  p.Load(Folder(), nullptr, nullptr, 0);
  ASSERT_EQ(p.Pages.size(), 3u);
  EXPECT_EQ(p.Pages[1].Codes, (std::vector<uint16_t>{2, 3}));

  // ... the migrated legacy page when there is no book_sys.ini,
  fs::remove(dir_ / "book_sys.ini");
  int32_t n = 2;
  const uint16_t legacy[] = {10, 11};
  p.Load(Folder(), &n, legacy, 64);
  EXPECT_EQ(n, 0);
  ASSERT_EQ(p.Pages.size(), 2u);
  EXPECT_EQ(p.Pages[0].Name, "Bookmark");
  EXPECT_EQ(p.Pages[0].Codes, (std::vector<uint16_t>{10, 11, 3}));
  EXPECT_EQ(p.SystemPageNames, (std::vector<std::string>{"Main", "Bookmark"}));

  // ... or nowhere.
  p.Load(Folder(), nullptr, nullptr, 0);
  ASSERT_EQ(p.Pages.size(), 1u);
  EXPECT_EQ(p.Pages[0].Name, "C");
}

TEST_F(PageFolder, OddLinesAndLineEnds) {
  // A lone "[" names a page "", "[x" drops its last character, bad and
  // negative codes are skipped, CR-only line ends count as line ends.
  Write("bookmark.ini", "[\r[xy\r-5\rzz\r$10\r\n\n[Last]");
  CataloguePages p;
  p.Load(Folder(), nullptr, nullptr, 0);
  ASSERT_EQ(p.Pages.size(), 3u);
  EXPECT_EQ(p.Pages[0].Name, "");
  EXPECT_EQ(p.Pages[1].Name, "x");
  EXPECT_EQ(p.Pages[1].Codes, (std::vector<uint16_t>{16}));
  EXPECT_EQ(p.Pages[2].Name, "Last");
}

TEST(Pages, AddRemoveAndDeleteKeepPositions) {
  CataloguePages p;
  p.AddPage("one");
  p.AddPage("two");
  p.AddPage("three");
  EXPECT_EQ(p.AddCode(0, 5).duplicates, 0);
  p.AddCode(0, 5);
  const AddCodeResult third = p.AddCode(0, 5);  // two messages, a third copy
  EXPECT_EQ(third.duplicates, 2);
  EXPECT_TRUE(third.added);
  EXPECT_EQ(p.Pages[0].Count(), 3);

  p.DeletePage(1);
  p.AddCode(1, 42);  // the second position now is the former third page
  EXPECT_EQ(p.Pages[1].Name, "three");
  EXPECT_EQ(p.Pages[1].Codes, (std::vector<uint16_t>{42}));

  EXPECT_FALSE(p.RemoveCode(1, 1));
  EXPECT_TRUE(p.RemoveCode(0, 0));
  EXPECT_EQ(p.Pages[0].Count(), 2);
  EXPECT_FALSE(p.RemoveCode(7, 0));
}

TEST(Pages, AFullPageRefusesMoreCodes) {
  CataloguePages p;
  p.AddPage("full");
  std::string text = "[again]\n";
  for (int i = 0; i < kMaxPageCodes + 10; ++i) p.AddCode(0, uint16_t(i));
  EXPECT_EQ(p.Pages[0].Count(), kMaxPageCodes);
  EXPECT_FALSE(p.AddCode(0, 1).added);
  for (int i = 0; i < kMaxPageCodes + 10; ++i) text += "1\n";
  int current = -1;
  p.ReadText(text, &current);
  EXPECT_EQ(p.Pages[1].Count(), kMaxPageCodes);
}

TEST(PagesFind, LowerCaseTextCaseSensitiveNamesStartCellSkipped) {
  const std::vector<std::string> names = {"Wall", "stone wall", "wall", "door"};
  auto at = [&](int i) { return names[size_t(i)]; };
  const std::string text = LowerSearchText("Wall");
  EXPECT_EQ(text, "wall");
  EXPECT_EQ(FindNextName(text, 0, 4, at), 1);
  EXPECT_EQ(FindNextName(text, 1, 4, at), 2);
  EXPECT_EQ(FindNextName(text, 2, 4, at), 1);     // wraps past the end; "Wall" never matches
  EXPECT_EQ(FindNextName("door", 3, 4, at), -1);  // only the start cell matches
  EXPECT_EQ(FindNextName("door", 2, 4, at), 3);
  EXPECT_EQ(FindNextName("x", 0, 0, at), -1);
  EXPECT_EQ(FindNextName("door", 99, 4, at), 3);  // a start outside the list begins at 0
  EXPECT_EQ(LowerSearchText("\xC4X\xD7"), "\xE4x\xD7");
}

}  // namespace
}  // namespace tavi
