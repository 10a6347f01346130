#pragma once

#include <SDL.h>

#include <vector>

#include "components/node.h"

// Numbers input buttons; only grows. Frame-loop thread only.
extern int nn;

// An input button: a 64 by 64 signal source with one output pin on its right edge.
class Input {
  public:
    Input(int x, int y, bool state);

    int getId() const { return index + idBase; }
    int getX() const { return x; }
    int getY() const { return y; }
    int getSize() const { return size; }
    Node* getOutputNode() { return &outNode; }

    void addXY(int dx, int dy);
    // The body without the half of the output pin that overlaps it: a click there
    // selects the pin instead of switching the button.
    bool isInArea(int px, int py) const;

    void render(SDL_Renderer* renderer, int r, int g, int b);
    void renderBase(SDL_Renderer* renderer, int r, int g, int b);
    void postRender(SDL_Renderer* renderer, int r, int g, int b);

    // Every button in creation order; index = id - inOffset. Non-owning, never shrinks,
    // never destroyed (as Gate::objects).
    static std::vector<Input*>& inputs;
    static std::vector<Input*>& getInputs() { return inputs; }

    bool state;  // on (pressed) or off; flipped by a click, read by propagation

  private:
    void anchorPin();

    int x;
    int y;
    int index;
    int idBase;
    int size;
    int nodeSize;
    Node outNode;
    SDL_Rect rect;  // where the button was made; drawing and hit tests use x, y
};
