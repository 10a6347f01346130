#include "graph/compiled_wiring.h"

#include <cstdint>
#include <unordered_map>

#include "core/constants.h"
#include "graph/connections.h"

unsigned wiringVersion = 0;

namespace {

std::uint64_t pairKey(int a, int b, int pin) {
    if (a > b) {
        std::swap(a, b);
    }
    return (static_cast<std::uint64_t>(a) << 34) | (static_cast<std::uint64_t>(b) << 2) |
           static_cast<std::uint64_t>(pin);
}

}  // namespace

void CompiledWiring::refresh() {
    if (!built || builtVersion != wiringVersion) {
        rebuild();
        builtVersion = wiringVersion;
        built = true;
    }
}

void CompiledWiring::rebuild() {
    std::unordered_map<std::uint64_t, const Edge*> wireOf;
    wireOf.reserve(edgeList.size());
    for (const Edge& wire : edgeList) {
        wireOf.emplace(pairKey(wire.left, wire.right, wire.which), &wire);
    }
    offsets.assign(MAX_G + 1, 0);
    ends.clear();
    for (int id = 0; id < MAX_G; ++id) {
        offsets[id] = static_cast<int>(ends.size());
        for (const auto& [neighbour, pin] : graph[id]) {
            // A wire from a gate into itself never delivers: the gate is marked
            // before it is walked.
            if (neighbour == id) {
                continue;
            }
            auto found = wireOf.find(pairKey(id, neighbour, pin));
            if (found != wireOf.end()) {
                ends.push_back(WireEnd{neighbour, pin, found->second});
            }
        }
    }
    offsets[MAX_G] = static_cast<int>(ends.size());
}
