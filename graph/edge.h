#pragma once

#include <SDL.h>

// A wire from the output pin of `right` (a button or a gate) into input `which`
// of `left` (0 input A or 1 input B of a gate, 2 a lamp's input).
class Edge {
  public:
    Edge(int left, int right, int x1, int y1, int x2, int y2, int which);

    // Wires are ordered by destination alone, so value can change in place.
    bool operator<(const Edge& other) const { return left < other.left; }

    // Draws the wire between the pins' current places, which it stores into
    // this record first; the draw pass therefore hands it a copy.
    void render(SDL_Renderer* renderer);

    // The live-wire trace, printed every frame whether or not the wire is drawn anew:
    // "left-right" when a gate drives the wire and it carries a 1.
    void trace() const;

    int left;
    int right;
    int which;
    int x1;  // destination end, where the pins stood when the wire was made
    int y1;
    int x2;  // source end
    int y2;
    // The last value the wire carried. Mutable because wires live in an ordered
    // set that does not order by it: propagation rewrites it in place (and keeps a
    // copy: anything else that writes it calls circuitEdited() afterwards).
    mutable bool value;
};
