// The fast propagation pass against the plain reference pass: same input bits,
// arrival flags, lamps, wire values and trace text after every pass.

#include <random>
#include <sstream>

#include "circuit_builders.h"
#include "graph/compiled_wiring.h"
#include "reference_pass.h"
#include "test_support.h"

using namespace testing_support;

namespace {

void clearWiring() {
    for (const Edge& wire : edgeList)
        graph[wire.left].clear(), graph[wire.right].clear();
    edgeList.clear();
    ++wiringVersion;
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
    ++wiringVersion;  // gate bits and wire values were written outside a pass
}

// Runs the reference pass, then the fast one from the same state, and compares.
void expectSamePass(bool traced) {
    std::vector<int> start = circuitState();
    vazi = traced;
    std::string expectedTrace = captureStdout(referenceSimulate);
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

// Run-length model of a tied NAND chain: the values queued for each gate in order,
// as (value, count) runs. A walk of v sets input A then input B of the next gate,
// evaluating after each. Gives the last gate's value and the number of deliveries.
std::pair<bool, std::uint64_t> modelChain(int depth) {
    std::vector<std::pair<bool, std::uint64_t>> level = {{true, 1}};
    std::uint64_t deliveries = 0;
    for (int i = 0; i < depth; ++i) {
        std::vector<std::pair<bool, std::uint64_t>> next;
        bool inputB = false;
        for (auto [v, n] : level) {
            // A changes first, B still holding the last value; afterwards both inputs hold v.
            for (auto [value, count] :
                 {std::pair{!(v && inputB), std::uint64_t(1)}, {!v, 2 * n - 1}})
                if (next.empty() || next.back().first != value)
                    next.push_back({value, count});
                else
                    next.back().second += count;
            inputB = v;
            deliveries += 2 * n;
        }
        level = next;
    }
    for (auto run : level)
        deliveries += run.second;  // every walk of the last gate delivers into the lamp
    return {level.back().first, deliveries};
}

// A traced pass's number of delivery lines, and its last line.
std::pair<size_t, std::string> tracedPass() {
    vazi = true;
    std::istringstream in(captureStdout(Graph::simulate));
    size_t deliveries = 0;
    std::string line, last;
    for (; std::getline(in, line); last = line)
        deliveries += line.find(" <-> ") != std::string::npos;
    return {deliveries, last};
}

}  // namespace

TEST(propagation_differential, random_small_circuits_match_the_reference_and_keep_wiring_sound) {
    // One pool of components for every seed (registries never shrink); each seed
    // wires a random few of them afresh.
    std::mt19937 rng(1);
    std::vector<int> pool = randomLayeredCircuit(12, rng).gates;
    new Input(0, 0, false);
    for (int i = 0; i < 3; ++i)
        new Output(0, 0, false, ledColor);
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
            EXPECT_TRUE(wiringIsConsistent());
        };
        for (int i = 4 + rng() % 14; i > 0; --i)
            toggleRandomWire();
        for (int pass = 0; pass < 4; ++pass) {
            Graph::workMode = rng() % 3 != 0;
            Input::inputs[rng() % Input::inputs.size()]->state = rng() % 2;
            expectSamePass(rng() % 2 == 0);
            if (rng() % 2 == 0)
                toggleRandomWire();
        }
    }
}

// Chains and ladders queue their gates once per delivery: the walks double at every
// level. Traced passes are compared where the reference prints fewer than 100,000
// delivery lines, untraced ones as deep as the reference runs in reasonable time.
TEST(propagation_storm, chains_and_ladders_match_the_reference_as_deep_as_it_runs) {
    for (auto [build, traced, untraced] :
         {std::tuple{&tiedNandChain, 15, 18}, std::tuple{&ladder, 12, 17}}) {
        build(traced);
        for (bool workMode : {true, false}) {
            Graph::workMode = workMode;
            expectSamePass(true);
        }
        clearWiring();
        build(untraced);
        Graph::workMode = true;
        expectSamePass(false);
        clearWiring();
    }
}

// The chain's lamp and delivery count come from the model; the ladder's count is past reckoning.
TEST(propagation_storm, deep_chain_and_ladder_end_with_the_queue_empty_and_the_trace_capped) {
    tiedNandChain(40);
    auto [lamp, deliveries] = modelChain(40);
    auto [printed, last] = tracedPass();
    EXPECT_TRUE(Graph::q.empty() && !vazi);
    EXPECT_EQ(Output::outputs.back()->lit, lamp);
    EXPECT_EQ(printed, 100000u);
    EXPECT_EQ(last, std::to_string(deliveries - 100000) + " more deliveries not printed");
    clearWiring();
    ladder(40);
    Graph::simulate();
    EXPECT_TRUE(Graph::q.empty());
    std::tie(printed, last) = tracedPass();
    EXPECT_TRUE(Graph::q.empty() && !vazi);
    EXPECT_EQ(printed, 100000u);
    EXPECT_NE(last.find(" more deliveries not printed"), std::string::npos);
}
