#pragma once
// Timing shared by the benchmark programs.

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace bench {

// The fastest of several rounds of the work, in seconds: the least disturbed
// by whatever else the machine does.
inline double Fastest(int rounds, const std::function<void()>& work) {
  double best = 1e9;
  for (int round = 0; round < rounds; ++round) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace bench
