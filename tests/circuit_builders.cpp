#include "circuit_builders.h"

#include "components/gate_kinds.h"
#include "components/input.h"
#include "components/output.h"
#include "core/color_rgb.h"
#include "graph/compiled_wiring.h"
#include "graph/connections.h"
#include "graph/wire_ends.h"

void addWireQuietly(int destination, int pin, int source) {
    graph[destination].insert({source, pin});
    graph[source].insert({destination, pin});
    SDL_Point to = destinationEnd(destination, pin);
    SDL_Point from = sourceEnd(source);
    edgeList.insert(Edge(destination, source, to.x, to.y, from.x, from.y, pin));
    ++wiringVersion;
}

namespace {

int makeGate(int kind, int x, int y) {
    switch (kind % 6) {
        case 0:
            return (new ANDGate(x, y))->getId();
        case 1:
            return (new NANDGate(x, y))->getId();
        case 2:
            return (new ORGate(x, y))->getId();
        case 3:
            return (new NORGate(x, y))->getId();
        case 4:
            return (new XORGate(x, y))->getId();
        default:
            return (new NXORGate(x, y))->getId();
    }
}

int makeButton(bool on) {
    return (new Input(0, 0, on))->getId();
}
int makeLamp() {
    return (new Output(0, 0, false, ledColor))->getId();
}

// A lamp wired to the output of `source`.
void addLamp(BuiltCircuit& c, int source) {
    int lamp = makeLamp();
    addWireQuietly(lamp, 2, source);
    c.lamps.push_back(lamp);
}

}  // namespace

BuiltCircuit randomLayeredCircuit(int gates, std::mt19937& rng) {
    BuiltCircuit c;
    int buttons = gates / 20 + 2;
    for (int i = 0; i < buttons; ++i) {
        c.buttons.push_back(makeButton(rng() % 2 == 0));
    }
    std::vector<int> sources = c.buttons;
    for (int i = 0; i < gates; ++i) {
        int gate = makeGate(static_cast<int>(rng() % 6), (i * 37) % 1500, (i * 53) % 800);
        int a = sources[rng() % sources.size()];
        int b = sources[rng() % sources.size()];
        addWireQuietly(gate, 0, a);
        if (b != a || rng() % 2 == 0) {
            addWireQuietly(gate, 1, b);
        }
        c.gates.push_back(gate);
        sources.push_back(gate);
        if (rng() % 10 == 0) {
            addLamp(c, gate);
        }
    }
    return c;
}

BuiltCircuit tiedNandChain(int depth) {
    BuiltCircuit c;
    int previous = makeButton(true);
    c.buttons.push_back(previous);
    for (int i = 0; i < depth; ++i) {
        int gate = makeGate(1, 0, 0);
        addWireQuietly(gate, 0, previous);
        addWireQuietly(gate, 1, previous);
        c.gates.push_back(gate);
        previous = gate;
    }
    addLamp(c, previous);
    return c;
}

BuiltCircuit ladder(int depth) {
    BuiltCircuit c;
    int left = makeButton(true);
    int right = makeButton(false);
    c.buttons = {left, right};
    for (int level = 0; level < depth; ++level) {
        int a = makeGate(level % 2 == 0 ? 1 : 4, 0, 0);  // NAND, XOR alternately
        int b = makeGate(level % 2 == 0 ? 3 : 0, 0, 0);  // NOR, AND alternately
        for (int gate : {a, b}) {
            addWireQuietly(gate, 0, left);
            addWireQuietly(gate, 1, right);
            c.gates.push_back(gate);
        }
        left = a;
        right = b;
    }
    for (int source : {left, right}) {
        addLamp(c, source);
    }
    return c;
}
