#include "core/sdl_init.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace core {

namespace {

// Without a display SDL quietly picks a video driver that draws nowhere; the
// program would then run with no window that a quit could ever come from.
// Such a driver counts only when it was asked for by name.
bool hasDisplay() {
    if (std::getenv("SDL_VIDEODRIVER") != nullptr) {
        return true;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && std::strcmp(driver, "offscreen") != 0 &&
           std::strcmp(driver, "dummy") != 0;
}

}  // namespace

bool initializeSDL() {
    bool ready = SDL_Init(SDL_INIT_VIDEO) >= 0;
    if (ready && !hasDisplay()) {
        SDL_Quit();
        SDL_SetError("no display available");
        ready = false;
    }
    if (ready) {
        std::printf("SDL video system is ready to go\n");
    } else {
        std::printf("SDL could not be initialized: %s", SDL_GetError());
    }
    std::fflush(stdout);

    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 4);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    return ready;
}

}  // namespace core
