#include <glad/gl.h>

#include "render/gl_seam.h"

// Without a 4.1 core context or its entry points the program still runs on the
// 2D renderer; the OpenGL calls are then skipped rather than made through null pointers.
bool loadOpenGL(SDL_GLContext context) {
    if (context == nullptr) {
        return false;
    }
    return gladLoadGL(reinterpret_cast<GLADloadfunc>(SDL_GL_GetProcAddress)) != 0;
}

// glad leaves an entry point the driver lacks null: that call is then skipped.
GlCalls loadedGlCalls() {
    GlCalls calls;
    calls.viewport = glad_glViewport;
    calls.clearColor = glad_glClearColor;
    return calls;
}
