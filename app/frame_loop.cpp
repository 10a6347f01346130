#include "app/frame_loop.h"

#include <iostream>

#include "app/app_state.h"
#include "components/gate_kinds.h"
#include "components/texture_loader.h"
#include "core/constants.h"
#include "core/sdl_init.h"
#include "editor/key_handler.h"
#include "editor/mouse_handlers.h"
#include "editor/pin_selection.h"
#include "graph/graph.h"
#include "render/background.h"
#include "render/gl_seam.h"

namespace {

void initializeGates(SDL_Renderer* renderer) {
    ANDGate::initialize(renderer, "img/AND.bmp");
    NANDGate::initialize(renderer, "img/NAND.bmp");
    ORGate::initialize(renderer, "img/OR.bmp");
    NORGate::initialize(renderer, "img/NOR.bmp");
    XORGate::initialize(renderer, "img/XOR.bmp");
    NXORGate::initialize(renderer, "img/NXOR.bmp");
    NOTGate::initialize(renderer, "img/NOT.bmp");
}

// Without a window (no GLX on the display, say), or a renderer to draw in it, nothing
// would ever show and no window close could end the loop: say why and end instead.
bool giveUp(App& app, const char* what) {
    std::cerr << "velkora: could not " << what << ": " << SDL_GetError() << std::endl;
    if (app.window != nullptr) {
        SDL_DestroyWindow(app.window);
        app.window = nullptr;
    }
    SDL_Quit();
    return false;
}

}  // namespace

bool startUp(App& app) {
    if (!core::initializeSDL()) {
        return false;
    }
    app.window = SDL_CreateWindow("Velkora v2", 160, 60, windowWidth, windowHeight,
                                  SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (app.window == nullptr) {
        return giveUp(app, "open the window");
    }
    app.renderer = SDL_CreateRenderer(app.window, -1, SDL_RENDERER_ACCELERATED);
    if (app.renderer == nullptr) {
        return giveUp(app, "draw in the window");
    }
    // The OpenGL context comes after the renderer: SDL's OpenGL renderer may make the
    // window anew to get a pixel format it can draw with, and a context made before
    // would belong to the window it replaced.
    app.glContext = SDL_GL_CreateContext(app.window);
    bindGlCalls(loadOpenGL(app.glContext));
    app.running = true;
    if (glCalls.viewport != nullptr) {
        glCalls.viewport(0, 0, windowWidth, windowHeight);
    }
    initializeGates(app.renderer);
    app.images.pressed = loadBmpTexture(app.renderer, "img/ButtonPressed.bmp");
    app.images.released = loadBmpTexture(app.renderer, "img/ButtonReleased.bmp");
    // A seam for measuring: VELKORA_WIRE_LAYER=0 in the environment (in a page, Module.ENV)
    // draws every wire onto every frame, as the program did before it kept them.
    if (SDL_GetHintBoolean("VELKORA_WIRE_LAYER", SDL_TRUE)) {
        app.wires.make(app.renderer);
    }
    return true;
}

void dispatchEvent(const SDL_Event& event, App& app) {
    switch (event.type) {
        case SDL_QUIT:
            app.running = false;
            break;
        case SDL_MOUSEBUTTONUP:
            handleMouseUp();
            break;
        case SDL_MOUSEBUTTONDOWN:
            handleMouseDown();
            break;
        case SDL_KEYDOWN:
            handleKeyDown();
            break;
        default:
            break;
    }
}

void runFrame(App& app) {
    px = mouseX;
    py = mouseY;
    SDL_GetMouseState(&mouseX, &mouseY);

    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        dispatchEvent(event, app);
    }

    wireTrigger();
    dragStep();

    // Black or the light background itself, by the renderer SDL picked (see clearBackground).
    clearBackground(app.renderer);
    Graph::simulate();
    drawFrame(app.renderer, app.window, app.images, &app.wires);
}

void shutDown(App& app) {
    SDL_DestroyWindow(app.window);
    // The window disappears at once; SDL, its display connection and the OpenGL
    // driver are let go only after a pause, when the display server has long finished
    // with the window. The program thus ends about 0.8 s after its window closes.
    SDL_Delay(800);
    SDL_Quit();
}
