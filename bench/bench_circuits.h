#pragma once

// The circuits the benchmarks run on, and the rule of one circuit per process.

#include <string>
#include <vector>

#include "circuit_builders.h"

struct CircuitShape {
    std::string family;  // "random", "chain", "ladder" or "fanout"
    int size;            // gates for random circuits, levels for chains and ladders, lamps

    std::string name() const { return family + "_" + std::to_string(size); }
};

// Every circuit, smallest first within a family.
std::vector<CircuitShape> allCircuits();

// Builds the circuit on first use and returns it afterwards. The registries never
// shrink: a pass seeds every button ever made and clears every gate's inputs, so
// a second circuit in the same process would slow the first one's passes (and
// the gate ids run out after 5,003 gates). So each process benchmarks exactly
// one circuit; asking for another returns null.
const BuiltCircuit* circuitForThisProcess(const CircuitShape& circuit);
