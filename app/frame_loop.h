#pragma once

#include <SDL.h>

#include "render/draw_pass.h"
#include "render/wire_layer.h"

// What the entry function owns for the whole run.
struct App {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_GLContext glContext = nullptr;
    ButtonImages images;
    WireLayer wires;
    bool running = false;
};

// Brings up SDL, the window, the renderer, OpenGL and the images. Returns false,
// having said why, when SDL, the window or its renderer could not be had: there is
// nothing to run then.
bool startUp(App& app);

// One frame: sample the pointer, handle every pending event, toggle a completed
// wire, drag, propagate, draw.
void runFrame(App& app);

// Hands one event to its handler; a quit ends the loop after this frame.
void dispatchEvent(const SDL_Event& event, App& app);

void shutDown(App& app);
