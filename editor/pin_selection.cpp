#include "editor/pin_selection.h"

#include <iostream>

#include "app/app_state.h"
#include "components/gate.h"
#include "components/input.h"
#include "components/output.h"
#include "core/constants.h"
#include "graph/connections.h"
#include "graph/graph.h"

namespace {

void selectDestination(int id, int pin, int kind, const char* marker) {
    std::cout << marker << std::endl;
    leftNode = id;
    which = pin;
    lType = kind;
}

void clearDestination() {
    leftNode = 0;
    which = -1;
    lType = 0;
}

void selectSource(int id, int kind, const char* marker) {
    std::cout << marker << std::endl;
    rightNode = id;
    rType = kind;
}

void clearSource() {
    rightNode = 0;
    rType = 0;
}

void toggleGateInput(Gate& gate, int pin, const char* marker) {
    if (leftNode == gate.getId() && which == pin) {
        clearDestination();
    } else {
        selectDestination(gate.getId(), pin, kindGate, marker);
    }
}

}  // namespace

void selectButtonPin(Input& button) {
    if (!button.getOutputNode()->isInArea(mouseX, mouseY)) {
        return;
    }
    if (rightNode == button.getId()) {
        clearSource();
    } else {
        selectSource(button.getId(), kindInput, "BAKINA SENDVICARA");
    }
}

void selectGateAndLampPins() {
    // Every pin under the pointer is applied in turn; with overlapping
    // components the last one of a side wins.
    const auto& slots = Gate::getObjects();
    for (size_t slot = 0; slot < slots.size(); slot += 2) {
        Gate& gate = *slots[slot];
        if (gate.getInA()->isInArea(mouseX, mouseY)) {
            toggleGateInput(gate, pinA, "GRMILICA");
        }
        if (gate.getInB()->isInArea(mouseX, mouseY)) {
            toggleGateInput(gate, pinB, "TEBRASTI");
        }
        if (gate.getOutputNode()->isInArea(mouseX, mouseY)) {
            if (rightNode == gate.getId()) {
                clearSource();
            } else {
                selectSource(gate.getId(), kindGate, "RESILICA");
            }
        }
    }
    for (Output* lamp : Output::getOutputs()) {
        if (!lamp->getInputNode()->isInArea(mouseX, mouseY)) {
            continue;
        }
        if (leftNode == lamp->getId()) {
            clearDestination();
        } else {
            selectDestination(lamp->getId(), pinLamp, kindOutput, "JEDNA PALACINKARINA");
        }
    }
}

void wireTrigger() {
    if (leftNode > 0 && rightNode > 0) {
        toggleWire();
        clearDestination();
        clearSource();
        vazi = true;
    }
}
