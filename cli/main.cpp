#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "cli/command.h"

namespace tavi::cli {

std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}

Registrar::Registrar(const std::string& name, const std::string& usage, const std::string& summary,
                     std::vector<std::string> valuedOptions, std::vector<std::string> flagOptions,
                     Handler run) {
  Registry().push_back(
      {name, usage, summary, std::move(run), std::move(valuedOptions), std::move(flagOptions)});
}

bool Args::Has(const std::string& name) const {
  for (const auto& o : options)
    if (o.first == name) return true;
  return false;
}

std::string Args::Get(const std::string& name, const std::string& def) const {
  for (const auto& o : options)
    if (o.first == name) return o.second;
  return def;
}

bool ParseInt(const std::string& text, int lo, int hi, int* out) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
  *out = int(v);
  return true;
}

int Fail(const std::string& message) {
  std::cerr << "tavi-cli: " << message << "\n";
  return kBadInput;
}

int Usage(const std::string& message) {
  std::cerr << "tavi-cli: " << message << " (see tavi-cli --help)\n";
  return kUsage;
}

}  // namespace tavi::cli

namespace {

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Wrong usage of a command, with its usage line.
int UsageOf(const tavi::cli::Command& c, const std::string& message) {
  std::cerr << "tavi-cli: " << message << " (usage: tavi-cli " << c.name << " " << c.usage << ")\n";
  return tavi::cli::kUsage;
}

void PrintHelp() {
  std::cout << "Usage: tavi-cli COMMAND [ARGS]\n"
               "Inspect, convert, import, check and render house files without a display.\n\n"
               "Commands:\n";
  for (const auto& c : tavi::cli::Registry())
    std::cout << "  " << c.name << " " << c.usage << "\n      " << c.summary << "\n";
  std::cout << "\nCommon options:\n  --client DIR   folder of the client files "
               "(default: the editor's settings, then discovery)\n"
               "  --help, --version\n";
}

// Wrong usage of a command, said with its usage line; false.
bool Refuse(const tavi::cli::Command& c, const std::string& message) {
  UsageOf(c, message);
  return false;
}

// The option argument `a` ("--name" or "--name=value") into `args`; an option
// that takes a value and has no "=" takes the next argument, and *i moves past
// it. False, once said why, for an option the command does not know, a value
// given to a flag, an option given twice and a missing value.
bool ReadOption(const tavi::cli::Command& c, const std::string& a, int argc, char** argv, int* i,
                tavi::cli::Args* args) {
  std::string name = a.substr(2), value;
  const auto eq = name.find('=');
  const std::string bare = name.substr(0, eq);
  const bool valued = bare == "client" || Contains(c.valued, bare);
  if (!valued && bare != "help" && !Contains(c.flags, bare))
    return Refuse(c, "unknown option --" + bare);
  // A flag takes no value (--night=no would otherwise mean "night"),
  // and an option given twice has no one meaning.
  if (eq != std::string::npos && !valued) return Refuse(c, "option --" + bare + " takes no value");
  if (args->Has(bare)) return Refuse(c, "option --" + bare + " is given more than once");
  if (eq != std::string::npos) {
    value = name.substr(eq + 1);
    name = name.substr(0, eq);
  } else if (valued) {
    if (*i + 1 >= argc) return Refuse(c, "option --" + name + " needs a value");
    value = argv[++*i];
  }
  args->options.emplace_back(name, value);
  return true;
}

// The arguments after the command's name, options and positional ones. False,
// once said why, on wrong usage.
bool ReadArgs(const tavi::cli::Command& c, int argc, char** argv, tavi::cli::Args* args) {
  for (int i = 2; i < argc; ++i) {
    std::string a = argv[i];
    if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
      if (!ReadOption(c, a, argc, argv, &i, args)) return false;
    } else {
      args->positional.push_back(a);
    }
  }
  return true;
}

// Runs command `c` with the arguments after its name, or shows its usage
// when asked with --help.
int RunCommand(const tavi::cli::Command& c, int argc, char** argv) {
  tavi::cli::Args args;
  if (!ReadArgs(c, argc, argv, &args)) return tavi::cli::kUsage;
  if (args.Has("help")) {
    std::cout << "Usage: tavi-cli " << c.name << " " << c.usage << "\n" << c.summary << "\n";
    return tavi::cli::kOk;
  }
  return c.run(args);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tavi::cli;
  if (argc < 2) {
    PrintHelp();
    return kUsage;
  }
  const std::string first = argv[1];
  if (first == "--help" || first == "-h" || first == "help") {
    PrintHelp();
    return kOk;
  }
  if (first == "--version") {
    std::cout << "tavi-cli " << TAVI_VERSION_TEXT << "\n";
    return kOk;
  }
  for (const auto& c : Registry())
    if (c.name == first) return RunCommand(c, argc, argv);
  return Usage("unknown command '" + first + "'");
}
