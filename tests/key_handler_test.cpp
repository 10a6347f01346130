#include "editor/key_handler.h"

#include "app/frame_loop.h"
#include "editor/keyboard_state.h"
#include "test_support.h"

using namespace testing_support;

namespace {

Uint8 held[SDL_NUM_SCANCODES];

// One key-down event at the pointer (700, 300) while exactly `keys` are held, each
// named by its letter, '<' for Left Shift and '>' for Right Shift; returns what it printed.
std::string keyDown(const std::string& keys) {
    keyboardStateSource = [] { return static_cast<const Uint8*>(held); };
    std::fill(std::begin(held), std::end(held), 0);
    for (char key : keys)
        held[key == '<'   ? SDL_SCANCODE_LSHIFT
             : key == '>' ? SDL_SCANCODE_RSHIFT
                          : SDL_GetScancodeFromName(std::string(1, key).c_str())] = 1;
    std::tie(mouseX, mouseY) = std::make_tuple(700, 300);
    return captureStdout(handleKeyDown);
}

std::array<size_t, 3> counts() {
    return {Gate::objects.size() / 2, Input::inputs.size(), Output::outputs.size()};
}

// Names what one silent key-down without Q placed: gates in id order, by their outputs for inputs
// 00 to 11, then buttons, then lamps; each centred on the pointer, buttons off and lamps unlit.
std::string placedBy(const std::string& keys) {
    auto before = counts();
    EXPECT_EQ(keyDown(keys), "");
    EXPECT_TRUE(Graph::workMode) << "the mode switched";
    std::string placed;
    auto add = [&](std::string name, auto* c, int x, bool on) {
        placed += (placed.empty() ? "" : " ") + name;
        EXPECT_TRUE(c->getX() == x && c->getY() == 268 && !on) << name;
    };
    for (size_t slot = 2 * before[0] + 1; slot < Gate::objects.size(); slot += 2) {
        Gate* gate = Gate::objects[slot];
        std::string outputs;
        for (int in = 0; in < 4; ++in)
            gate->inputs = {bool(in & 2), bool(in & 1)}, outputs += gate->evaluate() ? '1' : '0';
        add(outputs, gate, 636, false);
    }
    for (size_t i = before[1]; i < Input::inputs.size(); ++i)
        add("button", Input::inputs[i], 668, Input::inputs[i]->state);
    for (size_t i = before[2]; i < Output::outputs.size(); ++i)
        add("lamp", Output::outputs[i], 668, Output::outputs[i]->lit);
    return placed;
}

}  // namespace

TEST(key_handler, places_every_held_key_centred_on_the_pointer_in_key_order_at_every_repeat) {
    // Each row: the keys held, "=", then what one event places (gates: AND 0001, NAND 1110,
    // OR 0111, NOR 1000, XOR 0110, NXOR 1001).
    for (const std::string row :
         {"A=0001", "<A=1110", "O=0111", "<O=1000", "X=0110", "<X=1001", ">A=0001", "I=button",
          "B=button", "IB=button", "L=lamp", "<IBL=button lamp", "OA=0001 0111",
          "LXIOA=0001 0111 0110 button lamp", "<AOXB=1110 1000 1001 button", "=", "<>NZ="}) {
        size_t split = row.find('=');
        EXPECT_EQ(placedBy(row.substr(0, split)), row.substr(split + 1)) << row;
    }
    keyDown("L");  // held: auto-repeated key-down events follow, and each one places again
    size_t lamps = Output::outputs.size();
    SDL_Event repeat;
    repeat.key = {SDL_KEYDOWN, 0, 0, SDL_PRESSED, 1, 0, 0, {}};  // repeat: 1
    App app;
    dispatchEvent(repeat, app);
    EXPECT_EQ(Output::outputs.size(), lamps + 1);
}

// Ids index fixed arrays: a kind whose ids ran out places nothing, other keys still act.
TEST(key_handler, each_kind_places_up_to_its_last_id_and_then_nothing) {
    while (Gate::objects.size() < 2 * 5001)  // two gate ids left: 10003 and 10005
        new ANDGate(0, 0);
    while (Input::inputs.size() < 9999)  // one: 20006
        new Input(0, 0, false);
    while (Output::outputs.size() < 19993)  // three: 40000 to 40002
        new Output(0, 0, false, ledColor);
    for (std::array<size_t, 3> expected :
         {std::array<size_t, 3>{5002, 10000, 19994}, {5003, 10000, 19995}, {5003, 10000, 19996}}) {
        bool workMode = Graph::workMode;
        keyDown("AILQ");
        EXPECT_EQ(counts(), expected);
        EXPECT_NE(Graph::workMode, workMode);
    }
    keyDown("AOXIL<");
    EXPECT_EQ(counts(), (std::array<size_t, 3>{5003, 10000, 19996}));
}

// Start-up circuit: AND 1, NAND 3, OR 5, NXOR 7, button 10007, lamp 20007. Two wires of one pair
// stay apart by pin; one added and removed again leaves nothing at either end.
TEST(key_handler, t_prints_every_gate_slot_button_and_lamp_with_its_wired_neighbours) {
    StartupCircuit circuit;
    toggle(20007, 2, 5), toggle(3, 0, 10007), toggle(3, 1, 10007), toggle(20007, 2, 5);
    EXPECT_EQ(keyDown("T"),
              "0: \n1: \n2: \n3: 10007 10007 \n4: \n5: \n6: \n7: \n10007: 3 3 \n20007: \n");
}
