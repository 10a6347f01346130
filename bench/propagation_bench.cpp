// The production pass, the reference pass it replaced, and the bare walk that
// no pass can beat, each timed per pass on the same circuit.

#include "bench_probes.h"
#include "bench_registry.h"
#include "graph/connections.h"
#include "graph/graph.h"
#include "reference_pass.h"

namespace {

// The reference pass queues every delivery; on tied chains and ladders that is
// 2^depth entries, each scanning the whole wire list, so it stops here.
constexpr int referenceMaxDepth = 20;

void countCircuit(benchmark::State& state, const BuiltCircuit& circuit) {
    state.counters["gates"] = static_cast<double>(circuit.gates.size());
    state.counters["wires"] = static_cast<double>(edgeList.size());
}

// Times `pass` and reports the resident-set high-water mark reached while it
// ran (peak_MB) and how far that is above the resident set before (pass_MB).
template <class Pass>
void timePass(benchmark::State& state, const CircuitShape& circuit, Pass pass, bool warmUp = true) {
    if (!prepareCircuit(state, circuit)) {
        return;
    }
    if (warmUp) {
        pass();  // the first pass builds the flat adjacency; keep that out of the timing
    }
    bool reset = resetPeakMemory();
    double before = residentMB();
    for (auto _ : state) {
        pass();
    }
    double peak = peakMemoryMB();
    state.counters["peak_MB"] = peak;
    if (reset) {  // otherwise the mark covers the whole process, not this pass
        state.counters["pass_MB"] = peak - before;
    }
    countCircuit(state, *circuitForThisProcess(circuit));
}

void timeProduction(benchmark::State& state, const CircuitShape& circuit) {
    timePass(state, circuit, Graph::simulate);
    if (circuitForThisProcess(circuit) != nullptr) {
        static const std::uint64_t deliveries = tracedDeliveries();  // one circuit per process
        state.counters["deliveries"] = static_cast<double>(deliveries);
    }
}

void timeBareWalk(benchmark::State& state, const CircuitShape& circuit) {
    static BareWalk walk;
    std::size_t steps = 0;
    timePass(state, circuit, [&] { benchmark::DoNotOptimize(steps = walk.run()); });
    state.counters["steps"] = static_cast<double>(steps);
    state.counters["reached"] = static_cast<double>(walk.reached());
}

}  // namespace

bool prepareCircuit(benchmark::State& state, const CircuitShape& circuit) {
    if (circuitForThisProcess(circuit) == nullptr) {
        state.SkipWithError(
            "another circuit was built in this process; select one circuit "
            "per run with --benchmark_filter='^<circuit>/'");
        return false;
    }
    return true;
}

void registerPassBenchmarks(const CircuitShape& circuit) {
    // The reference pass goes last: the memory its queue takes stays with the
    // process and would count in the production pass's high-water mark.
    std::string name = circuit.name();
    benchmark::RegisterBenchmark((name + "/production").c_str(), timeProduction, circuit)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((name + "/bare").c_str(), timeBareWalk, circuit)
        ->Unit(benchmark::kMicrosecond);
    if (circuit.family == "random" || circuit.size <= referenceMaxDepth) {
        benchmark::RegisterBenchmark((name + "/reference").c_str(), [circuit](benchmark::State& s) {
            timePass(s, circuit, referenceSimulate, false);
            s.counters["walks"] = static_cast<double>(referenceWalks);
        })->Unit(benchmark::kMicrosecond);
    }
}
