// Per-run samples of a benchmark, published as their median and 95th percentile.
#pragma once
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

struct Samples {
  std::vector<double> runs;

  void add(double x) { runs.push_back(x); }
  // By nearest rank: of 30 runs, the 95th percentile is the second slowest.
  double quantile(double q) const {
    if (runs.empty()) return 0;
    std::vector<double> s = runs;
    std::sort(s.begin(), s.end());
    const size_t rank = static_cast<size_t>(std::ceil(q * static_cast<double>(s.size())));
    return s[std::clamp<size_t>(rank, 1, s.size()) - 1];
  }
  // NAME_median and NAME_p95 among the benchmark's counters.
  void publish(benchmark::State& state, const std::string& name) const {
    state.counters[name + "_median"] = quantile(0.5);
    state.counters[name + "_p95"] = quantile(0.95);
  }
};
