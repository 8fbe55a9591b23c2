#pragma once
// A path and its floor measured in the same run, alternating, so that a busy
// machine weighs on both alike. The benchmark's time is the path's; the
// counters give the floor's time, the ratio path / floor and the target ratio.
#include <benchmark/benchmark.h>

#include <chrono>

namespace tavi::bench {

// The same with `prepare` run before each of the two, untimed (for example
// to drop files from the page cache).
template <class Prepare, class Path, class Floor>
void PathAgainstFloorPrepared(benchmark::State& st, double target, Prepare&& prepare, Path&& path,
                              Floor&& floor) {
  using Clock = std::chrono::steady_clock;
  double pathSeconds = 0, floorSeconds = 0;
  for (auto _ : st) {
    prepare();
    const auto t0 = Clock::now();
    floor();
    const auto t1 = Clock::now();
    prepare();
    const auto t2 = Clock::now();
    path();
    const auto t3 = Clock::now();
    const double p = std::chrono::duration<double>(t3 - t2).count();
    floorSeconds += std::chrono::duration<double>(t1 - t0).count();
    pathSeconds += p;
    st.SetIterationTime(p);
  }
  const double n = double(st.iterations() > 0 ? st.iterations() : 1);
  st.counters["floor_ms"] = floorSeconds / n * 1e3;
  st.counters["ratio"] = floorSeconds > 0 ? pathSeconds / floorSeconds : 0;
  st.counters["target"] = target;
}

template <class Path, class Floor>
void PathAgainstFloor(benchmark::State& st, double target, Path&& path, Floor&& floor) {
  PathAgainstFloorPrepared(
      st, target, [] {}, path, floor);
}

}  // namespace tavi::bench
