#include <GLES2/gl2.h>

#include "render/gl_seam.h"

GlCalls glCalls;

namespace {
void webglViewport(int x, int y, int width, int height) {
    glViewport(x, y, width, height);
}
void webglClearColor(float r, float g, float b, float a) {
    glClearColor(r, g, b, a);
}
void sdlSwapWindow(SDL_Window* window) {
    SDL_GL_SwapWindow(window);
}
}  // namespace

// In a page WebGL's functions are linked in, not looked up; SDL's renderer and this
// context share the canvas's one WebGL context.
bool loadOpenGL(SDL_GLContext context) {
    return context != nullptr;
}

void bindGlCalls(bool loaded) {
    glCalls.viewport = loaded ? webglViewport : nullptr;
    glCalls.clearColor = loaded ? webglClearColor : nullptr;
    glCalls.swapWindow = sdlSwapWindow;
}
