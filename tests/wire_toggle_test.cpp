#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <tuple>
#include <utility>
#include <vector>

#include "app/startup_circuit.h"
#include "test_support.h"

using namespace testing_support;

namespace {

using Entries = std::vector<std::pair<int, int>>;
using Wires =
    std::vector<std::tuple<int, int, int, int, int, int, int>>;  // left right which x1 y1 x2 y2

Entries entries(int id) {
    return Entries(graph[id].begin(), graph[id].end());
}

Wires wires() {
    Wires out;
    for (const Edge& w : edgeList) {
        out.emplace_back(w.left, w.right, w.which, w.x1, w.y1, w.x2, w.y2);
    }
    return out;
}

}  // namespace

// Start-up circuit: AND 1 at (60, 30), NAND 3 at (400, 30), OR 5 at (200, 20),
// NXOR 7 at (420, 160), button 10007 at (600, 600), lamp 20007 at (700, 700).
TEST(wire_toggle, adds_with_trace_by_source_kind_and_removal_restores_adjacency) {
    StartupCircuit circuit;
    struct Row {
        int to, pin, from;
        std::vector<std::string> printed;
        Wires::value_type wire;  // its ends lie at the pin centres
    } rows[] = {
        {1, 0, 10007, {"uso 0", "uso 2", "uso 3"}, {1, 10007, 0, 60, 46, 664, 632}},
        {3, 0, 1, {"uso 0", "uso 2", "1 10007 ", "3 1 ", ""}, {3, 1, 0, 400, 46, 188, 62}},
        {20007, 2, 1, {"uso 0", "uso 2"}, {20007, 1, 2, 700, 732, 188, 62}},
        {7, 1, 10007, {"uso 0", "uso 2", "uso 3"}, {7, 10007, 1, 420, 208, 664, 632}},
    };
    std::vector<std::pair<Entries, Entries>> before;
    for (const Row& row : rows) {
        before.emplace_back(entries(row.to), entries(row.from));
        EXPECT_EQ(toggleCaptured(row.to, row.pin, row.from), lines(row.printed));
        Wires now = wires();
        EXPECT_EQ(std::count(now.begin(), now.end(), row.wire), 1) << row.to;
        EXPECT_TRUE(wiringIsConsistent());
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
    EXPECT_TRUE(wiringIsConsistent());
    EXPECT_NE(captureStdout(Graph::debugGraph).find("\n3: 3 3 \n"), std::string::npos);
    EXPECT_EQ(toggleCaptured(3, 0, 3), "uso 0\n");
    EXPECT_TRUE(graph[3].empty());
    EXPECT_EQ(edgeList.size(), 2u);
    EXPECT_TRUE(wiringIsConsistent());
}

TEST(wire_toggle, wires_run_by_destination_then_age_in_list_and_listing) {
    StartupCircuit circuit;
    for (auto [d, pin, s] :
         {std::tuple{5, 0, 10007}, {3, 0, 1}, {5, 1, 1}, {3, 1, 10007}, {1, 0, 7}}) {
        toggle(d, pin, s);
    }
    const std::string listing = lines({"1 7 ", "3 1 ", "3 10007 ", "5 10007 ", "5 1 ", ""});
    EXPECT_EQ(captureStdout(printWireList), listing);
    // Removing one wire keeps the others in order; re-adding puts it behind its equals.
    toggle(3, 0, 1);
    toggle(5, 0, 10007);
    EXPECT_EQ(captureStdout(printWireList), lines({"1 7 ", "3 10007 ", "5 1 ", ""}));
    toggle(3, 0, 1);
    EXPECT_EQ(captureStdout(printWireList), lines({"1 7 ", "3 10007 ", "3 1 ", "5 1 ", ""}));
}
