#include "components/gate_kinds.h"

SDL_Texture* NOTGate::texture = nullptr;
