#include "graph/wire_values.h"

void WireValues::load(const std::vector<const Edge*>& wires) {
    stored.clear();
    for (const Edge* wire : wires) {
        stored.push_back(wire->value ? 1 : 0);
    }
    values = stored;
}

bool WireValues::agreesWithRecords(const std::vector<const Edge*>& wires) const {
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (wires[i]->value != (stored[i] != 0)) {
            return false;
        }
    }
    return true;
}

void WireValues::storeChanged(const std::vector<const Edge*>& wires) {
    if (values == stored) {
        return;  // the usual frame: every wire carries what it carried last time
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i] != stored[i]) {
            wires[i]->value = values[i] != 0;
            stored[i] = values[i];
        }
    }
}
