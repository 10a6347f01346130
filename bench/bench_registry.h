#pragma once

#include <benchmark/benchmark.h>

#include "bench_circuits.h"

// Each registers its benchmarks for one circuit, named "<circuit>/<what>", so
// that --benchmark_filter='^<circuit>/' selects one circuit for one process.
void registerPassBenchmarks(const CircuitShape& circuit);
void registerDrawBenchmarks(const CircuitShape& circuit);

// Looks up this process's circuit, or marks the run as skipped when another
// circuit already occupies the process. Returns false when skipped.
bool prepareCircuit(benchmark::State& state, const CircuitShape& circuit);
