#include "render/draw_pass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/startup_circuit.h"
#include "render/gl_seam.h"
#include "test_support.h"

using testing_support::captureStdout;
using testing_support::SoftwareCanvas;
using testing_support::toggleCaptured;

namespace {

struct Rgb {
    int r, g, b;
};
const Rgb white{255, 255, 255}, black{0, 0, 0}, pinFill{74, 141, 247}, selected{44, 209, 118},
    lit{3, 252, 15}, live{52, 154, 250};
// Solid test images, in colours the program never draws itself.
const Rgb andImage{200, 30, 30}, orImage{30, 30, 200}, pressed{250, 120, 0}, released{120, 0, 250};

using Points = std::vector<std::pair<int, int>>;
void expectColor(const SoftwareCanvas& canvas, Rgb c, const Points& points) {
    for (auto [x, y] : points) {
        EXPECT_TRUE(testing_support::hasColor(canvas, x, y, c.r, c.g, c.b));
    }
}

// A pin at corner (x, y): black 16-pixel outline around a 14-pixel fill. The points
// avoid the lower right corner, which the start-up OR gate's input B overlaps.
void expectPin(const SoftwareCanvas& canvas, int x, int y, Rgb fill) {
    SCOPED_TRACE("pin at " + std::to_string(x) + "," + std::to_string(y));
    expectColor(canvas, black, {{x, y}, {x + 15, y}, {x, y + 15}, {x + 8, y + 15}});
    expectColor(canvas, fill, {{x + 1, y + 1}, {x + 14, y + 1}, {x + 1, y + 14}, {x + 7, y + 7}});
}

// The program clears to black; a white canvas makes black wires and bodies visible.
std::string drawOnWhite(SoftwareCanvas& canvas, int frames = 1) {
    SDL_SetRenderDrawColor(canvas.renderer, 255, 255, 255, 255);
    SDL_RenderClear(canvas.renderer);
    ButtonImages images{canvas.solidTexture(64, 64, pressed.r, pressed.g, pressed.b),
                        canvas.solidTexture(64, 64, released.r, released.g, released.b)};
    return captureStdout([&] {
        for (int i = 0; i < frames; ++i) {
            drawFrame(canvas.renderer, nullptr, images);
        }
    });
}

}  // namespace

TEST(draw_pass, first_startup_frame_places_images_and_pins) {
    SoftwareCanvas canvas;
    StartupCircuit circuit;
    ANDGate::texture = canvas.solidTexture(128, 64, andImage.r, andImage.g, andImage.b);
    ORGate::texture = canvas.solidTexture(128, 64, orImage.r, orImage.g, orImage.b);
    drawOnWhite(canvas);
    // Exact image rectangles; the unlit lamp is a black square.
    expectColor(canvas, andImage, {{60, 30}, {187, 93}});
    expectColor(canvas, white, {{59, 30}, {60, 29}, {188, 93}, {187, 94}, {600, 664}, {764, 763}});
    expectColor(canvas, orImage, {{264, 52}});
    expectColor(canvas, released, {{600, 600}, {663, 663}});
    expectColor(canvas, black, {{700, 700}, {763, 763}});
    // Pins come after the images: the output pin half covers the AND image.
    for (auto [x, y] : {std::pair{52, 38}, {52, 70}, {180, 54}, {656, 624}, {692, 724}}) {
        expectPin(canvas, x, y, pinFill);
    }
}

TEST(draw_pass, switched_components_and_selected_pins_are_painted_over) {
    SoftwareCanvas canvas;
    StartupCircuit circuit;
    circuit.lamp.lit = true;
    circuit.button.state = true;
    const Points pins{{52, 38},  {52, 70},  {180, 54},  {392, 38},
                      {392, 70}, {520, 54}, {656, 624}, {692, 724}};
    struct Row {
        int left, pin, lKind, right, rKind;
        Points marked;
    };
    for (const Row& row : std::vector<Row>{{0, -1, 0, 0, 0, {}},
                                           {0, -1, 0, 1, 16, {{180, 54}}},
                                           {3, 1, 16, 0, 0, {{392, 70}}},
                                           {3, 0, 16, 1, 16, {{392, 38}, {180, 54}}},
                                           {20007, 2, 64, 10007, 32, {{692, 724}, {656, 624}}}}) {
        SCOPED_TRACE("left " + std::to_string(row.left) + " right " + std::to_string(row.right));
        std::tie(leftNode, which, lType, rightNode, rType) =
            std::tie(row.left, row.pin, row.lKind, row.right, row.rKind);
        drawOnWhite(canvas);
        for (auto pin : pins) {
            bool marked = std::count(row.marked.begin(), row.marked.end(), pin) > 0;
            expectPin(canvas, pin.first, pin.second, marked ? selected : pinFill);
        }
        expectColor(canvas, lit, {{700, 700}, {763, 763}});
        expectColor(canvas, pressed, {{600, 600}, {663, 663}});
    }
}

TEST(draw_pass, moved_gate_is_drawn_with_image_and_pins_at_its_new_place) {
    SoftwareCanvas canvas;
    StartupCircuit circuit;
    ANDGate::texture = canvas.solidTexture(128, 64, andImage.r, andImage.g, andImage.b);
    circuit.andGate.addXY(30, 100);
    drawOnWhite(canvas);
    expectColor(canvas, andImage, {{90, 130}, {217, 193}});
    expectColor(canvas, white, {{60, 30}, {53, 39}});
    for (auto [x, y] : {std::pair{82, 138}, {82, 170}, {210, 154}}) {
        expectPin(canvas, x, y, pinFill);
    }
    // The next frame's hit tests use the pins where this draw put them.
    EXPECT_EQ(circuit.andGate.getInA()->y, 138);
}

TEST(wire_drawing, wire_follows_dragged_lamp_but_stored_record_keeps_creation_ends) {
    SoftwareCanvas canvas;
    StartupCircuit circuit;
    toggleCaptured(20007, 2, 10007);
    circuit.lamp.addXY(200, -300);
    const Edge& stored = *edgeList.begin();
    stored.value = true;
    EXPECT_EQ(drawOnWhite(canvas), "");  // a button-sourced wire never traces
    // Now from the lamp's pin at (900, 432) to the button's at (664, 632); (682, 682)
    // is the midpoint of the wire as it was made.
    expectColor(canvas, live, {{782, 532}});
    expectColor(canvas, white, {{682, 682}});
    EXPECT_EQ((std::vector<int>{stored.x1, stored.y1, stored.x2, stored.y2}),
              (std::vector<int>{700, 732, 664, 632}));
}

TEST(wire_drawing, live_wire_is_blue_over_black_outline_and_traced_dead_wire_all_black) {
    StartupCircuit circuit;
    toggleCaptured(3, 0, 1);  // gate 1's output (188, 62) into gate 3's input A (400, 46)
    for (bool value : {false, true}) {
        SCOPED_TRACE(value ? "live" : "dead");
        edgeList.begin()->value = value;
        const Rgb centre = value ? live : black;
        SoftwareCanvas frame;
        EXPECT_EQ(drawOnWhite(frame, 2), value ? "3-1\n3-1\n" : "");  // traced every frame
        expectColor(frame, centre, {{294, 53}, {294, 54}, {294, 55}});
        expectColor(frame, white, {{294, 51}, {294, 57}});
        // The black lines lie one pixel off diagonally: along the wire the centre lines
        // cover them, and they show only past the centre lines' ends, which the pins hide
        // in a frame. So look at the wire drawn alone.
        SoftwareCanvas alone;
        drawOnWhite(alone, 0);
        Edge wire = *edgeList.begin();
        captureStdout([&] { wire.render(alone.renderer); });
        EXPECT_EQ((std::vector<int>{wire.x1, wire.y1, wire.x2, wire.y2}),
                  (std::vector<int>{400, 46, 188, 62}));
        // (187, 63) ends (399, 47)-(187, 63), (401, 45) starts (401, 45)-(189, 61);
        // (293, 55) lies on the first black line, overdrawn.
        expectColor(alone, black, {{187, 63}, {401, 45}});
        expectColor(alone, centre, {{293, 55}, {187, 62}, {188, 62}, {400, 46}, {401, 46}});
        expectColor(alone, white, {{401, 47}});
    }
}

namespace {
std::vector<std::string> glLog;
std::vector<float> clearRgba;
SDL_Window* swapped = nullptr;
void recordViewport(int, int, int, int) {
    glLog.push_back("viewport");
}
void recordClearColor(float r, float g, float b, float a) {
    glLog.push_back("clearColor");
    clearRgba = {r, g, b, a};
}
void recordSwap(SDL_Window* window) {
    glLog.push_back("swap");
    swapped = window;
}
}  // namespace

TEST(gl_frame_end, frame_sets_clear_colour_then_swaps_and_skips_unloaded_entry_points) {
    SoftwareCanvas canvas;
    StartupCircuit circuit;
    glCalls = GlCalls{recordViewport, recordClearColor, recordSwap};
    int marker = 0;  // stands in for the window, which is only passed through
    auto* window = reinterpret_cast<SDL_Window*>(&marker);
    drawFrame(canvas.renderer, window, ButtonImages{});
    drawFrame(canvas.renderer, window, ButtonImages{});
    EXPECT_EQ(glLog, (std::vector<std::string>{"clearColor", "swap", "clearColor", "swap"}));
    ASSERT_EQ(clearRgba.size(), 4u);
    EXPECT_FLOAT_EQ(clearRgba[0], 194.0f / 255.0f);
    EXPECT_FLOAT_EQ(clearRgba[1], 238.0f / 255.0f);
    EXPECT_FLOAT_EQ(clearRgba[2], 242.0f / 255.0f);
    EXPECT_FLOAT_EQ(clearRgba[3], 1.0f);
    EXPECT_EQ(swapped, window);
    // The tests never load OpenGL, so even a successful load leaves no entry points,
    // and the frame must still be drawn without calling through them.
    for (bool loaded : {false, true}) {
        SCOPED_TRACE(loaded ? "loaded" : "not loaded");
        glLog.clear();
        glCalls = GlCalls{recordViewport, recordClearColor, recordSwap};
        bindGlCalls(loaded);
        EXPECT_EQ(glCalls.viewport, nullptr);
        EXPECT_EQ(glCalls.clearColor, nullptr);
        EXPECT_NE(glCalls.swapWindow, nullptr);
        drawOnWhite(canvas);
        expectPin(canvas, 52, 38, pinFill);
        EXPECT_TRUE(glLog.empty());
    }
}
