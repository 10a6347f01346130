#include "graph/gate_states.h"

#include "components/gate.h"
#include "core/constants.h"
#include "graph/circuit_edits.h"

namespace {

std::uint8_t stateBitsOf(const Gate& gate) {
    return static_cast<std::uint8_t>(
        (gate.inputs[0] ? GateStates::inputA : 0) | (gate.inputs[1] ? GateStates::inputB : 0) |
        (gate.hasA ? GateStates::arrivedA : 0) | (gate.hasB ? GateStates::arrivedB : 0));
}

// A gate's output depends on its two input bits alone, so asking it once for
// each of the four inputs gives everything a pass will ask of it.
std::uint8_t truthTableOf(Gate& gate) {
    std::vector<bool> saved = gate.inputs;
    std::uint8_t table = 0;
    for (int inputs = 0; inputs < 4; ++inputs) {
        gate.inputs[0] = inputs & 1;
        gate.inputs[1] = inputs & 2;
        table |= (gate.evaluate() ? 1 : 0) << inputs;
    }
    gate.inputs = saved;
    return table;
}

}  // namespace

void GateStates::refresh() {
    if (!loaded || loadedVersion != circuitVersion() || bits.size() != Gate::objects.size()) {
        load();
        loadedVersion = circuitVersion();
        loaded = true;
    }
}

bool GateStates::agreesWithObjects() const {
    for (std::size_t id = 1; id < stored.size(); id += 2) {
        if (stateBitsOf(*Gate::objects[id]) != (stored[id] & stateBits)) {
            return false;
        }
    }
    return true;
}

void GateStates::load() {
    // Indexed by id: ids run over the registry's slots, each gate on its odd slot.
    bits.assign(Gate::objects.size(), 0);
    stored.assign(Gate::objects.size(), 0);
    for (std::size_t id = 1; id < Gate::objects.size(); id += 2) {
        Gate& gate = *Gate::objects[id];
        bits[id] = static_cast<std::uint8_t>(stateBitsOf(gate) | truthTableOf(gate) << truthShift);
    }
    stored = bits;
}

void GateStates::clearInputs() {
    for (std::uint8_t& b : bits) {
        b &= static_cast<std::uint8_t>(~(inputA | inputB));
    }
}

void GateStates::storeChanged() {
    if (bits == stored) {
        return;  // the usual frame: the circuit settled as it did last time
    }
    for (std::size_t id = 1; id < bits.size(); id += 2) {
        if (bits[id] != stored[id]) {
            Gate& gate = *Gate::objects[id];
            gate.inputs[0] = bits[id] & inputA;
            gate.inputs[1] = bits[id] & inputB;
            gate.hasA = bits[id] & arrivedA;
            gate.hasB = bits[id] & arrivedB;
            stored[id] = bits[id];
        }
    }
}
