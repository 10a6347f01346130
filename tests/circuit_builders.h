#pragma once

// Circuits built without going through the editor, for tests and benchmarks.

#include <random>
#include <vector>

// Adds a wire the way the wire toggle does, without printing anything.
void addWireQuietly(int destination, int pin, int source);

struct BuiltCircuit {
    std::vector<int> buttons;
    std::vector<int> gates;
    std::vector<int> lamps;
};

// `gates` gates of random kinds; every gate input is fed from an earlier
// source (a button or an earlier gate); a lamp on about one gate in ten.
BuiltCircuit randomLayeredCircuit(int gates, std::mt19937& rng);

// NAND gates used as inverters, both inputs tied to the previous gate (the first
// to a button); a lamp on the last.
BuiltCircuit tiedNandChain(int depth);

// Two gates per level, each fed by both gates of the level before (the first
// level by two buttons); lamps on the last level.
BuiltCircuit ladder(int depth);
