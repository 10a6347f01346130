#include "test_support.h"

using namespace testing_support;

// Start-up circuit: AND 1, NAND 3, OR 5, NXOR 7, button 10007. What the toggle prints, as
// pins are clicked, is checked where they are clicked (mouse_release).
TEST(wire_toggle, names_a_wire_by_pair_and_pin_either_way_and_lists_by_destination_then_age) {
    StartupCircuit circuit;
    for (auto [d, pin, s] :
         {std::tuple{5, 0, 10007}, {3, 0, 1}, {5, 1, 1}, {3, 1, 10007}, {1, 0, 7}, {3, 0, 3}})
        toggle(d, pin, s);
    EXPECT_EQ(captureStdout(printWireList), "1 7 \n3 1 \n3 10007 \n3 3 \n5 10007 \n5 1 \n\n");
    // A gate feeding its own input holds the entry twice; one removal erases both.
    EXPECT_THAT(captureStdout(Graph::debugGraph), HasSubstr("\n3: 1 3 3 10007 \n"));
    EXPECT_EQ(toggled(1, 0, 3) + toggled(3, 0, 3) + toggled(5, 0, 10007), "uso 0\nuso 0\nuso 0\n");
    EXPECT_THAT(captureStdout(Graph::debugGraph), HasSubstr("\n3: 10007 \n"));
    toggle(3, 0, 1);  // added again: behind the wire of the same destination
    EXPECT_THAT(wires(), ElementsAre(std::tuple{1, 7, 0}, std::tuple{3, 10007, 1},
                                     std::tuple{3, 1, 0}, std::tuple{5, 1, 1}));
}
