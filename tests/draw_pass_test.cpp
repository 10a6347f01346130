#include "render/draw_pass.h"

#include <cstring>
#include <random>

#include "circuit_builders.h"
#include "editor/mouse_handlers.h"
#include "editor/pin_selection.h"
#include "render/background.h"
#include "render/wire_layer.h"
#include "test_support.h"

using namespace testing_support;

namespace {

const std::string background = "194 238 242", black = "0 0 0", pinFill = "74 141 247",
                  selected = "44 209 118", lit = "3 252 15", live = "52 154 250";
// Test images, in colours the program never draws itself.
const std::string andImage = "200 30 30", pressed = "250 120 0", released = "120 0 250";
using Points = std::vector<std::pair<int, int>>;

// A software renderer on a surface gives exact pixels. It draws frames as the program does,
// on its light background, each wire anew or through a kept layer.
struct Canvas {
    ~Canvas() {
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(surface);
    }
    std::string pixel(int x, int y) const {  // as "r g b"
        Uint8 r, g, b;
        SDL_GetRGB(static_cast<const Uint32*>(surface->pixels)[y * surface->w + x], surface->format,
                   &r, &g, &b);
        return std::to_string(r) + " " + std::to_string(g) + " " + std::to_string(b);
    }
    void expect(const std::string& colour, const Points& points) const {
        for (auto [x, y] : points)
            EXPECT_EQ(pixel(x, y), colour) << "at " << x << ", " << y;
    }
    // A black 16-pixel outline around a 14-pixel fill. The points avoid the lower right
    // corner, which the start-up OR gate's input B overlaps.
    void expectPin(std::pair<int, int> corner, const std::string& fill) const {
        auto [x, y] = corner;
        expect(black, {{x, y}, {x + 15, y}, {x, y + 15}, {x + 8, y + 15}});
        expect(fill, {{x + 1, y + 1}, {x + 14, y + 1}, {x + 1, y + 14}, {x + 7, y + 7}});
    }
    SDL_Texture* solid(Uint32 rgba) {
        SDL_Texture* texture =
            SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGBA8888, SDL_TEXTUREACCESS_STATIC, 1, 1);
        SDL_UpdateTexture(texture, nullptr, &rgba, 4);
        return texture;
    }
    std::string draw(int frames = 1) {  // returns what the frames printed
        clearBackground(renderer);
        return captureStdout([&] {
            for (int i = 0; i < frames; ++i)
                drawFrame(renderer, nullptr, images, layer);
        });
    }
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, 1600, 900, 32, SDL_PIXELFORMAT_RGBA8888);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
    ButtonImages images{solid(0xFA7800FF), solid(0x7800FAFF)};
    WireLayer* layer = nullptr;  // none: each wire drawn onto the frame itself
};

// A user at work, at random: placing parts, clicking pins (wiring and unwiring them), and
// dragging parts about or clicking them (switching buttons), each over frames drawn onto two
// canvases, with each wire drawn anew and through a kept layer.
struct Session {
    explicit Session(unsigned seed) : rng(seed) {
        layer.make(canvases[1].renderer, seed * 5000);  // kept from a long wire or a few on
        canvases[1].layer = &layer;
    }
    int pick(size_t n) { return std::uniform_int_distribution<int>(0, int(n) - 1)(rng); }

    // The pointer moves to (x, y), `events` run, then the rest of the frame, drawn both ways.
    void frame(
        int x, int y, void (*events)() = [] {}) {
        std::tie(px, py, mouseX, mouseY) = std::make_tuple(mouseX, mouseY, x, y);
        captureStdout([&] { events(), wireTrigger(), dragStep(), Graph::simulate(); });
        std::string printed = canvases[0].draw();
        ASSERT_EQ(canvases[1].draw(), printed) << "frame " << frames;
        void* pixels[2] = {canvases[0].surface->pixels, canvases[1].surface->pixels};
        ASSERT_EQ(std::memcmp(pixels[0], pixels[1], 1600 * 900 * 4), 0) << "frame " << frames;
        ++frames;
    }
    void step() {
        std::vector<std::tuple<int, int, int>> pins;  // and which way the part's body lies
        auto add = [&](Node* pin, int body) { pins.emplace_back(pin->x + 8, pin->y + 8, body); };
        for (Gate* g : Gate::objects)  // each twice: a gate fills two slots
            add(g->getInA(), 24), add(g->getInB(), 24), add(g->getOutputNode(), -24);
        for (Input* button : Input::inputs)
            add(button->getOutputNode(), -24);
        for (Output* lamp : Output::outputs)
            add(lamp->getInputNode(), 24);
        auto [x, y, body] = pins[pick(pins.size())];
        if (int action = pick(4), kind = pick(8); action == 0) {  // a part placed
            std::tie(x, y) = std::make_pair(pick(1500), pick(830));
            kind < 6    ? makeGate(kind, x, y)
            : kind == 6 ? (new Input(x, y, false))->getId()
                        : (new Output(x, y, false, ledColor))->getId();
            frame(x, y);
        } else if (action == 1) {
            frame(x, y, click);
            std::tie(x, y, body) = pins[pick(pins.size())], frame(x, y, click);
        } else if (Input* b = Input::inputs[pick(Input::inputs.size())]; action == 2) {
            frame(b->getX() + 20, b->getY() + 32, click);  // a button switched
        } else {
            frame(x += body, y, handleMouseDown);
            for (int moves = pick(5); moves > 0; --moves)
                frame(x += pick(200) - 100, y += pick(200) - 100);
            frame(x, y, handleMouseUp);
        }
        frame(mouseX, mouseY);  // and one with nothing new
    }
    static void click() { handleMouseDown(), handleMouseUp(); }

    std::mt19937 rng;
    Canvas canvases[2];
    WireLayer layer;
    int frames = 0;
};

class wire_layer : public TestWithParam<unsigned> {};

}  // namespace

TEST(draw_pass, startup_frame_places_images_and_pins_and_a_moved_gate_moves_whole) {
    Canvas canvas;
    StartupCircuit circuit;
    ANDGate::texture = canvas.solid(0xC81E1EFF);
    canvas.draw();
    canvas.expect(andImage, {{60, 30}, {187, 93}});  // stretched over the body
    canvas.expect(background, {{59, 30}, {60, 29}, {188, 93}, {187, 94}, {764, 763}});
    canvas.expect(released, {{600, 600}, {663, 663}});
    canvas.expect(black, {{700, 700}, {763, 763}});  // the lamp, unlit
    // Pins come after the images: the output pin covers half of the AND image.
    for (auto pin : Points{{52, 38}, {52, 70}, {180, 54}, {656, 624}, {692, 724}})
        canvas.expectPin(pin, pinFill);
    circuit.andGate.addXY(30, 100);
    circuit.lamp.addXY(-500, -520);  // to (200, 180), over the gate's lower right corner
    EXPECT_TRUE(circuit.andGate.getInA()->isInArea(60, 46));  // pins move at the next draw
    canvas.draw();
    canvas.expect(andImage, {{90, 130}, {199, 193}});
    canvas.expect(black, {{200, 180}, {217, 193}});  // lamps are drawn over gates
    for (auto pin : Points{{82, 138}, {82, 170}, {210, 154}})
        canvas.expectPin(pin, pinFill);
}

TEST(draw_pass, switched_components_and_selected_pins_are_painted_over) {
    Canvas canvas;
    StartupCircuit circuit;
    circuit.lamp.lit = true;
    circuit.button.state = true;
    const Points pins{{180, 54}, {392, 38}, {392, 70}, {520, 54}, {656, 624}, {692, 724}};
    const std::pair<std::tuple<int, int, int, int, int>, Points> rows[] = {
        // selection, marked
        {{3, 0, 16, 1, 16}, {{392, 38}, {180, 54}}},
        {{3, 1, 16, 3, 16}, {{392, 70}, {520, 54}}},
        {{20007, 2, 64, 10007, 32}, {{692, 724}, {656, 624}}}};
    for (const auto& [selection, marked] : rows) {
        SCOPED_TRACE(PrintToString(selection));
        std::tie(leftNode, which, lType, rightNode, rType) = selection;
        canvas.draw();
        for (auto pin : pins)
            canvas.expectPin(pin,
                             std::count(marked.begin(), marked.end(), pin) ? selected : pinFill);
        canvas.expect(lit, {{700, 700}, {763, 763}});
        canvas.expect(pressed, {{600, 600}, {663, 663}});
    }
}

// Gate 1's output (188, 62) into gate 3's input A (400, 46) or B (400, 78); the button's output
// (664, 632) into the lamp's input (700, 732), which is then dragged by (200, -300).
TEST(wire_drawing, wires_join_the_current_pins_blue_over_black_when_live_tracing_gate_sources) {
    StartupCircuit circuit;
    for (auto [pin, y] : {std::pair{0, 46}, {1, 78}}) {
        toggle(3, pin, 1);
        for (bool value : {false, true}) {
            SCOPED_TRACE(std::to_string(pin) + (value ? " live" : " dead"));
            edgeList.begin()->value = value;
            Canvas canvas;
            EXPECT_EQ(canvas.draw(2), value ? "3-1\n3-1\n" : "");  // traced every frame
            canvas.expectPin({392, y - 8}, pinFill);  // components are drawn over wire ends
            // The black lines lie one pixel off diagonally, where the centre lines and the
            // pins cover them in a frame: the wire is drawn alone to see them.
            canvas.draw(0);
            Edge(*edgeList.begin()).render(canvas.renderer);
            int mid = (62 + y) / 2;
            canvas.expect(black, {{187, 63}, {401, y - 1}});
            canvas.expect(value ? live : black,
                          {{294, mid - 1}, {294, mid}, {294, mid + 1}, {187, 62}, {401, y}});
            canvas.expect(background, {{294, mid - 3}, {294, mid + 3}, {401, y + 1}});
        }
        toggle(3, pin, 1);
    }
    toggle(20007, 2, 10007);
    circuit.lamp.addXY(200, -300);
    edgeList.begin()->value = true;
    Canvas canvas;
    EXPECT_EQ(canvas.draw(), "");       // a button-sourced wire never traces
    canvas.expect(live, {{782, 532}});  // the middle of the wire from (900, 432)
}

// Every frame of a session prints and shows exactly what drawing each wire anew would.
TEST_P(wire_layer, frames_equal_drawing_every_wire_anew_pixel_for_pixel_and_trace_alike) {
    SCOPED_TRACE("seed " + std::to_string(GetParam()));
    StartupCircuit circuit;
    for (Session session(GetParam()); session.frames < 500 && !HasFatalFailure();)
        session.step();
}

INSTANTIATE_TEST_SUITE_P(seeded, wire_layer, Values(1u, 2u, 3u));
