#pragma once

// What most tests need: the components, the wiring, output capture and a software canvas.

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <iostream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/app_state.h"
#include "app/startup_circuit.h"
#include "graph/connections.h"
#include "graph/graph.h"

namespace testing_support {

// Runs `body` and returns what it wrote to standard output.
inline std::string captureStdout(const std::function<void()>& body) {
    std::cout.flush();
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    body();
    std::cout.flush();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

// Joins lines with a line feed after each, the way the program prints them.
inline std::string lines(const std::vector<std::string>& text) {
    std::string out;
    for (const auto& line : text)
        out += line + "\n";
    return out;
}

// Selects a destination pin and a source as the pin clicks would, toggles, then clears.
inline void toggle(int destination, int pin, int source) {
    std::tie(leftNode, which, lType, rightNode, rType) =
        std::make_tuple(destination, pin, pin == 2 ? 64 : 16, source, source >= 10007 ? 32 : 16);
    toggleWire();
    std::tie(leftNode, which, lType, rightNode, rType) = std::make_tuple(0, -1, 0, 0, 0);
}

inline std::string toggleCaptured(int destination, int pin, int source) {
    return captureStdout([&] { toggle(destination, pin, source); });
}

inline int countEntry(int at, int neighbour, int pin) {
    return static_cast<int>(graph[at].count({neighbour, pin}));
}

// The wiring invariants: every wire has its two adjacency entries, at most one
// wire joins a pair of components on one pin selector, and every id names a
// registered component of the kind its pin selector implies.
inline ::testing::AssertionResult wiringIsConsistent() {
    size_t adjacencyEntries = 0;  // over every id in use
    for (auto [first, count] : {std::pair{0, Gate::objects.size()},
                                {10007, Input::inputs.size()},
                                {20007, Output::outputs.size()}})
        for (size_t i = 0; i < count; ++i)
            adjacencyEntries += graph[first + i].size();
    if (adjacencyEntries != 2 * edgeList.size())
        return ::testing::AssertionFailure()
               << adjacencyEntries << " adjacency entries for " << edgeList.size() << " wires";
    auto isGate = [](int id) { return id >= 1 && id < (int)Gate::objects.size() && id % 2 == 1; };
    std::set<std::tuple<int, int, int>> joined;
    for (const Edge& wire : edgeList) {
        bool leftOk = wire.which == 2
                          ? wire.left >= 20007 && wire.left - 20007 < (int)Output::outputs.size()
                          : isGate(wire.left) && wire.which >= 0 && wire.which < 2;
        bool rightOk = wire.right >= 10007 ? wire.right - 10007 < (int)Input::inputs.size()
                                           : isGate(wire.right);
        int expected = wire.left == wire.right ? 2 : 1;
        if (!leftOk || !rightOk || countEntry(wire.left, wire.right, wire.which) < expected ||
            countEntry(wire.right, wire.left, wire.which) < expected)
            return ::testing::AssertionFailure() << "wire " << wire.left << "<-" << wire.right
                                                 << " names a wrong component or lacks entries";
        auto [low, high] = std::minmax(wire.left, wire.right);
        if (!joined.insert({low, high, wire.which}).second)
            return ::testing::AssertionFailure() << "two wires join " << low << " and " << high;
    }
    return ::testing::AssertionSuccess();
}

// A software renderer on a surface, cleared black: drawing gives exact pixels.
struct SoftwareCanvas {
    SoftwareCanvas(int width = 1600, int height = 900)
        : surface(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGBA8888)),
          renderer(SDL_CreateSoftwareRenderer(surface)) {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
    }
    ~SoftwareCanvas() {
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(surface);
    }
    SDL_Color pixel(int x, int y) const {
        Uint32 value = static_cast<const Uint32*>(surface->pixels)[y * (surface->pitch / 4) + x];
        SDL_Color c;
        SDL_GetRGBA(value, surface->format, &c.r, &c.g, &c.b, &c.a);
        return c;
    }
    SDL_Surface* surface;
    SDL_Renderer* renderer;
};

}  // namespace testing_support
