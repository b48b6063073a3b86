#pragma once

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstddef>
#include <ctime>
#include <vector>

namespace krav::bench {

// How an operation is judged: against its baseline (the operation may take at most
// `ratio` times as long), or by its own time (at most `milliseconds`, its ratio to the
// baseline only shown).
struct Target {
    double ratio = 0;
    double milliseconds = 0;
};

namespace detail {

// The calling thread's CPU time: a compiler on the other core, or a time slice given to it,
// does not count against the work measured.
inline double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <typename Work> double TimeOnce(Work& work) {
    const double start = ThreadSeconds();
    work();
    return ThreadSeconds() - start;
}

inline double Percentile(std::vector<double> values, double fraction) {
    if (values.empty())
        return 0;
    const auto at = values.begin() + static_cast<std::ptrdiff_t>(fraction * (values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

} // namespace detail

// Runs the operation and its baseline alternately (operation, baseline, baseline, operation,
// ...) and reports how many times slower the operation is than the baseline: runs are grouped
// into batches long enough to time well, and the median of the per-batch ratios is "ratio",
// the largest "ratio_max". Load that arrives during a run lands on neighbouring runs of both,
// so it hardly moves the median. The benchmark's own time is the operation's alone: register
// it with UseManualTime(). prepare, untimed, runs before each operation (to undo what the
// last one did, say).
template <typename Operation, typename Baseline, typename Prepare = void (*)()>
void RunWithBaseline(
    benchmark::State& state, Operation operation, Baseline baseline, Target target = {},
    Prepare prepare = [] {}) {
    constexpr double batchSeconds = 500e-6; // far above the clock's cost, below a time slice
    std::vector<double> ratios;
    std::vector<double> operationTimes; // per run, for the absolute targets
    double batchOperation = 0;
    double batchBaseline = 0;
    double baselineTotal = 0;
    bool operationFirst = true;
    // A first run of each, untimed: allocations and scaled pictures made once are not
    // what is measured.
    prepare();
    operation();
    baseline();
    const auto closeBatch = [&] {
        ratios.push_back(batchOperation / batchBaseline);
        batchOperation = batchBaseline = 0;
    };
    for (auto _ : state) {
        // Whichever goes second finds the caches as the first left them: take turns.
        double op, base;
        prepare();
        if (operationFirst) {
            op = detail::TimeOnce(operation);
            base = detail::TimeOnce(baseline);
        } else {
            base = detail::TimeOnce(baseline);
            op = detail::TimeOnce(operation);
        }
        operationFirst = !operationFirst;
        state.SetIterationTime(op);
        operationTimes.push_back(op);
        baselineTotal += base;
        batchOperation += op;
        batchBaseline += base;
        if (batchBaseline >= batchSeconds && batchOperation >= batchSeconds && operationFirst)
            closeBatch();
    }
    if (batchBaseline > 0 && (ratios.empty() || batchBaseline >= batchSeconds / 2))
        closeBatch();
    state.counters["ratio"] = detail::Percentile(ratios, 0.5);
    state.counters["ratio_max"] = *std::max_element(ratios.begin(), ratios.end());
    state.counters["batches"] = static_cast<double>(ratios.size());
    state.counters["baseline_ms"] =
        baselineTotal / static_cast<double>(operationTimes.size()) * 1e3;
    if (target.ratio > 0)
        state.counters["target"] = target.ratio;
    if (target.milliseconds > 0) {
        state.counters["target_ms"] = target.milliseconds;
        state.counters["ms"] = detail::Percentile(operationTimes, 0.5) * 1e3;
    }
}

} // namespace krav::bench
