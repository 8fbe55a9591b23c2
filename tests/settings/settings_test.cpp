// tavi.ini: the profile file written in place, every key's default and type
// rules, the settings folder and the background map.
#include "settings/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <set>

#include "client/client_files.h"
#include "settings/profile_file.h"

namespace tavi {
namespace {

using test::ReadText;
using test::TempDir;
using test::WriteText;

TEST(ProfileFile, ReadsValuesLikeTheWindowsRoutines) {
  const ProfileFile ini(
      "; comment=1\r\n"
      "[Other]\r\nWidth=99\r\n"
      "  [ tavi ]  \r\n"
      "  width =  12  \r\n"
      "Width=13\r\n"
      "Name=\"C:\\a b\\\"\r\n"
      "Neg=-2147483648\r\nBig=2147483648\r\nHex=0x10\r\nText=12abc\r\nEmpty=\r\n"
      "odd line without equals\r\n=novalue\r\n"
      "[TAVI]\r\nLate=1\r\n");
  EXPECT_EQ(ini.ReadInteger("TAVI", "Width", 8), 12);  // first of a name wins
  EXPECT_EQ(ini.ReadString("TAVI", "Name", ""), "C:\\a b\\");
  EXPECT_EQ(ini.ReadInteger("TAVI", "Neg", 0), INT32_MIN);
  EXPECT_EQ(ini.ReadInteger("TAVI", "Big", 7), 7);
  EXPECT_EQ(ini.ReadInteger("TAVI", "Hex", 7), 7);
  EXPECT_EQ(ini.ReadInteger("TAVI", "Text", 7), 7);
  EXPECT_EQ(ini.ReadInteger("TAVI", "Empty", 7), 7);
  EXPECT_EQ(ini.ReadString("TAVI", "Missing", "def"), "def");
  EXPECT_EQ(ini.ReadString("Nowhere", "Width", "def"), "def");
  EXPECT_EQ(ini.ReadInteger("Other", "Width", 0), 99);
  EXPECT_FALSE(ini.HasKey("TAVI", "Late"));  // only the first section counts
  EXPECT_FALSE(ini.HasKey("", "; comment"));
}

TEST(ProfileFile, WritesInPlaceKeepingEveryOtherByte) {
  const std::string before =
      "; my settings\r\n[Other]\r\nWidth=99\r\n\r\n[TAVI]\r\nwidth=12\r\nUnknown=x\r\n"
      "\r\n[Last]\r\nA=1";
  ProfileFile ini(before);
  ini.WriteInteger("tavi", "Width", 20);
  ini.WriteString("TAVI", "New", "v");
  ini.WriteString("Fresh", "K", "line1\r\nline2");
  EXPECT_EQ(ini.Text(),
            "; my settings\r\n[Other]\r\nWidth=99\r\n\r\n[TAVI]\r\nwidth=20\r\nUnknown=x\r\n"
            "New=v\r\n\r\n[Last]\r\nA=1\r\n[Fresh]\r\nK=line1\r\n");
  // LF files stay LF; a new file gets CR LF.
  ProfileFile lf("[TAVI]\nA=1\n");
  lf.WriteString("TAVI", "B", "2");
  EXPECT_EQ(lf.Text(), "[TAVI]\nA=1\nB=2\n");
  ProfileFile fresh;
  fresh.WriteBool("TAVI", "On", true);
  EXPECT_EQ(fresh.Text(), "[TAVI]\r\nOn=1\r\n");
  // A section that ends the file without a line end.
  ProfileFile tail("[TAVI]\r\nA=1");
  tail.WriteString("TAVI", "B", "2");
  EXPECT_EQ(tail.Text(), "[TAVI]\r\nA=1\r\nB=2\r\n");
}

TEST(ProfileFile, OddBytesAndLongLinesRoundTrip) {
  std::string odd = "\xEF\xBB\xBF[TAVI]\r\n\xFF\xFE=\x80\r\n";
  odd += std::string(1, '\0') + "=zero\n\r\r\n";
  odd += "Long=" + std::string(200000, 'x') + "\r\n";
  ProfileFile ini(odd);
  EXPECT_EQ(ini.Text(), odd);
  EXPECT_EQ(ini.ReadString("TAVI", "Long", "").size(), 200000u);
  ini.WriteInteger("TAVI", "Long", 1);
  EXPECT_EQ(ini.ReadInteger("TAVI", "Long", 0), 1);
}

// The look-ups jump between '[' and '=' rather than walking every line:
// brackets and equals signs in values, comments, a section line with no
// end, and blank lines before the next section keep their meaning.
TEST(ProfileFile, BracketsAndEqualsInOddPlaces) {
  ProfileFile ini(
      "; c=1\r\n[A]\r\nk=1\r\n\r\n[B]\r\nx = [y]\r\n=novalue\r\n  key2 =  v \r\n\r\n\r\n[C]");
  EXPECT_FALSE(ini.HasKey("A", "c"));
  EXPECT_EQ(ini.ReadString("A", "k", "-"), "1");
  EXPECT_EQ(ini.ReadString("b", "X", "-"), "[y]");
  EXPECT_EQ(ini.ReadString("B", "key2", "-"), "v");
  EXPECT_EQ(ini.ReadString("B", "k", "-"), "-");
  ini.WriteString("B", "new", "z");
  ini.WriteString("C", "c", "1");
  ini.WriteString("A", "k", "2");
  EXPECT_EQ(ini.Text(),
            "; c=1\r\n[A]\r\nk=2\r\n\r\n[B]\r\nx = [y]\r\n=novalue\r\n  key2 =  v \r\nnew=z\r\n"
            "\r\n\r\n[C]\r\nc=1\r\n");
  // 16 MB of line ends: the keys go in after them, whole.
  std::string big(ProfileFile::kMaxFileSize - 64, '\n');
  ProfileFile large(big);
  WriteSettings(large, TSettings());
  const std::string text = large.Text();
  EXPECT_EQ(text.compare(0, big.size(), big), 0);
  EXPECT_EQ(text.compare(big.size(), 7, "[TAVI]\n"), 0);
  EXPECT_EQ(ReadSettings(large).Width, 8);
}

TEST(ProfileFile, SaveReplacesTheFileWhole) {
  TempDir dir;
  const std::string path = dir / "x.ini";
  ProfileFile ini("[S]\r\nK=1\r\n");
  std::string error;
  ASSERT_TRUE(ini.Save(path, &error)) << error;
  EXPECT_EQ(ReadText(path), "[S]\r\nK=1\r\n");
  // Only the file itself remains: no temporary left behind.
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.str()))
    files += bool(e.path().filename().string().size());
  EXPECT_EQ(files, 1);
  // A folder that does not exist: an error, not a crash.
  EXPECT_FALSE(ini.Save(dir / "no/such/x.ini", &error));
  EXPECT_NE(error.find("no/such"), std::string::npos);
  // A missing file loads as empty; a folder does not load.
  ProfileFile other;
  EXPECT_TRUE(other.Load(dir / "missing.ini"));
  EXPECT_EQ(other.Text(), "");
  EXPECT_FALSE(other.Load(dir.str()));
}

TEST(Settings, DefaultsWithoutAFile) {
  TempDir dir;
  const TSettings s = LoadSettings(dir / "tavi.ini");
  EXPECT_EQ(s.ArtIdx, "");
  EXPECT_EQ(s.Width, 8);
  EXPECT_EQ(s.Height, 8);
  EXPECT_FALSE(s.isStayOnTop);
  EXPECT_EQ(s.JpegQuality, 2);
  EXPECT_EQ(s.Language, 0);
  EXPECT_EQ(s.nBookmark, 0);
  EXPECT_EQ(s.LineWidth, 76);
  EXPECT_FALSE(s.isLargeBG);
  EXPECT_EQ(s.BGType, 0);
  EXPECT_FALSE(s.UpdateCheck);
  EXPECT_EQ(s.LastCheck, 0);
  EXPECT_EQ(s.LastAccount, 0);
  EXPECT_EQ(s.UpdateURL, "");
  EXPECT_EQ(s.Zoom, 1.0);
}

// A tavi.ini that is there but cannot be read whole gives the defaults with
// the reason, and the save at exit leaves it as it was.
TEST(Settings, AnUnreadableFileGivesDefaultsWithItsReasonAndStays) {
  TempDir dir;
  const std::string path = dir / "tavi.ini";
  std::string big = "[TAVI]\r\nWidth=12\r\n";
  big.resize(ProfileFile::kMaxFileSize + 1, '\n');
  WriteText(path, big);
  std::string problem;
  EXPECT_EQ(LoadSettings(path, &problem).Width, 8);
  EXPECT_EQ(problem, path + ": it is larger than 16 MB");
  TSettings s;
  s.Width = 20;
  EXPECT_FALSE(SaveSettings(path, s));
  EXPECT_EQ(std::filesystem::file_size(path), big.size());

  std::filesystem::remove(path);
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  problem.clear();
  LoadSettings(path, &problem);
  EXPECT_EQ(problem, path + ": it is not a regular file");
  EXPECT_FALSE(SaveSettings(path, s));
  EXPECT_TRUE(std::filesystem::is_fifo(path));

  problem.clear();
  LoadSettings(dir / "missing.ini", &problem);
  EXPECT_EQ(problem, "");
}

TEST(Settings, RoundTripKeepsForeignLines) {
  TempDir dir;
  const std::string path = dir / "tavi.ini", art = dir / "art.mul";
  WriteText(art, "x");
  WriteText(
      path,
      "; written by hand\r\n[TAVI]\r\nArt=" + art +
          "\r\nLanguage=7\r\nisStayOnTop=5\r\n"
          "Width=bad\r\nnBookmark=3\r\nBookmarkCode00=1305\r\nBookmarkCode01=70000\r\n"
          "BookmarkCode02=-1\r\nBookmarkCode03=9\r\nMystery=keep me\r\n\r\n[Window]\r\nLeft=3\r\n");
  TSettings s = LoadSettings(path);
  EXPECT_EQ(s.Art, art);
  EXPECT_EQ(s.Language, 7);
  EXPECT_TRUE(s.isStayOnTop);
  EXPECT_EQ(s.Width, 8);
  EXPECT_EQ(s.nBookmark, 3);
  EXPECT_EQ(s.BookmarkCodes[0], 1305);
  EXPECT_EQ(s.BookmarkCodes[1], 0);  // out of range codes read as 0
  EXPECT_EQ(s.BookmarkCodes[2], 0);
  EXPECT_EQ(s.BookmarkCodes[3], 0);  // past nBookmark: not read

  // The catalogue has taken the codes over.
  s.nBookmark = 0;
  s.Width = 16;
  s.HomeURL = "http://home.test/";
  ASSERT_TRUE(SaveSettings(path, s));
  EXPECT_EQ(ReadText(path),
            "; written by hand\r\n[TAVI]\r\nArt=" + art +
                "\r\nLanguage=7\r\nisStayOnTop=1\r\n"
                "Width=16\r\nnBookmark=0\r\nBookmarkCode00=1305\r\nBookmarkCode01=70000\r\n"
                "BookmarkCode02=-1\r\nBookmarkCode03=9\r\nMystery=keep me\r\n"
                "ArtIdx=\r\nTileData=\r\nMultiIdx=\r\nMulti=\r\nHeight=8\r\nJpegQuality=2\r\n"
                "LineWidth=76\r\nisLargeBG=0\r\nBGType=0\r\nUpdateCheck=0\r\nLastCheck=0\r\n"
                "LastAccount=0\r\nLastShard=0\r\nLastChar=0\r\nHomeURL=http://home.test/\r\n"
                "\r\n[Window]\r\nLeft=3\r\n");
  const TSettings again = LoadSettings(path);
  EXPECT_EQ(again.Width, 16);
  EXPECT_EQ(again.Language, 7);
  EXPECT_EQ(again.HomeURL, "http://home.test/");
}

TEST(Settings, NewFileHoldsEveryKeyInOrder) {
  TempDir dir;
  TSettings s;
  s.nBookmark = 2;
  s.BookmarkCodes[0] = 5;
  s.BookmarkCodes[1] = 65535;
  s.LastAccount = -1;
  ASSERT_TRUE(SaveSettings(dir / "tavi.ini", s));
  EXPECT_EQ(ReadText(dir / "tavi.ini"),
            "[TAVI]\r\nArtIdx=\r\nArt=\r\nTileData=\r\nMultiIdx=\r\nMulti=\r\nWidth=8\r\n"
            "Height=8\r\nisStayOnTop=0\r\nJpegQuality=2\r\nLanguage=0\r\nnBookmark=2\r\n"
            "BookmarkCode00=5\r\nBookmarkCode01=65535\r\nLineWidth=76\r\nisLargeBG=0\r\n"
            "BGType=0\r\nUpdateCheck=0\r\nLastCheck=0\r\nLastAccount=-1\r\nLastShard=0\r\n"
            "LastChar=0\r\n");
  EXPECT_EQ(LoadSettings(dir / "tavi.ini").BookmarkCodes[1], 65535);
}

// A start that found no client leaves the bare file names; stored, they would
// stop every later start from looking for the client. A path that names
// something is stored as it is.
TEST(Settings, ClientPathsThatNameNothingAreStoredEmpty) {
  TempDir dir;
  const std::string art = dir / "art.mul";
  WriteText(art, "x");
  std::filesystem::create_directories(dir / "client");
  TSettings s;
  s.ArtIdx = "artidx.mul";
  s.Art = art;
  s.TileData = dir / "moved/tiledata.mul";
  s.MultiIdx = dir / "client";
  s.Multi = "multi.mul";
  ASSERT_TRUE(SaveSettings(dir / "tavi.ini", s));
  const TSettings back = LoadSettings(dir / "tavi.ini");
  EXPECT_EQ(back.ArtIdx, "");
  EXPECT_EQ(back.Art, art);
  EXPECT_EQ(back.TileData, "");
  EXPECT_EQ(back.MultiIdx, dir / "client");
  EXPECT_EQ(back.Multi, "");
  EXPECT_EQ(s.ArtIdx, "artidx.mul");  // the settings in memory stay as they are
}

TEST(Settings, BookmarkCountIsBounded) {
  TempDir dir;
  std::string text = "[TAVI]\nnBookmark=1000\n";
  for (int i = 0; i < 100; ++i)
    text += "BookmarkCode" + std::string(i < 10 ? "0" : "") + std::to_string(i) + "=" +
            std::to_string(i + 1) + "\n";
  WriteText(dir / "a.ini", text);
  TSettings s = LoadSettings(dir / "a.ini");
  EXPECT_EQ(s.nBookmark, 64);
  EXPECT_EQ(s.BookmarkCodes[63], 64);
  WriteText(dir / "b.ini", "[TAVI]\nnBookmark=-5\n");
  EXPECT_EQ(LoadSettings(dir / "b.ini").nBookmark, 0);
  // A count beyond the codes held is never written.
  s.nBookmark = 500;
  ASSERT_TRUE(SaveSettings(dir / "c.ini", s));
  EXPECT_EQ(LoadSettings(dir / "c.ini").nBookmark, 64);
}

TEST(Settings, FolderBesideTheProgramOrInTheConfigFolder) {
  TempDir dir;
  const std::string exe = dir / "bin";
  std::filesystem::create_directories(exe);
  const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = oldXdg ? oldXdg : "";
  ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  EXPECT_EQ(SettingsFolder(exe), dir / "config/tavi/");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "config/tavi"));
  WriteText(exe + "/tavi.ini", "");
  EXPECT_EQ(SettingsFolder(exe), exe + "/");

  // A FIFO or a file where the settings folder belongs is reported, and
  // nothing goes beside the program unless a tavi.ini is there already.
  std::filesystem::remove(exe + "/tavi.ini");
  ::setenv("XDG_CONFIG_HOME", (dir / "taken").c_str(), 1);
  std::filesystem::create_directories(dir / "taken");
  ASSERT_EQ(::mkfifo((dir / "taken/tavi").c_str(), 0600), 0);
  std::string problem;
  EXPECT_EQ(SettingsFolder(exe, &problem), "");
  EXPECT_NE(problem.find("taken/tavi' is not a folder"), std::string::npos) << problem;
  std::filesystem::remove(dir / "taken/tavi");
  WriteText(dir / "taken/tavi", "a file");
  problem.clear();
  EXPECT_EQ(SettingsFolder(exe, &problem), "");
  EXPECT_NE(problem.find("is not a folder"), std::string::npos) << problem;
  EXPECT_TRUE(std::filesystem::is_empty(exe));
  if (oldXdg)
    ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  else
    ::unsetenv("XDG_CONFIG_HOME");
}

TEST(BackgroundMap, GroundTypes) {
  const std::pair<int, std::pair<int, int>> plain[] = {
      {0, {3, 6}}, {1, {22, 25}}, {2, {113, 120}}, {3, {172, 175}}, {4, {282, 285}}};
  for (const auto& [type, range] : plain) {
    TBackgroundMap map{};
    FillBackgroundMap(map, type, 1);
    std::set<int> seen;
    for (const auto& row : map)
      for (uint16_t id : row) seen.insert(id);
    EXPECT_EQ(*seen.begin(), range.first) << type;
    EXPECT_EQ(*seen.rbegin(), range.second) << type;
    EXPECT_EQ(int(seen.size()), range.second - range.first + 1) << type;
  }
  // Swamp: water 1 in 16, reeds 1 in 16 of the rest, marsh otherwise.
  TBackgroundMap map{};
  FillBackgroundMap(map, 5, 7);
  int water = 0, reeds = 0, marsh = 0;
  for (const auto& row : map)
    for (uint16_t id : row) {
      if (id >= 29260 && id <= 29261)
        ++water;
      else if (id >= 29238 && id <= 29259)
        ++reeds;
      else if (id >= 29290 && id <= 29295)
        ++marsh;
      else
        ADD_FAILURE() << id;
    }
  EXPECT_NEAR(water, 16384 / 16, 150);
  EXPECT_NEAR(reeds, 16384 * 15 / 256, 150);
  EXPECT_EQ(water + reeds + marsh, 16384);
  // The same seed gives the same map; unknown types leave it alone.
  TBackgroundMap again{};
  FillBackgroundMap(again, 5, 7);
  EXPECT_EQ(map, again);
  TBackgroundMap zero{};
  FillBackgroundMap(zero, 6, 1);
  FillBackgroundMap(zero, -1, 1);
  EXPECT_EQ(zero, TBackgroundMap{});
}

}  // namespace
}  // namespace tavi
