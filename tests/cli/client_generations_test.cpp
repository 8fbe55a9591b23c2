// tavi-cli over the three client generations: client-info reports what it
// found, import-multi writes the same house from each, and damaged
// containers end the command with the reason.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "client/container.h"
#include "support/cli_run.h"
#include "support/demo_client.h"
#include "support/scratch_dir.h"

namespace tavi {
namespace {

namespace fs = std::filesystem;
using test::DemoGeneration;

using test::ReadFile;
std::string ReadAll(const std::string& path) {
  return ReadFile(path);
}

// A scratch folder whose files are named with `/`.
struct Scratch : test::ScratchDir {
  std::string operator/(const std::string& name) const { return File(name); }
};

using CliResult = test::CliRun;

// tavi-cli with the arguments of a command line: words split at blanks, a
// double-quoted word taken whole (no shell in between).
CliResult Cli(const std::string& line) {
  std::vector<std::string> args;
  std::string word;
  bool quoted = false, inWord = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if (c == ' ' && !quoted) {
      if (inWord) args.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) args.push_back(word);
  return test::RunCli(args);
}

std::string Quoted(const std::string& s) {
  return "\"" + s + "\"";
}

// "key: value" lines.
std::map<std::string, std::string> Report(const std::string& text) {
  std::map<std::string, std::string> keys;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    const size_t colon = line.find(": ");
    if (colon != std::string::npos) keys[line.substr(0, colon)] = line.substr(colon + 2);
  }
  return keys;
}

int Lines(const std::string& s) {
  return int(std::count(s.begin(), s.end(), '\n'));
}

class CliGenerations : public ::testing::TestWithParam<DemoGeneration> {
 protected:
  void SetUp() override {
    dir_ = test::DemoClientDir(GetParam());
    loose_ = test::DemoClientDir();
  }
  std::string dir_, loose_;
};

TEST_P(CliGenerations, ClientInfoSaysWhatWasFoundAndUsed) {
  const CliResult r = Cli("client-info --client " + Quoted(dir_));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const auto keys = Report(r.out);
  EXPECT_EQ(size_t(Lines(r.out)), keys.size());  // every line a key and a value
  const bool packed = GetParam() == DemoGeneration::kPacked;
  const bool old = GetParam() == DemoGeneration::kOld;
  EXPECT_EQ(keys.at("folder"), dir_ + "/");
  EXPECT_EQ(keys.at("TileData"), "loose " + dir_ + "/tiledata.mul");
  EXPECT_EQ(keys.at("Art"),
            packed ? "container " + dir_ + "/artLegacyMUL.uop" : "loose " + dir_ + "/art.mul");
  // Files not there are named as they would be in the folder.
  EXPECT_EQ(keys.at("ArtIdx"), (packed ? "absent " : "loose ") + dir_ + "/artidx.mul");
  EXPECT_EQ(keys.at("Multi"),
            packed ? "container " + dir_ + "/MultiCollection.uop" : "loose " + dir_ + "/multi.mul");
  EXPECT_EQ(keys.at("MultiIdx"), (packed ? "absent " : "loose ") + dir_ + "/multi.idx");
  EXPECT_EQ(keys.at("tile data layout"), old ? "32-bit flags" : "64-bit flags");
  EXPECT_EQ(keys.at("multi record size"), old ? "12" : "16");
  // The same content in every generation.
  EXPECT_EQ(keys.at("item records"), "16384");
  EXPECT_EQ(keys.at("multis"), "20");
  const auto loose = Report(Cli("client-info --client " + Quoted(loose_)).out);
  EXPECT_EQ(keys.at("pictures"), loose.at("pictures"));
  EXPECT_GT(std::stoi(keys.at("pictures")), 1500);
}

TEST_P(CliGenerations, ImportMultiWritesTheSameHouse) {
  Scratch s;
  for (int id : {100, 126, 150, 158}) {
    const std::string id_ = std::to_string(id);
    const CliResult a = Cli("import-multi --id " + id_ + " --out " + Quoted(s / "a.tav") +
                            " --client " + Quoted(loose_));
    const CliResult b = Cli("import-multi --id " + id_ + " --out " + Quoted(s / "b.tav") +
                            " --client " + Quoted(dir_));
    ASSERT_EQ(a.code, 0) << a.err;
    ASSERT_EQ(b.code, 0) << b.err;
    EXPECT_EQ(ReadAll(s / "a.tav"), ReadAll(s / "b.tav")) << id;
  }
  const CliResult none =
      Cli("import-multi --id 101 --out " + Quoted(s / "c.tav") + " --client " + Quoted(dir_));
  EXPECT_EQ(none.code, 1);
  EXPECT_EQ(Lines(none.err), 1) << none.err;
  EXPECT_FALSE(fs::exists(s / "c.tav"));
}

INSTANTIATE_TEST_SUITE_P(Demo, CliGenerations, ::testing::ValuesIn(test::kAllGenerations),
                         [](const auto& p) {
                           return std::string(test::DemoGenerationName(p.param));
                         });

// A packed client whose containers are damaged: every command that needs
// them ends with exit 1 and one line saying why; nothing is written.
TEST(CliDamagedContainers, EndWithTheReason) {
  const std::string packed = test::DemoClientDir(DemoGeneration::kPacked);
  Scratch s;
  fs::copy(packed, s / "client", fs::copy_options::recursive);
  const std::string art = s / "client/artLegacyMUL.uop", multi = s / "client/MultiCollection.uop";
  const std::string goodArt = ReadAll(art), goodMulti = ReadAll(multi);
  const std::string client = " --client " + Quoted(s / "client");
  const std::string out = s / "house.tav";
  std::ofstream(s / "small.tav") << "\"TAVI File ver 1.00\",2,2,7\r\n0,0,0,0,1234\r\n";

  const auto write = [](const std::string& path, std::string bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  };
  struct Case {
    std::string what, file, bytes, said;
  };
  std::string loop = goodMulti;
  loop.replace(40 + 4, 8, std::string("\x28\0\0\0\0\0\0\0", 8));  // the first table's next: itself
  const std::vector<Case> cases = {
      {"art with a wrong magic", art, "XYP" + goodArt.substr(3), "wrong magic"},
      {"art cut to a third", art, goodArt.substr(0, goodArt.size() / 3), "outside the file"},
      {"art cut in its last picture", art, goodArt.substr(0, goodArt.size() - 2), "past the end"},
      {"art of 10 bytes", art, goodArt.substr(0, 10), "too short"},
      {"multis with a wrong signature", multi,
       goodMulti.substr(0, 8) + "XXXX" + goodMulti.substr(12), "signature"},
      {"multis whose chain loops", multi, loop, "loops"},
  };
  for (const Case& c : cases) {
    write(art, goodArt);
    write(multi, goodMulti);
    write(c.file, c.bytes);
    const bool artDamaged = c.file == art;
    for (const std::string& args :
         {"client-info" + client, "import-multi --id 100 --out " + Quoted(out) + client,
          "render " + Quoted(s / "small.tav") + " --out " + Quoted(s / "x.bmp") + client}) {
      // Damaged multis do not stop commands that need no multis.
      if (!artDamaged && args.rfind("render", 0) == 0) continue;
      const CliResult r = Cli(args);
      EXPECT_EQ(r.code, 1) << c.what << ": " << args;
      EXPECT_EQ(Lines(r.err), 1) << c.what << ": " << r.err;
      EXPECT_NE(r.err.find(c.said), std::string::npos) << c.what << ": " << r.err;
      EXPECT_FALSE(fs::exists(out)) << c.what;
      EXPECT_FALSE(fs::exists(s / "x.bmp")) << c.what;
    }
  }
}

// Little-endian fields of a file's bytes.
uint64_t Le(const std::string& b, size_t at, int bytes) {
  uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | uint8_t(b[at + size_t(i)]);
  return v;
}

// What loads but is not whole is said, never counted as there: a multi of a
// compression this reader cannot read (skipped by name, not "not in"), an
// index entry pointing past the end of multi.mul, an empty tiledata.mul.
TEST(CliClientInfo, SaysWhatItSkippedAndCountsOnlyWhatCanBeRead) {
  const std::string packed = test::DemoClientDir(DemoGeneration::kPacked);
  const std::string loose = test::DemoClientDir();
  Scratch s;
  fs::copy(packed, s / "packed", fs::copy_options::recursive);
  const std::string uop = s / "packed/MultiCollection.uop";
  std::string bytes = ReadAll(uop);
  // Multi 100's entry gets compression flag 2.
  char name[48];
  std::snprintf(name, sizeof name, "build/multicollection/%06u.bin", 100u);
  const uint64_t hash = ContainerNameHash(name);
  bool patched = false;
  for (uint64_t table = Le(bytes, 12, 8); table != 0 && !patched; table = Le(bytes, table + 4, 8)) {
    const uint64_t count = Le(bytes, table, 4);
    for (uint64_t i = 0; i < count; ++i) {
      const size_t e = size_t(table + kContainerTableHeaderSize + i * kContainerEntrySize);
      if (Le(bytes, e + 20, 8) != hash) continue;
      bytes[e + 32] = 2;
      patched = true;
    }
  }
  ASSERT_TRUE(patched);
  std::ofstream(uop, std::ios::binary | std::ios::trunc) << bytes;
  CliResult r = Cli("client-info --client " + Quoted(s / "packed"));
  EXPECT_EQ(r.code, 0) << r.err;
  auto keys = Report(r.out);
  EXPECT_EQ(keys.at("multis"), "19");
  EXPECT_EQ(keys.at("skipped"),
            "1 entries of '" + uop + "' use a compression this editor cannot read");
  r = Cli("import-multi --id 100 --out " + Quoted(s / "m.tav") + " --client " +
          Quoted(s / "packed"));
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("multi 100 uses a compression this editor cannot read"), std::string::npos)
      << r.err;
  EXPECT_FALSE(fs::exists(s / "m.tav"));

  // The loose client: multi 100's index entry points past multi.mul's end,
  // and tiledata.mul is empty.
  fs::copy(loose, s / "loose", fs::copy_options::recursive);
  const std::string idx = s / "loose/multi.idx";
  std::string index = ReadAll(idx);
  const uint32_t end = uint32_t(fs::file_size(s / "loose/multi.mul"));
  for (int k = 0; k < 4; ++k) index[100 * 12 + size_t(k)] = char((end >> (8 * k)) & 0xFF);
  std::ofstream(idx, std::ios::binary | std::ios::trunc) << index;
  r = Cli("client-info --client " + Quoted(s / "loose"));
  EXPECT_EQ(Report(r.out).at("multis"), "19") << r.out;
  EXPECT_EQ(Report(r.out).count("warning"), 0u) << r.out;
  std::ofstream(s / "loose/tiledata.mul", std::ios::binary | std::ios::trunc);
  r = Cli("client-info --client " + Quoted(s / "loose"));
  keys = Report(r.out);
  EXPECT_EQ(keys.at("item records"), "0");
  EXPECT_NE(keys["warning"].find("holds no item records"), std::string::npos) << r.out;
}

TEST(CliClientInfo, NothingFound) {
  Scratch s;
  const CliResult r = Cli("client-info --client " + Quoted(s / "empty"));
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(Lines(r.err), 1) << r.err;
  EXPECT_NE(r.err.find("client files not found"), std::string::npos) << r.err;
  const auto keys = Report(r.out);
  EXPECT_EQ(keys.at("TileData"), "absent " + (s / "empty/tiledata.mul"));
  EXPECT_EQ(keys.at("Art"), "absent " + (s / "empty/art.mul"));
  EXPECT_EQ(keys.at("tile data layout"), "unknown");
  EXPECT_EQ(keys.at("pictures"), "unknown");
  EXPECT_EQ(keys.at("multis"), "unknown");
}

TEST(CliDemoData, GenerationsAndStrictOptions) {
  EXPECT_EQ(Cli("demodata /tmp/x --generation new").code, 2);
  EXPECT_EQ(Cli("demodata /tmp/x --generation").code, 2);
  EXPECT_EQ(Cli("demodata /tmp/x --old").code, 2);
  EXPECT_EQ(Cli("client-info extra").code, 2);
  EXPECT_EQ(Cli("client-info --id 3").code, 2);
  const std::string loose = test::DemoClientDir(), old = test::DemoClientDir(DemoGeneration::kOld),
                    packed = test::DemoClientDir(DemoGeneration::kPacked);
  // The older layout: tile data as large as a real old one, 12-byte records.
  EXPECT_EQ(fs::file_size(old + "/tiledata.mul"), 1036288u);
  EXPECT_EQ(fs::file_size(old + "/multi.mul") * 4, fs::file_size(loose + "/multi.mul") * 3);
  EXPECT_EQ(ReadAll(old + "/art.mul"), ReadAll(loose + "/art.mul"));
  // The packed client: containers instead of the art and multi files.
  for (const char* name : {"artidx.mul", "art.mul", "multi.idx", "multi.mul"})
    EXPECT_FALSE(fs::exists(packed + "/" + name)) << name;
  EXPECT_EQ(ReadAll(packed + "/tiledata.mul"), ReadAll(loose + "/tiledata.mul"));
  EXPECT_EQ(ReadAll(packed + "/artLegacyMUL.uop").substr(0, 4), std::string("MYP\0", 4));
  EXPECT_TRUE(fs::exists(packed + "/desktop"));
  // The same bytes on every run.
  Scratch s;
  ASSERT_EQ(Cli("demodata " + Quoted(s / "again") + " --generation=packed").code, 0);
  EXPECT_EQ(ReadAll(s / "again/artLegacyMUL.uop"), ReadAll(packed + "/artLegacyMUL.uop"));
  EXPECT_EQ(ReadAll(s / "again/MultiCollection.uop"), ReadAll(packed + "/MultiCollection.uop"));
}

}  // namespace
}  // namespace tavi
