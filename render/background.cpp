#include "render/background.h"

#include <cstring>
#include <initializer_list>

#include "core/color_rgb.h"
#include "render/gl_seam.h"

namespace {

bool glClearColourSet = false;  // frame-loop thread only

// The renderer is asked to clear black, as it always was, and yet the window shows the light
// background. SDL's OpenGL renderers ("opengl"; "opengles2", which is WebGL in a page; and
// "opengles") remember the clear colour they last gave OpenGL, starting from white, and call
// glClearColor only when a clear asks for another one. After every frame the program sets
// OpenGL's clear colour to the background itself, in the renderer's context (the one left
// current once the renderer has drawn), where SDL does not see it. So the first frame's black
// clear sets black and clears black; every later one finds black remembered, sets nothing and
// clears to the background. Any other renderer (the software one, say) clears to the colour
// asked for, and so does an OpenGL one if the program's own OpenGL calls did not load: those
// are asked for the background itself, since on black the pin outlines, dead wires and unlit
// lamps would vanish.
bool clearsToGlClearColour(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    if (glCalls.clearColor == nullptr || SDL_GetRendererInfo(renderer, &info) != 0) {
        return false;
    }
    for (const char* remembersClearColour : {"opengl", "opengles2", "opengles"}) {
        if (std::strcmp(info.name, remembersClearColour) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

void clearBackground(SDL_Renderer* renderer) {
    if (clearsToGlClearColour(renderer)) {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    } else {
        SDL_SetRenderDrawColor(renderer, static_cast<Uint8>(bgColor.r),
                               static_cast<Uint8>(bgColor.g), static_cast<Uint8>(bgColor.b), 255);
    }
    SDL_RenderClear(renderer);
}

void setGlClearColour() {
    if (glCalls.clearColor != nullptr) {
        glCalls.clearColor(bgColor.floatR(), bgColor.floatG(), bgColor.floatB(), 1.0f);
        glClearColourSet = true;
    }
}

bool backgroundIsLight(SDL_Renderer* renderer) {
    return glClearColourSet || !clearsToGlClearColour(renderer);
}
