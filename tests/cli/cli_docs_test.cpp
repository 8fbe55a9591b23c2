// What ships beside tavi-cli and must follow it: the manual page names every
// command and option the program's --help lists, and the bash completion
// completes them and the files each argument takes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "support/cli_run.h"
#include "support/scratch_dir.h"

namespace tavi::test {
namespace {

// The commands of `tavi-cli --help` ("  name usage" lines) with the options
// their usage names, and under "" the options of the other lines.
std::map<std::string, std::set<std::string>> HelpCommands() {
  const CliRun help = RunCli({"--help"});
  EXPECT_EQ(help.code, 0);
  std::map<std::string, std::set<std::string>> commands;
  const std::regex command("^  ([a-z][a-z-]*)( .*)?$"), option("--[a-z][a-z-]*");
  std::istringstream lines(help.out);
  for (std::string line; std::getline(lines, line);) {
    std::smatch m;
    const std::string name = std::regex_match(line, m, command) ? m[1].str() : "";
    auto& options = commands[name];
    for (std::sregex_iterator it(line.begin(), line.end(), option), end; it != end; ++it)
      options.insert(it->str());
  }
  return commands;
}

// The manual page's source with roff's "\-" read as "-".
std::string ManualPage() {
  std::string text = ReadFile(std::string(TAVI_SOURCE_DIR) + "/packaging/man/tavi-cli.1.in");
  for (size_t at; (at = text.find("\\-")) != std::string::npos;) text.replace(at, 2, "-");
  return text;
}

// The first word of each entry (".TP" then its line) of a section.
std::set<std::string> SectionEntries(const std::string& page, const std::string& section) {
  std::set<std::string> entries;
  std::istringstream lines(page);
  bool inSection = false, entryLine = false;
  const std::regex first("^\\.[A-Z]+ +\"?([^ \"]+)");
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(".SH ", 0) == 0) inSection = line == ".SH " + section;
    if (!inSection) continue;
    std::smatch m;
    if (entryLine && std::regex_search(line, m, first)) entries.insert(m[1].str());
    entryLine = line == ".TP";
  }
  return entries;
}

TEST(CliDocs, ManualPageNamesEveryCommandAndOptionTheHelpLists) {
  const auto commands = HelpCommands();
  const std::string page = ManualPage();
  ASSERT_FALSE(page.empty()) << "no manual page source";
  const std::set<std::string> described = SectionEntries(page, "COMMANDS");
  // The ten commands at least (and the common options) were read from the help.
  ASSERT_GE(commands.size(), 11u);
  for (const auto& [name, options] : commands) {
    if (!name.empty()) {
      EXPECT_EQ(described.count(name), 1u) << "the manual page lacks " << name;
    }
    for (const auto& option : options) {
      const std::regex named(option + "([^a-z-]|$)");
      EXPECT_TRUE(std::regex_search(page, named))
          << "the manual page never names " << option << (name.empty() ? "" : " of " + name);
    }
  }
  // Every exit code the commands use is explained.
  const std::set<std::string> codes = SectionEntries(page, "EXIT STATUS");
  EXPECT_EQ(codes, (std::set<std::string>{"0", "1", "2"}));
}

// Runs the completion for the words of a command line (the last one being
// completed) in `dir`; the offers, sorted, separated by spaces.
std::string Complete(const ScratchDir& dir, const std::vector<std::string>& words) {
  std::string script = "source '" + std::string(TAVI_SOURCE_DIR) +
                       "/packaging/tavi-cli.bash'\nCOMP_WORDS=('" + TAVI_CLI_PATH + "'";
  for (const auto& w : words) script += " '" + w + "'";
  script += ")\nCOMP_CWORD=" + std::to_string(words.size()) +
            "\n_tavi_cli\nprintf '%s\\n' \"${COMPREPLY[@]}\" | LC_ALL=C sort | tr '\\n' ' '\n";
  WriteFile(dir.File("complete.sh"), script);
  const std::string command = "cd '" + dir.File("files") + "' && bash ../complete.sh";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string out;
  char buf[256];
  for (size_t n; pipe && (n = fread(buf, 1, sizeof buf, pipe.get())) > 0;) out.append(buf, n);
  while (!out.empty() && (out.back() == ' ' || out.back() == '\n')) out.pop_back();
  return out;
}

TEST(CliDocs, BashCompletionOffersCommandsOptionsValuesAndFilesByKind) {
  ScratchDir dir;
  std::filesystem::create_directories(dir.path / "files" / "sub");
  for (const char* name : {"house.tav", "Other.TAV", "pic.png", "design.csv", "Multicache.dat"})
    WriteFile(dir.File(std::string("files/") + name), "x");

  EXPECT_EQ(Complete(dir, {"re"}), "render");
  EXPECT_EQ(Complete(dir, {"--v"}), "--version");
  // Every command of the help, as the program lists them.
  const std::string all = Complete(dir, {""});
  for (const auto& [name, options] : HelpCommands()) {
    if (!name.empty()) {
      EXPECT_NE((" " + all + " ").find(" " + name + " "), std::string::npos) << name;
    }
  }

  EXPECT_EQ(Complete(dir, {"render", "--q"}), "--quality");
  EXPECT_EQ(Complete(dir, {"demodata", "x", "--"}), "--client --generation --help");
  EXPECT_EQ(Complete(dir, {"demodata", "x", "--generation", ""}), "loose old packed");
  EXPECT_EQ(Complete(dir, {"render", "house.tav", "--quality", ""}), "50 70 90");

  // Files by what the argument takes, with the folders to walk into.
  EXPECT_EQ(Complete(dir, {"render", ""}), "Other.TAV house.tav sub");
  EXPECT_EQ(Complete(dir, {"render", "house.tav", "--out", ""}), "pic.png sub");
  EXPECT_EQ(Complete(dir, {"render", "house.tav", "--out", "=", ""}), "pic.png sub");
  EXPECT_EQ(Complete(dir, {"clip-import", "--out", "h"}), "house.tav");
  EXPECT_EQ(Complete(dir, {"list-cache", ""}), "Multicache.dat sub");
  EXPECT_EQ(Complete(dir, {"import-design", ""}), "design.csv sub");
  EXPECT_EQ(Complete(dir, {"demodata", ""}), "sub");
  EXPECT_EQ(Complete(dir, {"info", "house.tav", "--client", ""}), "sub");
  // Values nobody can guess are left to the user.
  EXPECT_EQ(Complete(dir, {"import-multi", "--id", ""}), "");
}

}  // namespace
}  // namespace tavi::test
