// tavi-cli as a new user meets it: unknown options, odd things at --out and
// as input, cached houses numbered as listed, the render's zoom range and
// JPEG quality, and messages that give the reason.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/cli_run.h"
#include "support/demo_client.h"

namespace tavi {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void Put(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

class Scratch {
 public:
  Scratch() {
    std::string templ = (fs::temp_directory_path() / "tavi-cli-faults-XXXXXX").string();
    path_ = ::mkdtemp(&templ[0]) ? templ : std::string();
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

using CliResult = test::CliRun;
using Args = std::vector<std::string>;

// tavi-cli with the arguments, on empty input unless `options` say otherwise.
CliResult Cli(const Args& args, const test::CliOptions& options = test::CliOptions()) {
  return test::RunCli(args, options);
}

// Standard input opened from a path.
test::CliOptions StdinFrom(const std::string& path) {
  test::CliOptions options;
  options.stdinPath = path;
  return options;
}

int Lines(const std::string& s) {
  return test::LineCount(s);
}

const char kHouse[] = "\"TAVI File ver 1.00\",3,2,7\r\n0,0,0,0,102\r\n1,2,1,3,1234\r\n";

TEST(CliFaults, AnUnknownOptionIsWrongUsageWithTheUsageLine) {
  Scratch dir;
  Put(dir / "x.tav", kHouse);
  const CliResult r = Cli({"info", "--nosuchflag", dir / "x.tav"});
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(Lines(r.err), 1) << r.err;
  EXPECT_NE(r.err.find("--nosuchflag"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("tavi-cli info FILE.tav"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
  // A flag of another command is unknown here too; --help and --client are everyone's.
  EXPECT_EQ(Cli({"info", "--night", dir / "x.tav"}).code, 2);
  EXPECT_EQ(Cli({"clip-import", "--out", dir / "y.tav", "--frobnicate"}).code, 2);
  EXPECT_FALSE(fs::exists(dir / "y.tav"));
  EXPECT_EQ(Cli({"info", "--help"}).code, 0);
  EXPECT_EQ(Cli({"info", dir / "x.tav", "--client", dir / "none"}).code, 0);
}

// A flag given a value and an option given twice have no one meaning: wrong
// usage with the usage line, and nothing is written.
TEST(CliFaults, AFlagWithAValueAndARepeatedOptionAreWrongUsage) {
  Scratch dir;
  Put(dir / "x.tav", kHouse);
  for (const Args& args :
       {Args{"render", "--night=no", "--out", dir / "p.png", dir / "x.tav"},
        Args{"render", "--out", dir / "p.png", "--out", dir / "q.png", dir / "x.tav"},
        Args{"render", "--zoom=1", "--zoom", "2", "--out", dir / "p.png", dir / "x.tav"}}) {
    const CliResult r = Cli(args);
    EXPECT_EQ(r.code, 2) << args[1];
    EXPECT_EQ(Lines(r.err), 1) << r.err;
    EXPECT_NE(r.err.find("usage: tavi-cli render"), std::string::npos) << r.err;
  }
  EXPECT_FALSE(fs::exists(dir / "p.png"));
  EXPECT_FALSE(fs::exists(dir / "q.png"));
}

// A header whose components never complete is no house: --house N is the
// N-th house list-cache prints, never a mixture of two.
TEST(CliFaults, ImportCacheNumbersHousesAsListCacheLists) {
  const std::string demo = test::DemoClientDir();
  Scratch dir;
  const std::string cache = dir / "Multicache.dat";
  Put(cache,
      "1\r\n"
      "1 2 3 4 5 6 7\r\n20 0 0 0 0\r\n"                  // promises 3, holds 1
      "1 2 1 4 5 6 7\r\n50 0 0 0 7\r\n"                  // listed as 0
      "1 2 2 4 5 6 7\r\n60 0 0 0 7\r\n61 0 1 0 7\r\n");  // listed as 1
  const CliResult list = Cli({"list-cache", cache});
  ASSERT_EQ(list.code, 0) << list.err;
  EXPECT_EQ(list.out, " 0:  1x 1\n 1:  2x 1\n");

  const std::string out = dir / "cached.tav";
  const auto importHouse = [&](const char* number) {
    return Cli({"import-cache", cache, "--house", number, "--out", out, "--client", demo});
  };
  CliResult r = importHouse("0");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Slurp(out), "\"TAVI File ver 1.00\",1,1,7\r\n1,0,0,0,50\r\n");
  r = importHouse("1");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Slurp(out), "\"TAVI File ver 1.00\",2,1,7\r\n1,0,0,0,60\r\n1,1,0,0,61\r\n");
  r = importHouse("2");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(Lines(r.err), 1) << r.err;
  EXPECT_NE(r.err.find("house 2"), std::string::npos) << r.err;
  EXPECT_EQ(Slurp(out), "\"TAVI File ver 1.00\",2,1,7\r\n1,0,0,0,60\r\n1,1,0,0,61\r\n");
}

class CliFaultsRender : public ::testing::Test {
 protected:
  void SetUp() override {
    demo_ = test::DemoClientDir();
    house_ = dir_ / "house.tav";
    Put(house_, kHouse);
  }
  CliResult Render(const std::string& out, const Args& more = {},
                   const test::CliOptions& options = test::CliOptions()) {
    Args args = {"render", house_, "--out", out};
    args.insert(args.end(), more.begin(), more.end());
    args.insert(args.end(), {"--client", demo_});
    return Cli(args, options);
  }
  Scratch dir_;
  std::string demo_, house_;
};

TEST_F(CliFaultsRender, AZoomOutsideTheViewsRangeIsRefused) {
  for (const char* zoom : {"100", "17", "1601%", "0.005"}) {
    const CliResult r = Render(dir_ / "big.bmp", {"--zoom", zoom});
    EXPECT_EQ(r.code, 2) << zoom;
    EXPECT_EQ(Lines(r.err), 1) << r.err;
    EXPECT_NE(r.err.find("16"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("0.01"), std::string::npos) << r.err;
  }
  EXPECT_FALSE(fs::exists(dir_ / "big.bmp"));
  EXPECT_EQ(Render(dir_ / "small.bmp", {"--zoom", "1%"}).code, 0);
}

// --quality 90|70|50; without it, the quality the editor's settings choose.
TEST_F(CliFaultsRender, JpegQualityFromTheOptionOrTheSettings) {
  std::string at[3];
  const char* qualities[] = {"90", "70", "50"};
  for (int i = 0; i < 3; ++i) {
    const std::string out = dir_ / (std::string("q") + qualities[i] + ".jpg");
    ASSERT_EQ(Render(out, {"--quality", qualities[i]}).code, 0);
    at[i] = Slurp(out);
  }
  EXPECT_GT(at[0].size(), at[1].size());
  EXPECT_GT(at[1].size(), at[2].size());
  EXPECT_EQ(Render(dir_ / "bad.jpg", {"--quality", "80"}).code, 2);
  EXPECT_EQ(Render(dir_ / "bad.jpg", {"--quality", "high"}).code, 2);

  // The settings live in $XDG_CONFIG_HOME/tavi/tavi.ini (none: JpegQuality 2, 50).
  test::CliOptions config;
  config.env = {{"XDG_CONFIG_HOME", dir_ / "config"}};
  ASSERT_EQ(Render(dir_ / "default.jpg", {}, config).code, 0);
  EXPECT_EQ(Slurp(dir_ / "default.jpg"), at[2]);
  fs::create_directories(dir_ / "config/tavi");
  Put(dir_ / "config/tavi/tavi.ini", "[TAVI]\r\nJpegQuality=0\r\n");
  ASSERT_EQ(Render(dir_ / "default.jpg", {}, config).code, 0);
  EXPECT_EQ(Slurp(dir_ / "default.jpg"), at[0]);
}

// The picture is written as house files are: through a link, never through
// a name planted beside it, and with the system's reason when it cannot be.
TEST_F(CliFaultsRender, ThePictureIsWrittenLikeAHouseFile) {
  fs::create_symlink("real.png", dir_ / "link.png");
  Put(dir_ / "real.png", "");
  Put(dir_ / "victim", "precious");
  fs::create_symlink("victim", dir_ / "link.png.tmp~");
  fs::create_symlink("victim", dir_ / "real.png.tmp~");
  const CliResult r = Render(dir_ / "link.png");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.png"));
  EXPECT_EQ(Slurp(dir_ / "real.png").substr(1, 3), "PNG");
  EXPECT_EQ(Slurp(dir_ / "victim"), "precious");

  const CliResult missing = Render(dir_ / "no/such/folder/pic.bmp");
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("No such file or directory"), std::string::npos) << missing.err;
}

// Whatever stands at --out and is no regular file is left alone; a link to
// a file that does not exist is refused, and nothing is created through it.
TEST(CliFaults, OutRefusesWhatIsNoRegularFile) {
  Scratch dir;
  Put(dir / "x.tav", kHouse);
  const CliResult clip = Cli({"clip-export", dir / "x.tav"});
  ASSERT_EQ(clip.code, 0) << clip.err;
  Put(dir / "clip.txt", clip.out);
  const auto import = [&](const std::string& out) {
    return Cli({"clip-import", "--out", out}, StdinFrom(dir / "clip.txt"));
  };

  fs::create_directory(dir / "folder");
  for (const std::string& out : {dir / "folder", dir / "folder/"}) {
    const CliResult r = import(out);
    EXPECT_EQ(r.code, 1) << out;
    EXPECT_NE(r.err.find("is a directory"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("Not a directory"), std::string::npos) << r.err;
  }
  EXPECT_TRUE(fs::is_empty(dir / "folder"));

  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  fs::create_symlink("fifo", dir / "fifo-link");
  for (const std::string& out : {dir / "fifo", dir / "fifo-link"}) {
    const CliResult r = import(out);
    EXPECT_EQ(r.code, 1) << out;
    EXPECT_EQ(Lines(r.err), 1) << r.err;
    EXPECT_NE(r.err.find("FIFO"), std::string::npos) << r.err;
  }
  EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
  EXPECT_TRUE(fs::is_symlink(dir / "fifo-link"));

  fs::create_symlink("named.tav", dir / "dangling.tav");
  const CliResult dangling = import(dir / "dangling.tav");
  EXPECT_EQ(dangling.code, 1);
  EXPECT_NE(dangling.err.find("names a file that does not exist"), std::string::npos)
      << dangling.err;
  EXPECT_TRUE(fs::is_symlink(dir / "dangling.tav"));
  EXPECT_FALSE(fs::exists(dir / "named.tav"));
}

// A FIFO that nothing writes to reads as empty and is refused; a pipe with a
// writer is read to its end.
TEST(CliFaults, AFifoWithoutWriterEndsAsEmptyInput) {
  Scratch dir;
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  for (const char* command : {"info", "list-cache"}) {
    const CliResult r = Cli({command, dir / "fifo"});
    EXPECT_EQ(r.code, 1) << command;
    EXPECT_EQ(Lines(r.err), 1) << r.err;
    EXPECT_NE(r.err.find("empty"), std::string::npos) << r.err;
  }
  Put(dir / "x.tav", kHouse);
  test::CliOptions pipe;
  pipe.input = Slurp(dir / "x.tav");
  pipe.inputThroughPipe = true;
  const CliResult piped = Cli({"info", "/dev/stdin", "--client", dir / "none"}, pipe);
  EXPECT_EQ(piped.code, 0) << piped.err;
  EXPECT_EQ(piped.out, "size: 3x2\nbase: 7\nentries: 2\n");
}

TEST(CliFaults, MessagesSayWhatIsWrong) {
  Scratch dir;
  // Standard input that cannot be read is no text without a header.
  fs::create_directory(dir / "folder");
  const CliResult r = Cli({"clip-import", "--out", dir / "x.tav"}, StdinFrom(dir / "folder"));
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(Lines(r.err), 1) << r.err;
  EXPECT_NE(r.err.find("Is a directory"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir / "x.tav"));

  // A client whose art.mul is a folder, then a FIFO: said so, not "not found".
  const std::string demo = test::DemoClientDir();
  fs::create_directory(dir / "client");
  for (const char* f : {"artidx.mul", "tiledata.mul", "multi.idx", "multi.mul"})
    fs::create_symlink(demo + "/" + f, dir / ("client/" + std::string(f)));
  Put(dir / "x.tav", kHouse);
  fs::create_directory(dir / "client/art.mul");
  CliResult check = Cli({"check", dir / "x.tav", "--client", dir / "client"});
  EXPECT_EQ(check.code, 1);
  EXPECT_NE(check.err.find("art.mul"), std::string::npos) << check.err;
  EXPECT_NE(check.err.find("directory"), std::string::npos) << check.err;
  EXPECT_EQ(check.err.find("not found"), std::string::npos) << check.err;
  fs::remove(dir / "client/art.mul");
  ASSERT_EQ(::mkfifo((dir / "client/art.mul").c_str(), 0600), 0);
  check = Cli({"check", dir / "x.tav", "--client", dir / "client"});
  EXPECT_EQ(check.code, 1);
  EXPECT_NE(check.err.find("FIFO"), std::string::npos) << check.err;
  EXPECT_EQ(check.err.find("not found"), std::string::npos) << check.err;
}

}  // namespace
}  // namespace tavi
