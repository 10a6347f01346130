#pragma once

#include <SDL.h>

#include <vector>

// Draws every wire straight onto what the renderer draws on, in wire-list order.
void drawWires(SDL_Renderer* renderer);

// The background and the wires, drawn into a texture kept between frames and copied onto
// each one; drawn again only when what they show has changed. A wire is seven lines, and
// SDL's OpenGL renderers draw a line point by point: a hundred wires cost many times more
// to draw than the layer costs to copy. The kept lines are the same lines, drawn the same
// way, so every frame's pixels are those of drawing each wire onto the frame itself.
class WireLayer {
  public:
    // Copying the layer costs about what drawing 50,000 points does in software OpenGL (Mesa's
    // llvmpipe: a whole-window copy some 30 ms, a point about half a microsecond; see
    // bench/draw_bench.cpp). Wires of fewer points, seven lines each, are cheaper drawn anew.
    static constexpr long worthKeeping = 50000;

    // Makes the texture, the size of what `renderer` draws on. Where the renderer cannot
    // draw into a texture there is none, and copyOnto leaves the wires to the caller.
    void make(SDL_Renderer* renderer, long keepFrom = worthKeeping);

    // Puts the background and the wires onto the frame, drawing them into the layer first
    // if what it shows has changed since. False, having put nothing there, without a layer,
    // while the wires take fewer than `keepFrom` points to draw, or in a frame in which they
    // differ from the frame before.
    bool copyOnto(SDL_Renderer* renderer);

  private:
    // What a wire is drawn from: its two ends where the pins stand now, and its value.
    struct Drawn {
        SDL_Point to;
        SDL_Point from;
        bool value;
        bool operator==(const Drawn& other) const;
    };
    void readWires();  // into `now` and `points`
    bool redraw(SDL_Renderer* renderer);

    SDL_Texture* texture = nullptr;  // left to its renderer, which destroys it
    int width = 0;
    int height = 0;
    bool drawnLight = false;
    bool drawn = false;
    long keepFrom = worthKeeping;
    long points = 0;               // what drawing the wires anew takes, as of this frame
    std::vector<Drawn> drawnFrom;  // what the layer shows, in wire-list order
    std::vector<Drawn> now;        // the same, as of this frame
    std::vector<Drawn> previous;   // and as of the frame before
};
