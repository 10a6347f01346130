#pragma once

// What most tests need: the components, the wiring and output capture.

#include <gmock/gmock.h>

#include <cstdio>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "app/app_state.h"
#include "app/startup_circuit.h"
#include "graph/connections.h"
#include "graph/graph.h"

namespace testing_support {

using namespace ::testing;

// Runs `body` and returns what it wrote to standard output (std::cout goes through stdio).
inline std::string captureStdout(const std::function<void()>& body) {
    std::fflush(stdout);
    internal::CaptureStdout();
    body();
    std::fflush(stdout);
    return internal::GetCapturedStdout();
}

// Selects a destination pin and a source as pin clicks would, toggles the wire
// between them and clears the selection; `toggled` returns what it printed.
inline void toggle(int destination, int pin, int source) {
    std::tie(leftNode, which, lType, rightNode, rType) =
        std::make_tuple(destination, pin, pin == 2 ? 64 : 16, source, source >= 10007 ? 32 : 16);
    toggleWire();
    std::tie(leftNode, which, lType, rightNode, rType) = std::make_tuple(0, -1, 0, 0, 0);
}
inline std::string toggled(int destination, int pin, int source) {
    return captureStdout([&] { toggle(destination, pin, source); });
}

// Every wire as (destination, source, pin selector), in list order.
inline std::vector<std::tuple<int, int, int>> wires() {
    std::vector<std::tuple<int, int, int>> out;
    for (const Edge& wire : edgeList)
        out.emplace_back(wire.left, wire.right, wire.which);
    return out;
}

}  // namespace testing_support
