#pragma once

// Circuits built without going through the editor, for tests and benchmarks.

#include <vector>

// Adds a wire the way the wire toggle does, without printing anything.
void addWireQuietly(int destination, int pin, int source);

// Makes a gate of kind 0 to 5 (AND, NAND, OR, NOR, XOR, NXOR), a button, or a lamp
// wired to the output of `source`; returns the id.
int makeGate(int kind, int x = 0, int y = 0);
int makeButton(bool on);
int addLamp(int source);

struct BuiltCircuit {
    std::vector<int> gates;  // ids, in the order made
};

// NAND gates used as inverters, both inputs tied to the previous gate (the first
// to a button, on); a lamp on the last.
BuiltCircuit tiedNandChain(int depth);
