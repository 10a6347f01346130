#pragma once

namespace core {

// Starts SDL video and asks for an OpenGL 4.1 core context. Prints the outcome;
// returns false when SDL could not start (there is then no window to run in).
bool initializeSDL();

}  // namespace core
