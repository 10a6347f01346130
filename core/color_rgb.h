#pragma once

namespace core {

// An opaque RGB colour with int channels 0..255; OpenGL wants them as floats.
class ColorRGB {
  public:
    ColorRGB(int r, int g, int b) : r(r), g(g), b(b) {}

    float floatR() const { return static_cast<float>(r / 255.0); }
    float floatG() const { return static_cast<float>(g / 255.0); }
    float floatB() const { return static_cast<float>(b / 255.0); }

    int r;
    int g;
    int b;
};

}  // namespace core

// Global colours, fixed for the whole run.
extern const core::ColorRGB bgColor;       // the canvas: OpenGL's clear colour, else the renderer's
extern const core::ColorRGB nodeColor;     // every pin's fill
extern const core::ColorRGB nodeSelected;  // a pin selected for wiring
extern const core::ColorRGB ledColor;      // a lit lamp
