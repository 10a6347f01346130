#include "test_support.h"

using namespace testing_support;

namespace {

using Entries = std::vector<std::pair<int, int>>;
Entries entries(int id) {
    return Entries(graph[id].begin(), graph[id].end());
}

}  // namespace

// Start-up circuit: AND 1 at (60, 30), NAND 3 at (400, 30), OR 5 at (200, 20),
// NXOR 7 at (420, 160), button 10007 at (600, 600), lamp 20007 at (700, 700).
TEST(wire_toggle, adds_with_trace_by_source_kind_and_removal_restores_adjacency) {
    StartupCircuit circuit;
    const struct {
        int to, pin, from;
        std::vector<std::string> printed;
    } rows[] = {
        {1, 0, 10007, {"uso 0", "uso 2", "uso 3"}},
        {3, 0, 1, {"uso 0", "uso 2", "1 10007 ", "3 1 ", ""}},
        {20007, 2, 1, {"uso 0", "uso 2"}},
        {7, 1, 10007, {"uso 0", "uso 2", "uso 3"}},
    };
    std::vector<std::pair<Entries, Entries>> before;
    for (const auto& row : rows) {
        before.emplace_back(entries(row.to), entries(row.from));
        EXPECT_EQ(toggleCaptured(row.to, row.pin, row.from), lines(row.printed));
        EXPECT_TRUE(wiringIsConsistent());  // which also checks each end's kind
    }
    for (size_t i = std::size(rows); i-- > 0;) {
        EXPECT_EQ(toggleCaptured(rows[i].to, rows[i].pin, rows[i].from), "uso 0\n");
        EXPECT_EQ(std::make_pair(entries(rows[i].to), entries(rows[i].from)), before[i]) << i;
        EXPECT_EQ(edgeList.size(), i);
    }
}

TEST(wire_toggle, a_wire_is_named_by_its_pair_and_pin_selector_in_either_orientation) {
    StartupCircuit circuit;
    toggle(3, 0, 1);
    EXPECT_EQ(toggleCaptured(1, 0, 3), "uso 0\n");
    EXPECT_TRUE(edgeList.empty() && graph[1].empty() && graph[3].empty());
    // Both inputs from one source are two wires; set order puts input A first.
    toggle(1, 1, 10007);
    toggle(1, 0, 10007);
    EXPECT_EQ(entries(10007), (Entries{{1, 0}, {1, 1}}));
    // A gate feeding its own input holds the entry twice; one removal erases both.
    toggle(3, 0, 3);
    EXPECT_EQ(entries(3), (Entries{{3, 0}, {3, 0}}));
    EXPECT_NE(captureStdout(Graph::debugGraph).find("\n3: 3 3 \n"), std::string::npos);
    EXPECT_EQ(toggleCaptured(3, 0, 3), "uso 0\n");
    EXPECT_TRUE(graph[3].empty());
    EXPECT_EQ(edgeList.size(), 2u);
    EXPECT_TRUE(wiringIsConsistent());
}

TEST(wire_toggle, wires_run_by_destination_then_by_age) {
    StartupCircuit circuit;
    for (auto [d, pin, s] :
         {std::tuple{5, 0, 10007}, {3, 0, 1}, {5, 1, 1}, {3, 1, 10007}, {1, 0, 7}})
        toggle(d, pin, s);
    EXPECT_EQ(captureStdout(printWireList),
              lines({"1 7 ", "3 1 ", "3 10007 ", "5 10007 ", "5 1 ", ""}));
    // Removing one wire keeps the others in order; re-adding puts it behind its equals.
    toggle(3, 0, 1);
    toggle(5, 0, 10007);
    EXPECT_EQ(captureStdout(printWireList), lines({"1 7 ", "3 10007 ", "5 1 ", ""}));
    toggle(3, 0, 1);
    EXPECT_EQ(captureStdout(printWireList), lines({"1 7 ", "3 10007 ", "3 1 ", "5 1 ", ""}));
}
