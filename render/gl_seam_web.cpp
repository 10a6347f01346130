#include <GLES2/gl2.h>

#include "render/gl_seam.h"

// In a page WebGL's functions are linked in, not looked up; SDL's renderer and this
// context share the canvas's one WebGL context.
bool loadOpenGL(SDL_GLContext context) {
    return context != nullptr;
}

GlCalls loadedGlCalls() {
    GlCalls calls;
    calls.viewport = glViewport;
    calls.clearColor = glClearColor;
    return calls;
}
