#include "graph/edge.h"

#include <iostream>

#include "core/constants.h"

Edge::Edge(int left, int right, int x1, int y1, int x2, int y2, int which)
    : left(left), right(right), which(which), x1(x1), y1(y1), x2(x2), y2(y2), value(false) {}

void Edge::trace() const {
    if (value && right < inOffset) {
        std::cout << left << '-' << right << std::endl;
    }
}
