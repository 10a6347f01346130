#include "core/color_rgb.h"

const core::ColorRGB bgColor(194, 238, 242);
const core::ColorRGB nodeColor(74, 141, 247);
const core::ColorRGB nodeSelected(44, 209, 118);
const core::ColorRGB ledColor(3, 252, 15);
