#pragma once

#include <SDL.h>

#include <vector>

#include "components/node.h"

// Hands out gate registry slots; only grows. Frame-loop thread only.
extern int num;

// A two-input gate: a 128 by 64 body with inputs A (above) and B on its left
// edge and the output on its right edge. Each gate is registered twice, in two
// consecutive slots of the registry, and its id is the second slot's index, so
// Gate::objects[id] is the gate and ids are odd.
class Gate {
  public:
    Gate(int x, int y);

    virtual bool evaluate() const = 0;
    virtual void render(SDL_Renderer* renderer, int r, int g, int b) = 0;

    int getId() const { return id; }
    int getX() const { return x; }
    int getY() const { return y; }
    int getW() const { return w; }
    int getH() const { return h; }
    // The live pins, not copies: hit tests must see where the last draw put them.
    Node* getOutputNode() { return &outNode; }
    Node* getInA() { return &inA; }
    Node* getInB() { return &inB; }

    // Moves the body only; the pins follow at the next draw.
    void addXY(int dx, int dy);
    // Re-anchors the pins to the body and draws them filled with (r, g, b).
    void renderBase(SDL_Renderer* renderer, int r, int g, int b);
    // Fills one pin's inner square: pinA, pinB or gateOutputPin.
    void postRender(SDL_Renderer* renderer, int which, int r, int g, int b);

    // Every registry slot, two per gate; non-owning, never shrinks. The vector itself is
    // never destroyed: the gates live to the end of the process and stay reachable through
    // it until then, also for a leak check at exit.
    static std::vector<Gate*>& objects;
    static std::vector<Gate*>& getObjects() { return objects; }

    // Written by propagation, which keeps copies of them: anything else that writes them
    // calls circuitEdited() afterwards.
    std::vector<bool> inputs;  // [0] input A, [1] input B
    bool hasA;                 // a value arrived at input A since the last evaluation
    bool hasB;

  protected:
    // The second registration, made by the kind once the base is complete.
    void registerKind();
    void anchorPins();
    void drawImage(SDL_Renderer* renderer, SDL_Texture* texture);

    int x;
    int y;
    int id;
    int w;
    int h;
    int nodeSize;
    Node outNode;
    Node inA;
    Node inB;
    SDL_Rect rect;
};
