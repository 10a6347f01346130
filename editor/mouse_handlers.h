#pragma once

// Mouse events. Every mouse button acts alike, and all handlers use the pointer
// sampled at the top of the frame, never the event's own coordinates.

// Picks the button, the gate and the lamp under the pointer for dragging.
void handleMouseDown();

// Ends the drag, switches the button whose body is under the pointer, and
// selects or deselects the pin under it.
void handleMouseUp();

// Moves the picked components by the pointer's motion since the previous frame.
void dragStep();
