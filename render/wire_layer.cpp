#include "render/wire_layer.h"

#include <algorithm>
#include <cstdlib>

#include "core/constants.h"
#include "graph/connections.h"
#include "graph/wire_ends.h"
#include "render/background.h"

void drawWires(SDL_Renderer* renderer) {
    // Drawing works out the end points afresh on a copy; the stored records
    // keep the end points of their creation.
    for (const Edge& stored : edgeList) {
        Edge wire = stored;
        wire.render(renderer);
    }
}

bool WireLayer::Drawn::operator==(const Drawn& other) const {
    return to.x == other.to.x && to.y == other.to.y && from.x == other.from.x &&
           from.y == other.from.y && value == other.value;
}

void WireLayer::make(SDL_Renderer* renderer, long keepFrom) {
    texture = nullptr;
    drawn = false;
    this->keepFrom = keepFrom;
    if (!SDL_RenderTargetSupported(renderer) ||
        SDL_GetRendererOutputSize(renderer, &width, &height) != 0) {
        return;
    }
    // In OpenGL's own byte order. SDL's OpenGL ES 2 renderer (the page's) draws into an ARGB
    // texture with red and blue swapped, to swap them back as it copies; but the background
    // is cleared through OpenGL's own clear colour, which would come back swapped.
    texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_TARGET, width,
                                height);
    if (texture != nullptr) {
        // Copied whole and pixel for pixel: every pixel replaces the frame's.
        SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
        SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
    }
}

// Comparing every wire every frame costs a few reads a wire, far less than drawing one,
// and cannot miss a change: a wire added, removed or reordered, a part dragged or a value
// changed all change what the wires are drawn from, whoever made the change.
void WireLayer::readWires() {
    now.clear();
    points = 0;
    for (const Edge& wire : edgeList) {
        if (wire.right <= maxInputId) {  // a lamp drives nothing, and nothing is drawn
            now.push_back(
                {destinationEnd(wire.left, wire.which), sourceEnd(wire.right), wire.value});
            SDL_Point to = now.back().to, from = now.back().from;
            points += 7 * (std::max(std::abs(to.x - from.x), std::abs(to.y - from.y)) + 1);
        }
    }
}

bool WireLayer::copyOnto(SDL_Renderer* renderer) {
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer, &w, &h);
    if (texture != nullptr && (w != width || h != height)) {
        SDL_DestroyTexture(texture);
        make(renderer);
    }
    if (texture == nullptr) {
        return false;
    }
    readWires();
    // Wires that changed since the last frame may well change in the next one too (a button
    // switched every frame, a part dragged): drawn anew they cost what they always did, where
    // drawing them into the layer would add a whole-window copy to each such frame. The layer
    // is drawn once they keep still for a frame.
    bool changing = now != previous;
    previous = now;
    if (points < keepFrom || changing) {
        return false;  // what the layer shows is compared again when it is next copied
    }
    // A layer drawn on the first frame's black is drawn again once the background is light.
    bool light = backgroundIsLight(renderer);
    if (!drawn || light != drawnLight || now != drawnFrom) {
        if (!redraw(renderer)) {
            return false;
        }
        drawnLight = light;
        drawnFrom.swap(now);
    }
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    return true;
}

bool WireLayer::redraw(SDL_Renderer* renderer) {
    drawn = SDL_SetRenderTarget(renderer, texture) == 0;
    if (drawn) {
        clearBackground(renderer);
        drawWires(renderer);
        SDL_SetRenderTarget(renderer, nullptr);
    }
    return drawn;
}
