// velkora_bench: times the propagation pass and the draw pass on generated
// circuits. Takes the standard Google Benchmark flags. Run one circuit per
// process, e.g. --benchmark_filter='^chain_20/'; bench/run-all runs them all
// and prints the combined table with the ratios that matter.

#include <cstdlib>

#include "bench_registry.h"

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);  // the OpenGL canvas asks for X11 itself
    for (const CircuitShape& circuit : allCircuits()) {
        registerPassBenchmarks(circuit);
        if (circuit.family == "random" || circuit.family == "fanout") {
            registerDrawBenchmarks(circuit);
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
