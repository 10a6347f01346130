#pragma once

#include <cstdint>

#include "core/constants.h"
#include "graph/run_queue.h"

// The propagation pass and the graph dump.
class Graph {
  public:
    // One pass: seeds the queue with every button's state and carries values
    // along the wires, through the gates into the lamps. Prints its trace when
    // vazi is set, then clears it.
    static void simulate();

    // Prints every slot of the gate registry, every button and every lamp with
    // the neighbours in its adjacency set.
    static void debugGraph();

    // true: a gate is evaluated on every value that reaches it; false: only once
    // both of its inputs have arrived. Flipped by the Q key.
    static bool workMode;

    // Components still to walk, with the value each drives; empty between passes.
    static RunQueue q;
};

// A pass starts no walk once it has made this many walks and deliveries: a circuit whose
// values multiply faster than runs can fold them would otherwise hang the program or exhaust
// memory. What was left in the queue is dropped.
constexpr std::uint64_t passWorkBudget = 2000000;

// A traced pass prints at most this many delivery lines, then one line
// "N more deliveries not printed".
constexpr std::uint64_t traceDeliveryLimit = 100000;

// Set when a component is taken from the queue; cleared at the start of every pass.
extern bool visited[MAX_G];

// Trace request: the next pass prints its trace. Set by a button toggle or a wire toggle.
extern bool vazi;
