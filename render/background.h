#pragma once

#include <SDL.h>

// The light background behind the circuit, and how a frame gets it.

// Clears what the renderer draws on (the frame, or a layer drawn like it) so that it
// shows the background, the way that works for the renderer SDL picked.
void clearBackground(SDL_Renderer* renderer);

// Ends a frame on the OpenGL side, after it is presented: OpenGL's clear colour becomes
// the background.
void setGlClearColour();

