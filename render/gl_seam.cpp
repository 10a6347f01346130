#include "render/gl_seam.h"

#include <glad/gl.h>

GlCalls glCalls;

namespace {
void loadedViewport(int x, int y, int width, int height) {
    glViewport(x, y, width, height);
}
void loadedClearColor(float r, float g, float b, float a) {
    glClearColor(r, g, b, a);
}
void sdlSwapWindow(SDL_Window* window) {
    SDL_GL_SwapWindow(window);
}
}  // namespace

void bindGlCalls(bool loaded) {
    glCalls.viewport = loaded && glad_glViewport != nullptr ? loadedViewport : nullptr;
    glCalls.clearColor = loaded && glad_glClearColor != nullptr ? loadedClearColor : nullptr;
    glCalls.swapWindow = sdlSwapWindow;
}
