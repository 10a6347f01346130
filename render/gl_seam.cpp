#include "render/gl_seam.h"

GlCalls glCalls;

void bindGlCalls(bool loaded) {
    glCalls = loaded ? loadedGlCalls() : GlCalls{};
    glCalls.swapWindow = SDL_GL_SwapWindow;
}
