#pragma once
// Rows of the performance table that scripts/bench prints. A row is a figure and the baseline
// it is held against, both measured in the same run, and the largest ratio allowed; the
// script reads them back from the benchmark's counters, so one benchmark may carry several.
#include <benchmark/benchmark.h>

#include <string>

// `units` is what the figures are per (evaluations, bytes, primitives), so that both columns
// read as nanoseconds per unit.
inline void TableRow(benchmark::State& state, const std::string& row, double figureSeconds, double baselineSeconds,
                     double goalRatio, double units = 1.0) {
    const double perUnit = 1e9 / (units * double(state.iterations()));
    state.counters[row + "|figure_ns"] = figureSeconds * perUnit;
    state.counters[row + "|baseline_ns"] = baselineSeconds * perUnit;
    state.counters[row + "|goal"] = goalRatio;
}

// A row of memory: bytes held against a baseline's, per `units` (channels, entries).
inline void BytesRow(benchmark::State& state, const std::string& row, double figureBytes, double baselineBytes,
                     double goalRatio, double units = 1.0) {
    state.counters[row + "|figure_bytes"] = figureBytes / units;
    state.counters[row + "|baseline_bytes"] = baselineBytes / units;
    state.counters[row + "|goal"] = goalRatio;
}

// A row whose figure is a count of heap allocations that must stay at or under `most`.
inline void AllocationRow(benchmark::State& state, const std::string& row, double allocations, double most) {
    state.counters[row + "|allocations"] = allocations;
    state.counters[row + "|goal"] = most;
}
