#pragma once

#include <SDL.h>

// The few OpenGL-side calls the program makes, behind pointers so that they
// are made only through entry points that really loaded, and so that a test
// can watch them. A null pointer means: skip the call.
struct GlCalls {
    void (*viewport)(int x, int y, int width, int height) = nullptr;
    void (*clearColor)(float r, float g, float b, float a) = nullptr;
    void (*swapWindow)(SDL_Window* window) = nullptr;
};

// Filled at start-up by bindGlCalls; frame-loop thread only.
extern GlCalls glCalls;

// Loads the OpenGL entry points for `context`, the platform's way (the build picks
// the source: a loader on the desktop, WebGL's functions in a browser). False when
// there is no context or the entry points did not load.
bool loadOpenGL(SDL_GLContext context);

// The entry points loadOpenGL loaded, as calls (this platform's source too).
GlCalls loadedGlCalls();

// Points the calls at the loaded OpenGL entry points when `loaded` is true;
// otherwise leaves the OpenGL calls unset. The buffer swap is SDL's and always set.
void bindGlCalls(bool loaded);
