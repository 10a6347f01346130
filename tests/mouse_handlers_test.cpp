#include "editor/mouse_handlers.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

#include "components/gate_kinds.h"
#include "editor/editor_state.h"
#include "editor/pin_selection.h"
#include "render/draw_pass.h"
#include "test_support.h"

using testing_support::captureStdout;

namespace {

// Every component's body corner, by id.
std::map<int, std::pair<int, int>> bodies() {
    std::map<int, std::pair<int, int>> at;
    auto add = [&](auto& registry) {
        for (auto* c : registry) {
            at[c->getId()] = {c->getX(), c->getY()};
        }
    };
    add(Gate::objects);
    add(Input::inputs);
    add(Output::outputs);
    return at;
}

// The top of a frame: the previous pointer is kept for dragging.
void pointAt(int x, int y) {
    px = mouseX;
    py = mouseY;
    mouseX = x;
    mouseY = y;
}

std::string releaseAt(int x, int y) {
    pointAt(x, y);
    return captureStdout(handleMouseUp);
}

std::tuple<int, int, int, int, int> selection() {
    return {leftNode, which, lType, rightNode, rType};
}

}  // namespace

TEST(mouse_press, picks_one_component_per_kind_and_drags_until_released) {
    ANDGate g1(100, 100), g2(150, 110);              // overlapping gates
    Input b1(400, 100, false), b2(420, 110, false);  // overlapping buttons
    Output o1(600, 100, false, ledColor), o2(620, 110, false, ledColor);
    Input b3(100, 400, false);  // a button over a gate
    ANDGate g3(80, 390);
    Input b4(400, 400, false);  // a button over a lamp
    Output o3(420, 410, false, ledColor);
    const struct {
        int x, y, button, gate, lamp;
        std::set<int> moved;
    } rows[] = {{160, 120, -1, 1, -1, {1}},
                {430, 120, 10007, -1, -1, {10007}},
                {630, 120, -1, -1, 20008, {20008}},
                {110, 410, 10009, 5, -1, {10009}},
                {430, 420, 10010, -1, 20009, {10010, 20009}},
                {1000, 800, -1, -1, -1, {}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.x);
        auto before = bodies();
        mouseX = row.x - 2;
        mouseY = row.y - 1;
        pointAt(row.x, row.y);
        handleMouseDown();
        EXPECT_TRUE(mouseDown);
        EXPECT_EQ(std::make_tuple(movingButtonID, movingID, movingOutputID),
                  std::make_tuple(row.button, row.gate, row.lamp));
        dragStep();  // the press frame's own motion, (2, 1)
        pointAt(row.x + 5, row.y - 3);
        dragStep();  // (5, -3) since the previous frame
        pointAt(row.x + 5, row.y - 3);
        dragStep();  // no motion
        for (const auto& [id, at] : bodies()) {
            auto expected = before[id];
            if (row.moved.count(id)) {
                expected = {expected.first + 7, expected.second - 2};
            }
            EXPECT_EQ(at, expected) << id;
        }
        captureStdout(handleMouseUp);
        EXPECT_EQ(std::make_tuple(mouseDown, movingButtonID, movingID, movingOutputID),
                  std::make_tuple(false, -1, -1, -1));
    }
    // A press and a release handled in one frame leave the drag idle: nothing moves.
    auto before = bodies();
    pointAt(170, 125);
    handleMouseDown();
    EXPECT_EQ(captureStdout(handleMouseUp), "");
    dragStep();
    EXPECT_EQ(bodies(), before);
}

TEST(mouse_release, toggles_the_first_button_body_hit_and_tests_earlier_pins_only) {
    Input b1(600, 600, false), b2(620, 600, false), b3(560, 600, false), b4(700, 600, false);
    const struct {
        int x, y;
        std::string printed;
        std::vector<bool> states;
        int source;
    } rows[] = {
        {610, 610, "1\n", {1, 0, 0, 0}, 0},
        {630, 610, "0\n", {0, 0, 0, 0}, 0},  // two bodies: only the earlier one
        {660, 630, "BAKINA SENDVICARA\n1\n", {0, 1, 0, 0}, 10007},  // b1's pin strip, b2's body
        {620, 630, "1\n", {1, 1, 0, 0}, 10007},                     // b1's body hides b3's pin
        {760, 630, "BAKINA SENDVICARA\n", {1, 1, 0, 0}, 10010},
        {770, 630, "", {1, 1, 0, 0}, 0},  // the pin again, outside the body
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.x);
        vazi = false;
        EXPECT_EQ(releaseAt(row.x, row.y), row.printed);
        EXPECT_EQ(std::vector<bool>({b1.state, b2.state, b3.state, b4.state}), row.states);
        EXPECT_EQ(rightNode, row.source);
        EXPECT_EQ(vazi, row.printed.find_first_of("01") != std::string::npos);
    }
}

TEST(pin_selection, every_click_selects_replaces_or_deselects_its_side_only) {
    Input button(100, 300, false);           // 10007, pin centre (164, 332)
    ANDGate g(300, 300), h(300, 500);        // 1 and 3; inputs at x 300, outputs at x 428
    Output lamp(700, 300, false, ledColor);  // 20007, pin centre (700, 332)
    const std::string grm = "GRMILICA\n", teb = "TEBRASTI\n", res = "RESILICA\n",
                      jed = "JEDNA PALACINKARINA\n", bak = "BAKINA SENDVICARA\n";
    const struct {
        int x, y;
        std::string printed;
        std::tuple<int, int, int, int, int> after;
    } rows[] = {
        {300, 316, grm, {1, 0, 16, 0, 0}},      {300, 348, teb, {1, 1, 16, 0, 0}},
        {300, 316, grm, {1, 0, 16, 0, 0}},      {300, 316, "", {0, -1, 0, 0, 0}},
        {300, 348, teb, {1, 1, 16, 0, 0}},      {300, 348, "", {0, -1, 0, 0, 0}},
        {700, 332, jed, {20007, 2, 64, 0, 0}},  {300, 516, grm, {3, 0, 16, 0, 0}},
        {700, 332, jed, {20007, 2, 64, 0, 0}},  {700, 332, "", {0, -1, 0, 0, 0}},
        {428, 332, res, {0, -1, 0, 1, 16}},     {164, 332, bak, {0, -1, 0, 10007, 32}},
        {428, 532, res, {0, -1, 0, 3, 16}},     {428, 532, "", {0, -1, 0, 0, 0}},
        {164, 332, bak, {0, -1, 0, 10007, 32}}, {164, 332, "", {0, -1, 0, 0, 0}},
        {700, 332, jed, {20007, 2, 64, 0, 0}},  {428, 332, res, {20007, 2, 64, 1, 16}},
        {700, 332, "", {0, -1, 0, 1, 16}},      {300, 348, teb, {1, 1, 16, 1, 16}},
        {428, 332, "", {1, 1, 16, 0, 0}},       {164, 332, bak, {1, 1, 16, 10007, 32}},
        {300, 348, "", {0, -1, 0, 10007, 32}},  {164, 332, "", {0, -1, 0, 0, 0}},
        {1000, 800, "", {0, -1, 0, 0, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.after));
        EXPECT_EQ(releaseAt(row.x, row.y), row.printed);
        EXPECT_EQ(selection(), row.after);
    }
    EXPECT_FALSE(vazi || button.state);
    EXPECT_TRUE(edgeList.empty());
}

TEST(pin_selection, a_pair_standing_at_the_end_of_the_frame_toggles_its_wire) {
    Input button(100, 300, false);  // 10007, pin centre (164, 332)
    ANDGate gate(300, 300);         // 1: input A (300, 316), output pin (420..436, 324..340)
    Output lamp(432, 300, false, ledColor);  // 20007: input pin (424..440, 324..340)
    const auto none = std::make_tuple(0, -1, 0, 0, 0);
    const struct {
        int x, y, releases;
        std::string printed, wires;
        std::tuple<int, int, int, int, int> after;
    } frames[] = {
        {300, 316, 1, "GRMILICA\n", "", {1, 0, 16, 0, 0}},
        {164, 332, 1, "BAKINA SENDVICARA\nuso 0\nuso 2\nuso 3\n", "1<10007/0 ", none},
        {164, 332, 1, "BAKINA SENDVICARA\n", "1<10007/0 ", {0, -1, 0, 10007, 32}},
        {300, 316, 1, "GRMILICA\nuso 0\n", "", none},
        // Both sides selected by the first release are cleared by the second.
        {430, 332, 2, "RESILICA\nJEDNA PALACINKARINA\n", "", none},
        {438, 332, 1, "JEDNA PALACINKARINA\n", "", {20007, 2, 64, 0, 0}},
        {430, 332, 1, "RESILICA\n", "", {0, -1, 0, 1, 16}},  // the lamp deselected in passing
        {438, 332, 1, "JEDNA PALACINKARINA\nuso 0\nuso 2\n", "20007<1/2 ", none},
        {421, 332, 1, "RESILICA\n", "20007<1/2 ", {0, -1, 0, 1, 16}},
        {300, 316, 1, "GRMILICA\nuso 0\nuso 2\n1 1 \n20007 1 \n\n", "1<1/0 20007<1/2 ", none},
    };
    for (const auto& frame : frames) {
        SCOPED_TRACE(frame.printed);
        vazi = false;
        pointAt(frame.x, frame.y);
        EXPECT_EQ(captureStdout([&] {
                      for (int i = 0; i < frame.releases; ++i) {
                          handleMouseUp();
                      }
                      wireTrigger();
                  }),
                  frame.printed);
        std::ostringstream wires;
        for (const Edge& wire : edgeList) {
            wires << wire.left << "<" << wire.right << "/" << wire.which << " ";
        }
        EXPECT_EQ(wires.str(), frame.wires);
        EXPECT_EQ(selection(), frame.after);
        EXPECT_EQ(vazi, frame.printed.find("uso 0") != std::string::npos);
        EXPECT_TRUE(testing_support::wiringIsConsistent());
    }
    EXPECT_EQ(testing_support::countEntry(1, 1, 0), 2);  // a gate feeding itself
}

TEST(pin_selection, pins_are_hit_where_the_last_draw_anchored_them) {
    testing_support::SoftwareCanvas canvas;
    ANDGate gate(300, 300);
    gate.addXY(100, 0);
    EXPECT_EQ(releaseAt(300, 316), "GRMILICA\n");  // not drawn yet: the pin is still there
    drawFrame(canvas.renderer, nullptr, ButtonImages{});
    EXPECT_EQ(releaseAt(300, 316), "");
    EXPECT_EQ(selection(), std::make_tuple(1, 0, 16, 0, 0));
    EXPECT_EQ(releaseAt(400, 316), "");  // the selected pin, clicked where it now is
    EXPECT_EQ(selection(), std::make_tuple(0, -1, 0, 0, 0));
}
