#include "bench_circuits.h"

#include <memory>
#include <random>

std::vector<CircuitSpec> allCircuits() {
    std::vector<CircuitSpec> specs;
    for (int gates : {500, 2000, 5000}) {
        specs.push_back({"random", gates});
    }
    for (const char* family : {"chain", "ladder"}) {
        for (int depth = 10; depth <= 40; depth += 5) {
            specs.push_back({family, depth});
        }
    }
    return specs;
}

const BuiltCircuit* circuitForThisProcess(const CircuitSpec& circuit) {
    static std::string builtName;
    static std::unique_ptr<BuiltCircuit> built;
    if (built == nullptr) {
        builtName = circuit.name();
        if (circuit.family == "random") {
            std::mt19937 rng(20240 + circuit.size);  // fixed: every run times the same circuit
            built = std::make_unique<BuiltCircuit>(randomLayeredCircuit(circuit.size, rng));
        } else if (circuit.family == "chain") {
            built = std::make_unique<BuiltCircuit>(tiedNandChain(circuit.size));
        } else {
            built = std::make_unique<BuiltCircuit>(ladder(circuit.size));
        }
    }
    return builtName == circuit.name() ? built.get() : nullptr;
}
