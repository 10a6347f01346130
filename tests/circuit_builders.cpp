#include "circuit_builders.h"

#include "components/gate_kinds.h"
#include "components/input.h"
#include "components/output.h"
#include "graph/circuit_edits.h"
#include "graph/connections.h"
#include "graph/wire_ends.h"

void addWireQuietly(int destination, int pin, int source) {
    graph[destination].insert({source, pin});
    graph[source].insert({destination, pin});
    SDL_Point to = destinationEnd(destination, pin);
    SDL_Point from = sourceEnd(source);
    edgeList.insert(Edge(destination, source, to.x, to.y, from.x, from.y, pin));
    circuitEdited();
}

namespace {
template <class Kind>
int make(int x, int y) {
    return (new Kind(x, y))->getId();
}
}  // namespace

int makeGate(int kind, int x, int y) {
    static int (*const kinds[])(int, int) = {make<ANDGate>, make<NANDGate>, make<ORGate>,
                                             make<NORGate>, make<XORGate>,  make<NXORGate>};
    return kinds[kind](x, y);
}

int makeButton(bool on) {
    return (new Input(0, 0, on))->getId();
}

int addLamp(int source) {
    int lamp = (new Output(0, 0, false, ledColor))->getId();
    addWireQuietly(lamp, 2, source);
    return lamp;
}

BuiltCircuit tiedNandChain(int depth) {
    BuiltCircuit c;
    int previous = makeButton(true);
    for (int i = 0; i < depth; ++i) {
        c.gates.push_back(makeGate(1));
        for (int pin : {0, 1})
            addWireQuietly(c.gates.back(), pin, previous);
        previous = c.gates.back();
    }
    addLamp(previous);
    return c;
}
