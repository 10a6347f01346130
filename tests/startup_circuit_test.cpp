#include "app/startup_circuit.h"

#include <gtest/gtest.h>

#include "test_support.h"

using testing_support::captureStdout;
using testing_support::lines;

TEST(startup_circuit, registers_ids_in_creation_order_and_lists_every_slot) {
    StartupCircuit circuit;
    EXPECT_EQ(circuit.andGate.getId(), 1);
    EXPECT_EQ(circuit.nandGate.getId(), 3);
    EXPECT_EQ(circuit.orGate.getId(), 5);
    EXPECT_EQ(circuit.nxorGate.getId(), 7);
    EXPECT_EQ(circuit.button.getId(), 10007);
    EXPECT_EQ(circuit.lamp.getId(), 20007);
    EXPECT_EQ(captureStdout(printGateListing),
              lines({"8", "1", "1", "3", "3", "5", "5", "7", "7"}));
}
