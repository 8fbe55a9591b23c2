#include "support/cli_run.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>

#ifndef TAVI_CLI_PATH
#define TAVI_CLI_PATH "tavi-cli"
#endif

extern char** environ;

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

// This process's environment with `set` put in, as "NAME=value" strings.
std::vector<std::string> Environment(const std::vector<std::pair<std::string, std::string>>& set) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    const bool replaced =
        std::any_of(set.begin(), set.end(), [&](const auto& v) { return v.first == name; });
    if (!replaced) env.push_back(entry);
  }
  for (const auto& [name, value] : set) env.push_back(name + "=" + value);
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> out;
  for (std::string& s : strings) out.push_back(s.data());
  out.push_back(nullptr);
  return out;
}

// Writes `text` into a pipe from a child of its own, as `cat` would, so that
// a program that never reads cannot stall the test; returns the read end.
int PipeFrom(const std::string& text, pid_t* writer) {
  int fds[2];
  if (::pipe(fds) != 0) return -1;
  *writer = ::fork();
  if (*writer == 0) {
    ::close(fds[0]);
    for (size_t done = 0; done < text.size();) {
      const ssize_t n = ::write(fds[1], text.data() + done, text.size() - done);
      if (n <= 0) ::_exit(1);
      done += size_t(n);
    }
    ::_exit(0);
  }
  ::close(fds[1]);
  return fds[0];
}

// Waits for the program; after `seconds` it is killed. Returns its status,
// or -1 when it was killed for taking too long.
int WaitFor(pid_t pid, int seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  for (;;) {
    int status = 0;
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) return status;
    if (done < 0 && errno != EINTR) return -2;
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

}  // namespace

CliRun RunCli(const std::vector<std::string>& args, const std::string& input) {
  CliOptions options;
  options.input = input;
  return RunCli(args, options);
}

CliRun RunCli(const std::vector<std::string>& args, const CliOptions& options) {
  CliRun run;
  // Unnamed files rather than pipes for the output: the program may print
  // any amount without waiting for a reader.
  const File in(std::tmpfile()), out(std::tmpfile()), err(std::tmpfile());
  if (!in || !out || !err) {
    run.err = "no temporary files for the run";
    return run;
  }
  std::fwrite(options.input.data(), 1, options.input.size(), in.get());
  std::fflush(in.get());
  std::rewind(in.get());

  std::vector<std::string> argStrings = {TAVI_CLI_PATH};
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  std::vector<std::string> envStrings = Environment(options.env);
  const std::vector<char*> argv = Pointers(argStrings), envp = Pointers(envStrings);

  pid_t writer = -1;
  int stdinFd = ::fileno(in.get());
  if (options.inputThroughPipe) stdinFd = PipeFrom(options.input, &writer);
  const char* stdinPath = options.stdinPath.empty() ? nullptr : options.stdinPath.c_str();

  const pid_t pid = ::fork();
  if (pid == 0) {
    // Only calls that are safe between fork and exec.
    const int inFd = stdinPath ? ::open(stdinPath, O_RDONLY) : stdinFd;
    if (inFd < 0) ::_exit(126);
    ::dup2(inFd, 0);
    ::dup2(::fileno(out.get()), 1);
    ::dup2(::fileno(err.get()), 2);
    ::execve(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  if (options.inputThroughPipe && stdinFd >= 0) ::close(stdinFd);
  if (pid < 0) {
    run.err = std::string("cannot start ") + TAVI_CLI_PATH;
    return run;
  }
  const int status = WaitFor(pid, options.timeoutSeconds);
  if (writer > 0) {
    ::kill(writer, SIGKILL);  // it has finished unless the program never read
    ::waitpid(writer, nullptr, 0);
  }
  if (status == -1)
    run.code = 124;
  else
    run.code = status >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadBack(out.get());
  run.err = ReadBack(err.get());
  return run;
}

int LineCount(const std::string& text) {
  return int(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace tavi::test
