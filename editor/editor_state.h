#pragma once

// Drag state, owned by the mouse handlers; frame-loop thread only.
// A press picks at most one component of each kind under the pointer; the drag
// step moves them while the button is held; a release drops them all (-1).
extern bool mouseDown;
extern int movingButtonID;
extern int movingID;
extern int movingOutputID;
