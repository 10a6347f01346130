#pragma once

#include <SDL.h>

// The light background behind the circuit, and how a frame gets it.

// Clears what the renderer draws on (the frame, or a layer drawn like it) so that it
// shows the background, the way that works for the renderer SDL picked.
void clearBackground(SDL_Renderer* renderer);

// Ends a frame on the OpenGL side, after it is presented: OpenGL's clear colour becomes
// the background.
void setGlClearColour();

// Whether clearBackground gives the light background by now. It gives black until the
// program has set the OpenGL clear colour once, where that colour is what makes the
// background; a picture of a black background is stale once this turns true.
bool backgroundIsLight(SDL_Renderer* renderer);
