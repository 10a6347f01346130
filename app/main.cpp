#include "app/frame_driver.h"
#include "app/frame_loop.h"
#include "app/startup_circuit.h"

int main(int, char**) {
    // Static: the renderer, the OpenGL context and the textures are left to
    // process exit, and stay reachable until then.
    static App app;
    // Start-up. Without SDL video, a window or a renderer nothing can show and no
    // quit event could ever end the loop, so the program ends at once.
    if (!startUp(app)) {
        return 1;
    }
    // Static too: in a browser the frames run after main's stack frame is gone.
    static StartupCircuit circuit;
    printGateListing();

    // Frame loop: events, wiring, dragging, propagation, drawing.
    runFrames(app);

    shutDown(app);
    return 0;
}
