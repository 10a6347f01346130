#include "app/frame_driver.h"

void runFrames(App& app) {
    while (app.running) {
        runFrame(app);
    }
}
