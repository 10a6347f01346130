#include "components/node.h"

#include "core/rect.h"

bool Node::isInArea(int px, int py) const {
    return core::inRect(px, py, x, y, size, size);
}
