// The propagation pass: against the plain reference pass over generated circuits, pass after
// pass; down a deep tied chain, where runs fold; and over its work budget.

#include <random>

#include "circuit_builders.h"
#include "graph/circuit_edits.h"
#include "reference_pass.h"
#include "test_support.h"

#include <rapidcheck/gtest.h>  // after GoogleTest, which it needs

using namespace testing_support;

namespace {

// A kind no built-in table knows, and asymmetric: the pass must ask the gate, pin by pin.
struct AAndNotB : ANDGate {
    using ANDGate::ANDGate;
    bool evaluate() const override { return inputs[0] && !inputs[1]; }
};

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

// Writes a state taken by circuitState. Written from outside, it is made known (`edited`);
// putting back what the pass itself left needs no word: its copies still hold it.
void restore(const std::vector<int>& s, bool edited) {
    auto next = s.begin();
    for (size_t slot = 1; slot < Gate::objects.size(); slot += 2, ++next) {
        Gate& g = *Gate::objects[slot];
        g.inputs = {bool(*next & 1), bool(*next & 2)}, g.hasA = *next & 4, g.hasB = *next & 8;
    }
    for (Output* lamp : Output::outputs)
        lamp->lit = *next++;
    for (const Edge& wire : edgeList)
        wire.value = *next++;
    if (edited)
        circuitEdited();
}

// Runs the reference pass, then the pass from the same state, and fails the case where they
// differ. The objects end as the pass left them: its copies stay in step, as frame to frame.
void expectSameAsReference(bool traced) {
    std::vector<int> start = circuitState();
    vazi = traced;
    std::string expected = captureStdout(referenceSimulate);
    std::vector<int> expectedState = circuitState();
    std::vector<bool> expectedMarks(std::begin(visited), std::end(visited));
    restore(start, false);
    vazi = traced;
    std::string trace = captureStdout(Graph::simulate);
    auto parted = std::mismatch(trace.begin(), trace.end(), expected.begin(), expected.end());
    size_t at = parted.first - trace.begin();
    at = at == 0 ? 0 : trace.rfind('\n', at - 1) + 1;  // shown from the line where they part
    RC_ASSERT(trace.substr(at, 500) == expected.substr(at, 500));
    RC_ASSERT(circuitState() == expectedState);  // bits and flags, lamps, wires
    RC_ASSERT(std::equal(expectedMarks.begin(), expectedMarks.end(), std::begin(visited)));
    RC_ASSERT(Graph::q.empty() && !vazi);  // nothing left queued, no trace request left
}

void quietToggle(int destination, int pin, int source) {
    std::cout.setstate(std::ios::badbit);
    toggle(destination, pin, source);
    std::cout.clear();
}

// A choice in [0, n), alike at every size, shrinking towards 0.
rc::Gen<int> choice(int n) {
    return rc::gen::resize(100, rc::gen::inRange(0, n));
}

// Whether the walks took a block of 2 to 8 entries, not all alike, twice or more in a row.
bool repeatsABlock(const std::vector<std::uint32_t>& w) {
    for (size_t p = 2; p <= 8; ++p)
        for (size_t i = p, same = 0; i < w.size(); ++i)
            if ((same = w[i] == w[i - p] ? same + 1 : 0) >= p &&
                std::adjacent_find(&w[i + 1 - p], &w[i] + 1, std::not_equal_to<>()) != &w[i] + 1)
                return true;
    return false;
}

}  // namespace

// Every pass over every generated circuit leaves what the plain rules leave. A gate: its kind
// (the six, then AAndNotB); its inputs, each from the gate 1 to 3 places back on a spine or a
// button, B mostly tied to A's source (the doubling NOT), as the tables below pick them; which
// button; from 16 on, a wire from it into input n & 1 of the gate (n - 16) / 2 places back
// (0: itself); bit 0 a lamp, bit 1 a branch, which later gates skip, so tied chains fan out to
// different gates. A pass: in either mode (2 both inputs), traced (below 2) or not, after
// nothing, a button switched, the extra wire toggled, or every bit, flag, lamp and wire
// written from outside (from the seed).
RC_GTEST_PROP(propagation, every_pass_matches_the_plain_rules, ()) {
    constexpr int kinds = 7, maxGates = 14;
    // The registries never shrink: the components are made once, each case wires some afresh.
    static const std::vector<int> pool = [] {
        std::vector<int> ids;  // gates kind after kind, then lamps, then 3 buttons
        for (int i = 0; i < kinds * maxGates; ++i)
            ids.push_back(i % kinds < 6 ? makeGate(i % kinds) : (new AAndNotB(0, 0))->getId());
        for (int i = 0; i < maxGates + 3; ++i)
            ids.push_back(i < maxGates ? (new Output(0, 0, false, ledColor))->getId()
                                       : makeButton(false));
        return ids;
    }();
    const int *lamps = &pool[kinds * maxGates], *buttons = lamps + maxGates;
    auto gates = *rc::gen::container<std::vector<std::tuple<int, int, int, int, int, int>>>(
        1 + *choice(maxGates),
        rc::gen::tuple(choice(kinds), choice(8), choice(8), choice(3), choice(24), choice(4)));
    auto [extraTo, extraPin, extraFrom] =
        *rc::gen::tuple(choice(maxGates), choice(2), choice(maxGates + 1));
    auto passes = *rc::gen::container<std::vector<std::tuple<int, int, int, int>>>(
        5, rc::gen::tuple(choice(3), choice(3), choice(4), choice(1 << 16)));

    for (const Edge& wire : edgeList)  // the last case's wires
        graph[wire.left].clear(), graph[wire.right].clear();
    edgeList.clear();
    std::vector<int> ids, spine, made(kinds);
    bool ladder = false, feedback = false, repeatedBlock = false;
    for (auto [kind, a, b, button, back, ends] : gates) {
        const int sourceA[] = {1, 1, 1, 1, 1, 2, 3, 0}, sourceB[] = {-1, -1, -1, -1, -1, 2, 1, 0};
        auto source = [&](size_t n) {
            return n == 0 || n > spine.size() ? buttons[button] : spine[spine.size() - n];
        };
        int id = pool[made[kind]++ * kinds + kind], from = source(sourceA[a]);
        int fromB = sourceB[b] < 0 ? from : source(sourceB[b]);
        ids.push_back(id);
        quietToggle(id, 0, from), quietToggle(id, 1, fromB);
        ladder |= from != fromB && from < inOffset && fromB < inOffset;
        if (back >= 16) {
            int into = ids[ids.size() - 1 - std::min<size_t>((back - 16) / 2, ids.size() - 1)];
            quietToggle(into, back & 1, id), feedback = true;
        }
        if (ends & 1)
            quietToggle(lamps[ids.size() - 1], 2, id);
        if (ends < 2)
            spine.push_back(id);
    }
    for (int b = 0; b < 3; ++b)
        Input::inputs[buttons[b] - inOffset]->state = false;
    restore(std::vector<int>(circuitState().size()), true);
    RC_LOG() << "gates " << PrintToString(ids) << ", wires " << PrintToString(wires()) << "\n";

    static std::vector<std::uint32_t> walks;
    referenceWalkLog = &walks;
    for (auto pass : passes) {
        auto [mode, traced, before, seed] = pass;
        RC_LOG() << "pass " << PrintToString(pass) << "\n";
        if (before == 1)
            Input::inputs[buttons[seed % 3] - inOffset]->state ^= true;
        if (before == 2)
            quietToggle(ids[extraTo % ids.size()], extraPin,
                        extraFrom < int(ids.size()) ? ids[extraFrom] : buttons[0]);
        std::vector<int> state = circuitState();
        std::generate(state.begin(), state.end(),
                      [rng = std::mt19937(seed)]() mutable { return int(rng() % 16); });
        if (before == 3)
            restore(state, true);
        Graph::workMode = mode < 2;
        walks.clear();
        expectSameAsReference(traced < 2);
        repeatedBlock |= repeatsABlock(walks);
    }
    // How often the cases reach the shapes the fold meets: told once, when all have passed.
    RC_CLASSIFY(ladder, "two different gates meeting at one");
    RC_CLASSIFY(feedback, "a wire into the same or an earlier gate");
    RC_CLASSIFY(repeatedBlock, "a block of different entries taken twice or more in a row");
}

// 60 tied NANDs queue the last one 2^60 times, the work budget many times over: folded, the pass
// ends as walking would, cap line included (generated circuits stay far below the cap).
TEST(propagation, a_deep_tied_chain_folds_exactly) {
    tiedNandChain(60);
    testing::internal::CaptureStderr();
    for (bool on : {true, false}) {
        Input::inputs[0]->state = on;
        vazi = true;
        std::string trace = captureStdout(Graph::simulate);
        EXPECT_EQ(Output::outputs[0]->lit, on);  // an even chain
        // 2 + 4 + ... + 2^60 deliveries into the gates and 2^60 into the lamp; 100,000 printed.
        EXPECT_THAT(trace, EndsWith("\n" + std::to_string(3 * (1ull << 60) - 2 - 100000) +
                                    " more deliveries not printed\n"));
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// A checked build ends the program before a pass that would start from copies the gates or the
// wires no longer match. (That it lets a pass run where they match, the property test shows.)
TEST(propagation, a_checked_pass_aborts_on_gate_bits_or_wire_values_written_unannounced) {
#ifndef VELKORA_CHECKED
    GTEST_SKIP() << "the check is built with -DVELKORA_CHECKED=ON only (CI's sanitizer pass)";
#endif
    StartupCircuit circuit;
    toggle(3, 1, 10007);
    Graph::simulate();  // takes the copies
    // A gate's input bit, then a wire's value, written without a word.
    for (void (*change)() :
         {+[] { Gate::objects[3]->inputs[1] = true; }, +[] { edgeList.begin()->value = true; }})
        EXPECT_DEATH((change(), Graph::simulate()), "written outside a pass without circuitEdited");
}

// 2,000 buttons, on and off in turn, feed input A of one OR gate: it is queued 2,000 times with
// alternating values, so no run forms and every walk of it is made, one step plus one per lamp
// it drives. The buttons take 4,000 steps: a walk and a delivery each.
TEST(propagation, a_pass_starts_no_walk_once_it_has_made_its_budget_of_walks_and_deliveries) {
    int gate = makeGate(2);
    for (int i = 0; i < 2000; ++i)
        addWireQuietly(gate, 0, makeButton(i % 2 == 0));
    testing::internal::CaptureStderr();
    // 997 lamps: 2,000 walks of 998 steps end on the budget, and the pass with them. 999 lamps:
    // after 1,996 walks of 1,000 the budget is spent, and the pass is cut; so is the next one,
    // which starts afresh from the buttons.
    for (auto [lamps, gateWalks] : {std::pair{997u, 2000u}, {999u, 1996u}, {999u, 1996u}}) {
        while (Output::outputs.size() < lamps)
            addLamp(gate);
        vazi = true;
        std::string trace = captureStdout(Graph::simulate);
        EXPECT_EQ(
            trace.substr(trace.rfind('\n', trace.size() - 2) + 1),
            std::to_string(2000 + gateWalks * lamps - 100000) + " more deliveries not printed\n");
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "velkora: a propagation pass was cut short after 2000000 steps; the circuit "
              "multiplies its signals too fast\n");
}
