#pragma once

// Assertions and fixtures that many tests share.

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "components/gate.h"
#include "components/input.h"
#include "components/output.h"
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
    for (const auto& line : text) {
        out += line + "\n";
    }
    return out;
}

// Selects a destination pin and a source as the pin clicks would, then toggles.
inline void toggle(int destination, int pin, int source) {
    leftNode = destination;
    which = pin;
    lType = pin == 2 ? 64 : 16;
    rightNode = source;
    rType = source >= 10007 ? 32 : 16;
    toggleWire();
    leftNode = 0;
    which = -1;
    lType = 0;
    rightNode = 0;
    rType = 0;
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
    size_t adjacencyEntries = 0;
    for (const auto& entries : graph) {
        adjacencyEntries += entries.size();
    }
    if (adjacencyEntries != 2 * edgeList.size()) {
        return ::testing::AssertionFailure()
               << adjacencyEntries << " adjacency entries for " << edgeList.size() << " wires";
    }
    std::vector<const Edge*> seen;
    for (const Edge& wire : edgeList) {
        bool leftOk =
            wire.which == 2
                ? wire.left >= 20007 && wire.left - 20007 < (int)Output::outputs.size()
                : wire.left >= 1 && wire.left < (int)Gate::objects.size() && wire.left % 2 == 1;
        bool rightOk =
            wire.right >= 10007
                ? wire.right < 20007 && wire.right - 10007 < (int)Input::inputs.size()
                : wire.right >= 1 && wire.right < (int)Gate::objects.size() && wire.right % 2 == 1;
        if (!leftOk || !rightOk || wire.which < 0 || wire.which > 2) {
            return ::testing::AssertionFailure()
                   << "wire " << wire.left << "<-" << wire.right << " names a wrong component";
        }
        int expected = wire.left == wire.right ? 2 : 1;
        if (countEntry(wire.left, wire.right, wire.which) < expected ||
            countEntry(wire.right, wire.left, wire.which) < expected) {
            return ::testing::AssertionFailure()
                   << "wire " << wire.left << "<-" << wire.right << " lacks adjacency entries";
        }
        for (const Edge* other : seen) {
            bool samePair = (other->left == wire.left && other->right == wire.right) ||
                            (other->left == wire.right && other->right == wire.left);
            if (samePair && other->which == wire.which) {
                return ::testing::AssertionFailure()
                       << "two wires join " << wire.left << " and " << wire.right;
            }
        }
        seen.push_back(&wire);
    }
    return ::testing::AssertionSuccess();
}

// A 1600 by 900 software renderer on a surface: drawing gives exact pixels.
class SoftwareCanvas {
  public:
    SoftwareCanvas(int width = 1600, int height = 900) {
        surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGBA8888);
        renderer = SDL_CreateSoftwareRenderer(surface);
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
    }
    ~SoftwareCanvas() {
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(surface);
    }
    SoftwareCanvas(const SoftwareCanvas&) = delete;
    SoftwareCanvas& operator=(const SoftwareCanvas&) = delete;

    SDL_Color pixel(int x, int y) const {
        Uint32 value = static_cast<const Uint32*>(surface->pixels)[y * (surface->pitch / 4) + x];
        SDL_Color c;
        SDL_GetRGBA(value, surface->format, &c.r, &c.g, &c.b, &c.a);
        return c;
    }

    // A texture filled with one colour, so image placement can be checked exactly.
    SDL_Texture* solidTexture(int w, int h, Uint8 r, Uint8 g, Uint8 b) {
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA8888);
        SDL_FillRect(s, nullptr, SDL_MapRGBA(s->format, r, g, b, 255));
        SDL_Texture* t = SDL_CreateTextureFromSurface(renderer, s);
        SDL_FreeSurface(s);
        return t;
    }

    SDL_Surface* surface;
    SDL_Renderer* renderer;
};

// Compares a pixel with an RGB triple and reports both on failure.
inline ::testing::AssertionResult hasColor(const SoftwareCanvas& canvas, int x, int y, int r, int g,
                                           int b) {
    SDL_Color c = canvas.pixel(x, y);
    if (c.r == r && c.g == g && c.b == b) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "pixel (" << x << ", " << y << ") is (" << int(c.r) << ", " << int(c.g) << ", "
           << int(c.b) << "), expected (" << r << ", " << g << ", " << b << ")";
}

}  // namespace testing_support
