#include "editor/mouse_handlers.h"

#include <map>

#include "editor/editor_state.h"
#include "editor/pin_selection.h"
#include "test_support.h"

using namespace testing_support;

namespace {

// Every component's body corner, by id.
std::map<int, std::pair<int, int>> bodies() {
    std::map<int, std::pair<int, int>> at;
    auto add = [&](const auto& registry) {
        for (const auto* c : registry)
            at[c->getId()] = {c->getX(), c->getY()};
    };
    add(Gate::objects), add(Input::inputs), add(Output::outputs);
    return at;
}

// The top of a frame: the previous pointer is kept for dragging.
void pointAt(int x, int y) {
    std::tie(px, py, mouseX, mouseY) = std::make_tuple(mouseX, mouseY, x, y);
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
    // The pointer, the button, gate and lamp picked, and the ids that move.
    const std::tuple<int, int, int, int, int, std::vector<int>> rows[] = {
        {160, 120, -1, 1, -1, {1}},
        {430, 120, 10007, -1, -1, {10007}},
        {630, 120, -1, -1, 20008, {20008}},
        {110, 410, 10009, 5, -1, {10009}},
        {430, 420, 10010, -1, 20009, {10010, 20009}},
        {1000, 800, -1, -1, -1, {}}};
    for (const auto& [x, y, button, gate, lamp, moved] : rows) {
        SCOPED_TRACE(x);
        auto before = bodies();
        std::tie(mouseX, mouseY) = std::make_tuple(x - 2, y - 1);
        pointAt(x, y);
        handleMouseDown();
        EXPECT_EQ(std::tie(mouseDown, movingButtonID, movingID, movingOutputID),
                  std::make_tuple(true, button, gate, lamp));
        dragStep();  // the press frame's own motion, (2, 1)
        pointAt(x + 5, y - 3);
        dragStep();  // (5, -3) since the previous frame
        pointAt(x + 5, y - 3);
        dragStep();  // no motion
        for (int id : moved)
            before[id] = {before[id].first + 7, before[id].second - 2};
        EXPECT_EQ(bodies(), before);
        captureStdout(handleMouseUp);
        EXPECT_EQ(std::tie(mouseDown, movingButtonID, movingID, movingOutputID),
                  std::make_tuple(false, -1, -1, -1));
    }
}

// Each frame releases at its points in turn, then runs the wire trigger. Buttons: only the
// first body hit switches, and only pins before it in the walk are tested. Pins: selected,
// replaced, deselected (leaving the other side); a pair standing at the end of the frame
// toggles its wire, in either order. (430, 332) hits gate 1's output and lamp 20008's input.
TEST(mouse_release, switches_a_button_or_selects_pins_and_a_selected_pair_wires) {
    Input button(100, 300, false);     // 10007, pin centre (164, 332)
    ANDGate g(300, 300), h(300, 500);  // 1 and 3: inputs A (300, y + 16), B (300, y + 48)
    Output lamp(700, 300, false, ledColor), near(432, 300, false, ledColor);  // 20007, 20008
    Input b1(600, 600, false), b2(620, 600, false), b3(560, 600, false), b4(700, 600, false);
    const std::string grm = "GRMILICA\n", teb = "TEBRASTI\n", res = "RESILICA\n",
                      jed = "JEDNA PALACINKARINA\n", bak = "BAKINA SENDVICARA\n",
                      add = "uso 0\nuso 2\n";
    const struct {
        std::vector<std::pair<int, int>> clicks;
        std::string printed;
        std::tuple<int, int, int, int, int> selection;
    } frames[] = {{{{610, 610}}, "1\n", {0, -1, 0, 0, 0}},
                  {{{630, 610}}, "0\n", {0, -1, 0, 0, 0}},             // two bodies: the first
                  {{{660, 630}}, bak + "1\n", {0, -1, 0, 10008, 32}},  // b1's pin, b2's body
                  {{{620, 630}}, "1\n", {0, -1, 0, 10008, 32}},        // b1's body hides b3's pin
                  {{{760, 630}}, bak, {0, -1, 0, 10011, 32}},
                  {{{770, 630}}, "", {0, -1, 0, 0, 0}},  // the pin again, off the body
                  {{{300, 316}}, grm, {1, 0, 16, 0, 0}},
                  {{{300, 348}}, teb, {1, 1, 16, 0, 0}},
                  {{{300, 348}}, "", {0, -1, 0, 0, 0}},
                  {{{700, 332}}, jed, {20007, 2, 64, 0, 0}},
                  {{{300, 516}}, grm, {3, 0, 16, 0, 0}},
                  {{{700, 332}}, jed, {20007, 2, 64, 0, 0}},
                  {{{700, 332}}, "", {0, -1, 0, 0, 0}},
                  {{{421, 332}}, res, {0, -1, 0, 1, 16}},
                  {{{164, 332}}, bak, {0, -1, 0, 10007, 32}},
                  {{{421, 532}}, res, {0, -1, 0, 3, 16}},
                  {{{421, 532}}, "", {0, -1, 0, 0, 0}},
                  {{{700, 332}}, jed, {20007, 2, 64, 0, 0}},
                  {{{421, 332}, {700, 332}}, res, {0, -1, 0, 1, 16}},
                  {{{300, 348}, {421, 332}}, teb, {1, 1, 16, 0, 0}},
                  {{{164, 332}, {300, 348}}, bak, {0, -1, 0, 10007, 32}},
                  {{{164, 332}, {1000, 800}}, "", {0, -1, 0, 0, 0}},
                  {{{300, 316}}, grm, {1, 0, 16, 0, 0}},
                  {{{164, 332}}, bak + add + "uso 3\n", {0, -1, 0, 0, 0}},
                  {{{164, 332}}, bak, {0, -1, 0, 10007, 32}},
                  {{{300, 316}}, grm + "uso 0\n", {0, -1, 0, 0, 0}},
                  {{{430, 332}}, res + jed + add, {0, -1, 0, 0, 0}},
                  {{{421, 332}}, res, {0, -1, 0, 1, 16}},
                  {{{300, 316}}, grm + add + "1 1 \n20008 1 \n\n", {0, -1, 0, 0, 0}}};
    for (const auto& frame : frames) {
        SCOPED_TRACE(PrintToString(frame.clicks));
        EXPECT_EQ(captureStdout([&] {
                      for (auto [x, y] : frame.clicks)
                          pointAt(x, y), handleMouseUp();
                      wireTrigger();
                  }),
                  frame.printed);
        EXPECT_EQ(std::tie(leftNode, which, lType, rightNode, rType), frame.selection);
    }
    EXPECT_THAT(wires(), ElementsAre(std::tuple{1, 1, 0}, std::tuple{20008, 1, 2}));
    EXPECT_TRUE(b1.state && b2.state && !b3.state && !b4.state && !button.state);
}
