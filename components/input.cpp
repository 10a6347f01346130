#include "components/input.h"

#include "core/constants.h"
#include "core/rect.h"
#include "render/pin_square.h"

int nn = 0;
std::vector<Input*>& Input::inputs = *new std::vector<Input*>;

Input::Input(int x, int y, bool state)
    : state(state), x(x), y(y), idBase(inOffset), size(64), nodeSize(16) {
    rect = SDL_Rect{x, y, size, size};
    inputs.push_back(this);
    index = nn++;
    anchorPin();
}

void Input::anchorPin() {
    outNode.x = x + size - 8;
    outNode.y = y + size / 2 - 8;
}

void Input::addXY(int dx, int dy) {
    x += dx;
    y += dy;
}

bool Input::isInArea(int px, int py) const {
    // Computed from the body, not the pin's stored corner, so it follows a move at once.
    if (core::inRect(px, py, x + size - 8, y + size / 2 - 8, 8, 16)) {
        return false;
    }
    return core::inRect(px, py, x, y, size, size);
}

void Input::render(SDL_Renderer* renderer, int r, int g, int b) {
    renderBase(renderer, r, g, b);
}

void Input::renderBase(SDL_Renderer* renderer, int r, int g, int b) {
    anchorPin();
    drawPinSquare(renderer, outNode, nodeSize, r, g, b);
}

void Input::postRender(SDL_Renderer* renderer, int r, int g, int b) {
    setDrawColor(renderer, r, g, b);
    fillPin(renderer, outNode, nodeSize);
}
