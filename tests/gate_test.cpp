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
