#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "components/gate_kinds.h"
#include "test_support.h"

using testing_support::hasColor;
using testing_support::SoftwareCanvas;

static void expectPin(Node* pin, int x, int y) {
    EXPECT_EQ(pin->x, x);
    EXPECT_EQ(pin->y, y);
}

TEST(gate_evaluate, every_kind_gives_its_truth_table_column) {
    Gate* gates[] = {new ANDGate(0, 0), new NANDGate(0, 0), new ORGate(0, 0),
                     new NORGate(0, 0), new XORGate(0, 0),  new NXORGate(0, 0)};
    // A, B, then the outputs of AND NAND OR NOR XOR NXOR; the first row runs on fresh gates.
    for (const std::string row : {"00 010101", "01 011010", "10 011010", "11 101001"}) {
        for (int k = 0; k < 6; ++k) {
            if (row != "00 010101") {
                gates[k]->inputs = {row[0] == '1', row[1] == '1'};
            }
            EXPECT_EQ(gates[k]->evaluate(), row[3 + k] == '1') << "kind " << k << ", A B " << row;
        }
    }
}

TEST(gate_registry, gates_fill_two_slots_and_terminals_count_on_their_own) {
    ANDGate first(0, 0);
    Input button(0, 0, false);
    XORGate second(0, 0);
    Output lamp(0, 0, false, ledColor);
    NORGate third(0, 0);
    Input secondButton(0, 0, true);
    Gate* gates[] = {&first, &second, &third};
    ASSERT_EQ(Gate::getObjects().size(), 6u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(gates[k]->getId(), 2 * k + 1);
        EXPECT_EQ(Gate::getObjects()[2 * k], gates[k]);
        EXPECT_EQ(Gate::getObjects()[2 * k + 1], gates[k]);
    }
    EXPECT_EQ(button.getId(), 10007);
    EXPECT_EQ(secondButton.getId(), 10008);
    EXPECT_EQ(lamp.getId(), 20007);
}

TEST(gate_pins, anchored_at_construction_and_follow_a_move_only_when_drawn) {
    ANDGate gate(60, 30);
    expectPin(gate.getOutputNode(), 180, 54);
    expectPin(gate.getInA(), 52, 38);
    expectPin(gate.getInB(), 52, 70);
    EXPECT_TRUE(gate.getInA()->isInArea(68, 54));  // edges count
    EXPECT_FALSE(gate.getInA()->isInArea(52, 55) || gate.getInB()->isInArea(52, 55));
    gate.addXY(10, -5);
    EXPECT_EQ(gate.getX(), 70);
    EXPECT_EQ(gate.getY(), 25);
    expectPin(gate.getOutputNode(), 180, 54);
    expectPin(gate.getInB(), 52, 70);
    SoftwareCanvas canvas;
    gate.renderBase(canvas.renderer, 74, 141, 247);
    expectPin(gate.getOutputNode(), 190, 49);
    expectPin(gate.getInA(), 62, 33);
    expectPin(gate.getInB(), 62, 65);
    EXPECT_TRUE(hasColor(canvas, 198, 57, 74, 141, 247));  // the output pin at its new place
}

TEST(gate_image, loader_leaves_texture_null_for_missing_or_broken_files) {
    SoftwareCanvas canvas;
    const std::string base = testing::TempDir() + "velkora_gate_" + std::to_string(getpid());
    SDL_Surface* image = SDL_CreateRGBSurfaceWithFormat(0, 8, 8, 24, SDL_PIXELFORMAT_RGB24);
    ASSERT_EQ(SDL_SaveBMP(image, (base + "_good.bmp").c_str()), 0);
    ASSERT_EQ(SDL_SaveBMP(image, (base + "_cut.bmp").c_str()), 0);
    ASSERT_EQ(truncate((base + "_cut.bmp").c_str(), 100), 0);  // header whole, pixel rows missing
    std::ofstream(base + "_garbage.bmp", std::ios::binary) << "BMnot an image";
    // The sound file comes first: it shows the loader works, so the failures are real.
    for (const std::string name : {"_good.bmp", "_missing.bmp", "_garbage.bmp", "_cut.bmp"}) {
        ORGate::initialize(canvas.renderer, (base + name).c_str());
        EXPECT_EQ(ORGate::texture != nullptr, name == "_good.bmp") << name;
        std::remove((base + name).c_str());
    }
    SDL_FreeSurface(image);
    ORGate gate(300, 300);
    gate.render(canvas.renderer, 74, 141, 247);  // no image, but the pins still show
    EXPECT_TRUE(hasColor(canvas, 364, 330, 0, 0, 0));
    EXPECT_TRUE(hasColor(canvas, 298, 318, 74, 141, 247));
}
