#pragma once

#include <vector>

#include "graph/edge.h"

// One adjacency entry of a component together with the wire it stands for.
struct WireEnd {
    int neighbour;
    int pin;
    const Edge* wire;
};

// The adjacency sets with each entry's wire looked up once, laid out flat.
// A pair of components is joined on one pin selector by at most one wire, so
// an entry has exactly one wire. Rebuilt whenever the wiring has changed.
class CompiledWiring {
  public:
    // Brings the tables up to date with graph and edgeList.
    void refresh();

    const WireEnd* begin(int id) const { return ends.data() + offsets[id]; }
    const WireEnd* end(int id) const { return ends.data() + offsets[id + 1]; }

  private:
    void rebuild();

    unsigned builtVersion = 0;
    bool built = false;
    std::vector<int> offsets;
    std::vector<WireEnd> ends;
};

// Bumped by every change to the wiring, so that derived tables know to rebuild.
extern unsigned wiringVersion;
