#pragma once

namespace core {

// Point-in-rectangle test with every edge included: a w-wide rectangle answers over w + 1 columns.
inline bool inRect(int px, int py, int rx, int ry, int rw, int rh) {
    return rx <= px && px <= rx + rw && ry <= py && py <= ry + rh;
}

}  // namespace core
