#pragma once

#include "app/frame_loop.h"

// Runs frames until the window is closed, the platform's way; the build picks the
// source. On the desktop a loop returns when the window closes. A browser page must
// be handed one frame per animation frame instead: there the call never returns, and
// main's own stack frame is gone before the first frame runs, so everything the
// frames reach must be static.
void runFrames(App& app);
