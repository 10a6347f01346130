#pragma once

// A propagation pass works on flat copies: of the wiring (graph and edgeList, compiled
// into tables), of every gate's input bits and arrival flags, and of every wire's value.
// It keeps copies and originals in step itself, and takes the copies afresh only when
// the circuit's version has moved since. So whatever else changes graph or edgeList, a
// gate's inputs, hasA or hasB, or a wire's value calls circuitEdited() once it is done;
// the wire toggle does. A checked build verifies before every pass that every gate's
// inputs and flags and every wire's value still match the copies; it cannot see a
// wiring change made without a word.
void circuitEdited();

// Moves with every circuitEdited(). Frame-loop thread only.
unsigned circuitVersion();
