#include "components/texture_loader.h"

SDL_Texture* loadBmpTexture(SDL_Renderer* renderer, const char* path) {
    // The loader closes the stream itself, whether decoding succeeds or not.
    SDL_Surface* surface = SDL_LoadBMP_RW(SDL_RWFromFile(path, "rb"), 1);
    if (surface == nullptr || renderer == nullptr) {
        SDL_FreeSurface(surface);
        return nullptr;
    }
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, surface);
    SDL_FreeSurface(surface);
    return texture;
}
