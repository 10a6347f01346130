#include "graph/compiled_wiring.h"

#include <cstdint>
#include <unordered_map>

#include "core/constants.h"
#include "graph/circuit_edits.h"
#include "graph/connections.h"

namespace {

// One key for a pair of components, in either order, and a pin selector. The pin takes
// bits 0 and 1 and the larger id from bit 2; any non-negative int fits in the next 32
// bits, so the smaller id starts at bit 34 and no two pairs share a key.
std::uint64_t pairKey(int a, int b, int pin) {
    if (a > b) {
        std::swap(a, b);
    }
    return (static_cast<std::uint64_t>(a) << 34) | (static_cast<std::uint64_t>(b) << 2) |
           static_cast<std::uint64_t>(pin);
}

}  // namespace

bool CompiledWiring::refresh() {
    if (built && builtVersion == circuitVersion()) {
        return false;
    }
    rebuild();
    builtVersion = circuitVersion();
    built = true;
    return true;
}

void CompiledWiring::rebuild() {
    std::unordered_map<std::uint64_t, std::uint32_t> wireOf;
    wireOf.reserve(edgeList.size());
    wireList.clear();
    for (const Edge& wire : edgeList) {
        wireOf.emplace(pairKey(wire.left, wire.right, wire.which),
                       static_cast<std::uint32_t>(wireList.size()));
        wireList.push_back(&wire);
    }
    offsets.assign(MAX_G + 1, 0);
    ends.clear();
    for (int id = 0; id < MAX_G; ++id) {
        offsets[id] = static_cast<std::uint32_t>(ends.size());
        for (const auto& [neighbour, pin] : graph[id]) {
            // A wire from a gate into itself never delivers: the gate is marked
            // before it is walked.
            if (neighbour == id) {
                continue;
            }
            auto found = wireOf.find(pairKey(id, neighbour, pin));
            if (found != wireOf.end()) {
                ends.push_back(WireEnd{
                    static_cast<std::uint32_t>(neighbour) << 2 | static_cast<std::uint32_t>(pin),
                    found->second});
            }
        }
    }
    offsets[MAX_G] = static_cast<std::uint32_t>(ends.size());
}
