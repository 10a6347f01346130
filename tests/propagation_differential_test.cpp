// The fast propagation pass against the plain reference pass: same input bits,
// arrival flags, lamps, wire values and trace text after every pass.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "circuit_builders.h"
#include "components/gate_kinds.h"
#include "graph/compiled_wiring.h"
#include "reference_pass.h"
#include "test_support.h"

using testing_support::captureStdout;

namespace {

struct CircuitState {
    std::vector<int> gates;  // inputs and flags packed per gate
    std::vector<bool> lamps;
    std::vector<bool> wires;
    bool operator==(const CircuitState& o) const {
        return gates == o.gates && lamps == o.lamps && wires == o.wires;
    }
};

CircuitState capture() {
    CircuitState s;
    for (size_t slot = 1; slot < Gate::objects.size(); slot += 2) {
        const Gate* g = Gate::objects[slot];
        s.gates.push_back(g->inputs[0] | g->inputs[1] << 1 | g->hasA << 2 | g->hasB << 3);
    }
    for (const Output* lamp : Output::outputs) {
        s.lamps.push_back(lamp->lit);
    }
    for (const Edge& wire : edgeList) {
        s.wires.push_back(wire.value);
    }
    return s;
}

void restore(const CircuitState& s) {
    for (size_t i = 0; i < s.gates.size(); ++i) {
        Gate* g = Gate::objects[2 * i + 1];
        g->inputs[0] = s.gates[i] & 1;
        g->inputs[1] = s.gates[i] & 2;
        g->hasA = s.gates[i] & 4;
        g->hasB = s.gates[i] & 8;
    }
    for (size_t i = 0; i < s.lamps.size(); ++i) {
        Output::outputs[i]->lit = s.lamps[i];
    }
    size_t i = 0;
    for (const Edge& wire : edgeList) {
        wire.value = s.wires[i++];
    }
}

// Runs both passes from the same state and expects the same outcome.
void expectSamePass(bool traced) {
    CircuitState start = capture();
    vazi = traced;
    std::string expectedTrace = captureStdout(referenceSimulate);
    CircuitState expected = capture();
    restore(start);
    vazi = traced;
    std::string trace = captureStdout(Graph::simulate);
    ASSERT_EQ(trace, expectedTrace);
    ASSERT_TRUE(capture() == expected);
    ASSERT_TRUE(Graph::q.empty());
    ASSERT_FALSE(vazi);
}

// A random wire between existing pins: tied inputs, self-loops and wires back
// into earlier gates all come up, and toggling an existing pair removes it.
void toggleRandomWire(std::mt19937& rng, const std::vector<int>& gates) {
    int source = rng() % 4 == 0 ? 10007 + static_cast<int>(rng() % Input::inputs.size())
                                : gates[rng() % gates.size()];
    if (rng() % 5 == 0) {
        testing_support::toggle(20007 + static_cast<int>(rng() % Output::outputs.size()), 2,
                                source);
    } else {
        testing_support::toggle(gates[rng() % gates.size()], static_cast<int>(rng() % 2), source);
    }
}

}  // namespace

void clearWiring() {
    for (auto& set : graph) {
        set.clear();
    }
    edgeList.clear();
    ++wiringVersion;
}

TEST(propagation_differential, random_small_circuits_match_the_reference_pass) {
    // One pool of components for every seed (registries never shrink); each
    // seed wires a random few of them afresh.
    std::vector<int> pool;
    for (int i = 0; i < 12; ++i) {
        pool.push_back((i % 2   ? static_cast<Gate*>(new NANDGate(0, 0))
                        : i % 4 ? static_cast<Gate*>(new XORGate(0, 0))
                                : static_cast<Gate*>(new ANDGate(0, 0)))
                           ->getId());
    }
    for (int i = 0; i < 3; ++i) {
        new Input(0, 0, false);
        new Output(0, 0, false, ledColor);
    }
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        std::shuffle(pool.begin(), pool.end(), rng);
        std::vector<int> gates(pool.begin(), pool.begin() + 1 + rng() % 7);
        int wires = 4 + static_cast<int>(rng() % 14);
        captureStdout([&] {
            for (int i = 0; i < wires; ++i) {
                toggleRandomWire(rng, gates);
            }
        });
        for (int pass = 0; pass < 4 && !HasFatalFailure(); ++pass) {
            Graph::workMode = rng() % 3 != 0;
            Input::inputs[rng() % Input::inputs.size()]->state = rng() % 2;
            expectSamePass(rng() % 2 == 0);
            if (rng() % 2 == 0) {
                captureStdout([&] { toggleRandomWire(rng, gates); });
            }
        }
        if (HasFatalFailure()) {
            return;
        }
        clearWiring();
    }
}
