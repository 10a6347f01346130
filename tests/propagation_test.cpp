// The propagation pass against the plain reference pass: same input bits, arrival
// flags, lamps, wire values and trace text after every pass, also from states written
// outside a pass; and its work budget.

#include <random>
#include <sstream>

#include "circuit_builders.h"
#include "graph/circuit_edits.h"
#include "reference_pass.h"
#include "test_support.h"

using namespace testing_support;

namespace {

// A kind no built-in table knows: the pass must take its outputs from the gate.
struct AAndNotB : ANDGate {
    using ANDGate::ANDGate;
    bool evaluate() const override { return inputs[0] && !inputs[1]; }
};

void clearWiring() {
    for (const Edge& wire : edgeList)
        graph[wire.left].clear(), graph[wire.right].clear();
    edgeList.clear();
    circuitEdited();
}

// Per gate its input bits and arrival flags, then every lamp, then every wire's value.
std::vector<int> circuitState() {
    std::vector<int> s;
    for (size_t slot = 1; slot < Gate::objects.size(); slot += 2) {
        const Gate* g = Gate::objects[slot];
        s.push_back(g->inputs[0] | g->inputs[1] << 1 | g->hasA << 2 | g->hasB << 3);
    }
    for (const Output* lamp : Output::outputs)
        s.push_back(lamp->lit);
    for (const Edge& wire : edgeList)
        s.push_back(wire.value);
    return s;
}

void restore(const std::vector<int>& s) {
    auto next = s.begin();
    for (size_t slot = 1; slot < Gate::objects.size(); slot += 2, ++next) {
        Gate::objects[slot]->inputs = {bool(*next & 1), bool(*next & 2)};
        Gate::objects[slot]->hasA = *next & 4;
        Gate::objects[slot]->hasB = *next & 8;
    }
    for (Output* lamp : Output::outputs)
        lamp->lit = *next++;
    for (const Edge& wire : edgeList)
        wire.value = *next++;
    // Written outside a pass: made known, it is what the next pass starts from.
    circuitEdited();
}

// The reference prints every delivery; the program prints the first 100,000 and counts the rest.
std::string capped(const std::string& trace) {
    std::istringstream in(trace);
    std::string out, line;
    std::uint64_t deliveries = 0;
    while (std::getline(in, line))
        if (line.find(" <-> ") == std::string::npos || ++deliveries <= 100000)
            out += line + "\n";
    if (deliveries > 100000)
        out += std::to_string(deliveries - 100000) + " more deliveries not printed\n";
    return out;
}

// Runs the reference pass, then the fast one from the same state, and compares.
void expectSamePass(bool traced) {
    std::vector<int> start = circuitState();
    vazi = traced;
    std::string expectedTrace = capped(captureStdout(referenceSimulate));
    std::vector<int> expected = circuitState();
    restore(start);
    vazi = traced;
    std::string trace = captureStdout(Graph::simulate);
    // Long traces are compared whole: their diff would take longer than the passes.
    EXPECT_TRUE(trace == expectedTrace)
        << (trace.size() < 5000 ? trace + "expected:\n" + expectedTrace : "");
    EXPECT_EQ(circuitState(), expected);
    EXPECT_TRUE(Graph::q.empty() && !vazi);
}

}  // namespace

TEST(propagation, random_small_circuits_match_the_reference) {
    // One pool of components for every seed (registries never shrink): two gates of
    // each kind and of a kind of our own, three buttons and three lamps; each seed
    // wires a random few afresh.
    std::vector<int> pool;
    for (int i = 0; i < 14; ++i)
        pool.push_back(i < 12 ? makeGate(i % 6) : (new AAndNotB(0, 0))->getId());
    for (int i = 0; i < 3; ++i)
        makeButton(false), new Output(0, 0, false, ledColor);
    std::mt19937 rng;
    for (unsigned seed = 1; seed <= 3000 && !HasFailure(); ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        clearWiring();
        rng.seed(seed);
        std::shuffle(pool.begin(), pool.end(), rng);
        std::vector<int> gates(pool.begin(), pool.begin() + 1 + rng() % 7);
        // Tied inputs, self-loops and wires back into earlier gates all come up,
        // and toggling an existing pair removes it. Its lines go nowhere.
        auto toggleRandomWire = [&] {
            std::cout.setstate(std::ios::badbit);
            int source =
                rng() % 4 ? gates[rng() % gates.size()] : 10007 + int(rng() % Input::inputs.size());
            if (rng() % 5 == 0)
                toggle(20007 + int(rng() % Output::outputs.size()), 2, source);
            else
                toggle(gates[rng() % gates.size()], int(rng() % 2), source);
            std::cout.clear();
        };
        for (int i = 4 + rng() % 14; i > 0; --i)
            toggleRandomWire();
        for (int pass = 0; pass < 4; ++pass) {
            Graph::workMode = rng() % 3 != 0;
            Input::inputs[rng() % Input::inputs.size()]->state = rng() % 2;
            if (rng() % 3 == 0) {  // bits, lamps and wires written outside a pass
                std::vector<int> state = circuitState();
                for (int& bits : state)
                    bits = int(rng() % 16);
                restore(state);
            }
            expectSamePass(rng() % 2 == 0);
            if (rng() % 2 == 0)
                toggleRandomWire();
        }
    }
}

// A chain of NANDs with tied inputs queues each gate once per delivery, so the walks
// double at every level and runs fold: compared traced past the 100,000 delivery lines a
// trace prints, and untraced as deep as the reference runs in reasonable time.
TEST(propagation, tied_chains_match_the_reference_as_deep_as_it_runs) {
    tiedNandChain(17);
    for (bool workMode : {true, false}) {
        Graph::workMode = workMode;
        expectSamePass(true);
    }
    clearWiring();
    tiedNandChain(18);
    Graph::workMode = true;
    expectSamePass(false);
}

// Each NAND of a tied chain queues the next one twice per walk: 1,000 levels ask for far
// more walks than a pass may make.
TEST(propagation, a_pass_over_the_work_budget_ends_empty_says_so_once_and_the_next_one_runs) {
    tiedNandChain(1000);
    testing::internal::CaptureStderr();
    vazi = true;
    captureStdout(Graph::simulate);
    EXPECT_TRUE(Graph::q.empty() && !vazi);
    Input::inputs[0]->state = false;
    vazi = true;
    std::string next = captureStdout(Graph::simulate);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "velkora: a propagation pass was cut short after 2000000 steps; the circuit "
              "multiplies its signals too fast\n");
    EXPECT_TRUE(Graph::q.empty() && !vazi);
    EXPECT_THAT(next, StartsWith("10007 0\n0: \n1: 3 3 10007 10007 \n"));
    EXPECT_THAT(next, HasSubstr("\n10007 <-> 1, 0\n10007 <-> 1, 0\n1 <-> 3, 1\n1 <-> 3, 1\n"));
}
