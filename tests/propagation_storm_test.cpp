// Circuits whose gates are queued once per delivery: the number of walks
// doubles at every level. The pass must still agree with the reference where
// the reference can run, and end quickly everywhere.

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "circuit_builders.h"
#include "reference_pass.h"
#include "test_support.h"

using testing_support::captureStdout;

namespace {

struct Outcome {
    std::string trace;
    std::vector<bool> lamps;
    std::vector<bool> wires;
    std::vector<int> gates;
};

Outcome runPass(void (*pass)(), bool traced) {
    for (size_t slot = 1; slot < Gate::objects.size(); slot += 2) {
        Gate::objects[slot]->hasA = Gate::objects[slot]->hasB = false;
    }
    vazi = traced;
    Outcome o;
    o.trace = captureStdout(pass);
    for (const Output* lamp : Output::outputs) {
        o.lamps.push_back(lamp->lit);
    }
    for (const Edge& wire : edgeList) {
        o.wires.push_back(wire.value);
    }
    for (size_t slot = 1; slot < Gate::objects.size(); slot += 2) {
        const Gate* g = Gate::objects[slot];
        o.gates.push_back(g->inputs[0] | g->inputs[1] << 1 | g->hasA << 2 | g->hasB << 3);
    }
    return o;
}

void expectSameAsReference(bool workMode, bool traced) {
    Graph::workMode = workMode;
    Outcome expected = runPass(referenceSimulate, traced);
    Outcome actual = runPass(Graph::simulate, traced);
    // Compared as a whole: a diff of two long traces takes longer than the passes.
    EXPECT_TRUE(actual.trace == expected.trace);
    {
        EXPECT_EQ(actual.lamps, expected.lamps);
        EXPECT_EQ(actual.wires, expected.wires);
        EXPECT_EQ(actual.gates, expected.gates);
    }
}

// Run-length model of a tied NAND chain: the values queued for each gate in
// order, as (value, count) runs. A walk of v sets input A then input B of the
// next gate, evaluating after each.
struct ChainModel {
    bool lastLampValue;
    std::uint64_t deliveries;
};

ChainModel modelChain(int depth, bool button) {
    std::vector<std::pair<bool, std::uint64_t>> level = {{button, 1}};
    std::uint64_t deliveries = 0;
    for (int i = 0; i < depth; ++i) {
        std::vector<std::pair<bool, std::uint64_t>> next;
        auto add = [&](bool v, std::uint64_t n) {
            if (!next.empty() && next.back().first == v) {
                next.back().second += n;
            } else {
                next.push_back({v, n});
            }
        };
        bool inputB = false;
        for (auto [v, n] : level) {
            add(!(v && inputB), 1);  // A changes first, B still holds the last value
            add(!v, 1);
            add(!v, 2 * (n - 1));  // afterwards both inputs already hold v
            inputB = v;
            deliveries += 2 * n;
        }
        level = next;
    }
    std::uint64_t lastWalks = 0;
    for (auto run : level) {
        lastWalks += run.second;
    }
    return {level.back().first, deliveries + lastWalks};
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        out.push_back(line);
    }
    return out;
}

size_t countDeliveryLines(const std::vector<std::string>& lines) {
    size_t n = 0;
    for (const auto& line : lines) {
        n += line.find(" <-> ") != std::string::npos;
    }
    return n;
}

}  // namespace

// Traced passes are compared where the reference prints fewer than 100,000
// delivery lines; untraced ones as deep as the reference runs in reasonable time.
TEST(propagation_storm, tied_nand_chain_matches_the_reference) {
    tiedNandChain(15);
    for (bool workMode : {true, false}) {
        expectSameAsReference(workMode, true);
    }
    tiedNandChain(18);
    expectSameAsReference(true, false);
}

TEST(propagation_storm, ladder_matches_the_reference) {
    ladder(12);
    for (bool workMode : {true, false}) {
        expectSameAsReference(workMode, true);
    }
    ladder(17);
    expectSameAsReference(true, false);
}

TEST(propagation_storm, deep_tied_chain_ends_with_the_modelled_lamp_and_delivery_count) {
    BuiltCircuit chain = tiedNandChain(40);
    ChainModel model = modelChain(40, true);
    Outcome outcome = runPass(Graph::simulate, true);
    EXPECT_TRUE(Graph::q.empty());
    EXPECT_EQ(outcome.lamps.back(), model.lastLampValue);
    std::vector<std::string> lines = splitLines(outcome.trace);
    EXPECT_EQ(countDeliveryLines(lines), 100000u);
    EXPECT_EQ(lines.back(),
              std::to_string(model.deliveries - 100000) + " more deliveries not printed");
}

TEST(propagation_storm, deep_ladder_ends_traced_and_untraced_with_the_queue_empty) {
    ladder(40);
    runPass(Graph::simulate, false);
    EXPECT_TRUE(Graph::q.empty());
    Outcome traced = runPass(Graph::simulate, true);
    EXPECT_TRUE(Graph::q.empty());
    EXPECT_FALSE(vazi);
    std::vector<std::string> lines = splitLines(traced.trace);
    EXPECT_EQ(countDeliveryLines(lines), 100000u);
    EXPECT_NE(lines.back().find(" more deliveries not printed"), std::string::npos);
}
