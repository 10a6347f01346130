// The draw pass into a 1600 by 900 software renderer, with the program's own
// images, after one propagation pass has left its values on the wires.

#include <SDL.h>

#include "bench_probes.h"
#include "bench_registry.h"
#include "components/gate_kinds.h"
#include "components/texture_loader.h"
#include "graph/connections.h"
#include "graph/graph.h"
#include "render/draw_pass.h"

namespace {

struct Canvas {
    Canvas() {
        surface = SDL_CreateRGBSurfaceWithFormat(0, windowWidth, windowHeight, 32,
                                                 SDL_PIXELFORMAT_RGBA8888);
        renderer = SDL_CreateSoftwareRenderer(surface);
        ANDGate::initialize(renderer, VELKORA_IMG_DIR "/AND.bmp");
        NANDGate::initialize(renderer, VELKORA_IMG_DIR "/NAND.bmp");
        ORGate::initialize(renderer, VELKORA_IMG_DIR "/OR.bmp");
        NORGate::initialize(renderer, VELKORA_IMG_DIR "/NOR.bmp");
        XORGate::initialize(renderer, VELKORA_IMG_DIR "/XOR.bmp");
        NXORGate::initialize(renderer, VELKORA_IMG_DIR "/NXOR.bmp");
        images.pressed = loadBmpTexture(renderer, VELKORA_IMG_DIR "/ButtonPressed.bmp");
        images.released = loadBmpTexture(renderer, VELKORA_IMG_DIR "/ButtonReleased.bmp");
    }
    // Kept to process exit, like the program's own renderer.
    SDL_Surface* surface;
    SDL_Renderer* renderer;
    ButtonImages images;
};

// Wires that print a trace line every frame: a gate drives them and they carry 1.
int liveGateWires() {
    int live = 0;
    for (const Edge& wire : edgeList) {
        live += wire.value && wire.right < inOffset ? 1 : 0;
    }
    return live;
}

void timeDraw(benchmark::State& state, const CircuitShape& circuit) {
    if (!prepareCircuit(state, circuit)) {
        return;
    }
    static Canvas canvas;
    if (canvas.images.pressed == nullptr || ANDGate::texture == nullptr) {
        state.SkipWithError("the images in " VELKORA_IMG_DIR " did not load");
        return;
    }
    Graph::simulate();
    {
        StdoutSilenced quiet;
        for (auto _ : state) {
            drawFrame(canvas.renderer, nullptr, canvas.images);
        }
    }
    state.counters["trace_lines"] = liveGateWires();
    state.counters["wires"] = static_cast<double>(edgeList.size());
}

}  // namespace

void registerDrawBenchmark(const CircuitShape& circuit) {
    benchmark::RegisterBenchmark((circuit.name() + "/draw").c_str(), [circuit](
                                                                         benchmark::State& s) {
        timeDraw(s, circuit);
    })->Unit(benchmark::kMicrosecond);
}
