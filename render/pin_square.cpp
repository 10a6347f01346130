#include "render/pin_square.h"

void drawPinOutline(SDL_Renderer* renderer, const Node& pin, int nodeSize) {
    SDL_Rect outline{pin.x, pin.y, nodeSize, nodeSize};
    SDL_RenderDrawRect(renderer, &outline);
}

void fillPin(SDL_Renderer* renderer, const Node& pin, int nodeSize) {
    SDL_Rect inner{pin.x + 1, pin.y + 1, nodeSize - 2, nodeSize - 2};
    SDL_RenderFillRect(renderer, &inner);
}

void setDrawColor(SDL_Renderer* renderer, int r, int g, int b) {
    SDL_SetRenderDrawColor(renderer, static_cast<Uint8>(r), static_cast<Uint8>(g),
                           static_cast<Uint8>(b), 255);
}

void drawPinSquare(SDL_Renderer* renderer, const Node& pin, int nodeSize, int r, int g, int b) {
    setDrawColor(renderer, 0, 0, 0);
    drawPinOutline(renderer, pin, nodeSize);
    setDrawColor(renderer, r, g, b);
    fillPin(renderer, pin, nodeSize);
}
