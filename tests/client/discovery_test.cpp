// Finding the client: Wine registry files written by the tests, the usual
// folders, and case-insensitive file names.
#include "client/discovery.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "client/paths.h"
#include "client_files.h"
#include "settings/settings.h"

namespace tavi {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WriteText;

const char kHeader[] =
    "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n";

// A Wine prefix with a client folder in it.
class Discovery : public ::testing::Test {
 protected:
  TempDir dir;
  std::string prefix = dir / "prefix";

  void SetUp() override {
    fs::create_directories(prefix + "/drive_c/Program Files/UO Game");
    fs::create_directories(prefix + "/drive_c/Games/EA UO");
    for (const char* f : {"artidx.mul", "art.mul", "tiledata.mul", "multi.idx", "multi.mul"}) {
      WriteText(prefix + "/drive_c/Program Files/UO Game/" + f, "x");
    }
    WriteText(prefix + "/drive_c/Games/EA UO/TileData.MUL", "x");
  }
  std::unique_ptr<WineRegistry> Registry(const std::string& body) {
    WriteText(prefix + "/system.reg", kHeader + body);
    return WineRegistry::Load(prefix);
  }
  TSettings Discover(const std::string& body, const std::vector<std::string>& usual = {}) {
    TSettings s;
    auto reg = Registry(body);
    DiscoverClient(s, reg.get(), usual);
    return s;
  }
  std::string uo() const { return prefix + "/drive_c/Program Files/UO Game/"; }
};

const char kFirstKey[] =
    "[Software\\\\Origin Worlds Online\\\\Ultima Online\\\\1.0] 1700000000\n"
    "#time=1d9\n"
    "\"StartExePath\"=\"C:\\\\program files\\\\uo game\\\\client.exe\"\n";
const char kSecondKey[] =
    "[Software\\\\Origin Worlds Online\\\\Ultima Online Third Dawn\\\\1.0] 1700000000\n"
    "\"StartExePath\"=\"C:\\\\Program Files\\\\UO Game\\\\uotd.exe\"\n";
const char kEaGames[] =
    "[Software\\\\Electronic Arts\\\\EA Games\\\\Other Game] 1\n\"InstallDir\"=\"C:\\\\Nope\"\n"
    "[Software\\\\Electronic Arts\\\\EA Games\\\\ultima online lower] 1\n"
    "\"InstallDir\"=\"C:\\\\Nope\"\n"
    "[Software\\\\Electronic Arts\\\\EA Games\\\\Ultima Online Classic] 1\n"
    "\"InstallDir\"=\"C:\\\\Games\\\\EA UO\\\\\"\n"
    "[Software\\\\Electronic Arts\\\\EA Games\\\\Ultima Online Later] 1\n"
    "\"InstallDir\"=\"C:\\\\Program Files\\\\UO Game\"\n";

TEST_F(Discovery, ClientKeysComeFirst) {
  TSettings s = Discover(std::string(kFirstKey) + kSecondKey + kEaGames);
  EXPECT_EQ(s.ClientDir, uo());  // matched to the folders' own case
  EXPECT_EQ(s.ArtIdx, uo() + "artidx.mul");
  EXPECT_EQ(s.Art, uo() + "art.mul");
  EXPECT_EQ(s.TileData, uo() + "tiledata.mul");
  EXPECT_EQ(s.MultiIdx, uo() + "multi.idx");
  EXPECT_EQ(s.Multi, uo() + "multi.mul");
  EXPECT_TRUE(ClientFilesPresent(s));

  s = Discover(std::string(kSecondKey) + kEaGames);
  EXPECT_EQ(s.ClientDir, uo());
}

TEST_F(Discovery, EaGamesFirstMatchingSubkey) {
  // The lower-case name does not match; the first match wins even though a
  // later one names the other folder. InstallDir ends in a backslash.
  TSettings s = Discover(kEaGames);
  EXPECT_EQ(s.ClientDir, prefix + "/drive_c/Games/EA UO/");
  EXPECT_EQ(s.TileData, prefix + "/drive_c/Games/EA UO/TileData.MUL");
  EXPECT_TRUE(fs::exists(s.TileData));
  EXPECT_EQ(s.ArtIdx, prefix + "/drive_c/Games/EA UO/artidx.mul");  // not there: as named
  std::vector<std::string> missing;
  EXPECT_FALSE(ClientFilesPresent(s, &missing));
  EXPECT_EQ(missing, (std::vector<std::string>{s.ArtIdx, s.Art}));
}

TEST_F(Discovery, SettingsPathsAreNeverOverwritten) {
  fs::create_directories(dir / "mine");
  for (const char* f : {"a", "b", "c", "d", "e"}) WriteText(dir / "mine" + "/" + f, "x");
  TSettings s;
  s.ArtIdx = dir / "mine/a";
  s.Art = dir / "mine/b";
  s.TileData = dir / "mine/c";
  s.MultiIdx = dir / "mine/d";
  s.Multi = dir / "mine";  // a folder is something: it is reported, not replaced
  auto reg = Registry(kFirstKey);
  DiscoverClient(s, reg.get(), {});
  EXPECT_EQ(s.ClientDir, uo());
  EXPECT_EQ(s.ArtIdx, dir / "mine/a");
  EXPECT_EQ(s.Multi, dir / "mine");
  s.Art.clear();
  DiscoverClient(s, reg.get(), {});
  EXPECT_EQ(s.Art, uo() + "art.mul");
  EXPECT_EQ(s.TileData, dir / "mine/c");
}

// A start that found no client stored the bare names (or the client has
// moved since): such paths name nothing, and a client installed later is
// found as if they were empty.
TEST_F(Discovery, StoredPathsThatNameNothingAreCompletedLikeEmptyOnes) {
  TSettings s;
  DiscoverClient(s, nullptr, {});
  ASSERT_EQ(s.ArtIdx, "artidx.mul");
  s.TileData = dir / "old-client/tiledata.mul";
  DiscoverClient(s, nullptr, {uo()});
  EXPECT_EQ(s.ClientDir, uo());
  EXPECT_EQ(s.ArtIdx, uo() + "artidx.mul");
  EXPECT_EQ(s.TileData, uo() + "tiledata.mul");
  EXPECT_EQ(s.Multi, uo() + "multi.mul");
  EXPECT_TRUE(ClientFilesPresent(s));
}

TEST_F(Discovery, AClientFolderGivenByNameFillsEveryPath) {
  TSettings s;
  s.Art = dir / "elsewhere/art.mul";
  UseClientFolder(s, prefix + "/drive_c/Games/EA UO");
  EXPECT_EQ(s.ClientDir, prefix + "/drive_c/Games/EA UO/");
  EXPECT_EQ(s.TileData, prefix + "/drive_c/Games/EA UO/TileData.MUL");
  EXPECT_EQ(s.Art, prefix + "/drive_c/Games/EA UO/art.mul");  // as named when absent
}

TEST_F(Discovery, NoClientGivesBareNamesUnlessAUsualFolderHasIt) {
  TSettings s = Discover("[Software\\\\Other] 1\n");
  EXPECT_EQ(s.ClientDir, "");
  EXPECT_EQ(s.ArtIdx, "artidx.mul");
  EXPECT_EQ(s.Art, "art.mul");
  EXPECT_EQ(s.TileData, "tiledata.mul");
  EXPECT_EQ(s.MultiIdx, "multi.idx");
  EXPECT_EQ(s.Multi, "multi.mul");
  TSettings none;
  DiscoverClient(none, nullptr, {});
  EXPECT_EQ(none.TileData, "tiledata.mul");

  // The usual folders are tried in order; only one with tiledata.mul counts.
  s = Discover("", {dir / "missing", prefix + "/drive_c", prefix + "/drive_c/Games/EA UO"});
  EXPECT_EQ(s.ClientDir, prefix + "/drive_c/Games/EA UO/");
  // A client key whose program path is empty names no folder either.
  s = Discover("[Software\\\\Origin Worlds Online\\\\Ultima Online\\\\1.0]\n", {uo()});
  EXPECT_EQ(s.ClientDir, uo());
}

// A newer client: the art and multi containers instead of the loose pairs.
TEST_F(Discovery, ContainersStandInForMissingLoosePairs) {
  const std::string packed = prefix + "/drive_c/Program Files/UO Packed/";
  fs::create_directories(packed);
  WriteText(packed + "tiledata.mul", "x");
  WriteText(packed + "ArtLegacyMUL.uop", "x");
  WriteText(packed + "multicollection.UOP", "x");
  TSettings s = Discover("", {packed});
  EXPECT_EQ(s.ClientDir, packed);
  EXPECT_EQ(s.Art, packed + "ArtLegacyMUL.uop");
  EXPECT_EQ(s.Multi, packed + "multicollection.UOP");
  EXPECT_EQ(s.ArtIdx, packed + "artidx.mul");  // named as before, not needed
  EXPECT_EQ(s.MultiIdx, packed + "multi.idx");
  EXPECT_EQ(ClientFileKindOf(s.Art), ClientFileKind::kContainer);
  EXPECT_EQ(ClientFileKindOf(s.ArtIdx), ClientFileKind::kAbsent);
  EXPECT_EQ(ClientFileKindOf(s.TileData), ClientFileKind::kLoose);
  std::vector<std::string> missing;
  EXPECT_TRUE(ClientFilesPresent(s, &missing));
  EXPECT_TRUE(missing.empty());

  // Where the loose pair is whole it wins, so stored paths keep their meaning;
  // half a pair does not.
  WriteText(packed + "Art.mul", "x");
  WriteText(packed + "artidx.MUL", "x");
  WriteText(packed + "multi.mul", "x");
  s = Discover("", {packed});
  EXPECT_EQ(s.Art, packed + "Art.mul");
  EXPECT_EQ(s.ArtIdx, packed + "artidx.MUL");
  EXPECT_EQ(s.Multi, packed + "multicollection.UOP");

  // A folder taken as it is (tavi-cli --client) reads the same way.
  TSettings folder;
  UseClientFolder(folder, packed);
  EXPECT_EQ(folder.Art, packed + "Art.mul");
  EXPECT_EQ(folder.Multi, packed + "multicollection.UOP");
  // Paths the settings give stay while they name something.
  TSettings given;
  given.Multi = packed + "multi.mul";
  given.Art = packed + "gone.mul";
  DiscoverClient(given, nullptr, {packed});
  EXPECT_EQ(given.Multi, packed + "multi.mul");
  EXPECT_EQ(given.Art, packed + "Art.mul");
  TSettings bare;
  DiscoverClient(bare, nullptr, {});
  EXPECT_EQ(bare.Art, "art.mul");
  EXPECT_EQ(bare.Multi, "multi.mul");
}

TEST_F(Discovery, StartupCheckWithAContainer) {
  const std::string packed = dir / "packed/";
  fs::create_directories(packed);
  WriteText(packed + "tiledata.mul", "x");
  WriteText(packed + "art.mul", "x");
  WriteText(packed + "artLegacyMUL.uop", "x");
  TSettings s;
  s.TileData = packed + "tiledata.mul";
  s.Art = packed + "artLegacyMUL.uop";
  EXPECT_TRUE(ClientFilesPresent(s));  // no index needed
  // A loose art.mul still needs its index.
  s.Art = packed + "art.mul";
  std::vector<std::string> missing;
  EXPECT_FALSE(ClientFilesPresent(s, &missing));
  EXPECT_EQ(missing, (std::vector<std::string>{"artidx.mul"}));
  // A container that is not there is missing like any file.
  s.Art = packed + "gone.uop";
  missing.clear();
  EXPECT_FALSE(ClientFilesPresent(s, &missing));
  EXPECT_EQ(missing, (std::vector<std::string>{"artidx.mul", packed + "gone.uop"}));
  EXPECT_STREQ(ClientFileKindName(ClientFileKindOf(packed + "gone.uop")), "absent");
  EXPECT_STREQ(ClientFileKindName(ClientFileKindOf(packed)), "absent");  // a folder
  EXPECT_STREQ(ClientFileKindName(ClientFileKindOf(packed + "art.mul")), "loose");
  EXPECT_STREQ(ClientFileKindName(ClientFileKindOf(packed + "artLegacyMUL.uop")), "container");
}

// Art paths typed by hand with the multi paths left empty or as the bare
// names a start without a client left: the multi files beside the art are
// found, loose pair or container, and the cache import looks there too.
TEST_F(Discovery, MultiPathsFollowTheArtFolder) {
  const std::string copied = dir / "copied/";
  fs::create_directories(copied);
  for (const char* f : {"ArtIdx.mul", "Art.mul", "TileData.mul", "MULTI.IDX", "Multi.mul"})
    WriteText(copied + f, "x");
  TSettings s;
  DiscoverClient(s, nullptr, {});  // nothing found: bare names
  s.ArtIdx = copied + "ArtIdx.mul";
  s.Art = copied + "Art.mul";
  s.TileData = copied + "TileData.mul";
  CompleteFromArtFolder(s);
  EXPECT_EQ(s.MultiIdx, copied + "MULTI.IDX");
  EXPECT_EQ(s.Multi, copied + "Multi.mul");
  EXPECT_EQ(s.ClientDir, copied);

  // A multi path that names a file stays; only the missing one is completed,
  // from the container where the loose pair is not whole.
  const std::string packed = dir / "packed2/";
  fs::create_directories(packed);
  WriteText(packed + "art.mul", "x");
  WriteText(packed + "multicollection.uop", "x");
  TSettings p;
  p.Art = packed + "art.mul";
  p.MultiIdx = copied + "MULTI.IDX";
  p.ClientDir = uo();
  CompleteFromArtFolder(p);
  EXPECT_EQ(p.MultiIdx, copied + "MULTI.IDX");
  EXPECT_EQ(p.Multi, packed + "multicollection.uop");
  EXPECT_EQ(p.ClientDir, uo());  // an existing client folder is kept

  // Without any art file nothing changes.
  TSettings none;
  none.Art = dir / "gone/art.mul";
  CompleteFromArtFolder(none);
  EXPECT_EQ(none.Multi, "");
  EXPECT_EQ(none.ClientDir, "");
}

TEST_F(Discovery, UsualFoldersInsideThePrefixes) {
  fs::create_directories(prefix +
                         "/drive_c/program files (x86)/electronic arts/ultima online classic");
  fs::create_directories(dir / "home/.wine/drive_c/Program Files/Ultima Online");
  const auto folders = UsualClientFolders(prefix, dir / "home");
  ASSERT_EQ(folders.size(), 2u);
  EXPECT_EQ(folders[0],
            prefix + "/drive_c/program files (x86)/electronic arts/ultima online classic/");
  EXPECT_EQ(folders[1], dir / "home/.wine/drive_c/Program Files/Ultima Online/");
}

TEST_F(Discovery, WineRegistrySyntax) {
  auto reg = Registry(
      "[Software\\\\Wow6432Node\\\\Vendor\\\\App] 1\n\"Where\"=\"32-bit view\"\n"
      "[Software\\\\Vendor\\\\App] 1\n\"Where\"=\"64-bit view\"\n"
      "[Software\\\\Esc] 1\n"
      "\"Quote\"=\"say \\\"hi\\\"\"\n"
      "\"Wide\"=\"caf\\x00e9 \\x65e5\"\n"
      "\"Expand\"=str(2):\"%SystemRoot%\"\n"
      "\"Number\"=dword:00000001\n"
      "\"Binary\"=hex:01,02,\\\n  03,04\n"
      "@=\"default\"\n"
      "\"Broken=\"no end\n"
      "\"NoEquals\" \"x\"\n"
      "[Unclosed\\\\Key\n"
      "\"Orphan\"=\"lost\"\n"
      "[Software\\\\Esc\\\\Zeta] 1\n[Software\\\\Esc\\\\alpha] "
      "1\n[SOFTWARE\\\\ESC\\\\ZETA\\\\Deep] 1\n");
  ASSERT_TRUE(reg);
  std::string v;
  EXPECT_TRUE(reg->ReadString("Software\\Vendor\\App", "where", &v));
  EXPECT_EQ(v, "32-bit view");  // the client is a 32-bit program
  EXPECT_TRUE(reg->ReadString("software\\esc", "QUOTE", &v));
  EXPECT_EQ(v, "say \"hi\"");
  EXPECT_TRUE(reg->ReadString("Software\\Esc", "Wide", &v));
  EXPECT_EQ(v, "caf\xC3\xA9 \xE6\x97\xA5");
  EXPECT_TRUE(reg->ReadString("Software\\Esc", "Expand", &v));
  EXPECT_EQ(v, "%SystemRoot%");
  EXPECT_TRUE(reg->ReadString("Software\\Esc", "", &v));
  EXPECT_EQ(v, "default");
  EXPECT_FALSE(reg->ReadString("Software\\Esc", "Number", &v));
  EXPECT_FALSE(reg->ReadString("Software\\Esc", "Binary", &v));
  EXPECT_FALSE(reg->ReadString("Software\\Esc", "Broken", &v));
  EXPECT_FALSE(reg->ReadString("Software\\Esc", "Orphan", &v));
  EXPECT_FALSE(reg->ReadString("Software\\Missing", "Quote", &v));
  EXPECT_TRUE(reg->OpenKey("Software"));  // keys without a section of their own
  EXPECT_FALSE(reg->OpenKey("Software\\Esc\\Nope"));
  EXPECT_EQ(reg->SubkeyNames("Software\\Esc"), (std::vector<std::string>{"Zeta", "alpha"}));
  EXPECT_EQ(reg->SubkeyNames("Software\\Esc\\zeta"), (std::vector<std::string>{"Deep"}));
  EXPECT_TRUE(reg->SubkeyNames("Nope").empty());

  EXPECT_EQ(WineRegistry::Load(dir / "no-prefix"), nullptr);
  const std::string junk = std::string("[\\\n\"\\x\n[]\n\"a\"=\"\\\n@\n@=\n\"\\x") +
                           std::string(5, '\0') + "\xD8\x3D\n[\\\\]\n\"b\"=\"\\xD800\"";
  WineRegistry garbage(junk, prefix);
  EXPECT_FALSE(garbage.OpenKey("x"));
}

TEST_F(Discovery, WindowsPathsInThePrefix) {
  fs::create_directories(prefix + "/dosdevices");
  fs::create_directories(dir / "elsewhere/Data");
  fs::create_symlink(dir / "elsewhere", prefix + "/dosdevices/d:");
  EXPECT_EQ(WindowsToPrefixPath(prefix, "C:\\PROGRAM FILES\\uo game\\"), uo());
  EXPECT_EQ(WindowsToPrefixPath(prefix, "c:\\Program Files\\New\\x.exe"),
            prefix + "/drive_c/Program Files/New/x.exe");
  EXPECT_EQ(WindowsToPrefixPath(prefix, "D:\\data\\"), prefix + "/dosdevices/d:/Data/");
  EXPECT_EQ(WindowsToPrefixPath(prefix, "C:\\..\\..\\Games\\"), prefix + "/drive_c/Games/");
  EXPECT_EQ(WindowsToPrefixPath(prefix, "C:"), prefix + "/drive_c/");
  EXPECT_EQ(WindowsToPrefixPath(prefix, "Q:\\x"), "");
  EXPECT_EQ(WindowsToPrefixPath(prefix, "\\\\server\\share\\x"), "");
}

TEST(Paths, FindCaseInsensitive) {
  TempDir dir;
  fs::create_directories(dir / "desktop");
  WriteText(dir / "Multicache.dat", "");
  WriteText(dir / "A.txt", "");
  WriteText(dir / "a.txt", "");
  EXPECT_EQ(FindCaseInsensitive(dir.str(), "Desktop"), dir / "desktop");
  EXPECT_EQ(FindCaseInsensitive(dir.str(), "MULTICACHE.DAT"), dir / "Multicache.dat");
  EXPECT_EQ(FindCaseInsensitive(dir.str(), "a.txt"), dir / "a.txt");  // exact wins
  EXPECT_EQ(FindCaseInsensitive(dir.str(), "A.TXT"), dir / "A.txt");  // else name order
  EXPECT_EQ(FindCaseInsensitive(dir.str(), "none"), "");
  EXPECT_EQ(FindCaseInsensitive(dir.str(), ".."), "");
  EXPECT_EQ(FindCaseInsensitive(dir / "missing", "x"), "");
  EXPECT_EQ(ResolveCaseInsensitive(dir.str(), "DESKTOP/"), dir / "desktop");
  EXPECT_EQ(ResolveCaseInsensitive(dir.str(), "desktop/x"), "");
}

}  // namespace
}  // namespace tavi
