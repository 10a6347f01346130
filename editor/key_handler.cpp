#include "editor/key_handler.h"

#include "app/app_state.h"
#include "components/gate.h"
#include "components/gate_kinds.h"
#include "components/input.h"
#include "components/output.h"
#include "core/color_rgb.h"
#include "core/constants.h"
#include "editor/keyboard_state.h"
#include "graph/graph.h"

namespace {

// Ids are raw indices into fixed arrays and registries: a component whose id
// would leave its range is not placed at all.
bool gateIdAvailable() {
    return num + 1 <= maxGateId;
}
bool inputIdAvailable() {
    return inOffset + nn <= maxInputId;
}
bool outputIdAvailable() {
    return outOffset + mm <= maxOutputId;
}

// The plain kind, or the shifted kind while Left Shift is held.
template <class Plain, class Shifted>
void placeGate(const Uint8* keys, SDL_Scancode key) {
    if (!keys[key] || !gateIdAvailable()) {
        return;
    }
    // Centred on the pointer; placed gates live until the process ends.
    int x = mouseX - 64;
    int y = mouseY - 32;
    if (keys[SDL_SCANCODE_LSHIFT]) {
        new Shifted(x, y);
    } else {
        new Plain(x, y);
    }
}

}  // namespace

void handleKeyDown() {
    const Uint8* keys = keyboardStateSource();
    placeGate<ANDGate, NANDGate>(keys, SDL_SCANCODE_A);
    placeGate<ORGate, NORGate>(keys, SDL_SCANCODE_O);
    placeGate<XORGate, NXORGate>(keys, SDL_SCANCODE_X);
    if ((keys[SDL_SCANCODE_I] || keys[SDL_SCANCODE_B]) && inputIdAvailable()) {
        new Input(mouseX - 32, mouseY - 32, false);
    }
    if (keys[SDL_SCANCODE_L] && outputIdAvailable()) {
        new Output(mouseX - 32, mouseY - 32, false, ledColor);
    }
    if (keys[SDL_SCANCODE_T]) {
        Graph::debugGraph();
    }
    if (keys[SDL_SCANCODE_Q]) {
        Graph::workMode = !Graph::workMode;
    }
}
