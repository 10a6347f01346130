#include "graph/wire_ends.h"

#include "components/gate.h"
#include "components/input.h"
#include "components/output.h"
#include "core/constants.h"

SDL_Point destinationEnd(int left, int which) {
    if (which == pinLamp) {
        const Output* lamp = Output::getOutputs()[left - outOffset];
        return SDL_Point{lamp->getX(), lamp->getY() + 32};
    }
    const Gate* gate = Gate::getObjects()[left];
    return SDL_Point{gate->getX(), gate->getY() + (which == pinA ? 16 : 48)};
}

SDL_Point sourceEnd(int right) {
    if (right >= inOffset) {
        const Input* button = Input::getInputs()[right - inOffset];
        return SDL_Point{button->getX() + 64, button->getY() + 32};
    }
    const Gate* gate = Gate::getObjects()[right];
    return SDL_Point{gate->getX() + 128, gate->getY() + 32};
}
