#include "test_support.h"

using namespace testing_support;

namespace {

// A kind no built-in table knows: the pass must take its outputs from the gate.
struct AAndNotB : ANDGate {
    using ANDGate::ANDGate;
    bool evaluate() const override { return inputs[0] && !inputs[1]; }
};

void wire(std::initializer_list<std::tuple<int, int, int>> wires) {
    for (auto [to, pin, from] : wires)
        toggle(to, pin, from);
}

// Runs a traced pass and returns its delivery lines, which follow the button lines and the dump.
std::string tracedDeliveries() {
    vazi = true;
    std::string trace = captureStdout(Graph::simulate);
    size_t at = trace.find(" <-> ");
    return at == std::string::npos ? "" : trace.substr(trace.rfind('\n', at) + 1);
}

std::string wireValues() {  // in list order
    std::string out;
    for (const Edge& wire : edgeList)
        out += wire.value ? '1' : '0';
    return out;
}

}  // namespace

TEST(propagation, trace_request_is_served_by_exactly_one_pass) {
    StartupCircuit circuit;
    std::vector<std::string> trace = {
        "10007 0", "0: ", "1: ", "2: ", "3: ", "4: ", "5: ", "6: ", "7: ", "10007: ", "20007: "};
    vazi = true;  // unwired: the button line and the dump, every slot, button and lamp
    EXPECT_EQ(captureStdout(Graph::simulate), lines(trace));
    toggle(1, 0, 10007);
    trace[2] = "1: 10007 ";
    trace[9] = "10007: 1 ";
    trace.push_back("10007 <-> 1, 0");
    vazi = true;
    EXPECT_EQ(captureStdout(Graph::simulate), lines(trace));
    EXPECT_TRUE(!vazi && Graph::q.empty());
    circuit.button.state = true;
    EXPECT_EQ(captureStdout(Graph::simulate), "");
    EXPECT_TRUE(circuit.andGate.inputs[0] && wireValues() == "1");
}

TEST(propagation, gate_evaluates_per_arrival_in_work_mode_and_once_both_arrived_otherwise) {
    ANDGate gate(60, 30);
    Input a(0, 0, true), b(0, 100, true);
    Output lamp(300, 0, false, ledColor);
    wire({{1, 0, 10007}, {1, 1, 10008}, {20007, 2, 1}});
    for (bool workMode : {true, false}) {
        Graph::workMode = workMode;
        lamp.lit = false;
        EXPECT_EQ(tracedDeliveries(), lines({"10007 <-> 1, 1", "10008 <-> 1, 1"}) +
                                          (workMode ? "1 <-> 20007, 0\n" : "") +
                                          "1 <-> 20007, 1\n");
        EXPECT_TRUE(lamp.lit && !gate.hasA && !gate.hasB);
        EXPECT_EQ(wireValues(), "111");
    }
}

TEST(propagation, half_fed_gates_wait_without_work_mode_and_unreached_lamps_keep_their_value) {
    ORGate half(60, 30);  // only input A wired
    Input button(0, 0, true);
    Output a(300, 0, true, ledColor), direct(300, 400, false, ledColor);
    wire({{1, 0, 10007}, {20007, 2, 1}, {20008, 2, 10007}});
    Graph::workMode = false;
    for (bool state : {false, true, true}) {
        button.state = state;
        Graph::simulate();
    }
    EXPECT_TRUE(half.hasA && a.lit && direct.lit);  // never evaluated: its lamp kept its value
    EXPECT_EQ(wireValues(), "101");
}

// Gate 3 is fed by the first and last buttons, gate 1 by the middle one and by
// gate 3. Gate 3 is queued twice, and its second walk comes after gate 1's.
TEST(propagation, deliveries_into_a_walked_gate_are_dropped) {
    ANDGate one(60, 30), three(60, 200);
    Input b1(0, 0, true), b2(0, 100, true), b3(0, 200, true);
    Output lamp(300, 0, true, ledColor);
    wire({{3, 0, 10007}, {1, 0, 10008}, {3, 1, 10009}, {1, 1, 3}, {20007, 2, 1}});
    EXPECT_EQ(tracedDeliveries(), lines({"10007 <-> 3, 1", "10008 <-> 1, 1", "10009 <-> 3, 1",
                                         "3 <-> 1, 0", "1 <-> 20007, 0", "1 <-> 20007, 0"}));
    EXPECT_EQ(one.inputs, (std::vector<bool>{true, false}));
    EXPECT_EQ(three.inputs, (std::vector<bool>{true, true}));
    EXPECT_EQ(wireValues(), "10110");
}

// Gate g (OR, id 1) is fed on A by the first button and on B by gate h (AND, id 3),
// which only the later button feeds: g is walked first and reaches back along h's wire.
TEST(propagation, walked_gate_writes_back_into_its_unwalked_source) {
    ORGate g(60, 30);
    ANDGate h(60, 200);
    Input first(0, 0, true), later(0, 100, false);
    Output lamp(300, 200, true, ledColor);
    wire({{1, 0, 10007}, {3, 0, 10008}, {1, 1, 3}, {20007, 2, 3}});
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(tracedDeliveries(), lines({"10007 <-> 1, 1", "10008 <-> 3, 0", "1 <-> 3, 1",
                                             "3 <-> 20007, 0", "3 <-> 20007, 0"}));
        EXPECT_EQ(g.inputs, (std::vector<bool>{true, false}));
        EXPECT_EQ(h.inputs, (std::vector<bool>{false, true}));
        // The wire from h records g's value, though h only ever gave 0.
        EXPECT_EQ(wireValues(), "1100");
        EXPECT_FALSE(lamp.lit);
    }
}

TEST(propagation, outputs_come_from_the_gates_own_evaluation) {
    AAndNotB gate(60, 30);
    Input a(0, 0, false), b(0, 100, false);
    Output lamp(300, 0, false, ledColor);
    wire({{1, 0, 10007}, {1, 1, 10008}, {20007, 2, 1}});
    Graph::workMode = false;  // one evaluation, with both inputs in place
    std::string seen;
    for (int inputs = 0; inputs < 4; ++inputs) {
        a.state = inputs & 1;
        b.state = inputs & 2;
        Graph::simulate();
        seen += lamp.lit ? '1' : '0';
    }
    EXPECT_EQ(seen, "0100");
    EXPECT_EQ(gate.inputs, (std::vector<bool>{true, true}));
}
