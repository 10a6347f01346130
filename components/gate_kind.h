#pragma once

#include <SDL.h>

#include "components/gate.h"
#include "components/texture_loader.h"

// What the six gate kinds share: one image per kind, its loader, and drawing.
// A kind is a named class deriving from GateKind<Kind> that only supplies evaluate().
template <class Kind>
class GateKind : public Gate {
  public:
    GateKind(int x, int y) : Gate(x, y) { registerKind(); }

    static void initialize(SDL_Renderer* renderer, const char* path) {
        texture = loadBmpTexture(renderer, path);
    }

    void render(SDL_Renderer* renderer, int r, int g, int b) override {
        drawImage(renderer, texture);
        renderBase(renderer, r, g, b);
    }

    static SDL_Texture* texture;  // shared by every gate of the kind; never destroyed
};

template <class Kind>
SDL_Texture* GateKind<Kind>::texture = nullptr;
