#pragma once

class Input;

// Pin clicks select a wire's ends. A click on a pin selects it on its side
// (destination: gate inputs and lamp inputs; source: output pins), replacing
// what was there, or clears that side silently if it was already the selected pin.

// The output-pin test of one button, made by the release handler's button walk.
void selectButtonPin(Input& button);

// The gate pins, then the lamp pins, under the pointer.
void selectGateAndLampPins();

// End of a frame's events: with both sides selected, adds or removes the wire
// between them, clears the selection and asks for a traced propagation pass.
void wireTrigger();
