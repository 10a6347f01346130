#pragma once

#include <SDL.h>

#include "components/gate_kind.h"

class ANDGate : public GateKind<ANDGate> {
  public:
    using GateKind::GateKind;
    bool evaluate() const override { return inputs[0] && inputs[1]; }
};

class NANDGate : public GateKind<NANDGate> {
  public:
    using GateKind::GateKind;
    bool evaluate() const override { return !(inputs[0] && inputs[1]); }
};

class ORGate : public GateKind<ORGate> {
  public:
    using GateKind::GateKind;
    bool evaluate() const override { return inputs[0] || inputs[1]; }
};

class NORGate : public GateKind<NORGate> {
  public:
    using GateKind::GateKind;
    bool evaluate() const override { return !(inputs[0] || inputs[1]); }
};

class XORGate : public GateKind<XORGate> {
  public:
    using GateKind::GateKind;
    bool evaluate() const override { return inputs[0] != inputs[1]; }
};

class NXORGate : public GateKind<NXORGate> {
  public:
    using GateKind::GateKind;
    bool evaluate() const override { return inputs[0] == inputs[1]; }
};

// Only its image exists: there is no NOT component.
class NOTGate {
  public:
    static void initialize(SDL_Renderer* renderer, const char* path) {
        texture = loadBmpTexture(renderer, path);
    }
    static SDL_Texture* texture;
};
