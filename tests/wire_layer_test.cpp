#include "render/wire_layer.h"

#include <cstring>
#include <random>

#include "editor/key_handler.h"
#include "editor/keyboard_state.h"
#include "editor/mouse_handlers.h"
#include "editor/pin_selection.h"
#include "render/background.h"
#include "render/draw_pass.h"
#include "test_support.h"

using namespace testing_support;

namespace {

Uint8 held[SDL_NUM_SCANCODES];

// A user at work, at random: placing parts, clicking pins (wiring and unwiring them), and
// dragging parts about or clicking them (switching buttons), each over a few frames; every
// frame drawn into two software canvases, one with each wire drawn anew, one through a layer.
struct Session {
    explicit Session(unsigned seed) : rng(seed) { layer.make(renderers[1]); }
    int pick(size_t n) { return std::uniform_int_distribution<int>(0, int(n) - 1)(rng); }

    // The pointer moves to (x, y), `events` run, then the rest of the frame, drawn both ways.
    void frame(
        int x, int y, void (*events)() = [] {}) {
        if (Test::HasFatalFailure())
            return;
        std::tie(px, py, mouseX, mouseY) = std::make_tuple(mouseX, mouseY, x, y);
        captureStdout([&] { events(), wireTrigger(), dragStep(), Graph::simulate(); });
        std::string printed[2];
        for (int kept : {0, 1}) {
            clearBackground(renderers[kept]);
            printed[kept] = captureStdout(
                [&] { drawFrame(renderers[kept], nullptr, {}, kept ? &layer : nullptr); });
        }
        ASSERT_EQ(printed[1], printed[0]) << "frame " << frames;
        ASSERT_EQ(std::memcmp(surfaces[0]->pixels, surfaces[1]->pixels, 1600 * 900 * 4), 0)
            << "frame " << frames << " drawn differently";
        ++frames;
    }
    void step() {
        std::vector<std::tuple<int, int, int>> pins;  // and which way the part's body lies
        auto add = [&](Node* pin, int body) { pins.emplace_back(pin->x + 8, pin->y + 8, body); };
        for (size_t slot = 0; slot < Gate::objects.size(); slot += 2) {
            Gate* g = Gate::objects[slot];
            add(g->getInA(), 24), add(g->getInB(), 24), add(g->getOutputNode(), -24);
        }
        for (Input* button : Input::inputs)
            add(button->getOutputNode(), -24);
        for (Output* lamp : Output::outputs)
            add(lamp->getInputNode(), 24);
        auto [x, y, body] = pins[pick(pins.size())];
        if (int action = pick(3); action == 0) {  // a part placed at a random spot
            held[SDL_SCANCODE_LSHIFT] = pick(2);
            held["AOXIL"[pick(5)] - 'A' + SDL_SCANCODE_A] = 1;
            frame(40 + pick(1520), 40 + pick(820), handleKeyDown);
            std::fill(std::begin(held), std::end(held), 0);
        } else if (action == 1) {
            frame(x, y, click);
            std::tie(x, y, body) = pins[pick(pins.size())], frame(x, y, click);
        } else {
            frame(x += body, y, handleMouseDown);
            for (int moves = pick(5); moves > 0; --moves)
                frame(x += pick(200) - 100, y += pick(200) - 100);
            frame(x, y, handleMouseUp);
        }
        for (int idle = pick(3); idle > 0; --idle)
            frame(mouseX, mouseY);
    }
    static void click() { handleMouseDown(), handleMouseUp(); }

    std::mt19937 rng;
    SDL_Surface* surfaces[2] = {
        SDL_CreateRGBSurfaceWithFormat(0, 1600, 900, 32, SDL_PIXELFORMAT_RGBA8888),
        SDL_CreateRGBSurfaceWithFormat(0, 1600, 900, 32, SDL_PIXELFORMAT_RGBA8888)};
    SDL_Renderer* renderers[2] = {SDL_CreateSoftwareRenderer(surfaces[0]),
                                  SDL_CreateSoftwareRenderer(surfaces[1])};
    WireLayer layer;
    int frames = 0;
};

class wire_layer : public TestWithParam<unsigned> {};

}  // namespace

// Every frame of a session prints and shows exactly what drawing each wire anew would.
TEST_P(wire_layer, frames_equal_drawing_every_wire_anew_pixel_for_pixel_and_trace_alike) {
    SCOPED_TRACE("seed " + std::to_string(GetParam()));
    StartupCircuit circuit;
    keyboardStateSource = [] { return static_cast<const Uint8*>(held); };
    Session session(GetParam());
    while (session.frames < 500 && !HasFatalFailure())
        session.step();
    EXPECT_TRUE(HasFatalFailure() || edgeList.size() > 10) << "a session that hardly wires";
}

INSTANTIATE_TEST_SUITE_P(seeded, wire_layer, Values(1u, 2u, 3u));
