#pragma once

#include <SDL.h>

// The two button images, loaded at start-up; null when an image failed to load.
struct ButtonImages {
    SDL_Texture* pressed = nullptr;
    SDL_Texture* released = nullptr;
};

// Draws the whole circuit: wires, buttons, gates, lamps, then the selected pins
// on top; presents the frame and ends it on the OpenGL side.
void drawFrame(SDL_Renderer* renderer, SDL_Window* window, const ButtonImages& images);
