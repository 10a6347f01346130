#include "core/constants.h"
#include "graph/edge.h"
#include "graph/wire_ends.h"
#include "render/pin_square.h"

void Edge::render(SDL_Renderer* renderer) {
    if (right > maxInputId) {
        return;  // a lamp drives nothing
    }
    SDL_Point to = destinationEnd(left, which);
    SDL_Point from = sourceEnd(right);
    x1 = to.x;
    y1 = to.y;
    x2 = from.x;
    y2 = from.y;

    // Two black lines offset across the wire give it an outline.
    setDrawColor(renderer, 0, 0, 0);
    SDL_RenderDrawLine(renderer, x1 - 1, y1 + 1, x2 - 1, y2 + 1);
    SDL_RenderDrawLine(renderer, x1 + 1, y1 - 1, x2 + 1, y2 - 1);

    if (value) {
        setDrawColor(renderer, 52, 154, 250);
    }
    SDL_RenderDrawLine(renderer, x1, y1, x2, y2);
    SDL_RenderDrawLine(renderer, x1, y1 - 1, x2, y2 - 1);
    SDL_RenderDrawLine(renderer, x1, y1 + 1, x2, y2 + 1);
    SDL_RenderDrawLine(renderer, x1 - 1, y1, x2 - 1, y2);
    SDL_RenderDrawLine(renderer, x1 + 1, y1, x2 + 1, y2);
}
