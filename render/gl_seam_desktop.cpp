#include <glad/gl.h>

#include "render/gl_seam.h"

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

// Without a 4.1 core context or its entry points the program still runs on the
// 2D renderer; the OpenGL calls are then skipped rather than made through null pointers.
bool loadOpenGL(SDL_GLContext context) {
    if (context == nullptr) {
        return false;
    }
    return gladLoadGL(reinterpret_cast<GLADloadfunc>(SDL_GL_GetProcAddress)) != 0;
}

void bindGlCalls(bool loaded) {
    glCalls.viewport = loaded && glad_glViewport != nullptr ? loadedViewport : nullptr;
    glCalls.clearColor = loaded && glad_glClearColor != nullptr ? loadedClearColor : nullptr;
    glCalls.swapWindow = sdlSwapWindow;
}
