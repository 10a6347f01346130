#include <emscripten.h>

#include "app/frame_driver.h"

namespace {
void frameOfPage(void* arg) {
    App& app = *static_cast<App*>(arg);
    runFrame(app);
    if (!app.running) {
        emscripten_cancel_main_loop();
    }
}
}  // namespace

void runFrames(App& app) {
    // At the page's own pace (0: every animation frame). The simulated infinite loop
    // unwinds main here and never returns to it.
    emscripten_set_main_loop_arg(frameOfPage, &app, 0, true);
}
