#pragma once

#include <SDL.h>

// The centre of the destination pin `which` of component `left`, from the
// component's current body position.
SDL_Point destinationEnd(int left, int which);

// The centre of the output pin of component `right` (a button or a gate).
SDL_Point sourceEnd(int right);
