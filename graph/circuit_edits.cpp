#include "graph/circuit_edits.h"

namespace {
unsigned version = 0;
}  // namespace

void circuitEdited() {
    ++version;
}

unsigned circuitVersion() {
    return version;
}
