#include "graph/graph.h"

#include <algorithm>
#include <iostream>

#include "components/gate.h"
#include "components/input.h"
#include "components/output.h"
#include "graph/connections.h"

bool Graph::workMode = true;
std::queue<std::pair<int, bool>> Graph::q;
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

// Hands value v from p to n along one wire on pin w.
void deliver(const Edge& wire, int p, int n, int w, bool v) {
    wire.value = v;
    if (vazi) {
        std::cout << p << " <-> " << n << ", " << v << std::endl;
    }
    if (w == pinLamp) {
        Output::outputs[n - outOffset]->lit = v;
        return;
    }
    Gate* gate = Gate::objects[n];
    if (w == pinA) {
        gate->hasA = true;
    } else {
        gate->hasB = true;
    }
    gate->inputs[w] = v;
    if (Graph::workMode || (gate->hasA && gate->hasB)) {
        Graph::q.push({n, gate->evaluate()});
        gate->hasA = false;
        gate->hasB = false;
    }
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
        q.push({button->getId(), button->state});
        if (vazi) {
            std::cout << button->getId() << ' ' << button->state << std::endl;
        }
    }
    if (vazi) {
        debugGraph();
    }
    std::fill(std::begin(visited), std::end(visited), false);
    for (Gate* gate : Gate::objects) {
        gate->inputs[0] = false;
        gate->inputs[1] = false;
    }

    while (!q.empty()) {
        auto [p, v] = q.front();
        q.pop();
        visited[p] = true;
        if (p >= outOffset) {
            continue;  // lamps only receive
        }
        for (const auto& [n, w] : graph[p]) {
            // Every wire joining p and n on pin w, in list order, whichever end drives.
            for (const Edge& wire : edgeList) {
                bool joins = wire.which == w && ((wire.left == p && wire.right == n) ||
                                                 (wire.left == n && wire.right == p));
                if (joins && !visited[n]) {
                    deliver(wire, p, n, w, v);
                }
            }
        }
    }
    vazi = false;
}
