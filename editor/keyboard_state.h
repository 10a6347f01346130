#pragma once

#include <SDL.h>

// Where the key handler reads the held keys from, indexed by scancode.
// Production reads SDL's own array; tests substitute a source of their own.
using KeyboardStateSource = const Uint8* (*)();
extern KeyboardStateSource keyboardStateSource;
