#include "components/output.h"

#include "core/constants.h"
#include "render/pin_square.h"

int mm = 0;
std::vector<Output*>& Output::outputs = *new std::vector<Output*>;

Output::Output(int x, int y, bool lit, core::ColorRGB color)
    : lit(lit), x(x), y(y), idBase(outOffset), size(64), nodeSize(16), color(color) {
    rect = SDL_Rect{x, y, size, size};
    outputs.push_back(this);
    index = mm++;
    anchorPin();
}

void Output::anchorPin() {
    inNode.x = x - 8;
    inNode.y = y + size / 2 - 8;
}

void Output::addXY(int dx, int dy) {
    x += dx;
    y += dy;
}

void Output::render(SDL_Renderer* renderer, int r, int g, int b) {
    SDL_Rect body{x, y, size, size};
    if (lit) {
        setDrawColor(renderer, color.r, color.g, color.b);
    } else {
        setDrawColor(renderer, 0, 0, 0);
    }
    SDL_RenderFillRect(renderer, &body);
    renderBase(renderer, r, g, b);
}

void Output::renderBase(SDL_Renderer* renderer, int r, int g, int b) {
    anchorPin();
    drawPinSquare(renderer, inNode, nodeSize, r, g, b);
}

void Output::postRender(SDL_Renderer* renderer, int r, int g, int b) {
    setDrawColor(renderer, r, g, b);
    fillPin(renderer, inNode, nodeSize);
}
