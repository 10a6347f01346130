#pragma once

// Process globals of the frame loop. Only the frame-loop thread touches them.

// Pointer position read at the top of the current frame; every event of the
// frame uses it. px, py hold the previous frame's reading, for dragging.
extern int mouseX;
extern int mouseY;
extern int px;
extern int py;

// Selection for wiring, written only by the pin tests and the wire trigger.
// Destination side: input `which` (0 A, 1 B, 2 lamp; -1 none) of `leftNode`,
// whose kind `lType` is 16 (gate) or 64 (lamp); 0 means nothing selected.
extern int leftNode;
extern int which;
extern int lType;
// Source side: the output pin of `rightNode`, kind `rType` 16 (gate) or 32 (button).
extern int rightNode;
extern int rType;
