#include "editor/keyboard_state.h"

namespace {
const Uint8* sdlKeyboardState() {
    return SDL_GetKeyboardState(nullptr);
}
}  // namespace

KeyboardStateSource keyboardStateSource = sdlKeyboardState;
