#pragma once

// Component ids tell their kind by range: below inOffset a gate, from inOffset
// an input button, from outOffset an output lamp.
constexpr int inOffset = 10007;
constexpr int outOffset = 20007;

// Slots of the id-indexed arrays (adjacency sets, walk marks); every id stays below it.
constexpr int MAX_G = 40003;

// The last id of each kind that still fits its range and the arrays above.
constexpr int maxGateId = inOffset - 2;  // gates take odd ids: 1, 3, ... 10005
constexpr int maxInputId = outOffset - 1;
constexpr int maxOutputId = MAX_G - 1;

// How many components of each kind there can be: 5,003 gates, 10,000 buttons, 19,996 lamps.
constexpr int gateIdCount = (maxGateId + 1) / 2;
constexpr int inputIdCount = maxInputId - inOffset + 1;
constexpr int outputIdCount = maxOutputId - outOffset + 1;

constexpr int windowWidth = 1600;
constexpr int windowHeight = 900;

// Kind codes of the selection state.
constexpr int kindGate = 16;
constexpr int kindInput = 32;
constexpr int kindOutput = 64;

// Pin selectors: which input a wire feeds.
constexpr int pinA = 0;
constexpr int pinB = 1;
constexpr int pinLamp = 2;
// Gate::postRender's pins are numbered alike, but its 2 is the gate's output pin.
constexpr int gateOutputPin = 2;
