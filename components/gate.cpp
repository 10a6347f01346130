#include "components/gate.h"

#include "core/constants.h"
#include "render/pin_square.h"

int num = 0;
std::vector<Gate*>& Gate::objects = *new std::vector<Gate*>;

Gate::Gate(int x, int y) : x(x), y(y), w(128), h(64), nodeSize(16) {
    rect = SDL_Rect{x, y, w, h};
    objects.push_back(this);
    id = num++;
    anchorPins();
    hasA = false;
    hasB = false;
}

void Gate::registerKind() {
    objects.push_back(this);
    id = num++;
    inputs.assign(2, false);
}

void Gate::anchorPins() {
    outNode.x = x + w - 8;
    outNode.y = y + h / 2 - 8;
    // The input offsets are fixed, not derived from h.
    inA.x = x - 8;
    inA.y = y + 8;
    inB.x = x - 8;
    inB.y = y + 40;
}

void Gate::addXY(int dx, int dy) {
    x += dx;
    y += dy;
}

void Gate::drawImage(SDL_Renderer* renderer, SDL_Texture* texture) {
    rect = SDL_Rect{x, y, w, h};
    // A texture that failed to load is null; the gate then shows its pins alone.
    if (texture != nullptr) {
        SDL_RenderCopy(renderer, texture, nullptr, &rect);
    }
}

void Gate::renderBase(SDL_Renderer* renderer, int r, int g, int b) {
    anchorPins();
    setDrawColor(renderer, 0, 0, 0);
    drawPinOutline(renderer, inA, nodeSize);
    drawPinOutline(renderer, inB, nodeSize);
    drawPinOutline(renderer, outNode, nodeSize);
    setDrawColor(renderer, r, g, b);
    fillPin(renderer, inA, nodeSize);
    fillPin(renderer, inB, nodeSize);
    fillPin(renderer, outNode, nodeSize);
}

void Gate::postRender(SDL_Renderer* renderer, int which, int r, int g, int b) {
    setDrawColor(renderer, r, g, b);
    if (which == pinA) {
        fillPin(renderer, inA, nodeSize);
    } else if (which == pinB) {
        fillPin(renderer, inB, nodeSize);
    } else if (which == gateOutputPin) {
        fillPin(renderer, outNode, nodeSize);
    }
}
