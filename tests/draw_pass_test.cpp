#include "render/draw_pass.h"

#include "test_support.h"

using namespace testing_support;

namespace {

const std::string white = "255 255 255", black = "0 0 0", pinFill = "74 141 247",
                  selected = "44 209 118", lit = "3 252 15", live = "52 154 250";
// Test images, in colours the program never draws itself.
const std::string andImage = "200 30 30", pressed = "250 120 0", released = "120 0 250";
using Points = std::vector<std::pair<int, int>>;

// A software renderer on a surface gives exact pixels. It draws frames on white, unlike
// the program's black, so that black wires and bodies show.
struct WhiteCanvas {
    ~WhiteCanvas() {
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
        SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
        SDL_RenderClear(renderer);
        return captureStdout([&] {
            for (int i = 0; i < frames; ++i)
                drawFrame(renderer, nullptr, images);
        });
    }
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, 1600, 900, 32, SDL_PIXELFORMAT_RGBA8888);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
    ButtonImages images{solid(0xFA7800FF), solid(0x7800FAFF)};
};

}  // namespace

TEST(draw_pass, startup_frame_places_images_and_pins_and_a_moved_gate_moves_whole) {
    WhiteCanvas canvas;
    StartupCircuit circuit;
    ANDGate::texture = canvas.solid(0xC81E1EFF);
    canvas.draw();
    canvas.expect(andImage, {{60, 30}, {187, 93}});  // stretched over the body
    canvas.expect(white, {{59, 30}, {60, 29}, {188, 93}, {187, 94}, {764, 763}});
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
    WhiteCanvas canvas;
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
            WhiteCanvas canvas;
            EXPECT_EQ(canvas.draw(2), value ? "3-1\n3-1\n" : "");  // traced every frame
            canvas.expectPin({392, y - 8}, pinFill);  // components are drawn over wire ends
            // The black lines lie one pixel off diagonally, where the centre lines and the
            // pins cover them in a frame: the wire is drawn alone to see them.
            canvas.draw(0);
            Edge wire = *edgeList.begin();
            captureStdout([&] { wire.render(canvas.renderer); });
            int mid = (62 + y) / 2;
            canvas.expect(black, {{187, 63}, {401, y - 1}});
            canvas.expect(value ? live : black,
                          {{294, mid - 1}, {294, mid}, {294, mid + 1}, {187, 62}, {401, y}});
            canvas.expect(white, {{294, mid - 3}, {294, mid + 3}, {401, y + 1}});
        }
        toggle(3, pin, 1);
    }
    toggle(20007, 2, 10007);
    circuit.lamp.addXY(200, -300);
    edgeList.begin()->value = true;
    WhiteCanvas canvas;
    EXPECT_EQ(canvas.draw(), "");       // a button-sourced wire never traces
    canvas.expect(live, {{782, 532}});  // the middle of the wire from (900, 432)
}
