#pragma once

#include <SDL.h>

// Reads a BMP file into a texture for the renderer. Any failure on the way
// (missing file, broken image, no renderer) yields null; callers draw nothing then.
SDL_Texture* loadBmpTexture(SDL_Renderer* renderer, const char* path);
