#include "core/sdl_init.h"

#include <SDL.h>

#include <cstdio>

namespace core {

bool initializeSDL() {
    bool ready = SDL_Init(SDL_INIT_VIDEO) >= 0;
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
