#include "test_support.h"

using namespace testing_support;

namespace {
using Entries = std::vector<std::pair<int, int>>;
Entries entries(int id) {
    return Entries(graph[id].begin(), graph[id].end());
}
}  // namespace

// Start-up circuit: AND 1, NAND 3, OR 5, NXOR 7, button 10007, lamp 20007.
TEST(wire_toggle, adds_with_trace_by_source_kind_and_removal_clears_adjacency) {
    StartupCircuit circuit;
    const struct {
        int to, pin, from;
        std::string printed;
    } rows[] = {{1, 0, 10007, "uso 0\nuso 2\nuso 3\n"},
                {3, 0, 1, "uso 0\nuso 2\n1 10007 \n3 1 \n\n"},
                {20007, 2, 1, "uso 0\nuso 2\n"},
                {20007, 2, 10007, "uso 0\nuso 2\nuso 3\n"},
                {1, 1, 10007, "uso 0\nuso 2\nuso 3\n"}};  // input A first in set order
    for (const auto& row : rows)
        EXPECT_EQ(toggled(row.to, row.pin, row.from), row.printed);
    EXPECT_THAT(entries(10007), ElementsAre(Pair(1, 0), Pair(1, 1), Pair(20007, 2)));
    for (size_t i = std::size(rows); i-- > 0;) {
        EXPECT_EQ(toggled(rows[i].to, rows[i].pin, rows[i].from), "uso 0\n");
        EXPECT_EQ(edgeList.size(), i);
    }
    for (int id : {1, 3, 10007, 20007})
        EXPECT_THAT(entries(id), IsEmpty()) << id;
}

TEST(wire_toggle, a_wire_is_named_by_its_pair_and_pin_selector_in_either_orientation) {
    StartupCircuit circuit;
    toggle(3, 0, 1);
    EXPECT_EQ(toggled(1, 0, 3), "uso 0\n");
    EXPECT_TRUE(edgeList.empty() && graph[1].empty() && graph[3].empty());
    // A gate feeding its own input holds the entry twice; one removal erases both.
    toggle(3, 0, 3);
    EXPECT_THAT(captureStdout(Graph::debugGraph), HasSubstr("\n3: 3 3 \n"));
    EXPECT_EQ(toggled(3, 0, 3), "uso 0\n");
    EXPECT_TRUE(graph[3].empty() && edgeList.empty());
}

TEST(wire_toggle, wires_run_by_destination_then_by_age) {
    StartupCircuit circuit;
    for (auto [d, pin, s] :
         {std::tuple{5, 0, 10007}, {3, 0, 1}, {5, 1, 1}, {3, 1, 10007}, {1, 0, 7}})
        toggle(d, pin, s);
    EXPECT_EQ(captureStdout(printWireList), "1 7 \n3 1 \n3 10007 \n5 10007 \n5 1 \n\n");
    // Removing one wire keeps the others in order; re-adding puts it behind its equals.
    toggle(3, 0, 1);
    toggle(5, 0, 10007);
    toggle(3, 0, 1);
    EXPECT_THAT(wires(), ElementsAre(std::tuple{1, 7, 0}, std::tuple{3, 10007, 1},
                                     std::tuple{3, 1, 0}, std::tuple{5, 1, 1}));
}
