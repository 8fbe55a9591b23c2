#pragma once
// tavi-cli subcommands. Each lives in its own file and registers itself:
//   static tavi::cli::Registrar reg("info", "FILE.tav", "prints ...", {}, {}, &RunInfo);
// Exit codes: 0 success, 1 bad input (one line on stderr), 2 wrong usage.
#include <functional>
#include <string>
#include <vector>

namespace tavi::cli {

enum Exit { kOk = 0, kBadInput = 1, kUsage = 2 };

struct Args {
  std::vector<std::string> positional;
  // "--name value" and "--flag" options, in order; a flag has an empty value.
  std::vector<std::pair<std::string, std::string>> options;
  bool Has(const std::string& name) const;
  std::string Get(const std::string& name, const std::string& def = "") const;
};

using Handler = std::function<int(const Args&)>;

struct Command {
  std::string name, usage, summary;
  Handler run;
  // Option names that take a value, and those that do not; any other
  // option is wrong usage.
  std::vector<std::string> valued, flags;
};

std::vector<Command>& Registry();

struct Registrar {
  Registrar(const std::string& name, const std::string& usage, const std::string& summary,
            std::vector<std::string> valuedOptions, std::vector<std::string> flagOptions,
            Handler run);
};

// A whole decimal number within [lo, hi]; false for anything else.
bool ParseInt(const std::string& text, int lo, int hi, int* out);

// Reports a bad-input failure on stderr and returns kBadInput.
int Fail(const std::string& message);
// Reports wrong usage on stderr and returns kUsage.
int Usage(const std::string& message);

}  // namespace tavi::cli
