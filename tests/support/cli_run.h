#pragma once
// Runs tavi-cli as a user would, for every test of the command-line tool:
// the program built with the tests, the arguments passed as they are (no
// shell in between), the input on stdin, and what it printed and returned.
#include <string>
#include <utility>
#include <vector>

namespace tavi::test {

struct CliRun {
  int code = -1;  // the exit code; -1 when the program did not end normally
  std::string out, err;
};

struct CliOptions {
  // The text on stdin, read from a file...
  std::string input;
  // ...or through a pipe, as from `cat FILE | tavi-cli ...`.
  bool inputThroughPipe = false;
  // Instead of `input`, this path opened as stdin (a folder, a device, ...).
  std::string stdinPath;
  // Environment variables set for the run, NAME and value.
  std::vector<std::pair<std::string, std::string>> env;
  // A run still going after this long is killed and gives code 124.
  int timeoutSeconds = 60;
};

CliRun RunCli(const std::vector<std::string>& args, const std::string& input = "");
CliRun RunCli(const std::vector<std::string>& args, const CliOptions& options);

// The number of lines of a text (its '\n' characters).
int LineCount(const std::string& text);

}  // namespace tavi::test
