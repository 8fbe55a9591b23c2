#include "support/cli_run.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

#ifndef TAVI_CLI_PATH
#define TAVI_CLI_PATH "tavi-cli"
#endif

namespace tavi::test {

namespace {

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

std::string ReadBack(FILE* f) {
  std::string text;
  std::rewind(f);
  char buf[4096];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) text.append(buf, n);
  return text;
}

}  // namespace

CliRun RunCli(const std::vector<std::string>& args, const std::string& input) {
  CliRun run;
  // Unnamed files rather than pipes: the program may print any amount
  // without waiting for a reader.
  const File in(std::tmpfile()), out(std::tmpfile()), err(std::tmpfile());
  if (!in || !out || !err) {
    run.err = "no temporary files for the run";
    return run;
  }
  std::fwrite(input.data(), 1, input.size(), in.get());
  std::fflush(in.get());
  std::rewind(in.get());

  std::vector<char*> argv;
  std::string program = TAVI_CLI_PATH;
  argv.push_back(program.data());
  std::vector<std::string> copies = args;
  for (std::string& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);

  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(::fileno(in.get()), 0);
    ::dup2(::fileno(out.get()), 1);
    ::dup2(::fileno(err.get()), 2);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  if (pid < 0) {
    run.err = "cannot start " + program;
    return run;
  }
  int status = 0;
  pid_t done;
  while ((done = ::waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
  }
  run.code = done == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadBack(out.get());
  run.err = ReadBack(err.get());
  return run;
}

int LineCount(const std::string& text) {
  return int(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace tavi::test
