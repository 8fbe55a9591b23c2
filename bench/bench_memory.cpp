// Peak resident memory of the line readers on large, degenerate inputs: each
// case runs in a child process of its own (tavi-cli, or a forked reader), and
// its peak is taken from the kernel when it ends. Counters: `input_mb`,
// `peak_mb`, and `per_input` = (peak - the empty run's peak) / input, to stay
// at or under 3. Slow (hundreds of MB are written and read): not part of the
// test run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "client/discovery.h"
#include "io/house_file.h"
#include "settings/settings.h"

namespace {

namespace fs = std::filesystem;

std::string Scratch() {
  static const std::string dir = [] {
    std::string d = (fs::temp_directory_path() / "tavi-bench-memory-XXXXXX").string();
    if (!::mkdtemp(&d[0])) std::abort();
    std::atexit([] { fs::remove_all(Scratch()); });
    return d + "/";
  }();
  return dir;
}

// A file of `count` copies of `unit`.
std::string MakeFile(const std::string& name, const std::string& unit, size_t count) {
  const std::string path = Scratch() + name;
  if (fs::exists(path)) return path;
  std::string block;
  for (int i = 0; i < 4096; ++i) block += unit;
  std::ofstream out(path, std::ios::binary);
  size_t left = count;
  while (left >= 4096) {
    out << block;
    left -= 4096;
  }
  for (; left > 0; --left) out << unit;
  return path;
}

// Runs `work` in a child with stdin from `input` (or nothing); the child's
// peak resident memory in MB.
double PeakMb(const std::string& input, const std::function<void()>& work) {
  const pid_t child = fork();
  if (child < 0) std::abort();
  if (child == 0) {
    const int fd = ::open(input.empty() ? "/dev/null" : input.c_str(), O_RDONLY);
    if (fd < 0 || ::dup2(fd, 0) < 0) _exit(126);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    work();
    _exit(0);
  }
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  return double(usage.ru_maxrss) / 1024.0;
}

void RunCli(std::vector<std::string> args) {
  std::vector<char*> argv;
  static std::string cli = TAVI_CLI_PATH;
  argv.push_back(&cli[0]);
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  ::execv(cli.c_str(), argv.data());
  _exit(127);
}

void Report(benchmark::State& state, const std::string& input, double peak, double empty) {
  const double mb = double(fs::file_size(input)) / (1024.0 * 1024.0);
  state.counters["input_mb"] = mb;
  state.counters["peak_mb"] = peak;
  state.counters["per_input"] = (peak - empty) / mb;
}

void BM_ClipImportLineEnds(benchmark::State& state) {
  const std::string input = MakeFile("ends.txt", "\n", size_t(64) << 20);
  const std::string out = Scratch() + "out.tav";
  double peak = 0, empty = 0;
  for (auto _ : state) {
    empty = PeakMb("", [&] { RunCli({"clip-import", "--out", out}); });
    peak = PeakMb(input, [&] { RunCli({"clip-import", "--out", out}); });
  }
  Report(state, input, peak, empty);
}

void BM_ClipImportOneLetterLines(benchmark::State& state) {
  // 32 M lines of one letter: 64 MB with their line ends.
  const std::string input = MakeFile("letters.txt", "a\n", size_t(32) << 20);
  const std::string out = Scratch() + "out.tav";
  double peak = 0, empty = 0;
  for (auto _ : state) {
    empty = PeakMb("", [&] { RunCli({"clip-import", "--out", out}); });
    peak = PeakMb(input, [&] { RunCli({"clip-import", "--out", out}); });
  }
  Report(state, input, peak, empty);
}

void BM_HouseFileOneLetterLines(benchmark::State& state) {
  // A house file header and then one-letter lines, up to the 64 MB cap.
  const std::string input = MakeFile("letters.tav", "a\n", (size_t(64) << 20) / 2 - 32);
  {
    std::fstream f(input, std::ios::in | std::ios::out | std::ios::binary);
    f << "\"TAVI File ver 1.00\",8,8,7\r\n";
  }
  double peak = 0, empty = 0;
  for (auto _ : state) {
    empty = PeakMb("", [] { RunCli({"info", "/dev/null"}); });
    peak = PeakMb("", [&] { RunCli({"info", input}); });
  }
  Report(state, input, peak, empty);
}

void BM_SettingsLineEnds(benchmark::State& state) {
  // tavi.ini of line ends, as large as it is still read (16 MB); read and
  // written back as at the editor's start and end.
  const std::string dir = Scratch() + "ini/";
  fs::create_directories(dir);
  const std::string input = MakeFile("ini/tavi.ini", "\n", (size_t(16) << 20) - 1);
  double peak = 0, empty = 0;
  for (auto _ : state) {
    empty = PeakMb("", [] { tavi::LoadSettings(""); });
    peak = PeakMb("", [&] { tavi::SaveSettings(input, tavi::LoadSettings(input)); });
  }
  Report(state, input, peak, empty);
  fs::remove(input);  // rewritten: made afresh next time
}

void BM_CacheListLineEnds(benchmark::State& state) {
  // A Multicache.dat of a version line and 64 MB of line ends, listed as the
  // import dialog lists it.
  const std::string input = MakeFile("cache-ends.dat", "\n", size_t(64) << 20);
  double peak = 0, empty = 0;
  for (auto _ : state) {
    empty = PeakMb("", [] { RunCli({"list-cache", "/dev/null"}); });
    peak = PeakMb("", [&] { RunCli({"list-cache", input}); });
  }
  Report(state, input, peak, empty);
}

void BM_CacheListOneLetterLines(benchmark::State& state) {
  // About 32 M one-letter lines (under the 64 MB read cap) after a header
  // claiming 9,999,999 components: listed, then that house imported.
  const std::string input = MakeFile("cache-letters.dat", "a\n", (size_t(32) << 20) - 16);
  {
    std::fstream f(input, std::ios::in | std::ios::out | std::ios::binary);
    f << "v\na b 9999999 d e f g\n";
  }
  const std::string out = Scratch() + "cache.tav";
  double peak = 0, empty = 0, imported = 0;
  for (auto _ : state) {
    empty = PeakMb("", [] { RunCli({"list-cache", "/dev/null"}); });
    peak = PeakMb("", [&] { RunCli({"list-cache", input}); });
    imported = PeakMb("", [&] { RunCli({"import-cache", input, "--house", "0", "--out", out}); });
  }
  Report(state, input, std::max(peak, imported), empty);
}

void BM_RegistryLineEnds(benchmark::State& state) {
  const std::string prefix = Scratch() + "prefix";
  fs::create_directories(prefix);
  const std::string input = MakeFile("prefix/system.reg", "\n", size_t(100) << 20);
  double peak = 0, empty = 0;
  for (auto _ : state) {
    empty = PeakMb("", [] { tavi::WineRegistry::Load("/nonexistent"); });
    peak = PeakMb("", [&] { tavi::WineRegistry::Load(prefix); });
  }
  Report(state, input, peak, empty);
}

BENCHMARK(BM_ClipImportLineEnds)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClipImportOneLetterLines)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HouseFileOneLetterLines)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SettingsLineEnds)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CacheListLineEnds)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CacheListOneLetterLines)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegistryLineEnds)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
