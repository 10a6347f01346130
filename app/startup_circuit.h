#pragma once

#include "components/gate_kinds.h"
#include "components/input.h"
#include "components/output.h"
#include "core/color_rgb.h"

// The circuit every run starts with: four gates, a button and a lamp, unwired.
// The members are built in declaration order, which fixes their ids
// (gates 1, 3, 5, 7; button 10007; lamp 20007).
struct StartupCircuit {
    ANDGate andGate{60, 30};
    NANDGate nandGate{400, 30};
    ORGate orGate{200, 20};
    Input button{600, 600, false};
    NXORGate nxorGate{420, 160};
    Output lamp{700, 700, false, ledColor};
};

// The number of gate registry slots, then the id in every slot, one per line:
// it shows each gate registered twice.
void printGateListing();
