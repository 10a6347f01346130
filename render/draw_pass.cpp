#include "render/draw_pass.h"

#include "app/app_state.h"
#include "components/gate.h"
#include "components/input.h"
#include "components/output.h"
#include "core/color_rgb.h"
#include "core/constants.h"
#include "graph/connections.h"
#include "render/background.h"
#include "render/gl_seam.h"
#include "render/wire_layer.h"

namespace {

void drawComponents(SDL_Renderer* renderer, const ButtonImages& images) {
    const core::ColorRGB& c = nodeColor;
    for (Input* button : Input::getInputs()) {
        SDL_Rect body{button->getX(), button->getY(), button->getSize(), button->getSize()};
        SDL_Texture* image = button->state ? images.pressed : images.released;
        if (image != nullptr) {
            SDL_RenderCopy(renderer, image, nullptr, &body);
        }
        button->render(renderer, c.r, c.g, c.b);
    }
    // Each gate fills two slots; the even ones visit every gate once.
    const auto& slots = Gate::getObjects();
    for (size_t slot = 0; slot < slots.size(); slot += 2) {
        slots[slot]->render(renderer, c.r, c.g, c.b);
    }
    for (Output* lamp : Output::getOutputs()) {
        lamp->render(renderer, c.r, c.g, c.b);
    }
}

// Uses the pin places the components have just been drawn at.
void drawHighlights(SDL_Renderer* renderer) {
    const core::ColorRGB& c = nodeSelected;
    if (leftNode > 0) {
        if (lType == kindOutput) {
            Output::getOutputs()[leftNode - outOffset]->postRender(renderer, c.r, c.g, c.b);
        } else if (lType == kindGate) {
            Gate::getObjects()[leftNode]->postRender(renderer, which, c.r, c.g, c.b);
        }
    }
    if (rightNode > 0) {
        if (rType == kindInput) {
            Input::getInputs()[rightNode - inOffset]->postRender(renderer, c.r, c.g, c.b);
        } else if (rType == kindGate) {
            Gate::getObjects()[rightNode]->postRender(renderer, gateOutputPin, c.r, c.g, c.b);
        }
    }
}

}  // namespace

void drawFrame(SDL_Renderer* renderer, SDL_Window* window, const ButtonImages& images,
               WireLayer* wires) {
    // Printing and drawing part here: the trace comes every frame, the layer only when drawn.
    for (const Edge& wire : edgeList) {
        wire.trace();
    }
    if (wires == nullptr || !wires->copyOnto(renderer)) {
        drawWires(renderer);
    }
    drawComponents(renderer, images);
    drawHighlights(renderer);
    SDL_RenderPresent(renderer);
    setGlClearColour();
    if (glCalls.swapWindow != nullptr) {
        glCalls.swapWindow(window);
    }
}
