#pragma once

#include <cstdint>
#include <vector>

#include "graph/edge.h"

// One adjacency entry of a component together with the wire it stands for,
// packed small so that a pass's tables stay in cache on large circuits.
struct WireEnd {
    std::uint32_t target;  // neighbour id * 4 + pin selector
    std::uint32_t wire;    // index into CompiledWiring::wires()

    int neighbour() const { return static_cast<int>(target >> 2); }
    int pin() const { return static_cast<int>(target & 3); }
};

// The adjacency sets with each entry's wire looked up once, laid out flat.
// A pair of components is joined on one pin selector by at most one wire, so
// an entry has exactly one wire. Rebuilt whenever the circuit was edited.
class CompiledWiring {
  public:
    // Brings the tables up to date with graph and edgeList; true when rebuilt.
    bool refresh();

    const WireEnd* begin(int id) const { return ends.data() + offsets[id]; }
    const WireEnd* end(int id) const { return ends.data() + offsets[id + 1]; }
    // Where a component's entries start in the table; offset(MAX_G) is its size.
    std::uint32_t offset(int id) const { return offsets[id]; }
    // Every wire, in list order.
    const std::vector<const Edge*>& wires() const { return wireList; }

  private:
    void rebuild();

    unsigned builtVersion = 0;  // circuitVersion() when built
    bool built = false;
    std::vector<std::uint32_t> offsets;
    std::vector<WireEnd> ends;
    std::vector<const Edge*> wireList;
};
