#include "bench_circuits.h"

#include <memory>
#include <random>
#include <tuple>

#include "app/startup_circuit.h"

namespace {

// `gates` gates of random kinds; every gate input is fed from an earlier source
// (a button or an earlier gate); a lamp on about one gate in ten.
BuiltCircuit randomLayeredCircuit(int gates, std::mt19937& rng) {
    BuiltCircuit c;
    std::vector<int> sources;
    for (int i = gates / 20 + 2; i > 0; --i) {
        sources.push_back(makeButton(rng() % 2 == 0));
    }
    for (int i = 0; i < gates; ++i) {
        int gate = makeGate(static_cast<int>(rng() % 6), (i * 37) % 1500, (i * 53) % 800);
        int a = sources[rng() % sources.size()];
        int b = sources[rng() % sources.size()];
        addWireQuietly(gate, 0, a);
        if (b != a || rng() % 2 == 0) {
            addWireQuietly(gate, 1, b);
        }
        c.gates.push_back(gate);
        sources.push_back(gate);
        if (rng() % 10 == 0) {
            addLamp(gate);
        }
    }
    return c;
}

// Two gates per level, each fed by both gates of the level before (the first
// level by two buttons, on and off); lamps on the last level.
BuiltCircuit ladder(int depth) {
    BuiltCircuit c;
    int left = makeButton(true), right = makeButton(false);
    for (int level = 0; level < depth; ++level) {
        // NAND and NOR, then XOR and AND, alternately.
        int a = makeGate(level % 2 == 0 ? 1 : 4), b = makeGate(level % 2 == 0 ? 3 : 0);
        for (int gate : {a, b}) {
            addWireQuietly(gate, 0, left);
            addWireQuietly(gate, 1, right);
            c.gates.push_back(gate);
        }
        std::tie(left, right) = std::make_pair(a, b);
    }
    addLamp(left);
    addLamp(right);
    return c;
}

// The page's circuit of live wires: the start-up circuit's button feeds both inputs of its
// NAND gate, whose 1 goes to `lamps` lamps in rows of ten on the right.
BuiltCircuit fanOut(int lamps) {
    new StartupCircuit;  // gates 1, 3, 5, 7, button 10007, lamp 20007; lives to the end
    for (int pin : {0, 1}) {
        addWireQuietly(3, pin, 10007);
    }
    for (int i = 0; i < lamps; ++i) {
        int lamp = (new Output(818 + 75 * (i % 10), 88 + 78 * (i / 10), false, ledColor))->getId();
        addWireQuietly(lamp, 2, 3);
    }
    return BuiltCircuit{{1, 3, 5, 7}};
}

}  // namespace

std::vector<CircuitShape> allCircuits() {
    std::vector<CircuitShape> shapes;
    for (int gates : {500, 2000, 5000}) {
        shapes.push_back({"random", gates});
    }
    for (const char* family : {"chain", "ladder"}) {
        for (int depth = 10; depth <= 40; depth += 5) {
            shapes.push_back({family, depth});
        }
    }
    shapes.push_back({"fanout", 100});
    return shapes;
}

const BuiltCircuit* circuitForThisProcess(const CircuitShape& circuit) {
    static std::string builtName;
    static std::unique_ptr<BuiltCircuit> built;
    if (built == nullptr) {
        builtName = circuit.name();
        if (circuit.family == "random") {
            std::mt19937 rng(20240 + circuit.size);  // fixed: every run times the same circuit
            built = std::make_unique<BuiltCircuit>(randomLayeredCircuit(circuit.size, rng));
        } else if (circuit.family == "fanout") {
            built = std::make_unique<BuiltCircuit>(fanOut(circuit.size));
        } else if (circuit.family == "chain") {
            built = std::make_unique<BuiltCircuit>(tiedNandChain(circuit.size));
        } else {
            built = std::make_unique<BuiltCircuit>(ladder(circuit.size));
        }
    }
    return builtName == circuit.name() ? built.get() : nullptr;
}
