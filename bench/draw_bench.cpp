// A frame's drawing, as the program does it: the background cleared, then the draw pass,
// after one propagation pass has left its values on the wires. Before and after in one
// run: each wire drawn anew every frame, as the program drew before it kept its wires, and
// through the kept layer; with the wires steady, and with every wire's value changing every
// frame. Into a 1600 by 900 software renderer with the program's own images, and for the
// live-wire circuit also into an OpenGL window (Mesa's llvmpipe where there is no GPU), when
// there is a display.

#include <SDL.h>

#include <cstring>

#include "bench_probes.h"
#include "bench_registry.h"
#include "components/gate_kinds.h"
#include "components/texture_loader.h"
#include "graph/circuit_edits.h"
#include "graph/connections.h"
#include "graph/graph.h"
#include "render/background.h"
#include "render/draw_pass.h"
#include "render/wire_layer.h"

namespace {

// A renderer with the images loaded for it. Gate images belong to their kind, not to a
// renderer, so a canvas puts its own in place before it draws.
struct Canvas {
    explicit Canvas(SDL_Renderer* renderer) : renderer(renderer) {
        images.pressed = loadBmpTexture(renderer, VELKORA_IMG_DIR "/ButtonPressed.bmp");
        images.released = loadBmpTexture(renderer, VELKORA_IMG_DIR "/ButtonReleased.bmp");
        const char* names[] = {"AND", "NAND", "OR", "NOR", "XOR", "NXOR"};
        for (int kind = 0; kind < 6; ++kind) {
            std::string path = std::string(VELKORA_IMG_DIR "/") + names[kind] + ".bmp";
            gates[kind] = loadBmpTexture(renderer, path.c_str());
        }
    }
    bool use() {
        std::tie(ANDGate::texture, NANDGate::texture, ORGate::texture, NORGate::texture,
                 XORGate::texture, NXORGate::texture) =
            std::tie(gates[0], gates[1], gates[2], gates[3], gates[4], gates[5]);
        return images.pressed != nullptr && gates[0] != nullptr;
    }
    // Kept to process exit, like the program's own renderer.
    SDL_Renderer* renderer;
    ButtonImages images;
    SDL_Texture* gates[6];
};

Canvas* softwareCanvas() {
    static Canvas canvas(SDL_CreateSoftwareRenderer(SDL_CreateRGBSurfaceWithFormat(
        0, windowWidth, windowHeight, 32, SDL_PIXELFORMAT_RGBA8888)));
    return &canvas;
}

// Null without a display, or where SDL's renderer for the window is not its OpenGL one.
Canvas* openGlCanvas() {
    static Canvas* canvas = []() -> Canvas* {
        SDL_Window* window = nullptr;
        SDL_Renderer* renderer = nullptr;
        SDL_RendererInfo info;
        if (SDL_VideoInit("x11") == 0) {
            window = SDL_CreateWindow("velkora_bench", 0, 0, windowWidth, windowHeight,
                                      SDL_WINDOW_OPENGL);
        }
        if (window != nullptr) {
            renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
        }
        if (renderer == nullptr || SDL_GetRendererInfo(renderer, &info) != 0 ||
            std::strcmp(info.name, "opengl") != 0) {
            return nullptr;
        }
        return new Canvas(renderer);
    }();
    return canvas;
}

// Wires that print a trace line every frame: a gate drives them and they carry 1.
int liveGateWires() {
    int live = 0;
    for (const Edge& wire : edgeList) {
        live += wire.value && wire.right < inOffset ? 1 : 0;
    }
    return live;
}

void timeDraw(benchmark::State& state, const CircuitShape& circuit, Canvas* (*canvasOf)(),
              bool kept, bool changing) {
    if (!prepareCircuit(state, circuit)) {
        return;
    }
    Canvas* canvas = canvasOf();
    if (canvas == nullptr) {
        state.SkipWithError("no OpenGL renderer here: run on a display (bench/run-all does)");
        return;
    }
    if (!canvas->use()) {
        state.SkipWithError("the images in " VELKORA_IMG_DIR " did not load");
        return;
    }
    Graph::simulate();
    state.counters["trace_lines"] = liveGateWires();
    WireLayer layer;
    layer.make(canvas->renderer);
    const std::multiset<Edge> noWires;
    {
        StdoutSilenced quiet;
        for (auto _ : state) {
            for (const Edge& wire : changing ? edgeList : noWires) {
                wire.value = !wire.value;
            }
            clearBackground(canvas->renderer);
            drawFrame(canvas->renderer, nullptr, canvas->images, kept ? &layer : nullptr);
        }
    }
    circuitEdited();  // the values were changed behind the pass's back
    state.counters["wires"] = static_cast<double>(edgeList.size());
}

}  // namespace

void registerDrawBenchmarks(const CircuitShape& circuit) {
    std::pair<const char*, Canvas* (*)()> canvases[] = {{"", softwareCanvas},
                                                        {"_opengl", openGlCanvas}};
    for (auto [canvasName, canvasOf] : canvases) {
        for (bool kept : {false, true}) {
            for (bool changing : {false, true}) {
                std::string name = circuit.name() + "/draw" + canvasName + (kept ? "_kept" : "") +
                                   (changing ? "_changing" : "");
                benchmark::RegisterBenchmark(name.c_str(), [=, canvasOf =
                                                                   canvasOf](benchmark::State& s) {
                    timeDraw(s, circuit, canvasOf, kept, changing);
                })->Unit(benchmark::kMicrosecond);
            }
        }
        if (circuit.family != "fanout") {
            break;  // llvmpipe would take seconds a frame on the random circuits' wires
        }
    }
}
