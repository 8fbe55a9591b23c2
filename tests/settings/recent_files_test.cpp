// The recent files list and the remembered dialog folders in tavi.ini.
#include "settings/recent_files.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "client/client_files.h"
#include "settings/profile_file.h"
#include "settings/settings.h"

namespace tavi {
namespace {

using test::ReadText;
using test::TempDir;
using test::WriteText;

TEST(RecentFiles, MostRecentFirstWithoutRepeatsAtMostEight) {
  std::vector<std::string> list;
  AddRecentFile(&list, "");
  EXPECT_TRUE(list.empty());
  for (int i = 0; i < 10; ++i) AddRecentFile(&list, "/h/" + std::to_string(i) + ".tav");
  ASSERT_EQ(list.size(), 8u);
  EXPECT_EQ(list.front(), "/h/9.tav");
  EXPECT_EQ(list.back(), "/h/2.tav");
  // Opening one again moves it to the top instead of listing it twice.
  AddRecentFile(&list, "/h/5.tav");
  ASSERT_EQ(list.size(), 8u);
  EXPECT_EQ(list[0], "/h/5.tav");
  EXPECT_EQ(list[1], "/h/9.tav");
  EXPECT_EQ(std::count(list.begin(), list.end(), "/h/5.tav"), 1);
  EXPECT_TRUE(RemoveRecentFile(&list, "/h/5.tav"));
  EXPECT_FALSE(RemoveRecentFile(&list, "/h/5.tav"));
  EXPECT_EQ(list.size(), 7u);
}

// The list and the folders survive a save and a load; an older file without
// the keys reads as empty, and a shorter list leaves no stale entry behind.
TEST(RecentFiles, RoundTripThroughTheSettingsFile) {
  TempDir dir;
  const std::string ini = dir / "tavi.ini";
  WriteText(ini, "[TAVI]\r\nWidth=12\r\nRecentFile3=/old/x.tav\r\nRecentFile4=/old/x.tav\r\n");
  TSettings s = LoadSettings(ini);
  EXPECT_EQ(s.Width, 12);
  ASSERT_EQ(s.RecentFiles, std::vector<std::string>{"/old/x.tav"});  // repeats dropped
  EXPECT_EQ(FolderFor(s, FileKind::kHouse), "");

  s.RecentFiles = {"/a/one.tav", "/b/two.tav"};
  FolderFor(s, FileKind::kHouse) = "/a/";
  FolderFor(s, FileKind::kImage) = "/pictures/";
  ASSERT_TRUE(SaveSettings(ini, s));
  const std::string text = ReadText(ini);
  EXPECT_NE(text.find("RecentFile1=/a/one.tav"), std::string::npos);
  EXPECT_NE(text.find("Width=12"), std::string::npos);
  const TSettings back = LoadSettings(ini);
  EXPECT_EQ(back.RecentFiles, s.RecentFiles);
  EXPECT_EQ(back.HouseFolder, "/a/");
  EXPECT_EQ(back.ImageFolder, "/pictures/");
  EXPECT_EQ(back.ClientFolder, "");

  TSettings cleared = back;
  cleared.RecentFiles.clear();
  ASSERT_TRUE(SaveSettings(ini, cleared));
  EXPECT_TRUE(LoadSettings(ini).RecentFiles.empty());
}

TEST(RecentFiles, FolderOfAChosenPath) {
  EXPECT_EQ(FolderOfPath("/home/u/houses/a.tav"), "/home/u/houses/");
  EXPECT_EQ(FolderOfPath("/home/u/client", true), "/home/u/client/");
  EXPECT_EQ(FolderOfPath("/home/u/client/", true), "/home/u/client/");
  EXPECT_EQ(FolderOfPath("a.tav"), "");
  EXPECT_EQ(FolderOfPath(""), "");
}

}  // namespace
}  // namespace tavi
