// Random editing sessions, run frame by frame the way the frame loop runs them,
// checked against the invariants every frame must keep.

#include <cstdlib>
#include <random>

#include "app/frame_loop.h"
#include "editor/editor_state.h"
#include "editor/keyboard_state.h"
#include "editor/mouse_handlers.h"
#include "editor/pin_selection.h"
#include "test_support.h"

namespace {

Uint8 held[SDL_NUM_SCANCODES];

::testing::AssertionResult frameEndedSound() {
    if (auto wiring = testing_support::wiringIsConsistent(); !wiring)
        return wiring;
    // A registered component of the kind, with an id inside the kind's range.
    auto in = [](int id, int first, size_t count, int last) {
        return id >= first && id - first < int(count) && id <= last;
    };
    auto gate = [&](int id) { return id % 2 == 1 && in(id, 0, Gate::objects.size(), 10005); };
    auto button = [&](int id) { return in(id, 10007, Input::inputs.size(), 20006); };
    auto lamp = [&](int id) { return in(id, 20007, Output::outputs.size(), 40002); };
    // At most one side selected, each in one of its forms, for the next frame's events.
    bool selection = (leftNode == 0 && which == -1 && lType == 0) ||
                     (rightNode == 0 && rType == 0 &&
                      ((gate(leftNode) && (which == 0 || which == 1) && lType == 16) ||
                       (lamp(leftNode) && which == 2 && lType == 64)));
    selection &= (rightNode == 0 && rType == 0) || (button(rightNode) && rType == 32) ||
                 (gate(rightNode) && rType == 16);
    bool drag = (movingButtonID == -1 || button(movingButtonID)) &&
                (movingID == -1 || gate(movingID)) &&
                (movingOutputID == -1 || lamp(movingOutputID)) &&
                (mouseDown || movingButtonID + movingID + movingOutputID == -3);
    // Buttons are walked before anything else, so every wire they drive carries their state.
    bool buttonWires = std::all_of(edgeList.begin(), edgeList.end(), [](const Edge& wire) {
        return wire.right < 10007 || wire.value == Input::inputs[wire.right - 10007]->state;
    });
    if (selection && drag && buttonWires && Graph::q.empty() && !vazi)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "selection "
           << ::testing::PrintToString(std::tie(leftNode, which, lType, rightNode, rType))
           << ", drag "
           << ::testing::PrintToString(
                  std::tie(mouseDown, movingButtonID, movingID, movingOutputID))
           << ", button wires " << buttonWires << ", queue empty " << Graph::q.empty() << ", vazi "
           << vazi;
}

SDL_Point centre(const Node* pin) {
    return {pin->x + 8, pin->y + 8};
}

// Where a user points next: mostly on or beside a pin or a body, sometimes a
// short move, sometimes anywhere.
SDL_Point somewhere(std::mt19937& rng) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    std::vector<SDL_Point> spots;
    for (size_t slot = 1; slot < Gate::objects.size(); slot += 2) {
        Gate& g = *Gate::objects[slot];
        spots.insert(spots.end(), {centre(g.getInA()),
                                   centre(g.getInB()),
                                   centre(g.getOutputNode()),
                                   {g.getX() + 64, g.getY() + 32}});
    }
    for (Input* b : Input::inputs)
        spots.insert(spots.end(), {centre(b->getOutputNode()), {b->getX() + 28, b->getY() + 32}});
    for (Output* o : Output::outputs)
        spots.insert(spots.end(), {centre(o->getInputNode()), {o->getX() + 32, o->getY() + 32}});
    int kind = pick(0, 9);
    if (kind == 9)
        return {pick(0, 1599), pick(0, 899)};
    SDL_Point p = kind < 7 ? spots[pick(0, int(spots.size()) - 1)] : SDL_Point{mouseX, mouseY};
    int reach = kind < 7 ? 5 : 30;
    return {p.x + pick(-reach, reach), p.y + pick(-reach, reach)};
}

// The two pins of a wire, destination last: clicking both takes the wire away.
std::vector<SDL_Point> unwiring(const Edge& wire) {
    Node* to = wire.which == 2   ? Output::outputs[wire.left - 20007]->getInputNode()
               : wire.which == 0 ? Gate::objects[wire.left]->getInA()
                                 : Gate::objects[wire.left]->getInB();
    Node* from = wire.right >= 10007 ? Input::inputs[wire.right - 10007]->getOutputNode()
                                     : Gate::objects[wire.right]->getOutputNode();
    return {centre(to), centre(from)};
}

}  // namespace

TEST(editor_stress, random_sessions_keep_every_frame_consistent) {
    const char* given = std::getenv("VELKORA_STRESS_SEED");
    const unsigned seed = given ? unsigned(std::strtoul(given, nullptr, 10)) : 20240611u;
    SCOPED_TRACE("seed " + std::to_string(seed) + " (rerun with VELKORA_STRESS_SEED=seed)");
    std::mt19937 rng(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    StartupCircuit circuit;
    testing_support::SoftwareCanvas canvas(160, 90);
    App app;
    app.renderer = canvas.renderer;
    keyboardStateSource = [] { return static_cast<const Uint8*>(held); };
    std::cout.setstate(std::ios::badbit);  // a long session prints megabytes of traces
    const SDL_Scancode keys[] = {SDL_SCANCODE_A, SDL_SCANCODE_O,     SDL_SCANCODE_X,
                                 SDL_SCANCODE_I, SDL_SCANCODE_B,     SDL_SCANCODE_L,
                                 SDL_SCANCODE_Q, SDL_SCANCODE_LSHIFT};
    std::vector<SDL_Point> plan;
    int events = 0, wireChanges = 0, flips = 0, drags = 0;
    while (events < 100000) {
        int kinds[3] = {10}, count = 1;  // 0-5 press, 6-13 release, 14-18 key, 19 motion
        // Random clicks wire far more than they unwire: past two dozen wires the
        // user clicks both ends of one wire to take it away again.
        if (plan.empty() && !mouseDown && leftNode == 0 && edgeList.size() >= 24)
            plan = unwiring(*std::next(edgeList.begin(), pick(0, int(edgeList.size()) - 1)));
        bool pressing = mouseDown;
        if (plan.empty() || mouseDown) {
            count = pick(1, 3);
            for (int n = 0; n < count; ++n)
                pressing |= (kinds[n] = pick(0, 19)) < 6;
        }
        // The pointer jumps only while no mouse button is held, since the press
        // frame already drags by that frame's motion.
        SDL_Point to = pressing       ? SDL_Point{mouseX + pick(-8, 8), mouseY + pick(-8, 8)}
                       : plan.empty() ? somewhere(rng)
                                      : plan.back();
        if (!pressing && !plan.empty())
            plan.pop_back();
        std::tie(px, py, mouseX, mouseY) =
            std::make_tuple(mouseX, mouseY, std::clamp(to.x, 0, 1599), std::clamp(to.y, 0, 899));
        size_t wires = edgeList.size();
        for (int n = 0; n < count; ++n, ++events) {
            SDL_Event event{};
            event.type = kinds[n] < 6    ? SDL_MOUSEBUTTONDOWN
                         : kinds[n] < 14 ? SDL_MOUSEBUTTONUP
                         : kinds[n] < 19 ? SDL_KEYDOWN
                                         : SDL_MOUSEMOTION;
            // Every pass walks the whole circuit again, a gate fed on both inputs
            // once per value that reaches it: keep circuits small.
            const bool room[] = {Gate::objects.size() < 50, Input::inputs.size() < 6,
                                 Output::outputs.size() < 6, true};
            for (int k = 0; k < 8; ++k)
                held[keys[k]] = pick(0, 3) == 0 && room[k < 3 ? 0 : k < 5 ? 1 : k < 6 ? 2 : 3];
            dispatchEvent(event, app);
        }
        flips += vazi;  // set by a button switched in this frame's events
        wireTrigger();
        drags += mouseDown && (mouseX != px || mouseY != py) &&
                 movingButtonID + movingID + movingOutputID != -3;
        dragStep();
        Graph::simulate();
        drawFrame(app.renderer, app.window, app.images);
        wireChanges += edgeList.size() != wires;
        ASSERT_TRUE(frameEndedSound()) << "after event " << events;
    }
    std::cout.clear();
    // The session really wired, switched and dragged.
    EXPECT_GT(wireChanges, 1000);
    EXPECT_GT(flips, 1000);
    EXPECT_GT(drags, 1000);
}
