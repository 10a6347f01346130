#pragma once

#include <SDL.h>

// The two button images, loaded at start-up; null when an image failed to load.
struct ButtonImages {
    SDL_Texture* pressed = nullptr;
    SDL_Texture* released = nullptr;
};

class WireLayer;

// Draws the whole circuit: wires, buttons, gates, lamps, then the selected pins
// on top; presents the frame and ends it on the OpenGL side. The wires come from
// `wires`, kept between frames, where there is one; otherwise each is drawn anew.
void drawFrame(SDL_Renderer* renderer, SDL_Window* window, const ButtonImages& images,
               WireLayer* wires = nullptr);
