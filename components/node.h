#pragma once

// A pin: the square connection point of a component, placed by its owner.
class Node {
  public:
    Node() : size(16) {}

    // Inclusive on every edge, so a 16-pixel pin answers over 17 by 17 pixels.
    bool isInArea(int px, int py) const;

    int x;
    int y;
    int size;
};
