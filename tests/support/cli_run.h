#pragma once
// Runs tavi-cli as a user would, for every test of the command-line tool:
// the program built with the tests, the arguments passed as they are (no
// shell in between), the input on stdin, and what it printed and returned.
#include <string>
#include <vector>

namespace tavi::test {

struct CliRun {
  int code = -1;  // the exit code; -1 when the program did not end normally
  std::string out, err;
};

CliRun RunCli(const std::vector<std::string>& args, const std::string& input = "");

// The number of lines of a text (its '\n' characters).
int LineCount(const std::string& text);

}  // namespace tavi::test
