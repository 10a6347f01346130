#include <unistd.h>

#include <fstream>

#include "test_support.h"

using namespace testing_support;

TEST(gate_evaluate, every_kind_gives_its_truth_table_column) {
    Gate* gates[] = {new ANDGate(0, 0), new NANDGate(0, 0), new ORGate(0, 0),
                     new NORGate(0, 0), new XORGate(0, 0),  new NXORGate(0, 0)};
    // A, B, then the outputs of AND NAND OR NOR XOR NXOR; the first row runs on fresh gates.
    for (const std::string row : {"00 010101", "01 011010", "10 011010", "11 101001"})
        for (int k = 0; k < 6; ++k) {
            if (row != "00 010101")
                gates[k]->inputs = {row[0] == '1', row[1] == '1'};
            EXPECT_EQ(gates[k]->evaluate(), row[3 + k] == '1') << "kind " << k << ", A B " << row;
        }
}

TEST(component_ids, gates_fill_two_slots_and_terminals_count_on_their_own) {
    StartupCircuit circuit;
    EXPECT_EQ(captureStdout(printGateListing),
              lines({"8", "1", "1", "3", "3", "5", "5", "7", "7"}));
    Output lamp(0, 0, false, ledColor);
    XORGate gate(0, 0);
    Input button(0, 0, true);
    EXPECT_EQ(std::vector<int>({circuit.button.getId(), button.getId(), circuit.lamp.getId(),
                                lamp.getId(), gate.getId()}),
              (std::vector<int>{10007, 10008, 20007, 20008, 9}));
    EXPECT_TRUE(Gate::getObjects()[8] == &gate && Gate::getObjects()[9] == &gate);
}

TEST(component_pins, anchored_at_construction_and_moved_only_by_the_next_draw) {
    ANDGate gate(60, 30);
    Input button(600, 600, false);
    Output lamp(700, 700, false, ledColor);
    auto corners = [&] {
        std::vector<int> out;
        for (Node* pin : {gate.getInA(), gate.getInB(), gate.getOutputNode(),
                          button.getOutputNode(), lamp.getInputNode()})
            out.insert(out.end(), {pin->x, pin->y});
        return out;
    };
    const std::vector<int> built{52, 38, 52, 70, 180, 54, 656, 624, 692, 724};
    EXPECT_EQ(corners(), built);
    gate.addXY(10, -5);
    button.addXY(100, 0);
    lamp.addXY(0, -100);
    EXPECT_EQ(std::make_tuple(gate.getX(), gate.getY(), button.getX(), lamp.getY()),
              std::make_tuple(70, 25, 700, 600));
    EXPECT_TRUE(button.isInArea(750, 630));  // the body test follows at once
    EXPECT_EQ(corners(), built);
    SoftwareCanvas canvas;
    gate.renderBase(canvas.renderer, 74, 141, 247);
    button.render(canvas.renderer, 74, 141, 247);
    lamp.render(canvas.renderer, 74, 141, 247);
    EXPECT_EQ(corners(), (std::vector<int>{62, 33, 62, 65, 190, 49, 756, 624, 692, 624}));
}

TEST(component_hit_tests, include_edges_and_the_button_body_leaves_out_its_pin_strip) {
    Input button(600, 600, false);  // pin (656..672, 624..640)
    const std::tuple<int, int, bool, bool> rows[] = {
        // x, y, on the body, on the pin
        {600, 600, 1, 0}, {664, 664, 1, 0}, {655, 630, 1, 0}, {660, 623, 1, 0},
        {660, 641, 1, 0}, {660, 630, 0, 1}, {664, 624, 0, 1}, {665, 630, 0, 1},
        {599, 630, 0, 0}, {670, 630, 0, 1}, {672, 640, 0, 1}, {673, 630, 0, 0}};
    for (auto [x, y, body, pin] : rows) {
        SCOPED_TRACE(testing::Message() << x << ", " << y);
        EXPECT_EQ(button.isInArea(x, y), body);
        EXPECT_EQ(button.getOutputNode()->isInArea(x, y), pin);
    }
    ANDGate gate(60, 30);
    EXPECT_TRUE(gate.getInA()->isInArea(68, 54));
    EXPECT_FALSE(gate.getInA()->isInArea(52, 55) || gate.getInB()->isInArea(52, 55));
}

TEST(color_rgb, float_channels_are_the_channel_over_255) {
    core::ColorRGB color(194, 255, 0);
    EXPECT_NEAR(color.floatR(), 0.7608, 1e-4);
    EXPECT_TRUE(color.floatG() == 1.0f && color.floatB() == 0.0f);
}

TEST(gate_image, loader_leaves_texture_null_for_missing_or_broken_files) {
    SoftwareCanvas canvas;
    const std::string base = testing::TempDir() + "velkora_gate_" + std::to_string(getpid());
    SDL_Surface* image = SDL_CreateRGBSurfaceWithFormat(0, 8, 8, 24, SDL_PIXELFORMAT_RGB24);
    ASSERT_EQ(SDL_SaveBMP(image, (base + "_good.bmp").c_str()), 0);
    SDL_FreeSurface(image);
    std::ofstream(base + "_garbage.bmp", std::ios::binary) << "BMnot an image";
    // The sound file comes first: it shows the loader works, so the failures are real.
    for (const std::string name : {"_good.bmp", "_missing.bmp", "_garbage.bmp"}) {
        ORGate::initialize(canvas.renderer, (base + name).c_str());
        EXPECT_EQ(ORGate::texture != nullptr, name == "_good.bmp") << name;
        std::remove((base + name).c_str());
    }
}
