#pragma once

#include <benchmark/benchmark.h>
#include <chrono>

namespace krav::bench {

// Runs operation as the benchmark, then baseline as many times, and reports how many times
// slower the operation is than the baseline as the counter "ratio". Both run in the same
// process on the same data, so the ratio survives a noisy machine better than times do.
template <typename Operation, typename Baseline>
void RunWithBaseline(benchmark::State& state, Operation operation, Baseline baseline) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    for (auto _ : state)
        operation();
    const auto operationTime = Clock::now() - start;

    const auto baselineStart = Clock::now();
    for (benchmark::IterationCount i = 0; i < state.iterations(); ++i)
        baseline();
    const auto baselineTime = Clock::now() - baselineStart;
    state.counters["ratio"] = std::chrono::duration<double>(operationTime).count() /
                              std::chrono::duration<double>(baselineTime).count();
}

} // namespace krav::bench
