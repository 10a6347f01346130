#include "editor/key_handler.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>
#include <typeinfo>

#include "app/startup_circuit.h"
#include "editor/keyboard_state.h"
#include "test_support.h"

namespace {

constexpr SDL_Scancode A = SDL_SCANCODE_A, O = SDL_SCANCODE_O, X = SDL_SCANCODE_X,
                       I = SDL_SCANCODE_I, B = SDL_SCANCODE_B, L = SDL_SCANCODE_L,
                       T = SDL_SCANCODE_T, Q = SDL_SCANCODE_Q, SHIFT = SDL_SCANCODE_LSHIFT;
using Keys = std::vector<SDL_Scancode>;
Uint8 held[SDL_NUM_SCANCODES];

// One key-down event while exactly `keys` are held; returns what it printed.
std::string keyEvent(const Keys& keys, int x = 500, int y = 400) {
    keyboardStateSource = [] { return static_cast<const Uint8*>(held); };
    std::fill(std::begin(held), std::end(held), 0);
    for (SDL_Scancode key : keys) {
        held[key] = 1;
    }
    mouseX = x;
    mouseY = y;
    return testing_support::captureStdout(handleKeyDown);
}

std::array<int, 3> counts() {
    return {int(Gate::objects.size() / 2), int(Input::inputs.size()), int(Output::outputs.size())};
}

// Names what one silent event at (700, 300) placed: gates in id order, then
// buttons (off), then lamps (unlit), each centred on the pointer.
std::string placedBy(const Keys& keys) {
    auto before = counts();
    EXPECT_EQ(keyEvent(keys, 700, 300), "");
    std::string placed;
    auto add = [&](std::string name, auto* c, int x, bool on) {
        placed +=
            name.erase(0, name.find_first_not_of("0123456789")) + " ";  // "7ANDGate" -> "ANDGate"
        EXPECT_TRUE(c->getX() == x && c->getY() == 268 && !on) << name;
    };
    for (size_t slot = 2 * before[0] + 1; slot < Gate::objects.size(); slot += 2) {
        add(typeid(*Gate::objects[slot]).name(), Gate::objects[slot], 636, false);
    }
    for (size_t i = before[1]; i < Input::inputs.size(); ++i) {
        add("button", Input::inputs[i], 668, Input::inputs[i]->state);
    }
    for (size_t i = before[2]; i < Output::outputs.size(); ++i) {
        add("lamp", Output::outputs[i], 668, Output::outputs[i]->lit);
    }
    return placed;
}

// Ids index fixed arrays: a kind whose ids ran out places nothing, other keys still act.
void exhaust(int kind, void (*makeOne)(), int capacity, int lastId) {
    while (counts()[kind] < capacity - 1) {
        makeOne();
    }
    for (int event = 0; event < 3; ++event) {
        auto before = counts();
        bool workMode = Graph::workMode;
        keyEvent({A, O, X, I, B, L, Q});
        std::array<int, 3> expected{before[0] + 3, before[1] + 1, before[2] + 1};
        expected[kind] = capacity;  // the last free id first, then nothing
        EXPECT_EQ(counts(), expected) << "event " << event;
        EXPECT_NE(Graph::workMode, workMode);
    }
    int newest[] = {Gate::objects.back()->getId(), Input::inputs.back()->getId(),
                    Output::outputs.back()->getId()};
    EXPECT_EQ(newest[kind], lastId);
}

}  // namespace

TEST(key_handler, places_every_held_key_centred_on_the_pointer_in_key_order) {
    const std::pair<Keys, std::string> rows[] = {
        {{A}, "ANDGate "},
        {{SHIFT, A}, "NANDGate "},
        {{O}, "ORGate "},
        {{SHIFT, O}, "NORGate "},
        {{X}, "XORGate "},
        {{SHIFT, X}, "NXORGate "},
        {{SDL_SCANCODE_RSHIFT, A}, "ANDGate "},
        {{I}, "button "},
        {{B}, "button "},
        {{I, B}, "button "},
        {{L}, "lamp "},
        {{SHIFT, I, B, L}, "button lamp "},
        {{O, A}, "ANDGate ORGate "},
        {{L, X, I, O, A}, "ANDGate ORGate XORGate button lamp "},
        {{SHIFT, A, O, X, B}, "NANDGate NORGate NXORGate button "},
        {{}, ""},
        {{SHIFT, SDL_SCANCODE_RSHIFT, SDL_SCANCODE_N, SDL_SCANCODE_RETURN}, ""}};
    for (const auto& [keys, placed] : rows) {
        EXPECT_EQ(placedBy(keys), placed) << ::testing::PrintToString(Keys(keys));
        EXPECT_TRUE(Graph::workMode && !vazi && leftNode == 0 && rightNode == 0);
    }
}

TEST(key_handler, places_with_the_ids_after_the_startup_circuit_and_never_clamps) {
    StartupCircuit circuit;
    auto where = [](auto* c) { return std::make_tuple(c->getId(), c->getX(), c->getY()); };
    keyEvent({A, I, L});
    ASSERT_EQ(Gate::objects.size(), 10u);
    EXPECT_EQ(Gate::objects[8], Gate::objects[9]);
    EXPECT_EQ(where(Gate::objects[9]), std::make_tuple(9, 436, 368));
    EXPECT_EQ(where(Input::inputs[1]), std::make_tuple(10008, 468, 368));
    EXPECT_EQ(where(Output::outputs[1]), std::make_tuple(20008, 468, 368));
    keyEvent({X, L}, 10, 5);  // near the corner the body sticks out of the window
    EXPECT_EQ(where(Gate::objects[11]), std::make_tuple(11, -54, -27));
    EXPECT_EQ(where(Output::outputs[2]), std::make_tuple(20009, -22, -27));
}

TEST(key_handler, t_dumps_the_graph_after_placing_and_q_flips_work_mode_on_every_event) {
    StartupCircuit circuit;
    testing_support::toggleCaptured(1, 0, 10007);
    using testing_support::lines;
    const std::string head = lines({"0: ", "1: 10007 ", "2: ", "3: ", "4: ", "5: ", "6: ", "7: "});
    const std::string tail = lines({"10007: 1 ", "20007: "});
    EXPECT_EQ(keyEvent({T}), head + tail);
    EXPECT_EQ(keyEvent({SHIFT, T}), head + tail);
    EXPECT_EQ(keyEvent({T, A}), head + lines({"8: ", "9: "}) + tail);
    const std::pair<Keys, bool> rows[] = {
        {{Q}, false}, {{Q}, true}, {{SHIFT, Q}, false}, {{A}, false}, {{Q, L}, true}};
    for (const auto& [keys, workMode] : rows) {
        EXPECT_EQ(keyEvent(keys), "");
        EXPECT_EQ(Graph::workMode, workMode);
    }
    EXPECT_EQ(counts(), (std::array<int, 3>{6, 1, 2}));
}

TEST(key_handler_ids, gates_stop_at_id_10005) {
    exhaust(
        0, [] { new ANDGate(0, 0); }, 5003, 10005);
}
TEST(key_handler_ids, buttons_stop_at_id_20006) {
    exhaust(
        1, [] { new Input(0, 0, false); }, 10000, 20006);
}
TEST(key_handler_ids, lamps_stop_at_id_40002) {
    exhaust(
        2, [] { new Output(0, 0, false, ledColor); }, 19996, 40002);
}
