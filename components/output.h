#pragma once

#include <SDL.h>

#include <vector>

#include "components/node.h"
#include "core/color_rgb.h"

// Numbers output lamps; only grows. Frame-loop thread only.
extern int mm;

// An output lamp: a 64 by 64 signal sink with one input pin on its left edge,
// filled with its colour while lit and black otherwise.
class Output {
  public:
    Output(int x, int y, bool lit, core::ColorRGB color);

    int getId() const { return index + idBase; }
    int getX() const { return x; }
    int getY() const { return y; }
    int getSize() const { return size; }
    Node* getInputNode() { return &inNode; }

    void addXY(int dx, int dy);

    void render(SDL_Renderer* renderer, int r, int g, int b);
    void renderBase(SDL_Renderer* renderer, int r, int g, int b);
    void postRender(SDL_Renderer* renderer, int r, int g, int b);

    // Every lamp in creation order; index = id - outOffset. Non-owning, never shrinks,
    // never destroyed (as Gate::objects).
    static std::vector<Output*>& outputs;
    static std::vector<Output*>& getOutputs() { return outputs; }

    bool lit;  // the value last delivered to the input pin

  private:
    void anchorPin();

    int x;
    int y;
    int index;
    int idBase;
    int size;
    int nodeSize;
    Node inNode;
    core::ColorRGB color;
    SDL_Rect rect;  // where the lamp was made; drawing uses x, y
};
