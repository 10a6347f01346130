#include "editor/mouse_handlers.h"

#include <iostream>

#include "app/app_state.h"
#include "components/gate.h"
#include "components/input.h"
#include "components/output.h"
#include "core/constants.h"
#include "core/rect.h"
#include "editor/editor_state.h"
#include "editor/pin_selection.h"
#include "graph/graph.h"

void handleMouseDown() {
    mouseDown = true;
    // Three independent walks; an id whose walk finds nothing keeps its value.
    for (Input* button : Input::getInputs()) {
        if (core::inRect(mouseX, mouseY, button->getX(), button->getY(), button->getSize(),
                         button->getSize())) {
            movingButtonID = button->getId();
            break;  // the earliest button wins
        }
    }
    const auto& slots = Gate::getObjects();
    for (size_t slot = 0; slot < slots.size(); slot += 2) {
        const Gate* gate = slots[slot];
        if (core::inRect(mouseX, mouseY, gate->getX(), gate->getY(), gate->getW(), gate->getH())) {
            movingID = gate->getId();
            break;  // the earliest gate wins
        }
    }
    for (const Output* lamp : Output::getOutputs()) {
        // No break: the latest lamp under the pointer wins.
        if (core::inRect(mouseX, mouseY, lamp->getX(), lamp->getY(), lamp->getSize(),
                         lamp->getSize())) {
            movingOutputID = lamp->getId();
        }
    }
}

void dragStep() {
    if (!mouseDown) {
        return;
    }
    int dx = mouseX - px;
    int dy = mouseY - py;
    // A button picked by the same press wins over a gate; a lamp moves along with either.
    if (movingButtonID >= 0) {
        Input::getInputs()[movingButtonID - inOffset]->addXY(dx, dy);
    } else if (movingID >= 0) {
        Gate::getObjects()[movingID]->addXY(dx, dy);
    }
    if (movingOutputID >= 0) {
        Output::getOutputs()[movingOutputID - outOffset]->addXY(dx, dy);
    }
}

void handleMouseUp() {
    mouseDown = false;
    movingID = -1;
    movingButtonID = -1;
    movingOutputID = -1;

    for (Input* button : Input::getInputs()) {
        // The body is tested before the pin: a click on the body switches the
        // button and ends the walk, so later buttons are not looked at.
        if (button->isInArea(mouseX, mouseY)) {
            vazi = true;
            button->state = !button->state;
            std::cout << button->state << std::endl;
            break;
        }
        selectButtonPin(*button);
    }
    selectGateAndLampPins();
}
