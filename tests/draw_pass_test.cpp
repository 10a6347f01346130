#include "render/draw_pass.h"

#include "render/gl_seam.h"
#include "test_support.h"

using namespace testing_support;

namespace {

const SDL_Color white{255, 255, 255, 255}, black{0, 0, 0, 255}, pinFill{74, 141, 247, 255},
    selected{44, 209, 118, 255}, lit{3, 252, 15, 255}, live{52, 154, 250, 255};
const SDL_Color andImage{200, 30, 30, 255}, orImage{30, 30, 200, 255}, pressed{250, 120, 0, 255},
    released{120, 0, 250, 255};  // test images, in colours the program never draws itself

using Points = std::vector<std::pair<int, int>>;
void expectColor(const SoftwareCanvas& canvas, SDL_Color c, const Points& points) {
    for (auto [x, y] : points) {
        SDL_Color p = canvas.pixel(x, y);
        EXPECT_TRUE(p.r == c.r && p.g == c.g && p.b == c.b)
            << x << ", " << y << " is " << int(p.r) << " " << int(p.g) << " " << int(p.b);
    }
}

// A pin at corner (x, y): black 16-pixel outline around a 14-pixel fill. The points
// avoid the lower right corner, which the start-up OR gate's input B overlaps.
void expectPin(const SoftwareCanvas& canvas, std::pair<int, int> at, SDL_Color fill) {
    auto [x, y] = at;
    SCOPED_TRACE("pin at " + std::to_string(x) + "," + std::to_string(y));
    expectColor(canvas, black, {{x, y}, {x + 15, y}, {x, y + 15}, {x + 8, y + 15}});
    expectColor(canvas, fill, {{x + 1, y + 1}, {x + 14, y + 1}, {x + 1, y + 14}, {x + 7, y + 7}});
}

SDL_Texture* solid(SoftwareCanvas& canvas, int w, int h, SDL_Color c) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA8888);
    SDL_FillRect(s, nullptr, SDL_MapRGBA(s->format, c.r, c.g, c.b, 255));
    SDL_Texture* texture = SDL_CreateTextureFromSurface(canvas.renderer, s);
    SDL_FreeSurface(s);
    return texture;
}

// On white, unlike the program's black, black wires and bodies show.
std::string drawOnWhite(SoftwareCanvas& canvas, int frames = 1) {
    SDL_SetRenderDrawColor(canvas.renderer, 255, 255, 255, 255);
    SDL_RenderClear(canvas.renderer);
    ButtonImages images{solid(canvas, 64, 64, pressed), solid(canvas, 64, 64, released)};
    return captureStdout([&] {
        for (int i = 0; i < frames; ++i)
            drawFrame(canvas.renderer, nullptr, images);
    });
}

}  // namespace

TEST(draw_pass, startup_frame_places_images_and_pins_and_a_moved_gate_moves_whole) {
    SoftwareCanvas canvas;
    StartupCircuit circuit;
    ANDGate::texture = solid(canvas, 128, 64, andImage);
    ORGate::texture = solid(canvas, 128, 64, orImage);
    drawOnWhite(canvas);
    expectColor(canvas, andImage, {{60, 30}, {187, 93}});
    expectColor(canvas, white, {{59, 30}, {60, 29}, {188, 93}, {187, 94}, {600, 664}, {764, 763}});
    expectColor(canvas, orImage, {{264, 52}});
    expectColor(canvas, released, {{600, 600}, {663, 663}});
    expectColor(canvas, black, {{700, 700}, {763, 763}});
    // Pins come after the images: the output pin half covers the AND image.
    for (auto pin : Points{{52, 38}, {52, 70}, {180, 54}, {656, 624}, {692, 724}})
        expectPin(canvas, pin, pinFill);
    circuit.andGate.addXY(30, 100);
    drawOnWhite(canvas);
    expectColor(canvas, andImage, {{90, 130}, {217, 193}});
    expectColor(canvas, white, {{60, 30}, {53, 39}});
    for (auto pin : Points{{82, 138}, {82, 170}, {210, 154}})
        expectPin(canvas, pin, pinFill);
}

TEST(draw_pass, switched_components_and_selected_pins_are_painted_over) {
    SoftwareCanvas canvas;
    StartupCircuit circuit;
    circuit.lamp.lit = true;
    circuit.button.state = true;
    const Points pins{{52, 38},  {52, 70},  {180, 54},  {392, 38},
                      {392, 70}, {520, 54}, {656, 624}, {692, 724}};
    const std::pair<std::tuple<int, int, int, int, int>, Points> rows[] = {
        // selection, marked
        {{0, -1, 0, 1, 16}, {{180, 54}}},
        {{3, 1, 16, 0, 0}, {{392, 70}}},
        {{3, 0, 16, 1, 16}, {{392, 38}, {180, 54}}},
        {{20007, 2, 64, 10007, 32}, {{692, 724}, {656, 624}}}};
    for (const auto& [selection, marked] : rows) {
        SCOPED_TRACE(::testing::PrintToString(selection));
        std::tie(leftNode, which, lType, rightNode, rType) = selection;
        drawOnWhite(canvas);
        for (auto pin : pins) {
            expectPin(canvas, pin,
                      std::count(marked.begin(), marked.end(), pin) ? selected : pinFill);
        }
        expectColor(canvas, lit, {{700, 700}, {763, 763}});
        expectColor(canvas, pressed, {{600, 600}, {663, 663}});
    }
}

// Gate 1's output (188, 62) into gate 3's input A (400, 46); the button's output (664, 632)
// into the lamp's input (700, 732), which is then dragged by (200, -300).
TEST(wire_drawing, wires_join_the_current_pins_blue_over_black_when_live_tracing_gate_sources) {
    StartupCircuit circuit;
    toggleCaptured(3, 0, 1);
    for (bool value : {false, true}) {
        SCOPED_TRACE(value ? "live" : "dead");
        edgeList.begin()->value = value;
        SoftwareCanvas canvas;
        EXPECT_EQ(drawOnWhite(canvas, 2), value ? "3-1\n3-1\n" : "");  // traced every frame
        // The black lines lie one pixel off diagonally: the centre lines cover them along
        // the wire, and past the centre lines' ends the pins hide them in a frame. So look
        // at the wire drawn alone: (399, 47)-(187, 63) and (401, 45)-(189, 61) are black.
        drawOnWhite(canvas, 0);
        Edge wire = *edgeList.begin();
        captureStdout([&] { wire.render(canvas.renderer); });
        expectColor(canvas, black, {{187, 63}, {401, 45}});
        expectColor(canvas, value ? live : black,
                    {{294, 53}, {294, 54}, {294, 55}, {187, 62}, {188, 62}, {400, 46}, {401, 46}});
        expectColor(canvas, white, {{294, 51}, {294, 57}, {401, 47}});
    }
    toggleCaptured(3, 0, 1);
    toggleCaptured(20007, 2, 10007);
    circuit.lamp.addXY(200, -300);
    const Edge& stored = *edgeList.begin();
    stored.value = true;
    SoftwareCanvas canvas;
    EXPECT_EQ(drawOnWhite(canvas), "");  // a button-sourced wire never traces
    // From (900, 432) now; (682, 682) is the midpoint of the wire as it was made.
    expectColor(canvas, live, {{782, 532}});
    expectColor(canvas, white, {{682, 682}});
    EXPECT_EQ((std::vector<int>{stored.x1, stored.y1, stored.x2, stored.y2}),
              (std::vector<int>{700, 732, 664, 632}));
}

namespace {
std::string glLog;
const GlCalls recording{[](int, int, int, int) { glLog += "viewport\n"; },
                        [](float r, float g, float b, float a) {
                            for (float channel : {r, g, b, a})
                                glLog += std::to_string(channel) + " ";
                        },
                        [](SDL_Window* window) { glLog += window ? "swap\n" : "swap nothing\n"; }};
}  // namespace

TEST(gl_frame_end, frame_sets_clear_colour_then_swaps_and_skips_unloaded_entry_points) {
    SoftwareCanvas canvas;
    StartupCircuit circuit;
    glCalls = recording;
    for (int frame = 0; frame < 2; ++frame)  // the window is only passed through
        drawFrame(canvas.renderer, reinterpret_cast<SDL_Window*>(&canvas), ButtonImages{});
    EXPECT_EQ(glLog, lines({"0.760784 0.933333 0.949020 1.000000 swap",
                            "0.760784 0.933333 0.949020 1.000000 swap"}));
    // The tests never load OpenGL, so even a successful load leaves no entry points,
    // and the frame must still be drawn without calling through them.
    for (bool loaded : {false, true}) {
        glLog.clear();
        glCalls = recording;
        bindGlCalls(loaded);
        EXPECT_TRUE(glCalls.viewport == nullptr && glCalls.clearColor == nullptr &&
                    glCalls.swapWindow != nullptr);
        drawOnWhite(canvas);
        EXPECT_TRUE(glLog.empty()) << loaded;
    }
}
