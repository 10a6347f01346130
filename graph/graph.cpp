#include "graph/graph.h"

#include <algorithm>
#include <iostream>

#include "components/gate.h"
#include "components/input.h"
#include "components/output.h"
#include "graph/connections.h"
#include "graph/propagation_pass.h"

bool Graph::workMode = true;
RunQueue Graph::q;
bool visited[MAX_G];
bool vazi = false;

namespace {

void printAdjacency(int id) {
    std::cout << id << ": ";
    for (const auto& entry : graph[id]) {
        std::cout << entry.first << ' ';
    }
    // The dump can be long; it is not flushed line by line.
    std::cout << '\n';
}

}  // namespace

void Graph::debugGraph() {
    for (int slot = 0; slot < static_cast<int>(Gate::objects.size()); ++slot) {
        printAdjacency(slot);
    }
    for (int i = 0; i < static_cast<int>(Input::inputs.size()); ++i) {
        printAdjacency(inOffset + i);
    }
    for (int i = 0; i < static_cast<int>(Output::outputs.size()); ++i) {
        printAdjacency(outOffset + i);
    }
}

void Graph::simulate() {
    for (const Input* button : Input::inputs) {
        q.push(queueEntry(button->getId(), button->state));
        if (vazi) {
            std::cout << button->getId() << ' ' << button->state << std::endl;
        }
    }
    if (vazi) {
        debugGraph();
    }
    std::fill(std::begin(visited), std::end(visited), false);
    // Clears every gate's input bits, then carries the queued values through.
    PropagationPass().run();
    vazi = false;
}
