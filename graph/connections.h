#pragma once

#include <set>
#include <utility>

#include "core/constants.h"
#include "graph/edge.h"

// The wiring, held twice. Both are process globals touched only by the frame-loop thread.
//
// graph[id]: the (neighbour id, pin selector) pairs of every wire at component
// id, in either direction; propagation walks it. Only the wire toggle changes it.
extern std::multiset<std::pair<int, int>> graph[MAX_G];

// One record per wire, ordered by destination id; a new wire goes after the
// wires with the same destination. Only the wire toggle adds or removes wires.
extern std::multiset<Edge> edgeList;

// Removes the wire between the selected destination pin and the selected source
// (in either orientation), or adds it when there is none. Reads the selection.
void toggleWire();

// One line per wire, "left right ", then an empty line.
void printWireList();
