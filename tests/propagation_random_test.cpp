#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iostream>
#include <random>
#include <set>
#include <sstream>
#include <tuple>

#include "components/gate_kinds.h"
#include "test_support.h"

using namespace testing_support;

namespace {

template <class Kind>
Gate* make(int x, int y) {
    return new Kind(x, y);
}
Gate* (*const makeGate[])(int, int) = {make<ANDGate>, make<NANDGate>, make<ORGate>,
                                       make<NORGate>, make<XORGate>,  make<NXORGate>};

// Captures std::cout in memory, far cheaper than redirecting the descriptor; the
// toggle and the pass print through std::cout alone.
std::string printed(const std::function<void()>& body) {
    std::ostringstream out;
    std::streambuf* saved = std::cout.rdbuf(out.rdbuf());
    body();
    std::cout.rdbuf(saved);
    return out.str();
}

struct Delivery {
    int from, to;
    bool value;
};

// The value of the last delivery that `matches`, or `otherwise` when none does.
template <class Match>
bool last(const std::vector<Delivery>& sent, Match matches, bool otherwise) {
    auto it = std::find_if(sent.rbegin(), sent.rend(), matches);
    return it == sent.rend() ? otherwise : it->value;
}

// Runs a traced pass and checks what it left against the deliveries it reports.
void tracedPassAgreesWithItsTrace() {
    std::vector<bool> litBefore, valueBefore;
    for (const Output* lamp : Output::outputs)
        litBefore.push_back(lamp->lit);
    for (const Edge& w : edgeList)
        valueBefore.push_back(w.value);
    std::string head;
    for (const Input* b : Input::inputs)
        head += std::to_string(b->getId()) + (b->state ? " 1\n" : " 0\n");
    head += printed(Graph::debugGraph);
    vazi = true;
    std::string trace = printed(Graph::simulate);
    ASSERT_EQ(trace.substr(0, head.size()), head);
    std::istringstream in(trace.substr(head.size()));
    std::vector<Delivery> sent;
    std::set<int> walked, reached;
    Delivery d;
    std::string arrow;
    char comma;
    while (in >> d.from >> arrow >> d.to >> comma >> d.value) {
        // Buttons and gates deliver, gates and lamps receive, along a wire, until walked.
        auto wires = graph[d.from].lower_bound({d.to, 0}) != graph[d.from].lower_bound({d.to, 3});
        ASSERT_TRUE(d.from < outOffset && (d.to < inOffset || d.to >= outOffset) && wires)
            << d.from << " <-> " << d.to;
        EXPECT_FALSE(walked.count(d.to)) << "delivery into " << d.to << " after it was walked";
        EXPECT_TRUE(d.from < inOffset || d.value == Input::inputs[d.from - inOffset]->state);
        walked.insert(d.from);
        reached.insert(d.to);
        sent.push_back(d);
    }
    EXPECT_TRUE(in.eof()) << "unexpected trace text";
    // Every button is walked once, before anything else is marked: one delivery per wire.
    for (const Input* b : Input::inputs) {
        auto from = [&](const Delivery& x) { return x.from == b->getId(); };
        EXPECT_EQ(std::count_if(sent.begin(), sent.end(), from), graph[b->getId()].size());
    }
    for (size_t i = 0; i < Output::outputs.size(); ++i) {
        auto into = [&](const Delivery& x) { return x.to == outOffset + int(i); };
        EXPECT_EQ(Output::outputs[i]->lit, last(sent, into, litBefore[i])) << "lamp " << i;
    }
    size_t k = 0;
    for (const Edge& w : edgeList) {
        auto along = [&](const Delivery& x) {
            return std::minmax(x.from, x.to) == std::minmax(w.left, w.right);
        };
        EXPECT_EQ(w.value, last(sent, along, valueBefore[k++])) << w.left << " <- " << w.right;
    }
    for (int id = 1; id < int(Gate::objects.size()); id += 2) {
        const Gate* g = Gate::objects[id];
        for (int pin : {0, 1}) {
            auto into = [&](const Delivery& x) {
                return x.to == id && countEntry(id, x.from, pin);
            };
            EXPECT_EQ(g->inputs[pin], last(sent, into, false)) << "gate " << id << " pin " << pin;
        }
        if (!reached.count(id)) {
            EXPECT_FALSE(walked.count(id)) << "gate " << id << " delivered unfed";
        } else if (Graph::workMode) {
            EXPECT_FALSE(g->hasA || g->hasB) << "gate " << id;
            // Lamps are never walked, so the gate's last walk, made with its final
            // inputs, is the last delivery into every lamp on its output.
            for (const auto& [to, pin] : graph[id]) {
                auto drives = [&, to = to](const Delivery& x) {
                    return x.from == id && x.to == to;
                };
                EXPECT_TRUE(pin != 2 || last(sent, drives, !g->evaluate()) == g->evaluate()) << id;
            }
        }
    }
}

}  // namespace

class propagation_random : public testing::TestWithParam<int> {};

// Random gates, buttons and lamps; random toggles between valid pins (tied inputs,
// self-loops, repeats and reversed pairs included) mixed with passes in either mode.
TEST_P(propagation_random, passes_agree_with_their_trace_and_keep_wiring_consistent) {
    for (int seed = GetParam() * 30 + 1; seed <= GetParam() * 30 + 30; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        auto pick = [&](size_t below) { return int(rng() % below); };
        std::vector<int> gates, buttons, lamps;
        for (int i = pick(10); i >= 0; --i)
            gates.push_back(makeGate[pick(6)](pick(1400), pick(800))->getId());
        for (int i = pick(3); i >= 0; --i) {
            buttons.push_back((new Input(pick(1500), pick(800), pick(2)))->getId());
            lamps.push_back((new Output(pick(1500), pick(800), pick(2), ledColor))->getId());
        }
        std::set<std::tuple<int, int, int>> wires;  // (smaller id, larger id, pin selector)
        for (int step = 0; step < 30; ++step) {
            if (pick(3) > 0) {
                int pin = pick(4) == 0 ? 2 : pick(2);
                int to = pin == 2 ? lamps[pick(lamps.size())] : gates[pick(gates.size())];
                int from = pick(3) == 0 ? buttons[pick(buttons.size())] : gates[pick(gates.size())];
                auto key = std::make_tuple(std::min(to, from), std::max(to, from), pin);
                bool removes = wires.erase(key) > 0 || !wires.insert(key).second;
                std::string text = printed([&] { toggle(to, pin, from); });
                EXPECT_EQ(text.substr(0, removes ? 100 : 12),
                          removes ? "uso 0\n" : "uso 0\nuso 2\n");
                ASSERT_EQ(edgeList.size(), wires.size());
                ASSERT_TRUE(wiringIsConsistent());
                continue;
            }
            for (int b : buttons)
                Input::inputs[b - inOffset]->state = pick(2);
            Graph::workMode = pick(3) > 0;
            if (pick(5) > 0) {
                tracedPassAgreesWithItsTrace();
            } else {
                EXPECT_EQ(printed(Graph::simulate), "");  // nothing requested a trace
            }
            EXPECT_TRUE(Graph::q.empty() && !vazi);
        }
        for (const Edge& w : std::vector<Edge>(edgeList.begin(), edgeList.end()))
            toggle(w.left, w.which, w.right);
        ASSERT_TRUE(edgeList.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(seed_blocks, propagation_random, testing::Range(0, 10));
